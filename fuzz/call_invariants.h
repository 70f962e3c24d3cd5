// What must hold after every call of a plug-in, whatever its input: the host
// contract, the ranges of the outputs, the distribution's own arithmetic, and
// agreement with the plain reference implementation. A breach aborts, so that
// the fuzzer records the input.
#ifndef VESK_FUZZ_CALL_INVARIANTS_H
#define VESK_FUZZ_CALL_INVARIANTS_H

#include <string>

#include "fuzz_call.h"
#include "standin_host.h"

enum class PluginKind { Absolute, Signed };  // Vesk, Vesk2

void checkCallInvariants(PluginKind plugin, const std::string& name, const FuzzCall& call,
                         const test_support::standin::CallReport& report);

// For a completed call on an image of a class other than double: the double
// image its conversion makes (for the same call), and the check that that
// call gave the same outputs and warnings, bit for bit.
bool needsDoubleCall(const FuzzCall& call, const test_support::standin::CallReport& report);
test_support::standin::InputMatrix convertedImage(PluginKind plugin, const FuzzCall& call);
void checkSameAsDoubleCall(const test_support::standin::CallReport& report,
                           const test_support::standin::CallReport& doubleReport);

#endif
