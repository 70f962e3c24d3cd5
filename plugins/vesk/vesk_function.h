// Vesk as every gateway runs it: [map, dist] = Vesk(img), img a real matrix of
// grey levels 0..255 of class double or single, or an image of another class
// of core/image_classes.h (reduced to 256 grey levels as im2uint8 does, or by
// the whole range).
#ifndef VESK_PLUGINS_VESK_VESK_FUNCTION_H
#define VESK_PLUGINS_VESK_VESK_FUNCTION_H

#include "absolute_contrast.h"
#include "contrast_function.h"

namespace vesk {

static const ContrastFunction kVeskFunction = {
    {"Vesk",
     "[map, dist]",
     "grey levels 0..255",
     {
#define VESK_ADVICE(Enum, name, veskAdvice, vesk2Advice) {ArgumentClass::Enum, veskAdvice},
         VESK_REFUSED_INTEGER_CLASSES(VESK_ADVICE)
#undef VESK_ADVICE
     }},
    kDistributionLength,
    computeAbsoluteContrastOfClass,
    {"intensityScale", valuesLookLikeIntensities,
     "lies in 0..1, so it all falls into grey levels 0 and 1 and the map shows almost nothing",
     "For intensities 0..1 use Vesk2(img), or scale them to grey levels: Vesk(255 * img)."}};

}  // namespace vesk

#endif
