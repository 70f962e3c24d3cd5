// Images of every class the plug-ins take, and what each plug-in must make of
// them: the same outputs, bit for bit, as its double call on the image
// converted by the documented rule. Run by the Linux suites and the Windows
// host program (native and under Wine); the fuzzers use the conversion.
#ifndef VESK_TESTING_CLASS_CASES_H
#define VESK_TESTING_CLASS_CASES_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "case_tables.h"
#include "standin_host.h"

namespace test_support {

// The classes the plug-ins take, double first.
const std::vector<mxClassID>& acceptedClasses();

// "uint16" for mxUINT16_CLASS, ...
const char* classNameOf(mxClassID classId);

// Bytes per element of an accepted class.
size_t elementBytesOf(mxClassID classId);

// The double image the documented conversion makes of `image` for the
// plug-in, element by element, written here independently of the plug-ins:
//   Vesk:  double, single as they are; uint8 v; uint16 round(v / 257);
//          int16 round((v + 32768) / 257); logical 0 or 255 (im2uint8)
//   Vesk2: double, single as they are; uint8 v / 255; uint16 v / 65535;
//          int16 (v + 32768) / 65535; logical 0 or 1 (im2double)
// A logical element counts as true for any non-zero byte.
std::vector<double> convertedForDoubleCall(Plugin plugin, const standin::InputMatrix& image);

// An image of one class; each plug-in takes each one.
struct ClassCase {
    std::string what;
    standin::InputMatrix image;
};

// Edge values of every class: 0 and the largest value, both sides of every
// rounding step (every uint16 and int16 value in one image), edge values of
// single images (NaN, infinities, -0, subnormals, just below 1 and 256), logical
// all-false and all-true; and the empty and 1 x 1 shapes of every class.
// Images of more than one element have an odd element count, so that
// adjacent levels never share a contrast and a level off by one shows.
const std::vector<ClassCase>& classEdgeCases();

// Random images of every class, of random shapes, reproducible everywhere.
std::vector<ClassCase> randomClassImages(uint64_t seed, int count);

// The scratch a call on an image of this class with n elements takes, in
// order: table, histogram, then the level array where the class has one.
std::vector<size_t> scratchBytesOf(mxClassID classId, size_t elementCount);

// A call and the scale warning it must give: the identifier's reason after
// "Vesk:" / "Vesk2:", or empty for none.
struct WarningCase {
    const char* what;
    Plugin plugin;
    standin::InputMatrix image;
    const char* reason;
};

const std::vector<WarningCase>& warningCases();

// The identifiers of the warnings a call gave, in order.
std::vector<std::string> warningIdentifiers(const standin::CallReport& report);

void PrintTo(const ClassCase& c, std::ostream* out);
void PrintTo(const WarningCase& c, std::ostream* out);

// Deterministic on every platform: no library distribution is involved.
class SplitMix64 {
public:
    explicit SplitMix64(uint64_t seed) : state_(seed) {}
    uint64_t next();
    uint32_t below(uint32_t bound) { return (uint32_t)(next() % bound); }
    double unit() { return (double)(next() >> 11) * 0x1.0p-53; }  // [0, 1)

private:
    uint64_t state_;
};

}  // namespace test_support

#endif
