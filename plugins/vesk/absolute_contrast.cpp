#include "absolute_contrast.h"

#include <stdlib.h>

namespace vesk {

// By contrast, then by level: no two records compare equal, so every C
// library's qsort leaves them in one order and element 100 is the lowest of
// the levels that share the smallest contrast, on every platform.
int compareLevelRecords(const void* a, const void* b)
{
    const LevelRecord* left = static_cast<const LevelRecord*>(a);
    const LevelRecord* right = static_cast<const LevelRecord*>(b);
    if (left->contrast != right->contrast)
        return (left->contrast > right->contrast) - (left->contrast < right->contrast);
    return (left->level > right->level) - (left->level < right->level);
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
        const int bucket = (int)((double)records[r].contrast / normaliser * (double)kContrastBuckets);
        distribution[bucket] += (double)records[r].count;
    }
    distribution[kContrastBuckets] = records[0].level / 255.0;
}

bool computeAbsoluteContrastOfClass(ImageClass imageClass, const void* input, double* map,
                                    double* distribution, int32_t rows, int32_t columns,
                                    const ScratchAllocator& allocator)
{
    ClassScratch scratch;
    const double normaliser = contrastNormaliser(tabulateContrastsOfClass(
        imageClass, input, rows, columns, TruncateLevel(), allocator, &scratch));
    const int32_t elementCount = (int32_t)((uint32_t)rows * (uint32_t)columns);

    // One division per level, then a look-up per element: the same quotient
    // table[level] / normaliser, computed 256 times instead of n times.
    double normalised[kGreyLevels];
    for (int level = 0; level < kGreyLevels; ++level)
        normalised[level] = scratch.table->contrast[level] / normaliser;
    lookUpLevelsOfClass(imageClass, input, elementCount, &scratch, normalised, map);

    computeContrastDistribution(scratch.histogram, scratch.table, normaliser, distribution);

    const bool intensitiesInDoubt =
        isFloatingPointClass(imageClass) && onlyLevelsOccur(scratch.histogram, 0, 1);
    releaseClassScratch(&scratch, allocator);
    return intensitiesInDoubt;
}

}  // namespace vesk
