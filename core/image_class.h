// The image classes both plug-ins take, and the counting and look-up passes
// for each of them.
//
// An image of any of these classes gets exactly the levels that the double
// image the host's own conversion would make of it gets (double(img) or
// im2uint8(img) for Vesk, im2double(img) for Vesk2; for an integer class of
// no rule of its own, the conversion of its whole range a refusal advises).
// A plug-in's level rule says how a double, a uint8 and a uint16 value become
// a level; single, int16, logical and the whole-range classes follow from it
// the same way in both plug-ins.
//
// What a call keeps per element, and so what it allocates after the contrast
// table (2048 bytes) and the histogram (1024 bytes), by the class's level
// bytes in the table:
//   4 (double)                  a 32-bit level per element: 4n bytes
//   1 (single, uint16, int16)   a 1-byte level per element: n bytes
//   0 (uint8, logical)          nothing: the image's own bytes index a table
//                               of 256 entries, one per byte value, on the stack
//
// Plain functions over raw arrays, like contrast_table.h: no allocation of
// their own (the caller passes its allocator), no global state, no calls into
// the C or C++ runtime.
#ifndef VESK_CORE_IMAGE_CLASS_H
#define VESK_CORE_IMAGE_CLASS_H

#include <stddef.h>
#include <stdint.h>

#include <limits>

#include "contrast_table.h"
#include "image_classes.h"

namespace vesk {

// The scratch of one call, and what the counting pass leaves for the map.
struct ClassScratch {
    ContrastTable* table;
    LevelHistogram* histogram;
    void* levels;                        // int32_t (double), uint8_t (single, uint16, int16) or null
    uint8_t byteLevel[kGreyLevels];      // uint8 and logical: the level of each byte value
};

// Where a kernel's scratch comes from and goes back to: the host's own
// allocator under a MEX host (mxMalloc, mxFree), the call's scratch in the
// Octave gateway, the benchmarks' own. release is null where the scratch is
// left to the one who allocated it (Vesk2 under a MEX host: the host
// reclaims it when the call returns).
struct ScratchAllocator {
    void* (*allocate)(size_t bytes);
    void (*release)(void* pointer);
};

// Takes the table (2048 bytes), the histogram (1024 bytes) and, for the
// classes that need one, the level array, in that order.
static inline void allocateClassScratch(ImageClass imageClass, int32_t elementCount,
                                        const ScratchAllocator& allocator, ClassScratch* scratch)
{
    scratch->table = static_cast<ContrastTable*>(allocator.allocate(sizeof(ContrastTable)));
    scratch->histogram = static_cast<LevelHistogram*>(allocator.allocate(sizeof(LevelHistogram)));
    const int32_t bytesPerElement = levelBytesPerElement(imageClass);
    scratch->levels = bytesPerElement == 0
                          ? nullptr
                          : allocator.allocate((size_t)(bytesPerElement * (int64_t)elementCount));
}

// What allocateClassScratch takes in all, in bytes (for messages).
static inline uint64_t classScratchBytes(ImageClass imageClass, int64_t elementCount)
{
    return sizeof(ContrastTable) + sizeof(LevelHistogram) +
           (uint64_t)levelBytesPerElement(imageClass) * (uint64_t)elementCount;
}

// Gives the scratch back in the order table, level array (when there is
// one), histogram.
static inline void releaseClassScratch(const ClassScratch* scratch,
                                       const ScratchAllocator& allocator)
{
    allocator.release(scratch->table);
    if (scratch->levels != nullptr)
        allocator.release(scratch->levels);
    allocator.release(scratch->histogram);
}

// --- counting -------------------------------------------------------------------

// A level rule (the plug-ins' TruncateLevel and QuantizeUnitLevel) provides:
//   int32_t operator()(double)          the level of a double
//   __m128d beforeTruncation(__m128d)   with SSE2, as buildLevelHistogram takes it
//   int32_t ofUint8(uint8_t)            the level of a uint8 value
//   int32_t ofUint16(uint16_t)          the level of a uint16 value
//   double kDomainTop                   the top of the domain (255 or 1)
// A single counts as its value converted to double, an int16 v as the uint16
// v + 32768 (as im2uint16 and im2double shift it), a logical as level 0 when
// false and 255 when true (any non-zero byte is true).

// The level of one element of class imageClass by the plug-in's rule (the
// double class has its own pass, buildLevelHistogram, over the rule itself).
// An integer class without a ClassLevel of its own maps its whole range onto
// the rule's domain 0..Rule::kDomainTop (255 grey levels for Vesk, intensity
// 1 for Vesk2), as the advice of a refused integer class says: the level of
// the double (v - min) / ((max - min) / kDomainTop), the very double the
// advised conversion gives.
template <typename Rule, ImageClass imageClass>
struct ClassLevel {
    typedef typename ClassTraits<imageClass>::Element Element;
    typedef std::numeric_limits<Element> Limits;
    static_assert(Limits::is_integer, "the whole-range rule is for integer classes");
    Rule rule;
    int32_t operator()(Element value) const
    {
        const double lowest = (double)Limits::min();
        const double range = (double)Limits::max() - lowest;
        return rule(((double)value - lowest) / (range / Rule::kDomainTop));
    }
};

template <typename Rule>
struct ClassLevel<Rule, ImageClass::Single> {
    Rule rule;
    int32_t operator()(float value) const { return rule((double)value); }
#if VESK_HAVE_SSE2
    // The same rule, eight values at a time: cvtps2pd converts exactly.
    __m128i eightLevels(const float* values) const
    {
        const __m128 first = _mm_loadu_ps(values);
        const __m128 second = _mm_loadu_ps(values + 4);
        return clampTruncatedLevels(rule.beforeTruncation(_mm_cvtps_pd(first)),
                                    rule.beforeTruncation(_mm_cvtps_pd(_mm_movehl_ps(first, first))),
                                    rule.beforeTruncation(_mm_cvtps_pd(second)),
                                    rule.beforeTruncation(_mm_cvtps_pd(_mm_movehl_ps(second, second))));
    }
#endif
};

template <typename Rule>
struct ClassLevel<Rule, ImageClass::Uint8> {
    Rule rule;
    int32_t operator()(uint8_t value) const { return rule.ofUint8(value); }
};

template <typename Rule>
struct ClassLevel<Rule, ImageClass::Uint16> {
    Rule rule;
    int32_t operator()(uint16_t value) const { return rule.ofUint16(value); }
};

template <typename Rule>
struct ClassLevel<Rule, ImageClass::Int16> {
    Rule rule;
    int32_t operator()(int16_t value) const { return rule.ofUint16((uint16_t)(value + 32768)); }
};

template <typename Rule>
struct ClassLevel<Rule, ImageClass::Logical> {
    Rule rule;
    int32_t operator()(uint8_t value) const { return value == 0 ? 0 : kGreyLevels - 1; }
};

// Eight elements at a time where the element's level has a vector form.
#if VESK_HAVE_SSE2
template <typename Rule>
static inline int32_t countEightsOfLevels(const float* input, int32_t elementCount,
                                          ClassLevel<Rule, ImageClass::Single> levelOf,
                                          uint8_t* levels,
                                          PartialHistograms partial)
{
    int32_t k = 0;
    for (; k + 8 <= elementCount; k += 8) {
        const __m128i eight = levelOf.eightLevels(input + k);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(levels + k), _mm_packus_epi16(eight, eight));
        countEightLevels(eight, partial);
    }
    return k;
}
#endif

template <typename Element, typename LevelOf>
static inline int32_t countEightsOfLevels(const Element*, int32_t, LevelOf, uint8_t*,
                                          PartialHistograms)
{
    return 0;
}

// buildLevelHistogram for the classes whose levels are kept as bytes: clears
// the histogram and the table, then stores every element's level in
// levels[k] and counts it.
template <typename Element, typename LevelOf>
static inline void buildByteLevelHistogram(const Element* input, int32_t elementCount,
                                           LevelOf levelOf, uint8_t* levels,
                                           LevelHistogram* histogram, ContrastTable* table)
{
    clearHistogramAndTable(histogram, table);
    PartialHistograms partial;
    clearPartialHistograms(partial);

    int32_t k = countEightsOfLevels(input, elementCount, levelOf, levels, partial);
    for (; k + 4 <= elementCount; k += 4) {
        const int32_t l0 = levelOf(input[k]);
        const int32_t l1 = levelOf(input[k + 1]);
        const int32_t l2 = levelOf(input[k + 2]);
        const int32_t l3 = levelOf(input[k + 3]);
        levels[k] = (uint8_t)l0;
        levels[k + 1] = (uint8_t)l1;
        levels[k + 2] = (uint8_t)l2;
        levels[k + 3] = (uint8_t)l3;
        ++partial[0][l0];
        ++partial[1][l1];
        ++partial[2][l2];
        ++partial[3][l3];
    }
    for (; k < elementCount; ++k) {
        const int32_t level = levelOf(input[k]);
        levels[k] = (uint8_t)level;
        ++partial[0][level];
    }

    for (int level = 0; level < kGreyLevels; ++level)
        histogram->count[level] = sumOfPartialCounts(partial, level);
}

// For the one-byte classes: clears the histogram and the table, counts every
// byte value of the image, then adds each byte value's count to its level.
static inline void buildByteValueHistogram(const uint8_t* input, int32_t elementCount,
                                           const uint8_t byteLevel[kGreyLevels],
                                           LevelHistogram* histogram, ContrastTable* table)
{
    clearHistogramAndTable(histogram, table);
    // Eight partial histograms: runs of equal bytes, common in photographs,
    // then spread their increments over eight counters.
    PartialHistograms partial, more;
    clearPartialHistograms(partial);
    clearPartialHistograms(more);

    int32_t k = 0;
#if VESK_HAVE_SSE2
    // Sixteen bytes per load; the counters' indices come from the register.
    for (; k + 16 <= elementCount; k += 16) {
        const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(input + k));
        uint64_t low = (uint64_t)_mm_cvtsi128_si64(sixteen);
        uint64_t high = (uint64_t)_mm_cvtsi128_si64(_mm_unpackhi_epi64(sixteen, sixteen));
        for (int step = 0; step < 2; ++step) {
            ++partial[0][low & 0xFF];
            ++partial[1][(low >> 8) & 0xFF];
            ++partial[2][(low >> 16) & 0xFF];
            ++partial[3][(low >> 24) & 0xFF];
            ++more[0][high & 0xFF];
            ++more[1][(high >> 8) & 0xFF];
            ++more[2][(high >> 16) & 0xFF];
            ++more[3][(high >> 24) & 0xFF];
            low >>= 32;
            high >>= 32;
        }
    }
#endif
    for (; k + 8 <= elementCount; k += 8) {
        ++partial[0][input[k]];
        ++partial[1][input[k + 1]];
        ++partial[2][input[k + 2]];
        ++partial[3][input[k + 3]];
        ++more[0][input[k + 4]];
        ++more[1][input[k + 5]];
        ++more[2][input[k + 6]];
        ++more[3][input[k + 7]];
    }
    for (; k < elementCount; ++k)
        ++partial[0][input[k]];

    for (int value = 0; value < kGreyLevels; ++value)
        histogram->count[byteLevel[value]] +=
            sumOfPartialCounts(partial, value) + sumOfPartialCounts(more, value);
}

// Clears the histogram and the table, then counts the level of every element
// of an image of the given class by the plug-in's rule, keeping in the
// scratch what the map pass needs: the pass follows the class's level bytes.
template <typename Rule>
static inline void buildLevelHistogramOfClass(ImageClass imageClass, const void* input,
                                              int32_t elementCount, Rule rule,
                                              ClassScratch* scratch)
{
    visitImageClass(imageClass, [&](auto traits) {
        typedef decltype(traits) Traits;
        typedef typename Traits::Element Element;
        const Element* elements = static_cast<const Element*>(input);
        if constexpr (Traits::levelBytes == 4) {
            buildLevelHistogram(elements, elementCount, rule,
                                static_cast<int32_t*>(scratch->levels), scratch->histogram,
                                scratch->table);
        } else if constexpr (Traits::levelBytes == 1) {
            buildByteLevelHistogram(elements, elementCount,
                                    ClassLevel<Rule, Traits::imageClass>{rule},
                                    static_cast<uint8_t*>(scratch->levels), scratch->histogram,
                                    scratch->table);
        } else {
            static_assert(Traits::levelBytes == 0 && sizeof(Element) == 1,
                          "a class without level array indexes by its bytes");
            const ClassLevel<Rule, Traits::imageClass> levelOf{rule};
            for (int value = 0; value < kGreyLevels; ++value)
                scratch->byteLevel[value] = (uint8_t)levelOf((Element)value);
            buildByteValueHistogram(reinterpret_cast<const uint8_t*>(elements), elementCount,
                                    scratch->byteLevel, scratch->histogram, scratch->table);
        }
    });
}

// What every kernel does first, for an image of rows x columns (at most
// 2^31 - 1 elements, as the call checks make sure): takes the scratch of its
// class from allocator, counts its levels by the plug-in's rule and fills the
// contrast table. Returns the largest contrast.
template <typename Rule>
static inline double tabulateContrastsOfClass(ImageClass imageClass, const void* input,
                                              int32_t rows, int32_t columns, Rule rule,
                                              const ScratchAllocator& allocator,
                                              ClassScratch* scratch)
{
    const int32_t elementCount = (int32_t)((uint32_t)rows * (uint32_t)columns);
    allocateClassScratch(imageClass, elementCount, allocator, scratch);
    buildLevelHistogramOfClass(imageClass, input, elementCount, rule, scratch);
    return computeContrastTable(scratch->histogram, scratch->table);
}

// --- the map --------------------------------------------------------------------

// map[k] = perLevel[level of element k], after buildLevelHistogramOfClass.
static inline void lookUpLevelsOfClass(ImageClass imageClass, const void* input,
                                       int32_t elementCount, const ClassScratch* scratch,
                                       const double perLevel[kGreyLevels], double* map)
{
    visitImageClass(imageClass, [&](auto traits) {
        typedef decltype(traits) Traits;
        if constexpr (Traits::levelBytes == 4) {
            lookUpIndices(static_cast<const int32_t*>(scratch->levels), elementCount, perLevel, map);
        } else if constexpr (Traits::levelBytes == 1) {
            lookUpIndices(static_cast<const uint8_t*>(scratch->levels), elementCount, perLevel,
                          map);
        } else {
            double perByte[kGreyLevels];
            for (int value = 0; value < kGreyLevels; ++value)
                perByte[value] = perLevel[scratch->byteLevel[value]];
            lookUpIndices(static_cast<const uint8_t*>(input), elementCount, perByte, map);
        }
    });
}

// --- what the scale warnings look at ---------------------------------------------

// True when no level other than `low` and `high` occurs (either may be absent).
static inline bool onlyLevelsOccur(const LevelHistogram* histogram, int32_t low, int32_t high)
{
    for (int level = 0; level < kGreyLevels; ++level)
        if (histogram->count[level] != 0 && level != low && level != high)
            return false;
    return true;
}

template <typename Float>
static inline bool floatsLookLikeIntensities(const Float* values, int32_t elementCount)
{
    bool between = false;
    for (int32_t k = 0; k < elementCount; ++k) {
        const Float value = values[k];
        if (!(value >= 0 && value <= 1))  // NaN fails too
            return false;
        between = between || (value > 0 && value < 1);
    }
    return between;
}

// A finite whole number, decided without the maths library: every double of
// magnitude 2^52 or more is whole, every smaller one converts exactly to a
// 64-bit integer and back when it is.
static inline bool isWholeNumber(double value)
{
    const double twoTo52 = 4503599627370496.0;
    if (value > -twoTo52 && value < twoTo52)
        return (double)(int64_t)value == value;
    return value - value == 0.0;  // false for infinities and NaN
}

template <typename Float>
static inline bool floatsLookLikeGreyLevels(const Float* values, int32_t elementCount)
{
    bool aboveOne = false;
    for (int32_t k = 0; k < elementCount; ++k) {
        const double value = (double)values[k];
        if (!isWholeNumber(value))
            return false;
        aboveOne = aboveOne || value > 1.0;
    }
    return aboveOne;
}

// scan(values, elementCount) on the values of a double or single image, as
// doubles or floats; false for the other classes.
template <typename Scan>
static inline bool scanFloatingPointValues(ImageClass imageClass, const void* input,
                                           int32_t elementCount, Scan scan)
{
    if (imageClass == ImageClass::Double)
        return scan(static_cast<const double*>(input), elementCount);
    if (imageClass == ImageClass::Single)
        return scan(static_cast<const float*>(input), elementCount);
    return false;
}

// A double or single image whose every value lies in 0..1, with at least one
// strictly between: intensities, not grey levels. False for other classes.
static inline bool valuesLookLikeIntensities(ImageClass imageClass, const void* input,
                                             int32_t elementCount)
{
    return scanFloatingPointValues(imageClass, input, elementCount, [](auto values, int32_t n) {
        return floatsLookLikeIntensities(values, n);
    });
}

// A double or single image whose every value is a finite whole number, with
// at least one above 1: grey levels, not intensities. False for other classes.
static inline bool valuesLookLikeGreyLevels(ImageClass imageClass, const void* input,
                                            int32_t elementCount)
{
    return scanFloatingPointValues(imageClass, input, elementCount, [](auto values, int32_t n) {
        return floatsLookLikeGreyLevels(values, n);
    });
}

}  // namespace vesk

#endif
