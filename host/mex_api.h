// The host's plug-in API, as the plug-ins see it.
//
// Built with a host's own SDK (VESK_HOST_SDK or MATLAB_MEX_FILE defined, as
// MATLAB's mex and our Octave MEX build do), that SDK's mex.h is used. Built
// on its own, this header declares the 64-bit MATLAB ABI the plug-ins link
// against: libmx for matrices and memory, libmex for the error and warning
// calls. The Octave-native functions include neither: their gateway passes
// the kernels its own scratch. The plug-in sources use the ordinary
// names; the versioned symbols are mapped here.
#ifndef VESK_HOST_MEX_API_H
#define VESK_HOST_MEX_API_H

#if defined(VESK_HOST_SDK) || defined(MATLAB_MEX_FILE)

#include "mex.h"

#else

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32) && defined(VESK_BUILDING_HOST)
#define VESK_HOST_API __declspec(dllexport)
#elif defined(_WIN32)
#define VESK_HOST_API __declspec(dllimport)
#else
#define VESK_HOST_API __attribute__((visibility("default")))
#endif

typedef struct mxArray_tag mxArray;

typedef enum {
    mxUNKNOWN_CLASS = 0,
    mxCELL_CLASS,
    mxSTRUCT_CLASS,
    mxLOGICAL_CLASS,
    mxCHAR_CLASS,
    mxVOID_CLASS,
    mxDOUBLE_CLASS,
    mxSINGLE_CLASS,
    mxINT8_CLASS,
    mxUINT8_CLASS,
    mxINT16_CLASS,
    mxUINT16_CLASS,
    mxINT32_CLASS,
    mxUINT32_CLASS,
    mxINT64_CLASS,
    mxUINT64_CLASS,
    mxFUNCTION_CLASS
} mxClassID;

typedef enum { mxREAL = 0, mxCOMPLEX = 1 } mxComplexity;

// libmx
VESK_HOST_API size_t mxGetM(const mxArray* array);
VESK_HOST_API size_t mxGetN(const mxArray* array);
VESK_HOST_API double* mxGetPr(const mxArray* array);
VESK_HOST_API void* mxGetData(const mxArray* array);
VESK_HOST_API mxArray* mxCreateNumericMatrix_700(int rows, int columns, mxClassID classId,
                                                 mxComplexity complexity);
VESK_HOST_API void* mxMalloc(size_t bytes);
VESK_HOST_API void mxFree(void* pointer);
VESK_HOST_API mxClassID mxGetClassID(const mxArray* array);
VESK_HOST_API bool mxIsComplex(const mxArray* array);
VESK_HOST_API bool mxIsSparse(const mxArray* array);
VESK_HOST_API bool mxIsNumeric(const mxArray* array);
VESK_HOST_API bool mxIsLogical(const mxArray* array);
VESK_HOST_API const char* mxGetClassName(const mxArray* array);
VESK_HOST_API size_t mxGetNumberOfDimensions_730(const mxArray* array);

// libmex: reports an error to the host, which ends the call; never returns.
VESK_HOST_API void mexErrMsgIdAndTxt(const char* identifier, const char* format, ...);
// libmex: gives a warning through the host (which may be silenced by its
// identifier); the call goes on.
VESK_HOST_API void mexWarnMsgIdAndTxt(const char* identifier, const char* format, ...);

#ifdef __cplusplus
}
#endif

#define mxCreateNumericMatrix mxCreateNumericMatrix_700
#define mxGetNumberOfDimensions mxGetNumberOfDimensions_730

#endif

#endif
