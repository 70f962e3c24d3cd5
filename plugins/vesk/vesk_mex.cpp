// Vesk's MEX entry point.
#include "contrast_gateway.h"
#include "vesk_function.h"

VESK_PLUGIN_ENTRY void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    runContrastGateway(kVeskFunction, nlhs, plhs, nrhs, prhs);
}
