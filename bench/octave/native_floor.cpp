// The Octave-native floor for one call: take the input, create the two
// outputs the native gateway creates, the way it creates them (the map
// uncleared, the second output 101 x 1 zeros), copy the input into the map.
// No checks and no contrast: what any .oct call with these outputs costs.
#include <algorithm>

#include "octave_gateway.h"

DEFUN_DLD(native_floor, args, , "")
{
    const NDArray image = args(0).array_value();
    NDArray first = createUnclearedMatrix(image.rows(), image.columns());
    NDArray second(dim_vector(101, 1), 0.0);
    std::copy_n(image.data(), image.numel(), first.fortran_vec());
    octave_value_list outputs;
    outputs(0) = first;
    outputs(1) = second;
    return outputs;
}
