// What both entry points share: the checks of a call and the output slots.
#include <gtest/gtest.h>

#include "plugins_under_test.h"

using namespace testing_support;
using standin::CallReport;
using standin::InputMatrix;

namespace {

struct Plugin {
    const char* name;
    standin::MexEntry (*entry)();
    const char* conversionAdvice;  // what the message says to do with a uint8 image
};

const Plugin kPlugins[] = {{"Vesk", veskEntry, "Vesk(double(img))"},
                           {"Vesk2", vesk2Entry, "Vesk2(double(img) / 255)"}};

void PrintTo(const Plugin& plugin, std::ostream* out)
{
    *out << plugin.name;
}

InputMatrix withFlags(InputMatrix input, bool complex, bool sparse)
{
    input.complex = complex;
    input.sparse = sparse;
    return input;
}

// A rejected call: the identifier after "<plug-in>:" and pieces of the
// message, in which "$" stands for the plug-in's name.
struct Rejection {
    std::string name;
    std::vector<InputMatrix> inputs;
    int outputCount;
    const char* reason;
    std::vector<std::string> gist;
};

void PrintTo(const Rejection& rejection, std::ostream* out)
{
    *out << rejection.name;
}

std::string withName(std::string text, const std::string& name)
{
    for (size_t at = text.find('$'); at != std::string::npos; at = text.find('$', at + name.size()))
        text.replace(at, 1, name);
    return text;
}

std::vector<Rejection> rejections()
{
    const InputMatrix small = standin::doubleMatrix(2, 2, {0.1, 0.2, 0.3, 0.4});
    const InputMatrix rgb = standin::matrixOfClass(mxDOUBLE_CLASS, {4, 4, 3});
    using standin::hugeMatrix;
    using standin::matrixOfClass;
    std::vector<Rejection> cases = {
        {"NoInput", {}, 1, "nargin",
         {"$ takes exactly one input, a greyscale image, but was given 0.", "= $(img)."}},
        {"TwoInputs", {small, small}, 1, "nargin", {"but was given 2."}},
        {"ThreeOutputs", {small}, 3, "nargout",
         {"$ returns at most two outputs", "but 3 were asked for."}},
        {"Uint8FromImread", {matrixOfClass(mxUINT8_CLASS, {4, 4})}, 1, "notDouble",
         {"double(img)"}},
        {"Uint8Rgb", {matrixOfClass(mxUINT8_CLASS, {4, 4, 3})}, 2, "notDouble",
         {"of class uint8."}},
        {"Complex", {withFlags(small, true, false)}, 1, "complex",
         {"$ needs a real matrix, but the image is complex.", "real(img) or abs(img)"}},
        {"ComplexRgb", {withFlags(rgb, true, false)}, 2, "complex", {"is complex."}},
        {"Sparse", {withFlags(small, false, true)}, 1, "sparse",
         {"$ needs a full matrix, but the image is sparse.", "full(img)"}},
        {"SparseComplex", {withFlags(small, true, true)}, 1, "sparse", {"full(img)"}},
        {"RgbImage", {rgb}, 1, "notMatrix",
         {"$ needs a 2-D greyscale image, but the input has 3 dimensions.", "rgb2gray(img)",
          "img(:,:,1)"}},
        {"FourDimensional", {matrixOfClass(mxDOUBLE_CLASS, {2, 2, 1, 2})}, 2, "notMatrix",
         {"has 4 dimensions."}},
        {"EmptyThreeDimensional", {matrixOfClass(mxDOUBLE_CLASS, {0, 4, 3})}, 1, "notMatrix",
         {"3 dimensions"}},
        {"ElementsPast2To31", {hugeMatrix(65536, 32768)}, 1, "tooLarge", {"65536 x 32768"}},
        {"SquarePast2To31", {hugeMatrix(46341, 46341)}, 2, "tooLarge",
         {"$ handles at most 2147483647 elements, but the image is 46341 x 46341.",
          "Process it in tiles"}},
        {"RowsOf2To31", {hugeMatrix(2147483648u, 1)}, 1, "tooLarge", {"tiles"}},
        {"RowsOf2To32", {hugeMatrix(4294967296u, 1)}, 2, "tooLarge", {"4294967296 x 1."}},
        // Only the low 32 bits of 2^32 + 1 would read as 1.
        {"RowsWhoseLow32BitsAreSmall", {hugeMatrix(4294967297u, 1)}, 1, "tooLarge",
         {"4294967297 x 1"}},
        {"EmptyWithColumnsOf2To32", {hugeMatrix(0, 4294967296u)}, 1, "tooLarge",
         {"0 x 4294967296"}},
    };
    const struct {
        mxClassID classId;
        const char* name;
        const char* caseName;
    } classes[] = {
        {mxUINT16_CLASS, "uint16", "Uint16"},   {mxINT16_CLASS, "int16", "Int16"},
        {mxINT32_CLASS, "int32", "Int32"},      {mxSINGLE_CLASS, "single", "Single"},
        {mxLOGICAL_CLASS, "logical", "Logical"}, {mxCHAR_CLASS, "char", "Char"},
        {mxCELL_CLASS, "cell", "Cell"},         {mxSTRUCT_CLASS, "struct", "Struct"},
        {mxFUNCTION_CLASS, "function_handle", "FunctionHandle"},
    };
    for (const auto& c : classes)
        cases.push_back({c.caseName, {matrixOfClass(c.classId, {2, 3})}, 1, "notDouble",
                         {std::string("$ needs a real double matrix, but the image is of class ") +
                          c.name + "."}});
    return cases;
}

}  // namespace

class GatewayRejects : public ::testing::TestWithParam<std::tuple<Plugin, Rejection>> {};

// Every rejection names what was wrong and what to pass instead, before any
// output or scratch exists and without reading the data (huge shapes report
// their dimensions over a 16-byte buffer).
TEST_P(GatewayRejects, WithIdentifierAndAdvice)
{
    const Plugin& plugin = std::get<0>(GetParam());
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
    [](const ::testing::TestParamInfo<std::tuple<Plugin, Rejection>>& param) {
        return std::string(std::get<0>(param.param).name) + "_" + std::get<1>(param.param).name;
    });

class Gateway : public ::testing::TestWithParam<Plugin> {};

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

TEST_P(Gateway, Uint8AdviceNamesTheConversion)
{
    const CallReport report =
        standin::callEntry(GetParam().entry(), {standin::matrixOfClass(mxUINT8_CLASS, {2, 2})});
    EXPECT_NE(report.errorMessage.find(GetParam().conversionAdvice), std::string::npos)
        << report.errorMessage;
}

// After a rejected call the next one is unaffected.
TEST_P(Gateway, CallAfterAnErrorIsCorrect)
{
    const InputMatrix input = standin::doubleMatrix(2, 2, {0, 0.5, 1, 0.25});
    const CallReport before = callWith(GetParam().entry(), input);
    const CallReport rejected =
        standin::callEntry(GetParam().entry(), {standin::matrixOfClass(mxUINT8_CLASS, {2, 2})});
    EXPECT_FALSE(rejected.completed);
    const CallReport after = callWith(GetParam().entry(), input);
    ASSERT_TRUE(before.completed && after.completed);
    EXPECT_EQ(before.outputs[0]->values, after.outputs[0]->values);
    EXPECT_EQ(before.outputs[1]->values, after.outputs[1]->values);
    EXPECT_EQ(standin::heldAllocations(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Plugins, Gateway, ::testing::ValuesIn(kPlugins),
                         [](const ::testing::TestParamInfo<Plugin>& param) {
                             return std::string(param.param.name);
                         });
