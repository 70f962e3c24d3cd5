// Vesk2's MEX entry point.
#include "contrast_gateway.h"
#include "vesk2_function.h"

VESK_PLUGIN_ENTRY void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    runContrastGateway(kVesk2Function, nlhs, plhs, nrhs, prhs);
}
