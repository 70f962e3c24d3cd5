// The host's floor for one plug-in call: take the input, create the same two
// outputs (rows x columns and 101 x 1 doubles), copy the input into the first.
// No checks and no contrast: what any MEX call with these outputs costs.
#include <string.h>

#include "mex.h"

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    (void)nlhs;
    (void)nrhs;
    const size_t rows = mxGetM(prhs[0]);
    const size_t columns = mxGetN(prhs[0]);
    plhs[0] = mxCreateNumericMatrix(rows, columns, mxDOUBLE_CLASS, mxREAL);
    plhs[1] = mxCreateNumericMatrix(101, 1, mxDOUBLE_CLASS, mxREAL);
    memcpy(mxGetPr(plhs[0]), mxGetPr(prhs[0]), rows * columns * sizeof(double));
}
