// Vesk2 as every gateway runs it: [smap, level] = Vesk2(img), img a real
// double matrix of intensities 0..1.
#ifndef VESK_PLUGINS_VESK2_VESK2_FUNCTION_H
#define VESK_PLUGINS_VESK2_VESK2_FUNCTION_H

#include "contrast_function.h"
#include "signed_contrast.h"

static const ContrastFunction kVesk2Function = {
    {"Vesk2", "[smap, level]",
     "Convert it first, for example Vesk2(double(img) / 255) for a uint8 image."},
    1,
    computeSignedContrast};

#endif
