// The built plug-in libraries, loaded once per test program, and helpers to
// call them through the stand-in host.
#ifndef VESK_TESTS_PLUGINS_UNDER_TEST_H
#define VESK_TESTS_PLUGINS_UNDER_TEST_H

#include <string>
#include <vector>

#include "standin_host.h"

namespace testing_support {

const std::string& veskPath();
const std::string& vesk2Path();
const std::string& dataDirectory();

standin::MexEntry veskEntry();
standin::MexEntry vesk2Entry();

// One call with one input matrix; fails the current test on any host-contract
// fault.
standin::CallReport callWith(standin::MexEntry entry, const standin::InputMatrix& input,
                             int outputCount = 2);

// The bit pattern of a double, so that -0.0 and 0.0 compare unequal.
unsigned long long bitsOf(double value);

// Reads an 8-bit binary PGM into column-major grey levels.
standin::InputMatrix readPgm(const std::string& path);

}  // namespace testing_support

#endif
