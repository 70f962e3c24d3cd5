// A plain reference implementation, written straight from the definitions:
// every element's contrast is its absolute grey-level difference summed over
// all elements. Slow (quadratic in the number of distinct levels times n) and
// independent of the plug-ins' code.
#ifndef VESK_TESTING_REFERENCE_H
#define VESK_TESTING_REFERENCE_H

#include <stdint.h>

#include <vector>

namespace test_support::reference {

// Truncation toward zero to a signed 32-bit integer, with INT32_MIN for NaN and
// for values whose truncation does not fit; then clamped to 0..255.
int32_t levelOf(double value);
int32_t unitLevelOf(double intensity);  // levelOf(intensity * 255)

struct AbsoluteContrast {
    std::vector<double> map;
    std::vector<double> distribution;  // 101; element 100: the lowest least-contrast level / 255
};
AbsoluteContrast absoluteContrast(const std::vector<double>& input);

struct SignedContrast {
    std::vector<double> map;
    double leastContrastLevel = 0.0;
};
SignedContrast signedContrast(const std::vector<double>& input);

}  // namespace test_support::reference

#endif
