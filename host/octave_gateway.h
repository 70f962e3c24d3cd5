// The Octave-native entry-point work both functions share (Vesk.oct and
// Vesk2.oct, built by mkoctfile from the same kernels as the MEX files): the
// checks and messages of the MEX gateway, reported through Octave's own error
// call; outputs created as Octave arrays and filled in place; the kernels'
// scratch reclaimed when the call ends. Octave's MEX layer is not involved.
#ifndef VESK_HOST_OCTAVE_GATEWAY_H
#define VESK_HOST_OCTAVE_GATEWAY_H

#include <memory>

#include <octave/oct.h>

#include "contrast_function.h"

// Checks the call as the MEX gateway does (call_checks.h) and reports a
// refusal with error_with_id, with the same identifier and the same message
// Octave shows for the MEX file ("Vesk: " in front, as its MEX layer puts
// it). Then reads the image in place, creates both outputs, runs the kernel
// and returns the map, and the second output when two are asked for.
octave_value_list runOctaveGateway(const ContrastFunction& function,
                                   const octave_value_list& args, int nargout);

// A rows x columns double matrix whose elements are left as they are, for an
// output that will be written whole: Octave's usual constructor would clear
// it first, a pass over the whole map for nothing. The memory comes from the
// allocator Octave's arrays use, which frees it with the matrix.
// The allocator type an Array was built with (std::allocator, or a
// polymorphic one in some Octave builds); declared only, for decltype.
template <typename T, typename A>
A allocatorOfArray(const Array<T, A>*);

inline NDArray createUnclearedMatrix(octave_idx_type rows, octave_idx_type columns)
{
    typedef decltype(allocatorOfArray(static_cast<const Array<double>*>(nullptr))) DoubleAllocator;
    typedef std::allocator_traits<DoubleAllocator> Traits;

    const dim_vector dimensions(rows, columns);
    const octave_idx_type count = dimensions.safe_numel();
    DoubleAllocator allocator;
    double* data = Traits::allocate(allocator, count);
    try {
        return NDArray(Array<double>(data, dimensions, allocator));
    } catch (...) {
        Traits::deallocate(allocator, data, count);
        throw;
    }
}

#endif
