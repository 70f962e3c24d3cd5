// The stand-in host: what MATLAB does around a plug-in call, with the
// bookkeeping a test needs to see that the plug-in kept the host's contract.
//
// Matrices are column-major and zero-filled; every buffer it hands out (matrix
// data, mxMalloc scratch, the output-slot array) has guard bytes on both sides
// that are checked after the call; inputs are compared byte for byte after the
// call; everything created during a call and not returned is reclaimed at its
// end, as a real host does; mexErrMsgIdAndTxt ends the call and hands the
// identifier and message back; mexWarnMsgIdAndTxt is recorded and the call
// goes on.
#ifndef VESK_TESTING_STANDIN_HOST_H
#define VESK_TESTING_STANDIN_HOST_H

#include <stddef.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "mex_api.h"

#if defined(_WIN32) && defined(VESK_BUILDING_HOST)
#define VESK_STANDIN_API __declspec(dllexport)
#elif defined(_WIN32)
#define VESK_STANDIN_API __declspec(dllimport)
#else
#define VESK_STANDIN_API __attribute__((visibility("default")))
#endif

namespace test_support::standin {

typedef void (*MexEntry)(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);

// An input as the host builds it.
struct InputMatrix {
    mxClassID classId = mxDOUBLE_CLASS;
    bool complex = false;
    bool sparse = false;
    // An object whose class is named after classId (an Octave class called
    // uint8): mxGetClassID and mxGetClassName give that class, mxIsNumeric
    // and mxIsLogical false; reading its data is a fault.
    bool object = false;
    std::vector<size_t> dimensions{0, 0};  // two or more
    std::vector<double> values;            // column-major; doubles only
    // Column-major elements of any class, as raw bytes (used when not empty).
    std::vector<unsigned char> data;
    // When set, the matrix reports `dimensions` but holds only this many bytes
    // of data: a way to show huge shapes without huge buffers.
    std::optional<size_t> dataBytes;
};

VESK_STANDIN_API InputMatrix doubleMatrix(size_t rows, size_t columns, std::vector<double> values);
VESK_STANDIN_API InputMatrix matrixOfClass(mxClassID classId, std::vector<size_t> dimensions);
// A rows x columns matrix of the given class holding these elements,
// column-major (Element: the class's C type; uint8_t for logical).
template <typename Element>
InputMatrix numericMatrix(mxClassID classId, size_t rows, size_t columns,
                          const std::vector<Element>& elements)
{
    InputMatrix input;
    input.classId = classId;
    input.dimensions = {rows, columns};
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(elements.data());
    input.data.assign(bytes, bytes + std::min(elements.size(), rows * columns) * sizeof(Element));
    input.data.resize(rows * columns * sizeof(Element), 0);  // missing elements are 0
    return input;
}
// Reports rows x columns over a buffer of a few bytes.
VESK_STANDIN_API InputMatrix hugeMatrix(size_t rows, size_t columns);

// A matrix the plug-in returned.
struct OutputMatrix {
    size_t rows = 0;
    size_t columns = 0;
    mxClassID classId = mxUNKNOWN_CLASS;
    bool complex = false;
    std::vector<double> values;
};

struct ScratchAllocation {
    size_t bytes = 0;
    int releasedAt = -1;  // position in the sequence of mxFree calls, -1 if never released
    bool reclaimed = false;  // left to the host and reclaimed at the end of the call
};

// A warning the plug-in gave through mexWarnMsgIdAndTxt.
struct HostWarning {
    std::string identifier;
    std::string message;
};

struct CallReport {
    bool completed = false;  // false when the plug-in reported an error
    std::string errorIdentifier;
    std::string errorMessage;
    std::vector<HostWarning> warnings;  // in the order given
    std::vector<std::optional<OutputMatrix>> outputs;  // one per slot provided
    std::vector<ScratchAllocation> scratch;            // in the order of mxMalloc
    int matricesCreated = 0;
    int matricesReclaimed = 0;  // created but stored in no slot
    // Contract breaches seen: broken guards, a modified input, an mxFree of a
    // pointer the host never gave out, a write past the output slots.
    std::vector<std::string> faults;
};

struct CallOptions {
    int outputCount = 2;      // nlhs
    int slotCount = -1;       // output slots provided; -1: max(nlhs, 1), as MATLAB does
};

// Calls entry as a host does, with fresh host-owned copies of the inputs.
VESK_STANDIN_API CallReport callEntry(MexEntry entry, const std::vector<InputMatrix>& inputs,
                     const CallOptions& options = CallOptions());

// Reports an error from mexErrMsgIdAndTxt: ends the current call.
[[noreturn]] VESK_STANDIN_API void raiseError(const char* identifier, const char* message);

// Records a warning from mexWarnMsgIdAndTxt in the current call's report.
VESK_STANDIN_API void recordWarning(const char* identifier, const char* message);

// Buffers and matrices the host still holds outside any call (should be 0).
VESK_STANDIN_API size_t heldAllocations();

}  // namespace test_support::standin

#endif
