#include "contrast_gateway.h"

namespace {

const double kMaxElements = 2147483647.0;  // 2^31 - 1: element counts are signed 32-bit

// "Vesk" + ":" + "tooLarge": the identifier of an error or warning, made
// without the C library.
struct MessageIdentifier {
    char text[64];
    MessageIdentifier(const char* functionName, const char* reason)
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

// The class of an image the plug-ins take; false for every other class.
bool acceptedClass(mxClassID classId, ImageClass* imageClass)
{
    switch (classId) {
    case mxDOUBLE_CLASS: *imageClass = ImageClass::Double; return true;
    case mxSINGLE_CLASS: *imageClass = ImageClass::Single; return true;
    case mxUINT8_CLASS: *imageClass = ImageClass::Uint8; return true;
    case mxUINT16_CLASS: *imageClass = ImageClass::Uint16; return true;
    case mxINT16_CLASS: *imageClass = ImageClass::Int16; return true;
    case mxLOGICAL_CLASS: *imageClass = ImageClass::Logical; return true;
    default: return false;
    }
}

// The conversion for an integer class the plug-ins do not take; null for
// classes that hold no numbers (char, cell, struct, function handles, ...).
const char* integerConversion(const ContrastGateway& gateway, mxClassID classId)
{
    switch (classId) {
    case mxINT8_CLASS: return gateway.integerConversions.int8;
    case mxINT32_CLASS: return gateway.integerConversions.int32;
    case mxUINT32_CLASS: return gateway.integerConversions.uint32;
    case mxINT64_CLASS: return gateway.integerConversions.int64;
    case mxUINT64_CLASS: return gateway.integerConversions.uint64;
    default: return nullptr;
    }
}

void refuseClass(const ContrastGateway& gateway, const mxArray* image, mxClassID classId)
{
    const char* name = gateway.functionName;
    const char* className = mxGetClassName(image);
    const MessageIdentifier identifier(name, "unsupportedClass");
    const char* conversion = integerConversion(gateway, classId);
    if (conversion == nullptr)
        mexErrMsgIdAndTxt(identifier.text,
                          "%s needs a numeric image matrix, but the input is of class %s. "
                          "Pass the image itself, for example %s(imread(filename)) for a "
                          "greyscale image file.",
                          name, className, name);
    // One refusal for an integer colour image too: the advice covers both.
    const char* colour = mxGetNumberOfDimensions(image) > 2
                             ? " It also has more than two dimensions: pass one channel, "
                               "img(:,:,1), or convert a colour image to grey after converting "
                               "its class."
                             : "";
    mexErrMsgIdAndTxt(identifier.text,
                      "%s takes images of class double, single, uint8, uint16, int16 or logical, "
                      "but the image is of class %s. Convert it to %s first: %s maps the whole "
                      "%s range onto them, or %s(double(img)) if its values already are %s.%s",
                      name, className, gateway.domain, conversion, className, name,
                      gateway.domain, colour);
}

// Advice for an image of more than two dimensions that works for its class:
// "<leadIn> <name>(<toGrey>), or pass one channel, <name>(img(:,:,1))".
// rgb2gray takes no logical image, nor (in MATLAB) an int16 one.
struct ColourAdvice {
    const char* leadIn;
    const char* toGrey;
};

ColourAdvice colourAdvice(ImageClass imageClass)
{
    switch (imageClass) {
    case ImageClass::Logical: return {"For a binary colour image pass", "any(img, 3)"};
    case ImageClass::Int16:
        return {"Convert a colour image to grey first, for example", "rgb2gray(im2uint16(img))"};
    default: return {"Convert a colour image to grey first, for example", "rgb2gray(img)"};
    }
}

// Class names and other texts reach the host as %s arguments, never inside
// the format itself. Returns the image's class.
ImageClass checkCall(const ContrastGateway& gateway, int outputCount, int inputCount,
                     const mxArray* inputs[])
{
    const char* name = gateway.functionName;
    if (inputCount != 1)
        mexErrMsgIdAndTxt(MessageIdentifier(name, "nargin").text,
                          "%s takes exactly one input, a greyscale image, but was given %d. "
                          "Call it as %s = %s(img).",
                          name, inputCount, gateway.outputNames, name);
    if (outputCount > 2)
        mexErrMsgIdAndTxt(MessageIdentifier(name, "nargout").text,
                          "%s returns at most two outputs, %s, but %d were asked for.", name,
                          gateway.outputNames, outputCount);

    const mxArray* image = inputs[0];
    const mxClassID classId = mxGetClassID(image);
    ImageClass imageClass = ImageClass::Double;
    if (!acceptedClass(classId, &imageClass))
        refuseClass(gateway, image, classId);
    if (mxIsSparse(image))
        mexErrMsgIdAndTxt(MessageIdentifier(name, "sparse").text,
                          "%s needs a full matrix, but the image is sparse. "
                          "Pass full(img) instead.",
                          name);
    if (mxIsComplex(image))
        mexErrMsgIdAndTxt(MessageIdentifier(name, "complex").text,
                          "%s needs a real matrix, but the image is complex. "
                          "Pass real(img) or abs(img) instead.",
                          name);
    if (mxGetNumberOfDimensions(image) > 2) {
        const ColourAdvice advice = colourAdvice(imageClass);
        mexErrMsgIdAndTxt(MessageIdentifier(name, "notMatrix").text,
                          "%s needs a 2-D greyscale image, but the input has %.0f dimensions. "
                          "%s %s(%s), or pass one channel, %s(img(:,:,1)).",
                          name, (double)mxGetNumberOfDimensions(image), advice.leadIn, name,
                          advice.toGrey, name);
    }

    const double rows = (double)mxGetM(image);
    const double columns = (double)mxGetN(image);
    if (rows > kMaxElements || columns > kMaxElements || rows * columns > kMaxElements)
        mexErrMsgIdAndTxt(MessageIdentifier(name, "tooLarge").text,
                          "%s handles at most 2147483647 elements, but the image is %.0f x %.0f. "
                          "Process it in tiles of fewer elements.",
                          name, rows, columns);
    return imageClass;
}

}  // namespace

void runContrastGateway(const ContrastGateway& gateway, int outputCount, mxArray* outputs[],
                        int inputCount, const mxArray* inputs[])
{
    const ImageClass imageClass = checkCall(gateway, outputCount, inputCount, inputs);

    // The checks above make both dimensions and their product fit 32 bits.
    const mxArray* image = inputs[0];
    const int32_t rows = (int32_t)mxGetM(image);
    const int32_t columns = (int32_t)mxGetN(image);
    const void* input = imageClass == ImageClass::Double ? static_cast<const void*>(mxGetPr(image))
                                                         : mxGetData(image);

    mxArray* first = mxCreateNumericMatrix(rows, columns, mxDOUBLE_CLASS, mxREAL);
    mxArray* second = mxCreateNumericMatrix(gateway.secondOutputRows, 1, mxDOUBLE_CLASS, mxREAL);
    // The host provides one slot even when no output is asked for; a second
    // output that has no slot is the host's to reclaim.
    outputs[0] = first;
    if (outputCount >= 2)
        outputs[1] = second;

    const bool scaleInDoubt =
        gateway.kernel(imageClass, input, mxGetPr(first), mxGetPr(second), rows, columns);

    const ScaleWarning& warning = gateway.scaleWarning;
    if (scaleInDoubt && warning.valuesConfirm(imageClass, input, rows * columns)) {
        const MessageIdentifier identifier(gateway.functionName, warning.reason);
        mexWarnMsgIdAndTxt(identifier.text,
                           "%s takes %s, but every value of this %s image %s. %s "
                           "To silence this warning: warning('off', '%s').",
                           gateway.functionName, gateway.domain, mxGetClassName(image),
                           warning.finding, warning.advice, identifier.text);
    }
}
