#include "plain_contrast.h"

#include <stdlib.h>

namespace test_support::plain {
namespace {

const int kLevels = 256;

// Clears the histogram and the table, maps and counts every element, fills
// the table of the levels that occur; returns the normaliser.
template <typename Mapping>
double buildTable(const double* input, int32_t n, Mapping mapping, const Scratch& scratch)
{
    for (int level = 0; level < kLevels; ++level) {
        scratch.histogram[level] = 0;
        scratch.table[level] = 0.0;
    }
    for (int32_t k = 0; k < n; ++k) {
        const int32_t level = mapping(input[k]);
        scratch.levels[k] = level;
        ++scratch.histogram[level];
    }
    double maximum = 0.0;
    for (int i = 0; i < kLevels; ++i) {
        if (scratch.histogram[i] == 0)
            continue;
        double sum = 0.0;
        for (int j = 0; j < kLevels; ++j)
            sum += (double)abs(i - j) * (double)scratch.histogram[j];
        scratch.table[i] = sum;
        if (sum > maximum)
            maximum = sum;
    }
    return maximum == 0.0 ? 0.001 : maximum;
}

struct Record {
    int64_t contrast;
    int32_t count;
    int32_t level;
};

int compareRecords(const void* a, const void* b)
{
    const int64_t left = static_cast<const Record*>(a)->contrast;
    const int64_t right = static_cast<const Record*>(b)->contrast;
    return (left > right) - (left < right);
}

}  // namespace

int32_t levelOf(double value)
{
    int32_t truncated = INT32_MIN;
    if (value > -2147483649.0 && value < 2147483648.0)  // false for NaN
        truncated = (int32_t)value;
    if (truncated < 0)
        return 0;
    return truncated > 255 ? 255 : truncated;
}

void absoluteContrast(const double* input, double* map, double* distribution, int32_t rows,
                      int32_t columns, const Scratch& scratch)
{
    const int32_t n = (int32_t)((uint32_t)rows * (uint32_t)columns);
    const double normaliser = buildTable(input, n, levelOf, scratch);

    for (int32_t k = 0; k < n; ++k)
        map[k] = scratch.table[scratch.levels[k]] / normaliser;

    Record records[kLevels];
    int count = 0;
    for (int level = 0; level < kLevels; ++level)
        if (scratch.histogram[level] != 0)
            records[count++] = Record{(int64_t)scratch.table[level], scratch.histogram[level], level};
    if (count == 0)
        return;
    qsort(records, (size_t)count, sizeof(Record), compareRecords);
    for (int r = 0; r < count; ++r)
        distribution[(int)((double)records[r].contrast / normaliser * 100.0)] +=
            (double)records[r].count;
    distribution[100] = records[0].level / 255.0;
}

void signedContrast(const double* input, double* map, double* leastContrastLevel, int32_t rows,
                    int32_t columns, const Scratch& scratch)
{
    const int32_t n = (int32_t)((uint32_t)rows * (uint32_t)columns);
    const double normaliser =
        buildTable(input, n, [](double x) { return levelOf(x * 255.0); }, scratch);

    bool found = false;
    double smallest = 0.0;
    for (int level = 0; level < kLevels; ++level) {
        if (scratch.histogram[level] == 0)
            continue;
        if (!found || scratch.table[level] < smallest) {
            found = true;
            smallest = scratch.table[level];
            *leastContrastLevel = level / 255.0;
        }
    }

    const double threshold = *leastContrastLevel * 255.0;
    for (int32_t k = 0; k < n; ++k) {
        const int32_t level = scratch.levels[k];
        const double magnitude = scratch.table[level] / normaliser;
        map[k] = (double)level > threshold ? magnitude : -magnitude;
    }
}

}  // namespace test_support::plain
