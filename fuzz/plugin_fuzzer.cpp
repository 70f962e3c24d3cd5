// libFuzzer target: one call of a built plug-in library through the stand-in
// host per input, checked by checkCallInvariants. Built twice, as fuzz_vesk
// and fuzz_vesk2 (VESK_FUZZ_PLUGIN_NAME, VESK_FUZZ_PLUGIN_PATH).
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "call_invariants.h"
#include "fuzz_call.h"
#include "plugin_loader.h"
#include "standin_host.h"

using namespace test_support;

namespace {

const std::string kPluginName = VESK_FUZZ_PLUGIN_NAME;
const PluginKind kPluginKind = kPluginName == "Vesk" ? PluginKind::Absolute : PluginKind::Signed;

standin::MexEntry pluginEntry()
{
    static standin::PluginLibrary library(VESK_FUZZ_PLUGIN_PATH);
    if (library.entry() == nullptr) {
        fprintf(stderr, "cannot load %s: %s\n", VESK_FUZZ_PLUGIN_PATH, library.error().c_str());
        abort();
    }
    return library.entry();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    pluginEntry();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzCall call;
    if (!decodeFuzzCall(data, size, call))
        return -1;  // not a call a host could make: keep it out of the corpus
    standin::CallOptions options;
    options.outputCount = call.outputCount;
    const standin::CallReport report = standin::callEntry(pluginEntry(), call.inputs, options);
    checkCallInvariants(kPluginKind, kPluginName, call, report);
    if (needsDoubleCall(call, report)) {
        const standin::CallReport doubleReport =
            standin::callEntry(pluginEntry(), {convertedImage(kPluginKind, call)}, options);
        checkCallInvariants(kPluginKind, kPluginName, FuzzCall{{convertedImage(kPluginKind, call)},
                                                               call.outputCount, ""},
                            doubleReport);
        checkSameAsDoubleCall(report, doubleReport);
    }
    return 0;
}
