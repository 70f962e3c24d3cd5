// The images the benchmarks and the bit-identity test run on, column-major.
#ifndef VESK_TESTING_TEST_IMAGES_H
#define VESK_TESTING_TEST_IMAGES_H

#include <stddef.h>

#include <string>
#include <vector>

namespace test_support::test_images {

enum class Kind {
    Random,   // every level 0..255 equally likely, independently per element
    Uniform,  // one level everywhere: every increment hits the same counter
    Photo,    // the bundled photograph, scaled to the size by nearest neighbour
};

const char* nameOf(Kind kind);

// Grey levels 0..255 as doubles, rows x columns. photoPath: an 8-bit binary
// PGM (only read for Kind::Photo; aborts when it cannot be read).
std::vector<double> greyLevels(Kind kind, size_t rows, size_t columns, const std::string& photoPath);

// The same image as intensities 0..1 (level / 255), Vesk2's input.
std::vector<double> intensities(const std::vector<double>& levels);

}  // namespace test_support::test_images

#endif
