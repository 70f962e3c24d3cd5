#include "scratch_order.h"

#include <sstream>
#include <vector>

#include "class_cases.h"

namespace test_support {

std::string scratchOrderFaults(Plugin plugin, mxClassID classId, size_t elementCount,
                               const standin::CallReport& report)
{
    const std::vector<size_t> bytes = scratchBytesOf(classId, elementCount);
    std::ostringstream faults;
    if (report.scratch.size() != bytes.size()) {
        faults << report.scratch.size() << " scratch allocations, expected " << bytes.size()
               << "; ";
        return faults.str();
    }
    // Vesk's mxFree sequence: the table first, the histogram last, the level
    // array (allocated third) between them.
    const int last = (int)bytes.size() - 1;
    const int releaseOrder[3] = {0, last, 1};
    for (size_t i = 0; i < bytes.size(); ++i) {
        const standin::ScratchAllocation& scratch = report.scratch[i];
        if (scratch.bytes != bytes[i])
            faults << "allocation " << i << " is " << scratch.bytes << " bytes, expected "
                   << bytes[i] << "; ";
        const int releasedAt = plugin == Plugin::Vesk ? releaseOrder[i] : -1;
        const bool reclaimed = plugin == Plugin::Vesk2;
        if (scratch.releasedAt != releasedAt || scratch.reclaimed != reclaimed)
            faults << "allocation " << i << " released at " << scratch.releasedAt
                   << (scratch.reclaimed ? ", reclaimed" : ", not reclaimed")
                   << ", expected released at " << releasedAt
                   << (reclaimed ? ", reclaimed" : ", not reclaimed") << "; ";
    }
    return faults.str();
}

}  // namespace test_support
