// The scratch one completed call takes and gives back, as each plug-in
// handles it: the one check of the suites, the Windows host program and the
// fuzzers.
#ifndef VESK_TESTING_SCRATCH_ORDER_H
#define VESK_TESTING_SCRATCH_ORDER_H

#include <stddef.h>

#include <string>

#include "case_tables.h"
#include "standin_host.h"

namespace test_support {

// Empty when the call took the scratch of its class (scratchBytesOf in
// class_cases.h: table, histogram, then the level array where the class has
// one) and gave it back as its plug-in does: Vesk releases all in the order
// table, level array, histogram and leaves nothing to the host; Vesk2
// releases nothing and the host reclaims all. Otherwise one sentence per
// fault, each ending in "; ".
std::string scratchOrderFaults(Plugin plugin, mxClassID classId, size_t elementCount,
                               const standin::CallReport& report);

}  // namespace test_support

#endif
