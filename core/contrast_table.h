// Grey-level histogram and contrast table shared by both plug-ins.
//
// Every element of an image is reduced to one of 256 grey levels. The
// contrast of a level is the sum, over all elements, of the absolute
// difference between that level and the element's level. It depends only on
// the level, so it is computed once per level from a 256-bin histogram and
// every per-element result is a look-up into that table.
//
// Plain functions over raw arrays: no allocation, no global state, no calls
// into the C or C++ runtime (one of the plug-ins must not depend on it).
#ifndef VESK_CORE_CONTRAST_TABLE_H
#define VESK_CORE_CONTRAST_TABLE_H

#include <stdint.h>

// SSE2 is part of every x86-64 processor, so no runtime check is needed.
// VESK_PORTABLE_COUNTING builds the portable passes there too, so that the
// tests can prove both give the same bits.
#if (defined(__x86_64__) || defined(_M_X64)) && !defined(VESK_PORTABLE_COUNTING)
#define VESK_HAVE_SSE2 1
#include <emmintrin.h>
#include <xmmintrin.h>
#else
#define VESK_HAVE_SSE2 0
#endif

namespace vesk {

enum { kGreyLevels = 256 };

// 256 counts indexed by grey level.
struct LevelHistogram {
    int32_t count[kGreyLevels];
};

// 256 contrasts indexed by grey level; 0.0 for levels that do not occur.
struct ContrastTable {
    double contrast[kGreyLevels];
};

// The grey level for a double, by one rule for every double:
// truncate toward zero to a signed 32-bit integer (NaN, and values whose
// truncation leaves that range, give INT32_MIN), then clamp to 0..255.
// Written as comparisons on the double so that no conversion is ever out of
// range, and so that the compiler can vectorise it.
static inline int32_t clampTruncatedLevel(double value)
{
    // Only values in [1, 2^31) give a level above 0; NaN fails the test.
    const bool aboveZero = value >= 1.0 && value < 2147483648.0;
    const double clamped = value < 255.0 ? value : 255.0;
    return (int32_t)(aboveZero ? clamped : 0.0);
}

#if VESK_HAVE_SSE2
// clampTruncatedLevel of eight doubles at once, as eight 16-bit levels.
// cvttpd2dq truncates toward zero and gives INT32_MIN (0x80000000) for NaN
// and for every value whose truncation leaves the signed 32-bit range: the
// rule's own INT32_MIN. Packing to 16 bits with signed saturation keeps every
// integer on its side of 0 and of 255, so the 16-bit maximum and minimum
// clamp exactly as the rule does.
static inline __m128i clampTruncatedLevels(__m128d v0, __m128d v1, __m128d v2, __m128d v3)
{
    const __m128i first = _mm_unpacklo_epi64(_mm_cvttpd_epi32(v0), _mm_cvttpd_epi32(v1));
    const __m128i second = _mm_unpacklo_epi64(_mm_cvttpd_epi32(v2), _mm_cvttpd_epi32(v3));
    const __m128i saturated = _mm_packs_epi32(first, second);
    return _mm_min_epi16(_mm_max_epi16(saturated, _mm_setzero_si128()), _mm_set1_epi16(255));
}
#endif

// Sets all 256 counts and all 256 contrasts to 0.
static inline void clearHistogramAndTable(LevelHistogram* histogram, ContrastTable* table)
{
    for (int level = 0; level < kGreyLevels; ++level) {
        histogram->count[level] = 0;
        table->contrast[level] = 0.0;
    }
}

// The counting passes keep four partial histograms, so that a run of equal
// levels (a uniform image) does not serialise every increment on one counter.
typedef int32_t PartialHistograms[4][kGreyLevels];

static inline void clearPartialHistograms(PartialHistograms partial)
{
    for (int lane = 0; lane < 4; ++lane)
        for (int level = 0; level < kGreyLevels; ++level)
            partial[lane][level] = 0;
}

static inline int32_t sumOfPartialCounts(const PartialHistograms partial, int index)
{
    return partial[0][index] + partial[1][index] + partial[2][index] + partial[3][index];
}

#if VESK_HAVE_SSE2
// Counts eight 16-bit levels, two to each partial histogram. The counters'
// indices come from the register rather than from reading the levels back.
static inline void countEightLevels(__m128i eight, PartialHistograms partial)
{
    const uint64_t low = (uint64_t)_mm_cvtsi128_si64(eight);
    const uint64_t high = (uint64_t)_mm_cvtsi128_si64(_mm_unpackhi_epi64(eight, eight));
    ++partial[0][low & 0xFFFF];
    ++partial[1][(low >> 16) & 0xFFFF];
    ++partial[2][(low >> 32) & 0xFFFF];
    ++partial[3][low >> 48];
    ++partial[0][high & 0xFFFF];
    ++partial[1][(high >> 16) & 0xFFFF];
    ++partial[2][(high >> 32) & 0xFFFF];
    ++partial[3][high >> 48];
}
#endif

// Clears the histogram and the table, then maps every element to its level,
// stores it in levels[k] and counts it. mapLevel(double) turns a double into
// a level in 0..255. With SSE2, mapLevel.beforeTruncation(__m128d) also gives,
// for two doubles at once, the values that its rule truncates and clamps with
// clampTruncatedLevel (the doubles themselves, or scaled).
template <typename MapLevel>
static inline void buildLevelHistogram(const double* input, int32_t elementCount, MapLevel mapLevel,
                                       int32_t* levels, LevelHistogram* histogram,
                                       ContrastTable* table)
{
    clearHistogramAndTable(histogram, table);
    PartialHistograms partial;
    clearPartialHistograms(partial);

    int32_t k = 0;
#if VESK_HAVE_SSE2
    // Eight elements, one cache line of input, per step. The counting keeps
    // the core busy enough that the hardware prefetcher falls behind, so the
    // input is also asked for ahead.
    const int32_t prefetchDistance = 256;  // elements: 2 KiB of input
    const __m128i zero = _mm_setzero_si128();
    for (; k + 8 <= elementCount; k += 8) {
        if (k + prefetchDistance < elementCount)
            _mm_prefetch(reinterpret_cast<const char*>(input + k + prefetchDistance), _MM_HINT_T0);
        const __m128i eight = clampTruncatedLevels(mapLevel.beforeTruncation(_mm_loadu_pd(input + k)),
                                                   mapLevel.beforeTruncation(_mm_loadu_pd(input + k + 2)),
                                                   mapLevel.beforeTruncation(_mm_loadu_pd(input + k + 4)),
                                                   mapLevel.beforeTruncation(_mm_loadu_pd(input + k + 6)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(levels + k), _mm_unpacklo_epi16(eight, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(levels + k + 4), _mm_unpackhi_epi16(eight, zero));
        countEightLevels(eight, partial);
    }
#else
    for (; k + 4 <= elementCount; k += 4) {
        const int32_t l0 = mapLevel(input[k]);
        const int32_t l1 = mapLevel(input[k + 1]);
        const int32_t l2 = mapLevel(input[k + 2]);
        const int32_t l3 = mapLevel(input[k + 3]);
        levels[k] = l0;
        levels[k + 1] = l1;
        levels[k + 2] = l2;
        levels[k + 3] = l3;
        ++partial[0][l0];
        ++partial[1][l1];
        ++partial[2][l2];
        ++partial[3][l3];
    }
#endif
    for (; k < elementCount; ++k) {
        const int32_t level = mapLevel(input[k]);
        levels[k] = level;
        ++partial[0][level];
    }

    for (int level = 0; level < kGreyLevels; ++level)
        histogram->count[level] = sumOfPartialCounts(partial, level);
}

// Maps of at least this many elements (4 MiB of doubles) are written with
// streaming stores, past the caches: a map that large does not stay cached
// for its reader anyway, and a streaming store skips reading each line in
// before writing it, which is most of the pass's memory traffic otherwise.
enum { kStreamingMapElements = 1 << 19 };

// map[k] = perIndex[indices[k]] for every element (32-bit levels, byte levels
// or an image's own bytes as the indices): four look-ups per step,
// which keeps more of them in flight than one per loop turn.
template <typename Index>
static inline void lookUpIndices(const Index* indices, int32_t elementCount,
                                 const double* perIndex, double* map)
{
    int32_t k = 0;
#if VESK_HAVE_SSE2
    if (elementCount >= kStreamingMapElements) {
        if ((reinterpret_cast<uintptr_t>(map) & 15) != 0) {  // a double: 8-byte aligned
            map[0] = perIndex[indices[0]];
            k = 1;
        }
        for (; k + 4 <= elementCount; k += 4) {
            _mm_stream_pd(map + k, _mm_set_pd(perIndex[indices[k + 1]], perIndex[indices[k]]));
            _mm_stream_pd(map + k + 2,
                          _mm_set_pd(perIndex[indices[k + 3]], perIndex[indices[k + 2]]));
        }
        _mm_sfence();  // the streamed map is complete before the host reads it
    }
#endif
    for (; k + 4 <= elementCount; k += 4) {
        const double v0 = perIndex[indices[k]];
        const double v1 = perIndex[indices[k + 1]];
        const double v2 = perIndex[indices[k + 2]];
        const double v3 = perIndex[indices[k + 3]];
        map[k] = v0;
        map[k + 1] = v1;
        map[k + 2] = v2;
        map[k + 3] = v3;
    }
    for (; k < elementCount; ++k)
        map[k] = perIndex[indices[k]];
}

// Fills the contrast of every level that occurs and returns the largest one
// (0.0 when fewer than two levels occur). Levels that do not occur keep 0.0.
double computeContrastTable(const LevelHistogram* histogram, ContrastTable* table);

// The divisor of every normalised contrast: the maximum contrast, or 0.001
// when it is 0.0, so that an image of one level maps to 0.0 everywhere.
static inline double contrastNormaliser(double maximumContrast)
{
    return maximumContrast == 0.0 ? 0.001 : maximumContrast;
}

}  // namespace vesk

#endif
