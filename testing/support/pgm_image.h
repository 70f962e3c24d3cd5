// 8-bit binary PGM (P5) images: the one reader and writer of the tests, the
// benchmarks and vesk-run.
#ifndef VESK_TESTING_PGM_IMAGE_H
#define VESK_TESTING_PGM_IMAGE_H

#include <stddef.h>

#include <string>
#include <vector>

namespace test_support {

struct PgmImage {
    size_t width = 0;
    size_t height = 0;
    std::vector<unsigned char> pixels;  // row by row, as stored
};

// False, with `error` saying why, when the file is no 8-bit binary PGM.
bool readPgm(const std::string& path, PgmImage& image, std::string& error);
bool writePgm(const std::string& path, const PgmImage& image);

// The pixels as the host stores a matrix: PGM rows become matrix rows, stored
// column by column, as grey levels 0..255.
std::vector<double> columnMajorLevels(const PgmImage& image);

}  // namespace test_support

#endif
