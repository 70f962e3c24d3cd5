// Vesk: [map, dist] = Vesk(img), img a real double matrix of grey levels 0..255.
#include "absolute_contrast.h"
#include "contrast_gateway.h"

VESK_PLUGIN_ENTRY void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    const ContrastGateway vesk = {
        "Vesk", "[map, dist]",
        "Convert it first, for example Vesk(double(img)) for a uint8 image.", 101,
        computeAbsoluteContrast};
    runContrastGateway(vesk, nlhs, plhs, nrhs, prhs);
}
