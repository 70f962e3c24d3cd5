// The host's floor for one plug-in call: take the input, create the same two
// outputs (rows x columns and 101 x 1 doubles), and write the first from the
// input, copying a double image and widening a uint8 one element by element.
// No checks and no contrast: what any MEX call with these outputs costs for
// an input of that class.
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
    double* map = mxGetPr(plhs[0]);
    if (mxGetClassID(prhs[0]) == mxUINT8_CLASS) {
        const unsigned char* bytes = static_cast<const unsigned char*>(mxGetData(prhs[0]));
        for (size_t k = 0; k < rows * columns; ++k)
            map[k] = bytes[k];
    } else {
        memcpy(map, mxGetPr(prhs[0]), rows * columns * sizeof(double));
    }
}
