// What both entry points share: the checks of a call and the output slots.
#include <gtest/gtest.h>

#include "case_tables.h"
#include "plugins_under_test.h"

using namespace test_support;
using standin::CallReport;
using standin::InputMatrix;

namespace {

struct PluginUnderTest {
    const char* name;
    standin::MexEntry (*entry)();
    // The conversion the refusal of each refused integer class
    // (refusedIntegerClasses()) gives: the class's whole range onto grey
    // levels 0..255 (Vesk) or intensities 0..1 (Vesk2).
    const char* RefusedIntegerClass::*advice;
};

const PluginUnderTest kPlugins[] = {
    {"Vesk", veskEntry, &RefusedIntegerClass::veskAdvice},
    {"Vesk2", vesk2Entry, &RefusedIntegerClass::vesk2Advice},
};

void PrintTo(const PluginUnderTest& plugin, std::ostream* out)
{
    *out << plugin.name;
}

}  // namespace

class GatewayRejects : public ::testing::TestWithParam<std::tuple<PluginUnderTest, Rejection>> {};

// Every rejection names what was wrong and what to pass instead, before any
// output or scratch exists and without reading the data (huge shapes report
// their dimensions over a 16-byte buffer).
TEST_P(GatewayRejects, WithIdentifierAndAdvice)
{
    const PluginUnderTest& plugin = std::get<0>(GetParam());
    const Rejection& r = std::get<1>(GetParam());
    standin::CallOptions options;
    options.outputCount = r.outputCount;
    const CallReport report = standin::callEntry(plugin.entry(), r.inputs, options);
    EXPECT_FALSE(report.completed);
    EXPECT_EQ(report.errorIdentifier, std::string(plugin.name) + ":" + r.reason);
    for (const std::string& fragment : r.gist)
        EXPECT_NE(report.errorMessage.find(withName(fragment, plugin.name)), std::string::npos)
            << report.errorMessage;
    EXPECT_EQ(report.errorMessage.find(std::string(plugin.name) + " "), 0u)
        << report.errorMessage;
    EXPECT_TRUE(report.scratch.empty());
    EXPECT_EQ(report.matricesCreated, 0);
    EXPECT_TRUE(report.faults.empty()) << report.faults.front();
    EXPECT_EQ(standin::heldAllocations(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GatewayRejects,
    ::testing::Combine(::testing::ValuesIn(kPlugins), ::testing::ValuesIn(rejections())),
    [](const ::testing::TestParamInfo<std::tuple<PluginUnderTest, Rejection>>& param) {
        return std::string(std::get<0>(param.param).name) + "_" + std::get<1>(param.param).what;
    });

class Gateway : public ::testing::TestWithParam<PluginUnderTest> {};

// `map = Vesk(img)` and a bare `Vesk(img)`: the host provides one slot; the
// second output is created all the same and reclaimed by the host.
TEST_P(Gateway, FewerOutputsFillOnlyTheSlotsThatExist)
{
    const InputMatrix input = standin::doubleMatrix(1, 5, {0, 0, 0, 2 / 255.0, 3});
    const CallReport full = callWith(GetParam().entry(), input, 2);
    ASSERT_TRUE(full.completed);
    ASSERT_EQ(full.outputs.size(), 2u);
    for (int outputCount : {0, 1}) {
        SCOPED_TRACE(outputCount);
        const CallReport report = callWith(GetParam().entry(), input, outputCount);
        ASSERT_TRUE(report.completed);
        ASSERT_EQ(report.outputs.size(), 1u);
        ASSERT_TRUE(report.outputs[0].has_value());
        EXPECT_EQ(report.outputs[0]->values.size(), 5u);
        for (size_t k = 0; k < 5; ++k)
            EXPECT_EQ(bitsOf(report.outputs[0]->values[k]), bitsOf(full.outputs[0]->values[k]));
        EXPECT_EQ(report.matricesCreated, 2);
        EXPECT_EQ(report.matricesReclaimed, 1);
        EXPECT_EQ(standin::heldAllocations(), 0u);
    }
}

TEST_P(Gateway, IntegerClassAdviceMapsTheClassRangeOntoThePluginsOwn)
{
    for (const RefusedIntegerClass& refused : refusedIntegerClasses()) {
        const char* conversion = refused.*GetParam().advice;
        const CallReport report = standin::callEntry(
            GetParam().entry(), {standin::matrixOfClass(refused.classId, {2, 2})});
        EXPECT_EQ(report.errorIdentifier, std::string(GetParam().name) + ":unsupportedClass");
        EXPECT_NE(report.errorMessage.find(conversion), std::string::npos)
            << report.errorMessage;
    }
}

// After a rejected call the next one is unaffected.
TEST_P(Gateway, CallAfterAnErrorIsCorrect)
{
    const InputMatrix input = standin::doubleMatrix(2, 2, {0, 0.5, 1, 0.25});
    const CallReport before = callWith(GetParam().entry(), input);
    const InputMatrix refused = standin::matrixOfClass(refusedIntegerClasses().front().classId, {2, 2});
    const CallReport rejected = standin::callEntry(GetParam().entry(), {refused});
    EXPECT_FALSE(rejected.completed);
    const CallReport after = callWith(GetParam().entry(), input);
    ASSERT_TRUE(before.completed && after.completed);
    EXPECT_EQ(before.outputs[0]->values, after.outputs[0]->values);
    EXPECT_EQ(before.outputs[1]->values, after.outputs[1]->values);
    EXPECT_EQ(standin::heldAllocations(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Plugins, Gateway, ::testing::ValuesIn(kPlugins),
                         [](const ::testing::TestParamInfo<PluginUnderTest>& param) {
                             return std::string(param.param.name);
                         });
