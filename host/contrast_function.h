// One function as every gateway runs it: its messages, its second output and
// its kernel. Each plug-in defines one (vesk_function.h, vesk2_function.h);
// the MEX gateway and the Octave-native gateway both take it.
#ifndef VESK_HOST_CONTRAST_FUNCTION_H
#define VESK_HOST_CONTRAST_FUNCTION_H

#include <stdint.h>

#include "call_checks.h"

// A kernel: input, first output, second output (pointers to doubles), rows
// and columns of the input and of the first output.
typedef void (*ContrastKernel)(const double* input, double* firstOutput, double* secondOutput,
                               int32_t rows, int32_t columns);

struct ContrastFunction {
    CallRules rules;
    int secondOutputRows;  // rows of the second output (one column)
    ContrastKernel kernel;
};

#endif
