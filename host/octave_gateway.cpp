#include "octave_gateway.h"

#include <stdint.h>
#include <stdlib.h>

#include <new>
#include <string>

#include "mex_api.h"

namespace {

// --- scratch --------------------------------------------------------------------
//
// The kernels take their scratch with mxMalloc and give it back with mxFree
// (Vesk) or leave it to the host (Vesk2), as under a MEX host. Here each
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
        while (callScratch != nullptr) {
            ScratchBlock* block = callScratch;
            callScratch = block->next;
            free(block);
        }
        callScratch = outer_;
    }

    ScratchScope(const ScratchScope&) = delete;
    ScratchScope& operator=(const ScratchScope&) = delete;

private:
    ScratchBlock* outer_;
};

// --- the call -------------------------------------------------------------------

// The call in call_checks.h's terms, each field as Octave's MEX layer reports
// it to the MEX gateway (mxIsDouble, mxGetClassName, ..., mxGetN), so that
// both builds refuse the same calls with the same words.
CallDescription describeCall(const octave_value_list& args, int nargout, std::string* className)
{
    CallDescription call = {(int)args.length(), nargout, false, "", false, false, 0.0, 0.0, 0.0};
    if (call.inputCount == 1) {
        const octave_value& image = args(0);
        *className = image.class_name();
        call.doubleClass = image.is_double_type();
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

}  // namespace

void* mxMalloc(size_t bytes)
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

void mxFree(void* pointer)
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

octave_value_list runOctaveGateway(const ContrastFunction& function,
                                   const octave_value_list& args, int nargout)
{
    ScratchScope scratch;

    std::string className;
    CallRefusal refusal;
    if (refuseCall(function.rules, describeCall(args, nargout, &className), &refusal))
        error_with_id(refusal.identifier, "%s: %s", function.rules.functionName, refusal.message);

    // The checks above make both dimensions and their product fit 32 bits.
    // array_value shares a full double matrix's data: the image is read in
    // place, never copied or written.
    const NDArray image = args(0).array_value();
    const int32_t rows = (int32_t)image.rows();
    const int32_t columns = (int32_t)image.columns();

    // The kernel writes every element of the map; the second output must
    // start at 0.0.
    NDArray first = createUnclearedMatrix(rows, columns);
    NDArray second(dim_vector(function.secondOutputRows, 1), 0.0);
    function.kernel(image.data(), first.fortran_vec(), second.fortran_vec(), rows, columns);

    octave_value_list outputs;
    outputs(0) = first;
    if (nargout >= 2)
        outputs(1) = second;
    return outputs;
}
