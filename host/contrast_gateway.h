// The entry-point work both plug-ins share: check the call, create the two
// outputs, run the plug-in's kernel, hand the outputs to the host.
#ifndef VESK_HOST_CONTRAST_GATEWAY_H
#define VESK_HOST_CONTRAST_GATEWAY_H

#include <stdint.h>

#include "mex_api.h"

// mexFunction is the only symbol a plug-in library exports.
#if defined(_WIN32)
#define VESK_PLUGIN_ENTRY extern "C" __declspec(dllexport)
#else
#define VESK_PLUGIN_ENTRY extern "C" __attribute__((visibility("default")))
#endif

// A kernel: input, first output, second output (pointers to doubles), rows
// and columns of the input and of the first output.
typedef void (*ContrastKernel)(const double* input, double* firstOutput, double* secondOutput,
                               int32_t rows, int32_t columns);

struct ContrastGateway {
    const char* functionName;      // "Vesk": the prefix of every error identifier
    const char* outputNames;       // "[map, dist]", for messages
    const char* conversionAdvice;  // how to turn an image of another class into valid input
    int secondOutputRows;          // rows of the second output (one column)
    ContrastKernel kernel;
};

// Checks the call and reports a clear error through the host (which ends the
// call) for anything but one real, full, 2-D double matrix of fewer than
// 2^31 elements and at most two outputs asked for. Then creates both outputs,
// runs the kernel and stores the outputs into the slots the host provides
// (at least one, whatever was asked for).
void runContrastGateway(const ContrastGateway& gateway, int outputCount, mxArray* outputs[],
                        int inputCount, const mxArray* inputs[]);

#endif
