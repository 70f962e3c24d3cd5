// libmx of the stand-in host: matrices, host memory and the call driver.
#include <setjmp.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "standin_host.h"

#if defined(__SANITIZE_ADDRESS__)
#define VESK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VESK_ASAN 1
#endif
#endif
#ifdef VESK_ASAN
#include <sanitizer/asan_interface.h>
#define POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
#else
#define POISON(address, size) ((void)(address), (void)(size))
#define UNPOISON(address, size) ((void)(address), (void)(size))
#endif

using namespace test_support;

struct mxArray_tag {
    mxClassID classId;
    bool complex;
    bool sparse;
    bool object;  // an object named after classId, which holds no array of it
    std::vector<size_t> dimensions;
    unsigned char* data;  // guarded buffer
};

namespace {

// Guard zones around every buffer; under AddressSanitizer they are also
// poisoned, so that a read into them is reported, not only a write.
const size_t kGuardBytes = 32;
const unsigned char kGuardPattern = 0xA5;
// mxMalloc does not clear memory: scratch starts as this, so that a plug-in
// relying on cleared scratch gives wrong results in tests.
const unsigned char kScratchPattern = 0xCD;

struct GuardedBuffer {
    unsigned char* base;
    size_t bytes;
};

struct ScratchRecord {
    unsigned char* payload;
    size_t bytes;
    int releasedAt;
    bool live;
};

struct HostState {
    std::map<unsigned char*, GuardedBuffer> liveBuffers;  // by payload address
    bool inCall = false;
    std::vector<ScratchRecord> scratch;
    int releases = 0;
    std::vector<mxArray*> createdMatrices;
    std::vector<std::string> faults;
    jmp_buf* errorExit = nullptr;
    std::string errorIdentifier;
    std::string errorMessage;
    std::vector<standin::HostWarning> warnings;
};

HostState& host()
{
    static HostState state;
    return state;
}

unsigned char* allocateGuarded(size_t bytes, unsigned char fill)
{
    unsigned char* base = static_cast<unsigned char*>(malloc(bytes + 2 * kGuardBytes));
    if (base == nullptr) {
        fprintf(stderr, "stand-in host: out of memory for %zu bytes\n", bytes);
        abort();
    }
    unsigned char* payload = base + kGuardBytes;
    memset(base, kGuardPattern, kGuardBytes);
    memset(payload, fill, bytes);
    memset(payload + bytes, kGuardPattern, kGuardBytes);
    POISON(base, kGuardBytes);
    POISON(payload + bytes, kGuardBytes);
    host().liveBuffers[payload] = GuardedBuffer{base, bytes};
    return payload;
}

bool guardsIntact(const GuardedBuffer& buffer)
{
    unsigned char* tail = buffer.base + kGuardBytes + buffer.bytes;
    UNPOISON(buffer.base, kGuardBytes);
    UNPOISON(tail, kGuardBytes);
    bool intact = true;
    for (size_t i = 0; i < kGuardBytes; ++i)
        intact = intact && buffer.base[i] == kGuardPattern && tail[i] == kGuardPattern;
    POISON(buffer.base, kGuardBytes);
    POISON(tail, kGuardBytes);
    return intact;
}

void releaseGuarded(unsigned char* payload, const char* what)
{
    auto found = host().liveBuffers.find(payload);
    if (found == host().liveBuffers.end())
        return;
    if (!guardsIntact(found->second))
        host().faults.push_back(std::string("guard bytes overwritten around ") + what);
    UNPOISON(found->second.base, found->second.bytes + 2 * kGuardBytes);
    free(found->second.base);
    host().liveBuffers.erase(found);
}

size_t elementBytes(mxClassID classId)
{
    switch (classId) {
    case mxDOUBLE_CLASS:
    case mxINT64_CLASS:
    case mxUINT64_CLASS:
        return 8;
    case mxSINGLE_CLASS:
    case mxINT32_CLASS:
    case mxUINT32_CLASS:
        return 4;
    case mxINT16_CLASS:
    case mxUINT16_CLASS:
    case mxCHAR_CLASS:
        return 2;
    case mxINT8_CLASS:
    case mxUINT8_CLASS:
    case mxLOGICAL_CLASS:
        return 1;
    default:
        return 0;  // cells, structs, function handles: no numeric data
    }
}

size_t elementCount(const std::vector<size_t>& dimensions)
{
    size_t count = 1;
    for (size_t d : dimensions)
        count *= d;
    return count;
}

mxArray* newMatrix(mxClassID classId, std::vector<size_t> dimensions, size_t dataBytes)
{
    mxArray* matrix = new mxArray_tag{classId, false, false, false, std::move(dimensions), nullptr};
    matrix->data = allocateGuarded(dataBytes, 0);
    return matrix;
}

void destroyMatrix(mxArray* matrix)
{
    releaseGuarded(matrix->data, "matrix data");
    delete matrix;
}

// setjmp lives in a frame of its own, with nothing to destroy between it and
// the longjmp of an error.
bool invokeEntry(standin::MexEntry entry, int nlhs, mxArray** plhs, int nrhs, const mxArray** prhs)
{
    jmp_buf errorExit;
    host().errorExit = &errorExit;
    if (setjmp(errorExit) != 0) {
        host().errorExit = nullptr;
        return false;
    }
    entry(nlhs, plhs, nrhs, prhs);
    host().errorExit = nullptr;
    return true;
}

}  // namespace

extern "C" {

size_t mxGetM(const mxArray* array)
{
    return array->dimensions[0];
}

size_t mxGetN(const mxArray* array)
{
    size_t columns = 1;
    for (size_t d = 1; d < array->dimensions.size(); ++d)
        columns *= array->dimensions[d];
    return columns;
}

// As in MATLAB's interleaved API, mxGetPr of anything but a double array is
// an error that ends the call; and no data of an object may be read.
double* mxGetPr(const mxArray* array)
{
    if (array->object || array->classId != mxDOUBLE_CLASS) {
        host().faults.push_back(std::string("mxGetPr of a ") + mxGetClassName(array) +
                                (array->object ? " object" : " array"));
        standin::raiseError("MATLAB:mxGetPr:notDouble", "mxGetPr needs a double array.");
    }
    return reinterpret_cast<double*>(array->data);
}

void* mxGetData(const mxArray* array)
{
    if (array->object)
        host().faults.push_back(std::string("mxGetData of an object of class ") +
                                mxGetClassName(array));
    return array->data;
}

mxClassID mxGetClassID(const mxArray* array)
{
    return array->classId;
}

mxArray* mxCreateNumericMatrix_700(int rows, int columns, mxClassID classId,
                                   mxComplexity complexity)
{
    HostState& state = host();
    if (rows < 0 || columns < 0) {
        state.faults.push_back("mxCreateNumericMatrix with a negative dimension");
        rows = std::max(rows, 0);
        columns = std::max(columns, 0);
    }
    const std::vector<size_t> dimensions{(size_t)rows, (size_t)columns};
    mxArray* matrix = newMatrix(classId, dimensions, elementCount(dimensions) * elementBytes(classId));
    matrix->complex = complexity == mxCOMPLEX;
    if (state.inCall)
        state.createdMatrices.push_back(matrix);
    return matrix;
}

void* mxMalloc(size_t bytes)
{
    HostState& state = host();
    unsigned char* payload = allocateGuarded(bytes, kScratchPattern);
    state.scratch.push_back(ScratchRecord{payload, bytes, -1, true});
    return payload;
}

void mxFree(void* pointer)
{
    if (pointer == nullptr)
        return;
    HostState& state = host();
    for (ScratchRecord& record : state.scratch) {
        if (record.live && record.payload == pointer) {
            record.live = false;
            record.releasedAt = state.releases++;
            releaseGuarded(record.payload, "mxMalloc scratch");
            return;
        }
    }
    state.faults.push_back("mxFree of a pointer that is not live mxMalloc scratch");
}

bool mxIsComplex(const mxArray* array)
{
    return array->complex;
}

bool mxIsSparse(const mxArray* array)
{
    return array->sparse;
}

bool mxIsNumeric(const mxArray* array)
{
    if (array->object)
        return false;
    switch (array->classId) {
    case mxDOUBLE_CLASS:
    case mxSINGLE_CLASS:
    case mxINT8_CLASS:
    case mxUINT8_CLASS:
    case mxINT16_CLASS:
    case mxUINT16_CLASS:
    case mxINT32_CLASS:
    case mxUINT32_CLASS:
    case mxINT64_CLASS:
    case mxUINT64_CLASS: return true;
    case mxUNKNOWN_CLASS:
    case mxCELL_CLASS:
    case mxSTRUCT_CLASS:
    case mxLOGICAL_CLASS:
    case mxCHAR_CLASS:
    case mxVOID_CLASS:
    case mxFUNCTION_CLASS: return false;
    }
    return false;
}

bool mxIsLogical(const mxArray* array)
{
    return !array->object && array->classId == mxLOGICAL_CLASS;
}

const char* mxGetClassName(const mxArray* array)
{
    switch (array->classId) {
    case mxCELL_CLASS: return "cell";
    case mxSTRUCT_CLASS: return "struct";
    case mxLOGICAL_CLASS: return "logical";
    case mxCHAR_CLASS: return "char";
    case mxDOUBLE_CLASS: return "double";
    case mxSINGLE_CLASS: return "single";
    case mxINT8_CLASS: return "int8";
    case mxUINT8_CLASS: return "uint8";
    case mxINT16_CLASS: return "int16";
    case mxUINT16_CLASS: return "uint16";
    case mxINT32_CLASS: return "int32";
    case mxUINT32_CLASS: return "uint32";
    case mxINT64_CLASS: return "int64";
    case mxUINT64_CLASS: return "uint64";
    case mxFUNCTION_CLASS: return "function_handle";
    default: return "unknown";
    }
}

size_t mxGetNumberOfDimensions_730(const mxArray* array)
{
    return array->dimensions.size();
}

}  // extern "C"

namespace test_support::standin {

InputMatrix doubleMatrix(size_t rows, size_t columns, std::vector<double> values)
{
    InputMatrix input;
    input.dimensions = {rows, columns};
    input.values = std::move(values);
    input.values.resize(rows * columns, 0.0);
    return input;
}

InputMatrix matrixOfClass(mxClassID classId, std::vector<size_t> dimensions)
{
    InputMatrix input;
    input.classId = classId;
    input.dimensions = std::move(dimensions);
    return input;
}

InputMatrix hugeMatrix(size_t rows, size_t columns)
{
    InputMatrix input;
    input.dimensions = {rows, columns};
    input.dataBytes = 16;
    return input;
}

void raiseError(const char* identifier, const char* message)
{
    HostState& state = host();
    if (state.errorExit == nullptr) {
        fprintf(stderr, "stand-in host: error outside a call: %s: %s\n", identifier, message);
        abort();
    }
    state.errorIdentifier = identifier != nullptr ? identifier : "";
    state.errorMessage = message != nullptr ? message : "";
    longjmp(*state.errorExit, 1);
}

void recordWarning(const char* identifier, const char* message)
{
    host().warnings.push_back(
        HostWarning{identifier != nullptr ? identifier : "", message != nullptr ? message : ""});
}

size_t heldAllocations()
{
    return host().liveBuffers.size();
}

CallReport callEntry(MexEntry entry, const std::vector<InputMatrix>& inputs,
                     const CallOptions& options)
{
    HostState& state = host();
    state.inCall = true;
    state.scratch.clear();
    state.releases = 0;
    state.createdMatrices.clear();
    state.faults.clear();
    state.errorIdentifier.clear();
    state.errorMessage.clear();
    state.warnings.clear();

    // Host-owned inputs, and a copy of each one's bytes to compare afterwards.
    std::vector<mxArray*> inputHandles;
    std::vector<std::vector<unsigned char>> inputBytes;
    for (const InputMatrix& wanted : inputs) {
        const size_t fullBytes = elementCount(wanted.dimensions) * elementBytes(wanted.classId);
        const size_t bytes = wanted.dataBytes ? *wanted.dataBytes : fullBytes;
        mxArray* matrix = newMatrix(wanted.classId, wanted.dimensions, bytes);
        matrix->complex = wanted.complex;
        matrix->sparse = wanted.sparse;
        matrix->object = wanted.object;
        if (!wanted.data.empty())
            memcpy(matrix->data, wanted.data.data(), std::min(bytes, wanted.data.size()));
        else if (wanted.classId == mxDOUBLE_CLASS && !wanted.values.empty())
            memcpy(matrix->data, wanted.values.data(),
                   std::min(bytes, wanted.values.size() * sizeof(double)));
        inputHandles.push_back(matrix);
        inputBytes.emplace_back(matrix->data, matrix->data + bytes);
    }

    const int slotCount = options.slotCount >= 0 ? options.slotCount
                                                 : std::max(options.outputCount, 1);
    mxArray** slots = reinterpret_cast<mxArray**>(
        allocateGuarded((size_t)slotCount * sizeof(mxArray*), 0));
    const mxArray** inputArray = reinterpret_cast<const mxArray**>(
        allocateGuarded(inputHandles.size() * sizeof(mxArray*), 0));
    for (size_t i = 0; i < inputHandles.size(); ++i)
        inputArray[i] = inputHandles[i];

    CallReport report;
    report.completed =
        invokeEntry(entry, options.outputCount, slots, (int)inputHandles.size(), inputArray);
    report.errorIdentifier = state.errorIdentifier;
    report.errorMessage = state.errorMessage;
    report.warnings = std::move(state.warnings);
    state.warnings.clear();
    state.inCall = false;

    // Outputs: a failed call returns nothing, as in MATLAB.
    report.outputs.resize((size_t)slotCount);
    std::vector<mxArray*> returned;
    for (int slot = 0; report.completed && slot < slotCount; ++slot) {
        mxArray* matrix = slots[slot];
        if (matrix == nullptr)
            continue;
        const bool created = std::find(state.createdMatrices.begin(), state.createdMatrices.end(),
                                       matrix) != state.createdMatrices.end();
        const bool duplicate = std::find(returned.begin(), returned.end(), matrix) != returned.end();
        if (!created || duplicate) {
            state.faults.push_back("output slot " + std::to_string(slot) +
                                   " holds a matrix the call did not create, or one held twice");
            continue;
        }
        returned.push_back(matrix);
        OutputMatrix output;
        output.rows = mxGetM(matrix);
        output.columns = mxGetN(matrix);
        output.classId = matrix->classId;
        output.complex = matrix->complex;
        if (matrix->classId == mxDOUBLE_CLASS) {
            const double* values = mxGetPr(matrix);
            output.values.assign(values, values + output.rows * output.columns);
        }
        report.outputs[(size_t)slot] = std::move(output);
    }

    // Reclaim what the call left behind, as a host does at its end.
    for (mxArray* matrix : state.createdMatrices) {
        if (std::find(returned.begin(), returned.end(), matrix) == returned.end())
            ++report.matricesReclaimed;
        destroyMatrix(matrix);
    }
    report.matricesCreated = (int)state.createdMatrices.size();
    state.createdMatrices.clear();
    for (ScratchRecord& record : state.scratch) {
        report.scratch.push_back(ScratchAllocation{record.bytes, record.releasedAt, record.live});
        if (record.live)
            releaseGuarded(record.payload, "mxMalloc scratch");
    }
    state.scratch.clear();

    for (size_t i = 0; i < inputHandles.size(); ++i) {
        const std::vector<unsigned char>& before = inputBytes[i];
        if (!before.empty() && memcmp(before.data(), inputHandles[i]->data, before.size()) != 0)
            state.faults.push_back("input " + std::to_string(i) + " was modified");
        destroyMatrix(inputHandles[i]);
    }
    releaseGuarded(reinterpret_cast<unsigned char*>(inputArray), "the input array");
    releaseGuarded(reinterpret_cast<unsigned char*>(slots), "the output slots");

    report.faults = std::move(state.faults);
    state.faults.clear();
    return report;
}

}  // namespace test_support::standin
