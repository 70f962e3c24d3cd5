// Vesk2's kernel: the signed contrast map of an image of intensities 0..1 and
// its least-contrast level.
#ifndef VESK_PLUGINS_VESK2_SIGNED_CONTRAST_H
#define VESK_PLUGINS_VESK2_SIGNED_CONTRAST_H

#include <stdint.h>

#include "contrast_table.h"
#include "image_class.h"

namespace vesk {

// The grey level of one intensity: x * 255 truncated toward zero, clamped to
// 0..255. NaN, both infinities and products of 2^31 or more give 0.
static inline int32_t quantizeUnitLevel(double intensity)
{
    return clampTruncatedLevel(intensity * 255.0);
}

// Vesk2's level rule, as buildLevelHistogram and buildLevelHistogramOfClass
// take it: quantizeUnitLevel of the intensity im2double gives. With SSE2 the
// rule truncates the intensities times 255.0 (the same product in the same
// precision).
struct QuantizeUnitLevel {
    static constexpr double kDomainTop = 1.0;  // intensities 0..1
    int32_t operator()(double intensity) const { return quantizeUnitLevel(intensity); }
#if VESK_HAVE_SSE2
    __m128d beforeTruncation(__m128d intensities) const
    {
        return _mm_mul_pd(intensities, _mm_set1_pd(255.0));
    }
#endif
    // uint8 v: quantizeUnitLevel(v / 255.0), once per byte value per call.
    int32_t ofUint8(uint8_t value) const { return quantizeUnitLevel(value / 255.0); }
    // uint16 v: quantizeUnitLevel(v / 65535.0) is v / 257 for every v, as
    // the level rules test checks for all 65536 of them; no division per
    // element.
    int32_t ofUint16(uint16_t value) const { return value / 257; }
};

// The second output: the least-contrast level alone.
enum { kLeastContrastLevelLength = 1 };

// The signed contrast map (rows x columns) and *leastContrastLevel, both
// starting at 0.0, of an image of any class that image_classes.h lists, with
// the scratch image_class.h gives for it, taken from allocator and never
// released here: it is left to the allocator's owner (the host reclaims it
// when the call returns). Returns true
// when a double or single image has level 255 and no level but 0 beside it:
// the image may hold grey levels 0..255 rather than intensities
// (valuesLookLikeGreyLevels decides).
bool computeSignedContrastOfClass(ImageClass imageClass, const void* input, double* map,
                                  double* leastContrastLevel, int32_t rows, int32_t columns,
                                  const ScratchAllocator& allocator);

}  // namespace vesk

#endif
