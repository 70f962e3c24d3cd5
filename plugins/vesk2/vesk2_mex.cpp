// Vesk2: [smap, level] = Vesk2(img), img a real double matrix of intensities 0..1.
#include "contrast_gateway.h"
#include "signed_contrast.h"

VESK_PLUGIN_ENTRY void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    const ContrastGateway vesk2 = {
        "Vesk2", "[smap, level]",
        "Convert it first, for example Vesk2(double(img) / 255) for a uint8 image.", 1,
        computeSignedContrast};
    runContrastGateway(vesk2, nlhs, plhs, nrhs, prhs);
}
