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

// Clears the histogram and the table, then maps every element to its level,
// stores it in levels[k] and counts it. mapLevel is any callable that turns a
// double into a level in 0..255.
template <typename MapLevel>
static inline void buildLevelHistogram(const double* input, int32_t elementCount, MapLevel mapLevel,
                                       int32_t* levels, LevelHistogram* histogram,
                                       ContrastTable* table)
{
    for (int level = 0; level < kGreyLevels; ++level) {
        histogram->count[level] = 0;
        table->contrast[level] = 0.0;
    }

    // Four partial histograms, so that a run of equal levels (a uniform
    // image) does not serialise every increment on one counter.
    int32_t partial[4][kGreyLevels];
    for (int lane = 0; lane < 4; ++lane)
        for (int level = 0; level < kGreyLevels; ++level)
            partial[lane][level] = 0;

    int32_t k = 0;
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
    for (; k < elementCount; ++k) {
        const int32_t level = mapLevel(input[k]);
        levels[k] = level;
        ++partial[0][level];
    }

    for (int level = 0; level < kGreyLevels; ++level)
        histogram->count[level] =
            partial[0][level] + partial[1][level] + partial[2][level] + partial[3][level];
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

#endif
