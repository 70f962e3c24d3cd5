// Turns a fuzzer's bytes into one host call of a plug-in: argument counts,
// the input's class, flags and shape, and its values, biased toward the
// values and shapes where a plug-in is most likely to go wrong: the edge
// values of each class the plug-ins take.
#ifndef VESK_FUZZ_FUZZ_CALL_H
#define VESK_FUZZ_FUZZ_CALL_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "standin_host.h"

struct FuzzCall {
    std::vector<test_support::standin::InputMatrix> inputs;  // as many as nargin
    int outputCount = 2;                       // nargout
    // The reason the gateway must give ("nargin", "tooLarge", ...), or empty
    // when the call must succeed.
    std::string expectedRejection;
};

// False when the bytes describe a call that no host could make (a shape
// within the limits over a buffer too small for it); such inputs are skipped.
bool decodeFuzzCall(const uint8_t* data, size_t size, FuzzCall& call);

#endif
