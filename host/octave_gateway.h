// The Octave-native entry-point work both functions share (Vesk.oct and
// Vesk2.oct, built by mkoctfile from the same kernels as the MEX files): the
// checks and messages of the MEX gateway, reported through Octave's own error
// call; outputs created as Octave arrays and filled in place; the kernels'
// scratch reclaimed when the call ends. Octave's MEX layer is not involved.
#ifndef VESK_HOST_OCTAVE_GATEWAY_H
#define VESK_HOST_OCTAVE_GATEWAY_H

#include <stddef.h>
#include <stdint.h>
#if defined(__linux__)
#include <sys/mman.h>
#endif

#include <memory>

#include <octave/oct.h>
#include <octave/version.h>

#include "contrast_function.h"

namespace vesk {

// Checks the call as the MEX gateway does (call_checks.h) and reports a
// refusal with error_with_id, with the same identifier and the same message
// Octave shows for the MEX file ("Vesk: " in front, as its MEX layer puts
// it). Then reads the image in place, creates both outputs, runs the kernel
// and returns the map, and the second output when two are asked for.
octave_value_list runOctaveGateway(const ContrastFunction& function,
                                   const octave_value_list& args, int nargout);

// Blocks of 32 MiB and more are fresh mappings from the system wherever they
// come from (the C library maps blocks that large and unmaps them when they
// are freed), and on a virtual machine the first touch of each fresh 4 KiB
// page costs about as much as the kernel's work on it. For such a block this
// asks for 2 MiB pages over the part of it they can cover: 512 times fewer
// first touches. Advice only, about memory that is ours until we hand it on:
// where the system has no such pages, or on systems without the call,
// nothing changes.
inline void adviseHugePages(void* data, size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const uintptr_t hugePage = (uintptr_t)2 << 20;
    if (bytes < ((size_t)32 << 20))
        return;
    const uintptr_t start = ((uintptr_t)data + hugePage - 1) / hugePage * hugePage;
    const uintptr_t end = ((uintptr_t)data + bytes) / hugePage * hugePage;
    if (end > start)
        madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

#if OCTAVE_MAJOR_VERSION >= 7
// The allocator type an Array was built with (std::allocator, or a
// polymorphic one in some Octave builds); declared only, for decltype. Octave
// 7 gave Array its allocator parameter.
template <typename T, typename A>
A allocatorOfArray(const Array<T, A>*);
#endif

// A rows x columns double matrix whose elements are left as they are, for an
// output that will be written whole. From Octave 7 on, Octave's usual
// constructor clears it first, a pass over the whole map for nothing; the
// memory comes instead from the allocator Octave's arrays use, which frees it
// with the matrix. Octave 6's arrays take theirs from new[], which leaves
// doubles as they are, so there the usual constructor is the one.
inline NDArray createUnclearedMatrix(octave_idx_type rows, octave_idx_type columns)
{
    const dim_vector dimensions(rows, columns);
#if OCTAVE_MAJOR_VERSION >= 7
    typedef decltype(allocatorOfArray(static_cast<const Array<double>*>(nullptr))) DoubleAllocator;
    typedef std::allocator_traits<DoubleAllocator> Traits;

    const octave_idx_type count = dimensions.safe_numel();
    DoubleAllocator allocator;
    double* data = Traits::allocate(allocator, count);
    adviseHugePages(data, (size_t)count * sizeof(double));
    try {
        return NDArray(Array<double>(data, dimensions, allocator));
    } catch (...) {
        Traits::deallocate(allocator, data, count);
        throw;
    }
#else
    NDArray matrix(dimensions);
    adviseHugePages(matrix.fortran_vec(), (size_t)matrix.numel() * sizeof(double));
    return matrix;
#endif
}

}  // namespace vesk

#endif
