#include "signed_contrast.h"

namespace vesk {

bool computeSignedContrastOfClass(ImageClass imageClass, const void* input, double* map,
                                  double* leastContrastLevel, int32_t rows, int32_t columns,
                                  const ScratchAllocator& allocator)
{
    ClassScratch scratch;
    const double maximum = tabulateContrastsOfClass(imageClass, input, rows, columns,
                                                    QuantizeUnitLevel(), allocator, &scratch);
    const int32_t elementCount = (int32_t)((uint32_t)rows * (uint32_t)columns);
    const LevelHistogram* histogram = scratch.histogram;
    const ContrastTable* table = scratch.table;

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
    lookUpLevelsOfClass(imageClass, input, elementCount, &scratch, signedNormalised, map);

    return isFloatingPointClass(imageClass) && histogram->count[kGreyLevels - 1] != 0 &&
           onlyLevelsOccur(histogram, 0, kGreyLevels - 1);
}

}  // namespace vesk
