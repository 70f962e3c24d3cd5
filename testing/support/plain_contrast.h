// The plain version of both kernels, written straight from the definitions:
// one histogram, the 256 x 256 double sum for the table, and one division per
// element for the map. The benchmarks measure the plug-ins against it, and a
// test proves that the plug-ins give the same bits.
//
// The scratch (table, histogram, level array of n entries) is the caller's,
// so that the benchmarks can hand both versions the same kind of memory.
#ifndef VESK_TESTING_PLAIN_CONTRAST_H
#define VESK_TESTING_PLAIN_CONTRAST_H

#include <stdint.h>

namespace test_support::plain {

struct Scratch {
    double* table;       // 256
    int32_t* histogram;  // 256
    int32_t* levels;     // rows * columns
};

// Truncation toward zero to a signed 32-bit integer (NaN and values whose
// truncation does not fit give INT32_MIN), then clamped to 0..255.
int32_t levelOf(double value);

// Vesk: map (rows x columns) and distribution (101) start at 0.0.
void absoluteContrast(const double* input, double* map, double* distribution, int32_t rows,
                      int32_t columns, const Scratch& scratch);

// Vesk2: map (rows x columns) and *leastContrastLevel start at 0.0.
void signedContrast(const double* input, double* map, double* leastContrastLevel, int32_t rows,
                    int32_t columns, const Scratch& scratch);

}  // namespace test_support::plain

#endif
