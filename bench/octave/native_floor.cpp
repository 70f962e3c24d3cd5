// The Octave-native floor for one call: take the input, create the two
// outputs the native gateway creates, the way it creates them (the map
// uncleared, the second output 101 x 1 zeros), and write the map from the
// input, copying a double image and widening a uint8 one. No checks and no
// contrast: what any .oct call with these outputs costs for an input of that
// class.
#include <algorithm>

#include "octave_gateway.h"

DEFUN_DLD(native_floor, args, , "")
{
    const dim_vector dimensions = args(0).dims();
    NDArray first = vesk::createUnclearedMatrix(dimensions(0), dimensions(1));
    NDArray second(dim_vector(101, 1), 0.0);
    double* map = first.fortran_vec();
    if (args(0).is_uint8_type()) {
        const uint8NDArray image = args(0).uint8_array_value();
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(image.data());
        std::copy_n(bytes, image.numel(), map);
    } else {
        const NDArray image = args(0).array_value();
        std::copy_n(image.data(), image.numel(), map);
    }
    octave_value_list outputs;
    outputs(0) = first;
    outputs(1) = second;
    return outputs;
}
