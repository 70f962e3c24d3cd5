// Vesk2's MEX entry point.
#include "mex_gateway.h"
#include "vesk2_function.h"

VESK_PLUGIN_ENTRY void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    // Vesk2 leaves its scratch to the host, which reclaims it when the call
    // returns: it needs no mxFree.
    static const vesk::ScratchAllocator kHostScratch = {mxMalloc, nullptr};
    vesk::runMexGateway(vesk::kVesk2Function, kHostScratch, nlhs, plhs, nrhs, prhs);
}
