#include "absolute_contrast.h"

#include <stdlib.h>

#include "mex_api.h"

int compareLevelRecords(const void* a, const void* b)
{
    const int64_t left = static_cast<const LevelRecord*>(a)->contrast;
    const int64_t right = static_cast<const LevelRecord*>(b)->contrast;
    return (left > right) - (left < right);
}

void computeContrastDistribution(const LevelHistogram* histogram, const ContrastTable* table,
                                 double normaliser, double* distribution)
{
    LevelRecord records[kGreyLevels];
    int recordCount = 0;
    for (int level = 0; level < kGreyLevels; ++level) {
        if (histogram->count[level] != 0) {
            records[recordCount].contrast = (int64_t)table->contrast[level];
            records[recordCount].count = histogram->count[level];
            records[recordCount].level = level;
            ++recordCount;
        }
    }
    if (recordCount == 0)
        return;

    qsort(records, (size_t)recordCount, sizeof(LevelRecord), compareLevelRecords);

    // Divide first, then scale: 29 / 100 * 100 is 28.999999999999996, bucket 28.
    // No contrast exceeds the normaliser, so the bucket lies in 0..100; the
    // levels at the maximum land in 100, which the least-contrast level then
    // overwrites.
    for (int r = 0; r < recordCount; ++r) {
        const int bucket = (int)((double)records[r].contrast / normaliser * 100.0);
        distribution[bucket] += (double)records[r].count;
    }
    distribution[100] = records[0].level / 255.0;
}

void computeAbsoluteContrast(const double* input, double* map, double* distribution, int32_t rows,
                             int32_t columns)
{
    const int32_t elementCount = (int32_t)((uint32_t)rows * (uint32_t)columns);

    ContrastTable* table = static_cast<ContrastTable*>(mxMalloc(sizeof(ContrastTable)));
    LevelHistogram* histogram = static_cast<LevelHistogram*>(mxMalloc(sizeof(LevelHistogram)));
    int32_t* levels = static_cast<int32_t*>(mxMalloc((size_t)(4 * (int64_t)elementCount)));

    buildLevelHistogram(input, elementCount, TruncateLevel(), levels, histogram, table);
    const double normaliser = contrastNormaliser(computeContrastTable(histogram, table));

    // One division per level, then a look-up per element: the same quotient
    // table[level] / normaliser, computed 256 times instead of n times.
    double normalised[kGreyLevels];
    for (int level = 0; level < kGreyLevels; ++level)
        normalised[level] = table->contrast[level] / normaliser;
    lookUpLevels(levels, elementCount, normalised, map);

    computeContrastDistribution(histogram, table, normaliser, distribution);

    mxFree(table);
    mxFree(levels);
    mxFree(histogram);
}
