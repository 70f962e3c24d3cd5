#include "signed_contrast.h"

#include "mex_api.h"

void computeSignedContrast(const double* input, double* map, double* leastContrastLevel,
                           int32_t rows, int32_t columns)
{
    const int32_t elementCount = (int32_t)((uint32_t)rows * (uint32_t)columns);

    ContrastTable* table = static_cast<ContrastTable*>(mxMalloc(sizeof(ContrastTable)));
    LevelHistogram* histogram = static_cast<LevelHistogram*>(mxMalloc(sizeof(LevelHistogram)));
    int32_t* levels = static_cast<int32_t*>(mxMalloc((size_t)(4 * (int64_t)elementCount)));

    buildLevelHistogram(input, elementCount, QuantizeUnitLevel(), levels, histogram, table);
    const double maximum = computeContrastTable(histogram, table);

    // The lowest of the levels with the smallest contrast; the output keeps
    // 0.0 when no level occurs.
    bool found = false;
    double smallest = 0.0;
    for (int level = 0; level < kGreyLevels; ++level) {
        if (histogram->count[level] == 0)
            continue;
        if (!found || table->contrast[level] < smallest) {
            found = true;
            smallest = table->contrast[level];
            *leastContrastLevel = level / 255.0;
        }
    }

    // Positive above the least-contrast level, sign-flipped at and below it
    // (0.0 becomes -0.0). One signed quotient per level, one look-up per element.
    const double normaliser = contrastNormaliser(maximum);
    const double threshold = *leastContrastLevel * 255.0;
    double signedNormalised[kGreyLevels];
    for (int level = 0; level < kGreyLevels; ++level) {
        const double magnitude = table->contrast[level] / normaliser;
        signedNormalised[level] = (double)level > threshold ? magnitude : -magnitude;
    }
    lookUpLevels(levels, elementCount, signedNormalised, map);
}
