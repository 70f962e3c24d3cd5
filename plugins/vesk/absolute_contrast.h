// Vesk's kernel: the absolute contrast map of an image of grey levels 0..255
// and its 101-element contrast distribution.
#ifndef VESK_PLUGINS_VESK_ABSOLUTE_CONTRAST_H
#define VESK_PLUGINS_VESK_ABSOLUTE_CONTRAST_H

#include <stdint.h>

#include "contrast_table.h"
#include "image_class.h"

namespace vesk {

// Vesk's level rule, as buildLevelHistogram and buildLevelHistogramOfClass
// take it: doubles (and singles) are truncated toward zero themselves and
// clamped to 0..255 (NaN and infinities give 0); integer images are reduced
// to 256 levels as im2uint8 does.
struct TruncateLevel {
    static constexpr double kDomainTop = 255.0;  // grey levels 0..255
    int32_t operator()(double value) const { return clampTruncatedLevel(value); }
#if VESK_HAVE_SSE2
    __m128d beforeTruncation(__m128d values) const { return values; }
#endif
    int32_t ofUint8(uint8_t value) const { return value; }
    // round(v / 257) in integers: v / 257 is never a whole number and a half,
    // since 257 is odd, so there are no ties to break.
    int32_t ofUint16(uint16_t value) const { return (value + 128) / 257; }
};

// The distribution: the elements per hundredth of normalised contrast, then
// the least-contrast level.
enum { kContrastBuckets = 100, kDistributionLength = kContrastBuckets + 1 };

// One sort record per level that occurs. The contrast is a whole number; it is
// held in 64 bits because above 8,421,505 elements it no longer fits 32.
struct LevelRecord {
    int64_t contrast;
    int32_t count;
    int32_t level;
};

// The sort's comparator: ascending contrast, then ascending level.
int compareLevelRecords(const void* a, const void* b);

// distribution[0..99]: elements per hundredth of normalised contrast (those at
// a maximum above zero are not counted); distribution[100]: the lowest level
// with the smallest contrast, divided by 255. Left at its initial
// 0.0 when there are no elements.
void computeContrastDistribution(const LevelHistogram* histogram, const ContrastTable* table,
                                 double normaliser, double* distribution);

// The absolute contrast map (rows x columns) and the distribution
// (kDistributionLength), both starting at 0.0, of an image of any class that
// image_classes.h lists, with the scratch image_class.h gives for it, taken
// from allocator and all released to it in the order table, level array (if
// any), histogram. Returns true when only
// levels 0 and 1 occur in a double or single image: the image may hold
// intensities 0..1 rather than grey levels (valuesLookLikeIntensities
// decides).
bool computeAbsoluteContrastOfClass(ImageClass imageClass, const void* input, double* map,
                                    double* distribution, int32_t rows, int32_t columns,
                                    const ScratchAllocator& allocator);

}  // namespace vesk

#endif
