#include "stream_bound.h"

void streamSameBytes(const double* input, int32_t* levels, double* map, int32_t elementCount)
{
    // Inputs are grey levels or intensities, so the conversion is in range.
    for (int32_t k = 0; k < elementCount; ++k)
        levels[k] = (int32_t)input[k];
    for (int32_t k = 0; k < elementCount; ++k)
        map[k] = (double)levels[k];
}

uint64_t streamBytesTwice(const uint8_t* input, double* map, int32_t elementCount)
{
    uint64_t sum = 0;
    for (int32_t k = 0; k < elementCount; ++k)
        sum += input[k];
    for (int32_t k = 0; k < elementCount; ++k)
        map[k] = (double)input[k];
    return sum;
}
