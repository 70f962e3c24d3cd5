#include "mex_gateway.h"

namespace vesk {

namespace {

ArgumentClass argumentClassOf(mxClassID classId)
{
    switch (classId) {
    case mxCELL_CLASS: return ArgumentClass::Cell;
    case mxSTRUCT_CLASS: return ArgumentClass::Struct;
    case mxLOGICAL_CLASS: return ArgumentClass::Logical;
    case mxCHAR_CLASS: return ArgumentClass::Char;
    case mxVOID_CLASS: return ArgumentClass::Void;
    case mxDOUBLE_CLASS: return ArgumentClass::Double;
    case mxSINGLE_CLASS: return ArgumentClass::Single;
    case mxINT8_CLASS: return ArgumentClass::Int8;
    case mxUINT8_CLASS: return ArgumentClass::Uint8;
    case mxINT16_CLASS: return ArgumentClass::Int16;
    case mxUINT16_CLASS: return ArgumentClass::Uint16;
    case mxINT32_CLASS: return ArgumentClass::Int32;
    case mxUINT32_CLASS: return ArgumentClass::Uint32;
    case mxINT64_CLASS: return ArgumentClass::Int64;
    case mxUINT64_CLASS: return ArgumentClass::Uint64;
    case mxFUNCTION_CLASS: return ArgumentClass::Function;
    default: return ArgumentClass::Unknown;
    }
}

// The call in call_checks.h's terms. Input 0 is looked at only when it exists.
CallDescription describeCall(int outputCount, int inputCount, const mxArray* inputs[])
{
    CallDescription call = {inputCount, outputCount, ArgumentClass::Unknown, "", false, false,
                            0.0,        0.0,         0.0};
    if (inputCount == 1) {
        const mxArray* image = inputs[0];
        // The host says whether it is an array of numbers before any byte of
        // it is read: an object may carry a numeric class's name.
        call.imageClass = confirmedClass(argumentClassOf(mxGetClassID(image)),
                                         mxIsNumeric(image) || mxIsLogical(image));
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

void runMexGateway(const ContrastFunction& function, const ScratchAllocator& scratch,
                   int outputCount, mxArray* outputs[], int inputCount, const mxArray* inputs[])
{
    const CallDescription call = describeCall(outputCount, inputCount, inputs);
    ImageClass imageClass = ImageClass::Double;
    CallMessage refusal;
    if (refuseCall(function.rules, call, &imageClass, &refusal))
        mexErrMsgIdAndTxt(refusal.identifier, "%s", refusal.message);

    // The checks above make both dimensions and their product fit 32 bits.
    const mxArray* image = inputs[0];
    const int32_t rows = (int32_t)mxGetM(image);
    const int32_t columns = (int32_t)mxGetN(image);
    const void* input = imageClass == ImageClass::Double ? static_cast<const void*>(mxGetPr(image))
                                                         : mxGetData(image);

    mxArray* first = mxCreateNumericMatrix(rows, columns, mxDOUBLE_CLASS, mxREAL);
    mxArray* second = mxCreateNumericMatrix(function.secondOutputRows, 1, mxDOUBLE_CLASS, mxREAL);
    // The host provides one slot even when no output is asked for; a second
    // output that has no slot is the host's to reclaim.
    outputs[0] = first;
    if (outputCount >= 2)
        outputs[1] = second;

    const bool scaleInDoubt =
        function.kernel(imageClass, input, mxGetPr(first), mxGetPr(second), rows, columns, scratch);

    const ScaleWarning& warning = function.scaleWarning;
    if (scaleInDoubt && warning.valuesConfirm(imageClass, input, rows * columns)) {
        CallMessage message;
        scaleWarningMessage(function.rules, warning, call.className, &message);
        mexWarnMsgIdAndTxt(message.identifier, "%s", message.message);
    }
}

}  // namespace vesk
