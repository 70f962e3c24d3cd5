#include "octave_gateway.h"

#include <stdint.h>
#include <stdlib.h>

#include <new>
#include <string>

namespace vesk {

namespace {

// --- scratch --------------------------------------------------------------------
//
// The kernels take their scratch from allocateCallScratch and give it back to
// releaseCallScratch (Vesk) or leave it to the call (Vesk2). Each
// block carries a header that links it into the list of the running call;
// the call's ScratchScope releases whatever is still listed when the call
// ends, by return or by error.
//
// The list head is the one piece of static data: Octave runs compiled
// functions one at a time on its interpreter thread, and a call cannot start
// inside another (the kernels call nothing back). Every call starts it empty
// and leaves it as it found it (empty), so nothing survives a call.
//
// A level array of 32 MiB or more gets 2 MiB pages where the system gives
// them (adviseHugePages), as the map does.

struct alignas(16) ScratchBlock {  // what follows keeps malloc's 16-byte alignment
    ScratchBlock* previous;
    ScratchBlock* next;
};

ScratchBlock* callScratch = nullptr;

class ScratchScope {
public:
    ScratchScope() : outer_(callScratch) { callScratch = nullptr; }

    ~ScratchScope()
    {
        releaseAll();
        callScratch = outer_;
    }

    // Frees what the running call still holds.
    static void releaseAll()
    {
        while (callScratch != nullptr) {
            ScratchBlock* block = callScratch;
            callScratch = block->next;
            free(block);
        }
    }

    ScratchScope(const ScratchScope&) = delete;
    ScratchScope& operator=(const ScratchScope&) = delete;

private:
    ScratchBlock* outer_;
};

void* allocateCallScratch(size_t bytes)
{
    if (bytes > SIZE_MAX - sizeof(ScratchBlock))
        throw std::bad_alloc();
    ScratchBlock* block = static_cast<ScratchBlock*>(malloc(sizeof(ScratchBlock) + bytes));
    if (block == nullptr)
        throw std::bad_alloc();  // Octave reports it as out of memory and ends the call
    adviseHugePages(block, sizeof(ScratchBlock) + bytes);
    block->previous = nullptr;
    block->next = callScratch;
    if (callScratch != nullptr)
        callScratch->previous = block;
    callScratch = block;
    return block + 1;
}

void releaseCallScratch(void* pointer)
{
    if (pointer == nullptr)
        return;
    ScratchBlock* block = static_cast<ScratchBlock*>(pointer) - 1;
    if (block->previous != nullptr)
        block->previous->next = block->next;
    else
        callScratch = block->next;
    if (block->next != nullptr)
        block->next->previous = block->previous;
    free(block);
}

const ScratchAllocator kCallScratch = {allocateCallScratch, releaseCallScratch};

// --- the call -------------------------------------------------------------------

// The class of an argument from its type: what Octave stores (a range, a
// diagonal or permutation matrix, a lazy index, an integer literal kept as an
// integer: each reads as the double matrix it stands for), never its class
// name, which an object may share with a numeric class. Everything without a
// built-in type of its own, objects of every name among them, is unknown.
ArgumentClass argumentClassOf(const octave_value& value)
{
    static const struct {
        builtin_type_t type;
        ArgumentClass argumentClass;
    } types[] = {
        {btyp_double, ArgumentClass::Double},  {btyp_complex, ArgumentClass::Double},
        {btyp_float, ArgumentClass::Single},   {btyp_float_complex, ArgumentClass::Single},
        {btyp_int8, ArgumentClass::Int8},      {btyp_uint8, ArgumentClass::Uint8},
        {btyp_int16, ArgumentClass::Int16},    {btyp_uint16, ArgumentClass::Uint16},
        {btyp_int32, ArgumentClass::Int32},    {btyp_uint32, ArgumentClass::Uint32},
        {btyp_int64, ArgumentClass::Int64},    {btyp_uint64, ArgumentClass::Uint64},
        {btyp_bool, ArgumentClass::Logical},   {btyp_char, ArgumentClass::Char},
        {btyp_struct, ArgumentClass::Struct},  {btyp_cell, ArgumentClass::Cell},
        {btyp_func_handle, ArgumentClass::Function},
    };
    const builtin_type_t type = value.builtin_type();
    for (const auto& t : types)
        if (type == t.type)
            return confirmedClass(t.argumentClass, value.isnumeric() || value.islogical());
    return ArgumentClass::Unknown;
}

// The call in call_checks.h's terms, each field as Octave's MEX layer reports
// it to the MEX gateway (mxGetClassName, ..., mxGetN; the class as
// mxGetClassID and mxIsNumeric give it for every value the MEX layer can
// pass), so that both builds refuse the same calls with the same words.
CallDescription describeCall(const octave_value_list& args, int nargout, std::string* className)
{
    CallDescription call = {(int)args.length(), nargout, ArgumentClass::Unknown, "", false, false,
                            0.0, 0.0, 0.0};
    if (call.inputCount == 1) {
        const octave_value& image = args(0);
        *className = image.class_name();
        call.imageClass = argumentClassOf(image);
        call.className = className->c_str();
        call.sparse = image.issparse();
        call.complex = image.iscomplex();
        const dim_vector dimensions = image.dims();
        call.dimensionCount = (double)dimensions.ndims();
        call.rows = (double)(size_t)dimensions(0);
        size_t columns = 1;
        for (int k = 1; k < dimensions.ndims(); ++k)
            columns *= (size_t)dimensions(k);
        call.columns = (double)columns;
    }
    return call;
}

// Runs the kernel on the image's elements where they are (the typed array
// shares the matrix's data: nothing is copied, nothing written) and says
// whether the scale warning applies, which looks at the same elements.
template <typename TypedArray>
bool runKernel(const ContrastFunction& function, ImageClass imageClass, const TypedArray& image,
               double* first, double* second, int32_t rows, int32_t columns)
{
    const void* input = image.data();
    return function.kernel(imageClass, input, first, second, rows, columns, kCallScratch) &&
           function.scaleWarning.valuesConfirm(imageClass, input, rows * columns);
}

bool runKernelOnImage(const ContrastFunction& function, ImageClass imageClass,
                      const octave_value& image, double* first, double* second, int32_t rows,
                      int32_t columns)
{
    switch (imageClass) {
#define VESK_RUN_ON_CLASS(Enum, name, Element, levelBytes, hostClass, accessor, ...)           \
    case ImageClass::Enum:                                                                     \
        return runKernel(function, imageClass, image.accessor(), first, second, rows, columns);
        VESK_IMAGE_CLASSES(VESK_RUN_ON_CLASS)
#undef VESK_RUN_ON_CLASS
    }
    return false;  // not reached: every class has its case
}

}  // namespace

octave_value_list runOctaveGateway(const ContrastFunction& function,
                                   const octave_value_list& args, int nargout)
{
    ScratchScope scratch;

    // Octave's MEX layer puts the function's name in front of every message a
    // MEX file gives; the same words here, whichever build Octave loads.
    const char* name = function.rules.functionName;
    std::string className;
    const CallDescription call = describeCall(args, nargout, &className);
    ImageClass imageClass = ImageClass::Double;
    CallMessage refusal;
    if (refuseCall(function.rules, call, &imageClass, &refusal))
        error_with_id(refusal.identifier, "%s: %s", name, refusal.message);

    // The checks above make both dimensions and their product fit 32 bits.
    const dim_vector dimensions = args(0).dims();
    const int32_t rows = (int32_t)dimensions(0);
    const int32_t columns = (int32_t)dimensions(1);

    // The kernel writes every element of the map; the second output must
    // start at 0.0. Out of memory for either, for the kernel's scratch or for
    // the full matrix a range or a diagonal matrix stands for, the call ends
    // with nothing left allocated and a message that says what needs less.
    NDArray first;
    NDArray second;
    bool warn = false;
    bool outOfMemory = false;
    try {
        first = createUnclearedMatrix(rows, columns);
        second = NDArray(dim_vector(function.secondOutputRows, 1), 0.0);
        warn = runKernelOnImage(function, imageClass, args(0), first.fortran_vec(),
                                second.fortran_vec(), rows, columns);
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
    }
    if (outOfMemory) {
        first = NDArray();
        second = NDArray();
        ScratchScope::releaseAll();
        const int64_t elementCount = (int64_t)rows * columns;
        CallMessage message;
        outOfMemoryMessage(function.rules, call, (double)elementCount * sizeof(double),
                           (double)classScratchBytes(imageClass, elementCount), &message);
        error_with_id(message.identifier, "%s: %s", name, message.message);
    }
    if (warn) {
        // May end the call as an error (warning('error', id)); the scratch
        // goes all the same.
        CallMessage message;
        scaleWarningMessage(function.rules, function.scaleWarning, call.className, &message);
        warning_with_id(message.identifier, "%s: %s", name, message.message);
    }

    octave_value_list outputs;
    outputs(0) = first;
    if (nargout >= 2)
        outputs(1) = second;
    return outputs;
}

}  // namespace vesk
