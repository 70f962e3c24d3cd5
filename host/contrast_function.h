// One function as every gateway runs it: its messages, its second output, its
// kernel and its scale warning. Each plug-in defines one (vesk_function.h,
// vesk2_function.h); the MEX gateway and the Octave-native gateway both take
// it.
#ifndef VESK_HOST_CONTRAST_FUNCTION_H
#define VESK_HOST_CONTRAST_FUNCTION_H

#include <stdint.h>

#include "call_checks.h"
#include "image_class.h"

namespace vesk {

// A kernel: the image's class and data, first output, second output (pointers
// to doubles), rows and columns of the input and of the first output, where
// the scratch comes from (image_class.h). Returns
// true when its histogram leaves the image's scale in doubt, so that the
// gateway looks at the values for the function's scale warning.
typedef bool (*ContrastKernel)(ImageClass imageClass, const void* input, double* firstOutput,
                               double* secondOutput, int32_t rows, int32_t columns,
                               const ScratchAllocator& allocator);

struct ContrastFunction {
    CallRules rules;
    int secondOutputRows;  // rows of the second output (one column)
    ContrastKernel kernel;
    ScaleWarning scaleWarning;
};

}  // namespace vesk

#endif
