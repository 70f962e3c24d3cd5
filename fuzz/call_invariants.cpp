#include "call_invariants.h"

#include <math.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "reference.h"

namespace {

[[noreturn]] void fail(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    fprintf(stderr, "invariant broken: ");
    vfprintf(stderr, format, arguments);
    fprintf(stderr, "\n");
    va_end(arguments);
    abort();
}

uint64_t bitsOf(double value)
{
    uint64_t bits;
    memcpy(&bits, &value, sizeof bits);
    return bits;
}

void expectSameBits(const char* what, size_t index, double actual, double expected)
{
    if (bitsOf(actual) != bitsOf(expected))
        fail("%s[%zu] is %.17g (0x%016llx), the reference gives %.17g (0x%016llx)", what, index,
             actual, (unsigned long long)bitsOf(actual), expected,
             (unsigned long long)bitsOf(expected));
}

// k / 255 for a whole k in 0..255, exactly as the plug-ins form it.
bool isLevelFraction(double value)
{
    if (!(value >= 0.0 && value <= 1.0))
        return false;
    const double level = nearbyint(value * 255.0);
    return bitsOf(level / 255.0) == bitsOf(value);
}

void checkHostContract(PluginKind plugin, const FuzzCall& call, const standin::CallReport& report)
{
    for (const std::string& fault : report.faults)
        fail("host fault: %s", fault.c_str());
    if (standin::heldAllocations() != 0)
        fail("the host still holds %zu buffers after the call", standin::heldAllocations());
    if (!report.completed)
        return;

    if (report.matricesCreated != 2)
        fail("%d matrices created, expected 2", report.matricesCreated);
    const int reclaimed = call.outputCount >= 2 ? 0 : 1;
    if (report.matricesReclaimed != reclaimed)
        fail("%d matrices reclaimed, expected %d", report.matricesReclaimed, reclaimed);

    const size_t elementCount = call.values.size();
    const size_t expectedBytes[3] = {2048, 1024, 4 * elementCount};
    if (report.scratch.size() != 3)
        fail("%zu scratch allocations, expected 3", report.scratch.size());
    // Vesk releases table, level array, histogram in that order; Vesk2 leaves all to the host.
    const int releaseOrder[3] = {0, 2, 1};
    for (size_t i = 0; i < 3; ++i) {
        const standin::ScratchAllocation& scratch = report.scratch[i];
        if (scratch.bytes != expectedBytes[i])
            fail("scratch %zu is %zu bytes, expected %zu", i, scratch.bytes, expectedBytes[i]);
        if (plugin == PluginKind::Absolute && (scratch.reclaimed || scratch.releasedAt != releaseOrder[i]))
            fail("scratch %zu released at %d (reclaimed %d), expected released at %d", i,
                 scratch.releasedAt, (int)scratch.reclaimed, releaseOrder[i]);
        if (plugin == PluginKind::Signed && (!scratch.reclaimed || scratch.releasedAt != -1))
            fail("scratch %zu released at %d, expected left to the host", i, scratch.releasedAt);
    }
}

void checkShape(const standin::OutputMatrix& output, size_t rows, size_t columns, const char* what)
{
    if (output.rows != rows || output.columns != columns || output.classId != mxDOUBLE_CLASS ||
        output.complex || output.values.size() != rows * columns)
        fail("%s is %zu x %zu (class %d, complex %d), expected a real double %zu x %zu", what,
             output.rows, output.columns, (int)output.classId, (int)output.complex, rows, columns);
}

void checkAbsoluteOutputs(const FuzzCall& call, const standin::CallReport& report)
{
    const reference::AbsoluteContrast expected = reference::absoluteContrast(call.values);
    const std::vector<double>& map = report.outputs[0]->values;
    for (size_t k = 0; k < map.size(); ++k) {
        if (!(map[k] >= 0.0 && map[k] <= 1.0))
            fail("map[%zu] = %.17g is outside 0..1", k, map[k]);
        expectSameBits("map", k, map[k], expected.map[k]);
    }
    if (call.outputCount < 2)
        return;

    const standin::OutputMatrix& distributionMatrix = *report.outputs[1];
    checkShape(distributionMatrix, 101, 1, "the distribution");
    const std::vector<double>& distribution = distributionMatrix.values;
    for (size_t b = 0; b < 100; ++b)
        expectSameBits("distribution", b, distribution[b], expected.distribution[b]);
    const std::vector<double>& candidates = expected.leastContrastCandidates;
    if (candidates.empty()) {
        expectSameBits("distribution", 100, distribution[100], 0.0);
    } else if (std::none_of(candidates.begin(), candidates.end(),
                            [&](double c) { return bitsOf(c) == bitsOf(distribution[100]); })) {
        fail("distribution[100] = %.17g is none of the levels with the smallest contrast",
             distribution[100]);
    }
    if (!isLevelFraction(distribution[100]))
        fail("distribution[100] = %.17g is not a level / 255", distribution[100]);

    // The buckets add up: with two or more levels, to n less the elements at
    // the maximum (which map to exactly 1.0); with one level, all in bucket 0.
    int levelCounts[256] = {};
    for (double value : call.values)
        ++levelCounts[reference::levelOf(value)];
    const int distinctLevels = (int)std::count_if(levelCounts, levelCounts + 256,
                                                  [](int count) { return count != 0; });
    double bucketSum = 0.0;
    for (size_t b = 0; b < 100; ++b) {
        if (!(distribution[b] >= 0.0) || distribution[b] != floor(distribution[b]))
            fail("distribution[%zu] = %.17g is not a count", b, distribution[b]);
        bucketSum += distribution[b];
    }
    const double n = (double)call.values.size();
    if (distinctLevels >= 2) {
        const double atMaximum = (double)std::count(map.begin(), map.end(), 1.0);
        if (bucketSum != n - atMaximum)
            fail("buckets add up to %.17g, expected %.17g - %.17g", bucketSum, n, atMaximum);
    } else if (distinctLevels == 1 && distribution[0] != n) {
        fail("one level: distribution[0] = %.17g, expected %.17g", distribution[0], n);
    }
}

void checkSignedOutputs(const FuzzCall& call, const standin::CallReport& report)
{
    const reference::SignedContrast expected = reference::signedContrast(call.values);
    const std::vector<double>& map = report.outputs[0]->values;
    for (size_t k = 0; k < map.size(); ++k) {
        if (!(map[k] >= -1.0 && map[k] <= 1.0))
            fail("map[%zu] = %.17g is outside -1..1", k, map[k]);
        expectSameBits("map", k, map[k], expected.map[k]);
    }
    if (call.outputCount < 2)
        return;

    const standin::OutputMatrix& levelMatrix = *report.outputs[1];
    checkShape(levelMatrix, 1, 1, "the level");
    const double level = levelMatrix.values[0];
    if (!isLevelFraction(level))
        fail("the level %.17g is not a multiple of 1/255 in 0..1", level);
    expectSameBits("level", 0, level, expected.leastContrastLevel);
}

}  // namespace

void checkCallInvariants(PluginKind plugin, const std::string& name, const FuzzCall& call,
                         const standin::CallReport& report)
{
    checkHostContract(plugin, call, report);

    if (!call.expectedRejection.empty()) {
        const std::string identifier = name + ":" + call.expectedRejection;
        if (report.completed)
            fail("the call succeeded, expected the error %s", identifier.c_str());
        if (report.errorIdentifier != identifier)
            fail("error %s (%s), expected %s", report.errorIdentifier.c_str(),
                 report.errorMessage.c_str(), identifier.c_str());
        if (report.errorMessage.compare(0, name.size() + 1, name + " ") != 0)
            fail("the message of %s does not name the function: %s", identifier.c_str(),
                 report.errorMessage.c_str());
        // Rejected before anything was created or read.
        if (report.matricesCreated != 0 || !report.scratch.empty())
            fail("%s came after %d matrices and %zu scratch allocations", identifier.c_str(),
                 report.matricesCreated, report.scratch.size());
        return;
    }

    if (!report.completed)
        fail("unexpected error %s: %s", report.errorIdentifier.c_str(), report.errorMessage.c_str());
    const size_t slots = (size_t)std::max(call.outputCount, 1);
    if (report.outputs.size() != slots)
        fail("%zu output slots reported, expected %zu", report.outputs.size(), slots);
    if (!report.outputs[0])
        fail("no first output");
    const standin::InputMatrix& image = call.inputs[0];
    checkShape(*report.outputs[0], image.dimensions[0], image.dimensions[1], "the map");
    if (call.outputCount >= 2 && !report.outputs[1])
        fail("no second output although two were asked for");

    if (plugin == PluginKind::Absolute)
        checkAbsoluteOutputs(call, report);
    else
        checkSignedOutputs(call, report);
}
