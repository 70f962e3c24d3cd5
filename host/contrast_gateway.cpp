#include "contrast_gateway.h"

namespace {

const double kMaxElements = 2147483647.0;  // 2^31 - 1: element counts are signed 32-bit

// "Vesk" + ":" + "tooLarge", without the C library.
struct ErrorIdentifier {
    char text[64];
    ErrorIdentifier(const char* functionName, const char* reason)
    {
        int length = 0;
        for (const char* c = functionName; *c != '\0' && length < 40; ++c)
            text[length++] = *c;
        text[length++] = ':';
        for (const char* c = reason; *c != '\0' && length < 63; ++c)
            text[length++] = *c;
        text[length] = '\0';
    }
};

// Class names and other texts reach the host as %s arguments, never inside
// the format itself.
void checkCall(const ContrastGateway& gateway, int outputCount, int inputCount,
               const mxArray* inputs[])
{
    const char* name = gateway.functionName;
    if (inputCount != 1)
        mexErrMsgIdAndTxt(ErrorIdentifier(name, "nargin").text,
                          "%s takes exactly one input, a greyscale image, but was given %d. "
                          "Call it as %s = %s(img).",
                          name, inputCount, gateway.outputNames, name);
    if (outputCount > 2)
        mexErrMsgIdAndTxt(ErrorIdentifier(name, "nargout").text,
                          "%s returns at most two outputs, %s, but %d were asked for.", name,
                          gateway.outputNames, outputCount);

    const mxArray* image = inputs[0];
    if (!mxIsDouble(image))
        mexErrMsgIdAndTxt(ErrorIdentifier(name, "notDouble").text,
                          "%s needs a real double matrix, but the image is of class %s. %s", name,
                          mxGetClassName(image), gateway.conversionAdvice);
    if (mxIsSparse(image))
        mexErrMsgIdAndTxt(ErrorIdentifier(name, "sparse").text,
                          "%s needs a full matrix, but the image is sparse. "
                          "Pass full(img) instead.",
                          name);
    if (mxIsComplex(image))
        mexErrMsgIdAndTxt(ErrorIdentifier(name, "complex").text,
                          "%s needs a real matrix, but the image is complex. "
                          "Pass real(img) or abs(img) instead.",
                          name);
    if (mxGetNumberOfDimensions(image) > 2)
        mexErrMsgIdAndTxt(ErrorIdentifier(name, "notMatrix").text,
                          "%s needs a 2-D greyscale image, but the input has %.0f dimensions. "
                          "Convert a colour image to grey first, for example with rgb2gray(img), "
                          "or pass one channel, img(:,:,1).",
                          name, (double)mxGetNumberOfDimensions(image));

    const double rows = (double)mxGetM(image);
    const double columns = (double)mxGetN(image);
    if (rows > kMaxElements || columns > kMaxElements || rows * columns > kMaxElements)
        mexErrMsgIdAndTxt(ErrorIdentifier(name, "tooLarge").text,
                          "%s handles at most 2147483647 elements, but the image is %.0f x %.0f. "
                          "Process it in tiles of fewer elements.",
                          name, rows, columns);
}

}  // namespace

void runContrastGateway(const ContrastGateway& gateway, int outputCount, mxArray* outputs[],
                        int inputCount, const mxArray* inputs[])
{
    checkCall(gateway, outputCount, inputCount, inputs);

    // The checks above make both dimensions and their product fit 32 bits.
    const mxArray* image = inputs[0];
    const int32_t rows = (int32_t)mxGetM(image);
    const int32_t columns = (int32_t)mxGetN(image);
    const double* input = mxGetPr(image);

    mxArray* first = mxCreateNumericMatrix(rows, columns, mxDOUBLE_CLASS, mxREAL);
    mxArray* second = mxCreateNumericMatrix(gateway.secondOutputRows, 1, mxDOUBLE_CLASS, mxREAL);
    // The host provides one slot even when no output is asked for; a second
    // output that has no slot is the host's to reclaim.
    outputs[0] = first;
    if (outputCount >= 2)
        outputs[1] = second;

    gateway.kernel(input, mxGetPr(first), mxGetPr(second), rows, columns);
}
