// Doubles compared bit for bit, so that -0.0 differs from 0.0 and a NaN's
// payload shows: the one bitsOf of every suite, the Windows host program
// and the fuzzers.
#ifndef VESK_TESTING_SAME_BITS_H
#define VESK_TESTING_SAME_BITS_H

#include <stdint.h>
#include <string.h>

#include <vector>

namespace test_support {

inline uint64_t bitsOf(double value)
{
    uint64_t bits;
    memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline std::vector<uint64_t> bitsOf(const std::vector<double>& values)
{
    std::vector<uint64_t> bits;
    for (double value : values)
        bits.push_back(bitsOf(value));
    return bits;
}

}  // namespace test_support

#endif
