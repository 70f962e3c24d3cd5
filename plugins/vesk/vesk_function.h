// Vesk as every gateway runs it: [map, dist] = Vesk(img), img a real matrix of
// grey levels 0..255 of class double or single, or an image of class uint8,
// uint16, int16 or logical (reduced to 256 grey levels as im2uint8 does).
#ifndef VESK_PLUGINS_VESK_VESK_FUNCTION_H
#define VESK_PLUGINS_VESK_VESK_FUNCTION_H

#include "absolute_contrast.h"
#include "contrast_function.h"

namespace vesk {

static const ContrastFunction kVeskFunction = {
    {"Vesk",
     "[map, dist]",
     "grey levels 0..255",
     {{ArgumentClass::Int8, "Vesk(double(img) + 128)"},
      {ArgumentClass::Int32, "Vesk((double(img) + 2^31) / 16843009)"},
      {ArgumentClass::Uint32, "Vesk(double(img) / 16843009)"},
      {ArgumentClass::Int64, "Vesk((double(img) + 2^63) / 72340172838076673)"},
      {ArgumentClass::Uint64, "Vesk(double(img) / 72340172838076673)"}}},
    kDistributionLength,
    computeAbsoluteContrastOfClass,
    {"intensityScale", valuesLookLikeIntensities,
     "lies in 0..1, so it all falls into grey levels 0 and 1 and the map shows almost nothing",
     "For intensities 0..1 use Vesk2(img), or scale them to grey levels: Vesk(255 * img)."}};

}  // namespace vesk

#endif
