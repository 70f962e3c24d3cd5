// The built plug-in libraries, loaded once per test program, and helpers to
// call them through the stand-in host.
#ifndef VESK_TESTING_PLUGINS_UNDER_TEST_H
#define VESK_TESTING_PLUGINS_UNDER_TEST_H

#include <string>
#include <vector>

#include "standin_host.h"

namespace test_support {

const std::string& veskPath();
const std::string& vesk2Path();
const std::string& dataDirectory();

// The bundled photograph data/camera.pgm as grey levels 0..255; fails the
// current test when it cannot be read.
standin::InputMatrix photograph();

standin::MexEntry veskEntry();
standin::MexEntry vesk2Entry();

// One call with one input matrix; fails the current test on any host-contract
// fault.
standin::CallReport callWith(standin::MexEntry entry, const standin::InputMatrix& input,
                             int outputCount = 2);

// callWith, and fails the current test unless the call completed.
standin::CallReport callCompleted(standin::MexEntry entry, const standin::InputMatrix& input,
                                  int outputCount = 2);

// The values of output slot `slot` (the first output: 0).
const std::vector<double>& outputValues(const standin::CallReport& report, size_t slot);

// The bit pattern of a double, so that -0.0 and 0.0 compare unequal.
unsigned long long bitsOf(double value);

// Same length and the same bits element by element; `what` names the array.
void expectSameBits(const std::vector<double>& actual, const std::vector<double>& expected,
                    const char* what);

}  // namespace test_support

#endif
