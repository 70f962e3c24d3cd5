// Vesk's MEX entry point.
#include "mex_gateway.h"
#include "vesk_function.h"

VESK_PLUGIN_ENTRY void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    // Vesk releases its scratch with mxFree before it returns.
    static const vesk::ScratchAllocator kHostScratch = {mxMalloc, mxFree};
    vesk::runMexGateway(vesk::kVeskFunction, kHostScratch, nlhs, plhs, nrhs, prhs);
}
