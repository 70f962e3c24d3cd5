#include "call_invariants.h"

#include <math.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "class_cases.h"
#include "same_bits.h"
#include "reference.h"
#include "scratch_order.h"

using namespace test_support;

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

test_support::Plugin pluginOf(PluginKind plugin)
{
    return plugin == PluginKind::Absolute ? test_support::Plugin::Vesk : test_support::Plugin::Vesk2;
}

// The doubles of the double call the plug-in's call must equal: the image
// converted by the documented rule of its class.
std::vector<double> convertedValues(PluginKind plugin, const FuzzCall& call)
{
    return test_support::convertedForDoubleCall(pluginOf(plugin), call.inputs[0]);
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

    // Table, histogram, and the level array where the image's class has one.
    // Vesk releases table, level array, histogram in that order; Vesk2 leaves
    // all to the host.
    const standin::InputMatrix& image = call.inputs[0];
    const std::string scratchFaults = scratchOrderFaults(
        pluginOf(plugin), image.classId, convertedValues(plugin, call).size(), report);
    if (!scratchFaults.empty())
        fail("scratch: %s", scratchFaults.c_str());
}

// The scale warning a call must give, decided from the values themselves:
// Vesk's for a floating-point image of intensities (every value in 0..1, some
// strictly between), Vesk2's for one of grey levels (every value a finite
// whole number, some above 1, some at level 255).
std::string expectedWarning(PluginKind plugin, const std::string& name, const FuzzCall& call)
{
    const mxClassID classId = call.inputs[0].classId;
    if (classId != mxDOUBLE_CLASS && classId != mxSINGLE_CLASS)
        return "";
    const std::vector<double> values = convertedValues(plugin, call);
    bool all = true, some = false, atTop = false;
    for (double value : values) {
        if (plugin == PluginKind::Absolute) {
            all = all && value >= 0.0 && value <= 1.0;
            some = some || (value > 0.0 && value < 1.0);
        } else {
            all = all && isfinite(value) && trunc(value) == value;
            some = some || value > 1.0;
            atTop = atTop || reference::unitLevelOf(value) == 255;
        }
    }
    const bool warn = all && some && (plugin == PluginKind::Absolute || atTop);
    return !warn ? "" : name + (plugin == PluginKind::Absolute ? ":intensityScale" : ":greyLevelScale");
}

void checkWarnings(PluginKind plugin, const std::string& name, const FuzzCall& call,
                   const standin::CallReport& report)
{
    const std::string expected = expectedWarning(plugin, name, call);
    if (report.warnings.size() != (expected.empty() ? 0u : 1u))
        fail("%zu warnings, expected %s", report.warnings.size(),
             expected.empty() ? "none" : expected.c_str());
    if (!expected.empty() && report.warnings[0].identifier != expected)
        fail("warning %s, expected %s", report.warnings[0].identifier.c_str(), expected.c_str());
}

void checkShape(const standin::OutputMatrix& output, size_t rows, size_t columns, const char* what)
{
    if (output.rows != rows || output.columns != columns || output.classId != mxDOUBLE_CLASS ||
        output.complex || output.values.size() != rows * columns)
        fail("%s is %zu x %zu (class %d, complex %d), expected a real double %zu x %zu", what,
             output.rows, output.columns, (int)output.classId, (int)output.complex, rows, columns);
}

// Every element of the map in low..1 and with the reference's bits.
void checkMap(const std::vector<double>& map, const std::vector<double>& expected, double low)
{
    for (size_t k = 0; k < map.size(); ++k) {
        if (!(map[k] >= low && map[k] <= 1.0))
            fail("map[%zu] = %.17g is outside %g..1", k, map[k], low);
        expectSameBits("map", k, map[k], expected[k]);
    }
}

void checkAbsoluteOutputs(const FuzzCall& call, const std::vector<double>& values,
                          const standin::CallReport& report)
{
    const reference::AbsoluteContrast expected = reference::absoluteContrast(values);
    const std::vector<double>& map = report.outputs[0]->values;
    checkMap(map, expected.map, 0.0);
    if (call.outputCount < 2)
        return;

    const standin::OutputMatrix& distributionMatrix = *report.outputs[1];
    checkShape(distributionMatrix, 101, 1, "the distribution");
    const std::vector<double>& distribution = distributionMatrix.values;
    for (size_t b = 0; b <= 100; ++b)
        expectSameBits("distribution", b, distribution[b], expected.distribution[b]);
    if (!isLevelFraction(distribution[100]))
        fail("distribution[100] = %.17g is not a level / 255", distribution[100]);

    // The buckets add up: with two or more levels, to n less the elements at
    // the maximum (which map to exactly 1.0); with one level, all in bucket 0.
    int levelCounts[256] = {};
    for (double value : values)
        ++levelCounts[reference::levelOf(value)];
    const int distinctLevels = (int)std::count_if(levelCounts, levelCounts + 256,
                                                  [](int count) { return count != 0; });
    double bucketSum = 0.0;
    for (size_t b = 0; b < 100; ++b) {
        if (!(distribution[b] >= 0.0) || distribution[b] != floor(distribution[b]))
            fail("distribution[%zu] = %.17g is not a count", b, distribution[b]);
        bucketSum += distribution[b];
    }
    const double n = (double)values.size();
    if (distinctLevels >= 2) {
        const double atMaximum = (double)std::count(map.begin(), map.end(), 1.0);
        if (bucketSum != n - atMaximum)
            fail("buckets add up to %.17g, expected %.17g - %.17g", bucketSum, n, atMaximum);
    } else if (distinctLevels == 1 && distribution[0] != n) {
        fail("one level: distribution[0] = %.17g, expected %.17g", distribution[0], n);
    }
}

void checkSignedOutputs(const FuzzCall& call, const std::vector<double>& values,
                        const standin::CallReport& report)
{
    const reference::SignedContrast expected = reference::signedContrast(values);
    checkMap(report.outputs[0]->values, expected.map, -1.0);
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
        if (report.matricesCreated != 0 || !report.scratch.empty() || !report.warnings.empty())
            fail("%s came after %d matrices, %zu scratch allocations and %zu warnings",
                 identifier.c_str(), report.matricesCreated, report.scratch.size(),
                 report.warnings.size());
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

    checkWarnings(plugin, name, call, report);
    const std::vector<double> values = convertedValues(plugin, call);
    if (plugin == PluginKind::Absolute)
        checkAbsoluteOutputs(call, values, report);
    else
        checkSignedOutputs(call, values, report);
}

bool needsDoubleCall(const FuzzCall& call, const standin::CallReport& report)
{
    return report.completed && call.inputs[0].classId != mxDOUBLE_CLASS;
}

standin::InputMatrix convertedImage(PluginKind plugin, const FuzzCall& call)
{
    const standin::InputMatrix& image = call.inputs[0];
    return standin::doubleMatrix(image.dimensions[0], image.dimensions[1],
                                 convertedValues(plugin, call));
}

void checkSameAsDoubleCall(const standin::CallReport& report,
                           const standin::CallReport& doubleReport)
{
    if (!doubleReport.completed)
        fail("the double call on the converted image failed: %s",
             doubleReport.errorMessage.c_str());
    if (report.outputs.size() != doubleReport.outputs.size())
        fail("%zu outputs, the double call gives %zu", report.outputs.size(),
             doubleReport.outputs.size());
    for (size_t slot = 0; slot < report.outputs.size(); ++slot) {
        if (!report.outputs[slot] || !doubleReport.outputs[slot])
            continue;  // slot presence is checked by checkCallInvariants
        const std::vector<double>& values = report.outputs[slot]->values;
        const std::vector<double>& expected = doubleReport.outputs[slot]->values;
        if (values.size() != expected.size())
            fail("output %zu has %zu elements, the double call's %zu", slot, values.size(),
                 expected.size());
        for (size_t k = 0; k < values.size(); ++k)
            expectSameBits(slot == 0 ? "map, against the double call"
                                     : "second output, against the double call",
                           k, values[k], expected[k]);
    }
    if (report.warnings.size() != doubleReport.warnings.size())
        fail("%zu warnings, the double call gives %zu", report.warnings.size(),
             doubleReport.warnings.size());
}
