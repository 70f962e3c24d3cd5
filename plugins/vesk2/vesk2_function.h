// Vesk2 as every gateway runs it: [smap, level] = Vesk2(img), img a real
// matrix of intensities 0..1 of class double or single, or an image of
// another class of core/image_classes.h (taken as im2double gives it).
#ifndef VESK_PLUGINS_VESK2_VESK2_FUNCTION_H
#define VESK_PLUGINS_VESK2_VESK2_FUNCTION_H

#include "contrast_function.h"
#include "signed_contrast.h"

namespace vesk {

static const ContrastFunction kVesk2Function = {
    {"Vesk2",
     "[smap, level]",
     "intensities 0..1",
     {
#define VESK_ADVICE(Enum, name, veskAdvice, vesk2Advice) {ArgumentClass::Enum, vesk2Advice},
         VESK_REFUSED_INTEGER_CLASSES(VESK_ADVICE)
#undef VESK_ADVICE
     }},
    kLeastContrastLevelLength,
    computeSignedContrastOfClass,
    {"greyLevelScale", valuesLookLikeGreyLevels,
     "is a whole number and some are above 1, so every value from 1 up falls into grey level 255",
     "For grey levels 0..255 pass Vesk2(img / 255), or use Vesk(img)."}};

}  // namespace vesk

#endif
