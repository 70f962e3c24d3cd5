// Vesk as every gateway runs it: [map, dist] = Vesk(img), img a real double
// matrix of grey levels 0..255.
#ifndef VESK_PLUGINS_VESK_VESK_FUNCTION_H
#define VESK_PLUGINS_VESK_VESK_FUNCTION_H

#include "absolute_contrast.h"
#include "contrast_function.h"

static const ContrastFunction kVeskFunction = {
    {"Vesk", "[map, dist]", "Convert it first, for example Vesk(double(img)) for a uint8 image."},
    101,
    computeAbsoluteContrast};

#endif
