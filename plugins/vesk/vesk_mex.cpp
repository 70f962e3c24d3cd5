// Vesk's MEX entry point.
#include "mex_gateway.h"
#include "vesk_function.h"

VESK_PLUGIN_ENTRY void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    vesk::runMexGateway(vesk::kVeskFunction, nlhs, plhs, nrhs, prhs);
}
