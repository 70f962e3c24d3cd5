// The entry-point work both plug-ins share: check the call, create the two
// outputs, run the plug-in's kernel, warn about an image on the other
// plug-in's scale, hand the outputs to the host.
#ifndef VESK_HOST_CONTRAST_GATEWAY_H
#define VESK_HOST_CONTRAST_GATEWAY_H

#include <stdint.h>

#include "image_class.h"
#include "mex_api.h"

// mexFunction is the only symbol a plug-in library exports.
#if defined(_WIN32)
#define VESK_PLUGIN_ENTRY extern "C" __declspec(dllexport)
#else
#define VESK_PLUGIN_ENTRY extern "C" __attribute__((visibility("default")))
#endif

// A kernel: the image's class and data, first output, second output (pointers
// to doubles), rows and columns of the input and of the first output. Returns
// true when its histogram leaves the image's scale in doubt, so that the
// gateway looks at the values for the plug-in's scale warning.
typedef bool (*ContrastKernel)(ImageClass imageClass, const void* input, double* firstOutput,
                               double* secondOutput, int32_t rows, int32_t columns);

// How to turn an image of an integer class the plug-ins do not take into the
// plug-in's input, mapping the class's whole range onto the plug-in's.
struct IntegerConversions {
    const char* int8;
    const char* int32;
    const char* uint32;
    const char* int64;
    const char* uint64;
};

// A warning about a valid image that almost surely is on the other plug-in's
// scale, given when the kernel's histogram and then the values say so. The
// message reads: "<name> takes <domain>, but every value of this <class>
// image <finding>. <advice> To silence this warning: warning('off', '<id>')."
struct ScaleWarning {
    const char* reason;  // "intensityScale": the identifier after "Vesk:"
    bool (*valuesConfirm)(ImageClass imageClass, const void* input, int32_t elementCount);
    const char* finding;
    const char* advice;
};

struct ContrastGateway {
    const char* functionName;  // "Vesk": the prefix of every identifier
    const char* outputNames;   // "[map, dist]", for messages
    const char* domain;        // "grey levels 0..255": what a double image holds
    IntegerConversions integerConversions;
    int secondOutputRows;      // rows of the second output (one column)
    ContrastKernel kernel;
    ScaleWarning scaleWarning;
};

// Checks the call and reports a clear error through the host (which ends the
// call) for anything but one real, full, 2-D matrix of class double, single,
// uint8, uint16, int16 or logical, of fewer than 2^31 elements, with at most
// two outputs asked for. Then creates both outputs, runs the kernel, gives
// the scale warning where it applies (the call goes on), and stores the
// outputs into the slots the host provides (at least one, whatever was asked
// for).
void runContrastGateway(const ContrastGateway& gateway, int outputCount, mxArray* outputs[],
                        int inputCount, const mxArray* inputs[]);

#endif
