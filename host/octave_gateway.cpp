#include "octave_gateway.h"

#include <stdint.h>
#include <stdlib.h>
#if defined(__linux__)
#include <sys/mman.h>
#endif

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
// A level array of 32 MiB or more (from 2^23 elements on) is a fresh mapping
// whatever we do (the C library maps blocks that large and unmaps them when
// they are freed), and first touching a fresh 4 KiB page costs about as much
// as the kernel's work on it. Such a block is mapped here, in 2 MiB pages
// where the system gives them on request: 512 times fewer first touches.

struct alignas(16) ScratchBlock {  // what follows keeps malloc's 16-byte alignment
    ScratchBlock* previous;
    ScratchBlock* next;
    size_t mappedBytes;  // 0: from malloc
};

ScratchBlock* callScratch = nullptr;

#if defined(__linux__) && defined(MADV_HUGEPAGE)
const size_t kHugePage = (size_t)2 << 20;
const size_t kMappedScratch = (size_t)32 << 20;

// bytes (a multiple of kHugePage) at an address aligned to kHugePage, or null.
void* mapHugePages(size_t bytes)
{
    const size_t spare = kHugePage;
    char* mapped = static_cast<char*>(mmap(nullptr, bytes + spare, PROT_READ | PROT_WRITE,
                                           MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    if (mapped == MAP_FAILED)
        return nullptr;
    const uintptr_t address = (uintptr_t)mapped;
    char* aligned = mapped + ((kHugePage - address % kHugePage) % kHugePage);
    if (aligned > mapped)
        munmap(mapped, (size_t)(aligned - mapped));
    if (aligned + bytes < mapped + bytes + spare)
        munmap(aligned + bytes, (size_t)(mapped + bytes + spare - (aligned + bytes)));
    madvise(aligned, bytes, MADV_HUGEPAGE);  // advice only: 4 KiB pages where refused
    return aligned;
}
#endif

ScratchBlock* allocateBlock(size_t total)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (total >= kMappedScratch) {
        const size_t bytes = (total + kHugePage - 1) / kHugePage * kHugePage;
        ScratchBlock* block = static_cast<ScratchBlock*>(mapHugePages(bytes));
        if (block != nullptr)
            block->mappedBytes = bytes;
        return block;
    }
#endif
    ScratchBlock* block = static_cast<ScratchBlock*>(malloc(total));
    if (block != nullptr)
        block->mappedBytes = 0;
    return block;
}

void releaseBlock(ScratchBlock* block)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (block->mappedBytes != 0) {
        munmap(block, block->mappedBytes);
        return;
    }
#endif
    free(block);
}

class ScratchScope {
public:
    ScratchScope() : outer_(callScratch) { callScratch = nullptr; }

    ~ScratchScope()
    {
        while (callScratch != nullptr) {
            ScratchBlock* block = callScratch;
            callScratch = block->next;
            releaseBlock(block);
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
    ScratchBlock* block = allocateBlock(sizeof(ScratchBlock) + bytes);
    if (block == nullptr)
        throw std::bad_alloc();  // Octave reports it as out of memory and ends the call
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
    releaseBlock(block);
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
