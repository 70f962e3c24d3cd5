// Vesk2's MEX entry point.
#include "mex_gateway.h"
#include "vesk2_function.h"

VESK_PLUGIN_ENTRY void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    vesk::runMexGateway(vesk::kVesk2Function, nlhs, plhs, nrhs, prhs);
}
