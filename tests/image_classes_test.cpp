// Images of every class both plug-ins take: the outputs of the double call on
// the converted image, bit for bit; the scratch each class takes; the scale
// warnings, exactly where they are meant.
#include <gtest/gtest.h>

#include "case_tables.h"
#include "class_cases.h"
#include "plugins_under_test.h"
#include "reference.h"
#include "scratch_order.h"

using namespace test_support;
using standin::CallReport;

namespace {

standin::MexEntry entryOf(Plugin plugin)
{
    return plugin == Plugin::Vesk ? veskEntry() : vesk2Entry();
}

// Both outputs, their shapes and the warnings of one call equal another's.
void expectSameCall(const CallReport& actual, const CallReport& expected)
{
    ASSERT_EQ(actual.outputs.size(), expected.outputs.size());
    for (size_t slot = 0; slot < expected.outputs.size(); ++slot) {
        SCOPED_TRACE("output " + std::to_string(slot));
        ASSERT_TRUE(actual.outputs[slot] && expected.outputs[slot]);
        EXPECT_EQ(actual.outputs[slot]->rows, expected.outputs[slot]->rows);
        EXPECT_EQ(actual.outputs[slot]->columns, expected.outputs[slot]->columns);
        expectSameBits(actual.outputs[slot]->values, expected.outputs[slot]->values, "values");
    }
    EXPECT_EQ(warningIdentifiers(actual), warningIdentifiers(expected));
}

// The scratch of a call on an image of this class (scratchOrderFaults: the
// bytes of scratchBytesOf; Vesk releases all in the order table, level array,
// histogram, Vesk2 leaves all to the host).
void expectScratchOfClass(Plugin plugin, mxClassID classId, size_t elementCount,
                          const CallReport& report)
{
    EXPECT_EQ(scratchOrderFaults(plugin, classId, elementCount, report), "");
    EXPECT_EQ(report.matricesCreated, 2);
    EXPECT_EQ(standin::heldAllocations(), 0u);
}

size_t elementCountOf(const standin::InputMatrix& image)
{
    return image.dimensions[0] * image.dimensions[1];
}

// The call on the image and the double call on its conversion; callWith
// fails the test on any host-contract fault (a modified input among them).
void checkAgainstDoubleCall(Plugin plugin, const standin::InputMatrix& image)
{
    const standin::InputMatrix converted =
        standin::doubleMatrix(image.dimensions[0], image.dimensions[1],
                              test_support::convertedForDoubleCall(plugin, image));
    const CallReport actual = callCompleted(entryOf(plugin), image);
    const CallReport expected = callCompleted(entryOf(plugin), converted);
    expectSameCall(actual, expected);
    expectScratchOfClass(plugin, image.classId, elementCountOf(image), actual);
}

std::string caseName(const std::string& text)
{
    std::string name;
    for (char c : text)
        if (isalnum((unsigned char)c))
            name += c;
    return name;
}

}  // namespace

class ClassEdgeCases : public ::testing::TestWithParam<std::tuple<Plugin, ClassCase>> {};

TEST_P(ClassEdgeCases, GiveTheDoubleCallOnTheConvertedImage)
{
    checkAgainstDoubleCall(std::get<0>(GetParam()), std::get<1>(GetParam()).image);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ClassEdgeCases,
    ::testing::Combine(::testing::Values(Plugin::Vesk, Plugin::Vesk2),
                       ::testing::ValuesIn(test_support::classEdgeCases())),
    [](const ::testing::TestParamInfo<std::tuple<Plugin, ClassCase>>& param) {
        return std::string(test_support::nameOf(std::get<0>(param.param))) + "_" +
               caseName(std::get<1>(param.param).what);
    });

// Random images of every class against the plain reference on the converted
// image, and against the double call, bit for bit.
TEST(ImageClasses, RandomImagesOfEveryClassMatchTheReference)
{
    for (const ClassCase& c : test_support::randomClassImages(20261211, 240)) {
        for (Plugin plugin : {Plugin::Vesk, Plugin::Vesk2}) {
            SCOPED_TRACE(std::string(test_support::nameOf(plugin)) + " on " + c.what);
            checkAgainstDoubleCall(plugin, c.image);
            const std::vector<double> converted = test_support::convertedForDoubleCall(plugin, c.image);
            const CallReport report = callCompleted(entryOf(plugin), c.image);
            if (plugin == Plugin::Vesk) {
                const reference::AbsoluteContrast expected = reference::absoluteContrast(converted);
                expectSameBits(outputValues(report, 0), expected.map, "map");
                expectSameBits(outputValues(report, 1), expected.distribution, "distribution");
            } else {
                const reference::SignedContrast expected = reference::signedContrast(converted);
                expectSameBits(outputValues(report, 0), expected.map, "map");
                expectSameBits(outputValues(report, 1), {expected.leastContrastLevel}, "level");
            }
        }
    }
}

// Images of every class large enough for the streaming map pass.
TEST(ImageClasses, LargeImagesOfEveryClass)
{
    for (const ClassCase& c : test_support::randomClassImages(20261212, 6)) {
        // The same values, tiled to 1025 x 1024 elements (over 2^19).
        const size_t bytes = test_support::elementBytesOf(c.image.classId);
        const size_t rows = 1025, columns = 1024;
        standin::InputMatrix large = c.image;
        large.dimensions = {rows, columns};
        large.data.resize(rows * columns * bytes);
        for (size_t k = c.image.data.size(); k < large.data.size() && !c.image.data.empty(); ++k)
            large.data[k] = large.data[k % c.image.data.size()];
        for (Plugin plugin : {Plugin::Vesk, Plugin::Vesk2}) {
            SCOPED_TRACE(std::string(test_support::nameOf(plugin)) + " on " + c.what);
            checkAgainstDoubleCall(plugin, large);
        }
    }
}

// The bundled photograph as uint8, and the classes made from it as the
// host's conversions make them.
TEST(ImageClasses, PhotographInEveryClass)
{
    const standin::InputMatrix photo = photograph();
    const size_t rows = photo.dimensions[0], columns = photo.dimensions[1];
    std::vector<uint8_t> bytes, mask;
    std::vector<uint16_t> wide;
    std::vector<int16_t> shifted;
    std::vector<float> intensities;
    for (double level : photo.values) {
        bytes.push_back((uint8_t)level);
        wide.push_back((uint16_t)(level * 257));  // im2uint16
        shifted.push_back((int16_t)(level * 257 - 32768));  // im2int16
        intensities.push_back((float)(level / 255));  // im2single
        mask.push_back(level > 100 ? 1 : 0);
    }
    for (Plugin plugin : {Plugin::Vesk, Plugin::Vesk2}) {
        SCOPED_TRACE(test_support::nameOf(plugin));
        checkAgainstDoubleCall(plugin, standin::numericMatrix(mxUINT8_CLASS, rows, columns, bytes));
        checkAgainstDoubleCall(plugin, standin::numericMatrix(mxUINT16_CLASS, rows, columns, wide));
        checkAgainstDoubleCall(plugin, standin::numericMatrix(mxINT16_CLASS, rows, columns, shifted));
        checkAgainstDoubleCall(plugin,
                               standin::numericMatrix(mxSINGLE_CLASS, rows, columns, intensities));
        checkAgainstDoubleCall(plugin, standin::numericMatrix(mxLOGICAL_CLASS, rows, columns, mask));
    }
    // uint8 as read and the double image Vesk has always taken: the same call.
    const CallReport fromBytes =
        callCompleted(veskEntry(), standin::numericMatrix(mxUINT8_CLASS, rows, columns, bytes));
    expectSameCall(fromBytes, callCompleted(veskEntry(), photo));
}

class ScaleWarnings : public ::testing::TestWithParam<WarningCase> {};

// The warning, or none, and outputs as without it: the reference's on the
// converted image.
TEST_P(ScaleWarnings, GivenExactlyWhereMeant)
{
    const WarningCase& c = GetParam();
    const std::string name = test_support::nameOf(c.plugin);
    const CallReport report = callCompleted(entryOf(c.plugin), c.image);
    const std::string reason = c.reason;
    if (reason.empty()) {
        EXPECT_TRUE(report.warnings.empty()) << report.warnings.front().message;
    } else {
        ASSERT_EQ(warningIdentifiers(report), std::vector<std::string>{name + ":" + reason});
        const std::string& message = report.warnings[0].message;
        const std::string className = test_support::classNameOf(c.image.classId);
        for (const std::string& piece :
             {name + " takes ", "this " + className + " image",
              std::string(c.plugin == Plugin::Vesk ? "Vesk2(img)" : "Vesk2(img / 255)"),
              "To silence this warning: warning('off', '" + name + ":" + reason + "')."})
            EXPECT_NE(message.find(piece), std::string::npos) << message << "\nlacks: " << piece;
    }
    const std::vector<double> values = test_support::convertedForDoubleCall(c.plugin, c.image);
    if (c.plugin == Plugin::Vesk)
        expectSameBits(outputValues(report, 0), reference::absoluteContrast(values).map, "map");
    else
        expectSameBits(outputValues(report, 0), reference::signedContrast(values).map, "map");
}

INSTANTIATE_TEST_SUITE_P(Table, ScaleWarnings, ::testing::ValuesIn(test_support::warningCases()),
                         [](const ::testing::TestParamInfo<WarningCase>& param) {
                             return std::string(test_support::nameOf(param.param.plugin)) + "_" +
                                    caseName(param.param.what);
                         });

// No worked example or edge case of the double calls draws a warning.
TEST(ScaleWarnings, NoneForTheExactCases)
{
    for (const test_support::ExactCase& c : test_support::exactCases()) {
        SCOPED_TRACE(c.what);
        const CallReport report =
            callCompleted(entryOf(c.plugin), standin::doubleMatrix(c.rows, c.columns, c.input));
        EXPECT_TRUE(report.warnings.empty()) << report.warnings.front().message;
    }
}

// The photograph on the wrong scale draws the warning; on the right one not.
TEST(ScaleWarnings, PhotographOnEachScale)
{
    const standin::InputMatrix levels = photograph();
    standin::InputMatrix unit = levels;
    for (double& value : unit.values)
        value /= 255.0;
    const struct {
        Plugin plugin;
        const standin::InputMatrix& image;
        std::vector<std::string> warnings;
    } cases[] = {
        {Plugin::Vesk, levels, {}},
        {Plugin::Vesk, unit, {"Vesk:intensityScale"}},
        {Plugin::Vesk2, unit, {}},
        {Plugin::Vesk2, levels, {"Vesk2:greyLevelScale"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(warningIdentifiers(callCompleted(entryOf(c.plugin), c.image)), c.warnings);
}
