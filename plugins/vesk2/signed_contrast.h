// Vesk2's kernel: the signed contrast map of an image of intensities 0..1 and
// its least-contrast level.
#ifndef VESK_PLUGINS_VESK2_SIGNED_CONTRAST_H
#define VESK_PLUGINS_VESK2_SIGNED_CONTRAST_H

#include <stdint.h>

#include "contrast_table.h"

// The grey level of one intensity: x * 255 truncated toward zero, clamped to
// 0..255. NaN, both infinities and products of 2^31 or more give 0.
static inline int32_t quantizeUnitLevel(double intensity)
{
    return clampTruncatedLevel(intensity * 255.0);
}

// quantizeUnitLevel as buildLevelHistogram takes it: the rule truncates the
// intensities times 255.0 (the same product in the same precision).
struct QuantizeUnitLevel {
    int32_t operator()(double intensity) const { return quantizeUnitLevel(intensity); }
#if VESK_HAVE_SSE2
    __m128d beforeTruncation(__m128d intensities) const
    {
        return _mm_mul_pd(intensities, _mm_set1_pd(255.0));
    }
#endif
};

// map (rows x columns) and *leastContrastLevel must start at 0.0. Scratch
// comes from mxMalloc and is left to the host, which reclaims it when the call
// returns.
void computeSignedContrast(const double* input, double* map, double* leastContrastLevel,
                           int32_t rows, int32_t columns);

#endif
