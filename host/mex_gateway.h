// The MEX entry-point work both plug-ins share: check the call, create the
// two outputs, run the plug-in's kernel, warn about an image on the other
// plug-in's scale, hand the outputs to the host.
#ifndef VESK_HOST_MEX_GATEWAY_H
#define VESK_HOST_MEX_GATEWAY_H

#include "contrast_function.h"
#include "mex_api.h"

namespace vesk {

// mexFunction is the only symbol a plug-in library exports.
#if defined(_WIN32)
#define VESK_PLUGIN_ENTRY extern "C" __declspec(dllexport)
#else
#define VESK_PLUGIN_ENTRY extern "C" __attribute__((visibility("default")))
#endif

// Checks the call (call_checks.h) and reports a refusal through the host's
// error call, which ends the call. Then creates both outputs, runs the
// kernel, gives the scale warning where it applies through the host's warning
// call (the call goes on), and stores the outputs into the slots the host
// provides (at least one, whatever was asked for).
// The kernel's scratch comes from scratch: the host's mxMalloc, and mxFree
// for a plug-in that releases its scratch itself (docs/host-contract.md).
void runMexGateway(const ContrastFunction& function, const ScratchAllocator& scratch,
                   int outputCount, mxArray* outputs[], int inputCount, const mxArray* inputs[]);

}  // namespace vesk

#endif
