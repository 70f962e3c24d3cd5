#include "contrast_table.h"

namespace vesk {

double computeContrastTable(const LevelHistogram* histogram, ContrastTable* table)
{
    // sum_j |i - j| * count[j] == total - i * n + 2 * (i * countBelow - sumBelow),
    // where countBelow and sumBelow cover the levels j < i. Every term is a
    // whole number below 2^40, so 64-bit integers hold it exactly and the
    // conversion to double is exact: the result is the one the direct
    // 256 x 256 double sum gives, in any order of summation.
    int64_t elementCount = 0;
    int64_t levelSum = 0;
    for (int level = 0; level < kGreyLevels; ++level) {
        elementCount += histogram->count[level];
        levelSum += (int64_t)level * histogram->count[level];
    }

    double maximum = 0.0;
    int64_t countBelow = 0;
    int64_t sumBelow = 0;
    for (int level = 0; level < kGreyLevels; ++level) {
        const int32_t count = histogram->count[level];
        if (count != 0) {
            const int64_t contrast =
                levelSum - level * elementCount + 2 * (level * countBelow - sumBelow);
            table->contrast[level] = (double)contrast;
            if (table->contrast[level] > maximum)
                maximum = table->contrast[level];
        }
        countBelow += count;
        sumBelow += (int64_t)level * count;
    }
    return maximum;
}

}  // namespace vesk
