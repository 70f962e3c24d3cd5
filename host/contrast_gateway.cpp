#include "contrast_gateway.h"

namespace {

// The call in call_checks.h's terms. Input 0 is looked at only when it exists.
CallDescription describeCall(int outputCount, int inputCount, const mxArray* inputs[])
{
    CallDescription call = {inputCount, outputCount, false, "", false, false, 0.0, 0.0, 0.0};
    if (inputCount == 1) {
        const mxArray* image = inputs[0];
        call.doubleClass = mxIsDouble(image);
        call.className = mxGetClassName(image);
        call.sparse = mxIsSparse(image);
        call.complex = mxIsComplex(image);
        call.dimensionCount = (double)mxGetNumberOfDimensions(image);
        call.rows = (double)mxGetM(image);
        call.columns = (double)mxGetN(image);
    }
    return call;
}

}  // namespace

void runContrastGateway(const ContrastFunction& function, int outputCount, mxArray* outputs[],
                        int inputCount, const mxArray* inputs[])
{
    CallRefusal refusal;
    if (refuseCall(function.rules, describeCall(outputCount, inputCount, inputs), &refusal))
        mexErrMsgIdAndTxt(refusal.identifier, "%s", refusal.message);

    // The checks above make both dimensions and their product fit 32 bits.
    const mxArray* image = inputs[0];
    const int32_t rows = (int32_t)mxGetM(image);
    const int32_t columns = (int32_t)mxGetN(image);
    const double* input = mxGetPr(image);

    mxArray* first = mxCreateNumericMatrix(rows, columns, mxDOUBLE_CLASS, mxREAL);
    mxArray* second = mxCreateNumericMatrix(function.secondOutputRows, 1, mxDOUBLE_CLASS, mxREAL);
    // The host provides one slot even when no output is asked for; a second
    // output that has no slot is the host's to reclaim.
    outputs[0] = first;
    if (outputCount >= 2)
        outputs[1] = second;

    function.kernel(input, mxGetPr(first), mxGetPr(second), rows, columns);
}
