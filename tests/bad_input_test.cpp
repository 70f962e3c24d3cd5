// What bad input gets, for both plug-ins, case by case as the README's table
// lists it: the error identifier and the gist of the message for every call a
// plug-in refuses, and the level a value outside the domain counts as.
#include <math.h>
#include <stdint.h>

#include <gtest/gtest.h>

#include "plugins_under_test.h"

using namespace testing_support;

namespace {

struct Plugin {
    std::string name;
    standin::MexEntry (*entry)();
    bool unitIntensities;  // Vesk2 takes 0..1
};

const Plugin kPlugins[] = {{"Vesk", veskEntry, false}, {"Vesk2", vesk2Entry, true}};

standin::InputMatrix withFlags(standin::InputMatrix input, bool complex, bool sparse)
{
    input.complex = complex;
    input.sparse = sparse;
    return input;
}

struct RejectionCase {
    const char* what;
    std::vector<standin::InputMatrix> inputs;
    int outputCount;
    const char* reason;  // the identifier is <plug-in>:<reason>
    // Fragments of the message; "$" stands for the plug-in's name.
    std::vector<std::string> gist;
};

std::string withName(std::string text, const std::string& name)
{
    for (size_t at = text.find('$'); at != std::string::npos; at = text.find('$', at + name.size()))
        text.replace(at, 1, name);
    return text;
}

std::vector<RejectionCase> rejectionCases()
{
    const standin::InputMatrix image = standin::doubleMatrix(2, 2, {1, 2, 3, 4});
    std::vector<RejectionCase> cases = {
        {"no input", {}, 1, "nargin",
         {"$ takes exactly one input, a greyscale image, but was given 0.", "= $(img)."}},
        {"two inputs", {image, image}, 1, "nargin", {"but was given 2."}},
        {"three outputs", {image}, 3, "nargout",
         {"$ returns at most two outputs", "but 3 were asked for."}},
        {"complex", {withFlags(image, true, false)}, 2, "complex",
         {"$ needs a real matrix, but the image is complex.", "real(img) or abs(img)"}},
        {"sparse", {withFlags(image, false, true)}, 2, "sparse",
         {"$ needs a full matrix, but the image is sparse.", "full(img)"}},
        {"sparse and complex", {withFlags(image, true, true)}, 2, "sparse", {"is sparse."}},
        {"RGB image 4 x 4 x 3", {standin::matrixOfClass(mxDOUBLE_CLASS, {4, 4, 3})}, 2,
         "notMatrix",
         {"$ needs a 2-D greyscale image, but the input has 3 dimensions.", "rgb2gray(img)",
          "img(:,:,1)"}},
        {"4-D 2 x 2 x 1 x 2", {standin::matrixOfClass(mxDOUBLE_CLASS, {2, 2, 1, 2})}, 2,
         "notMatrix", {"has 4 dimensions."}},
        {"complex RGB", {withFlags(standin::matrixOfClass(mxDOUBLE_CLASS, {4, 4, 3}), true, false)},
         2, "complex", {"is complex."}},
        {"46341 x 46341 (2147488281 elements)", {standin::hugeMatrix(46341, 46341)}, 2, "tooLarge",
         {"$ handles at most 2147483647 elements, but the image is 46341 x 46341.",
          "Process it in tiles"}},
        {"2^32 x 1", {standin::hugeMatrix(UINT64_C(1) << 32, 1)}, 2, "tooLarge",
         {"the image is 4294967296 x 1."}},
    };
    const struct {
        mxClassID classId;
        const char* name;
    } classes[] = {
        {mxUINT8_CLASS, "uint8"},   {mxUINT16_CLASS, "uint16"}, {mxINT16_CLASS, "int16"},
        {mxINT32_CLASS, "int32"},   {mxSINGLE_CLASS, "single"}, {mxLOGICAL_CLASS, "logical"},
        {mxCHAR_CLASS, "char"},     {mxCELL_CLASS, "cell"},     {mxSTRUCT_CLASS, "struct"},
        {mxFUNCTION_CLASS, "function_handle"},
    };
    for (const auto& c : classes)
        cases.push_back({c.name, {standin::matrixOfClass(c.classId, {2, 3})}, 2, "notDouble",
                         {std::string("$ needs a real double matrix, but the image is of class ") +
                          c.name + "."}});
    cases.push_back({"uint8 RGB image", {standin::matrixOfClass(mxUINT8_CLASS, {4, 4, 3})}, 2,
                     "notDouble", {"of class uint8."}});
    return cases;
}

}  // namespace

TEST(BadInput, EveryRefusedCallGetsItsIdentifierAndAMessageSayingWhatToPass)
{
    for (const Plugin& plugin : kPlugins) {
        for (const RejectionCase& c : rejectionCases()) {
            SCOPED_TRACE(plugin.name + ", " + c.what);
            standin::CallOptions options;
            options.outputCount = c.outputCount;
            const standin::CallReport report = standin::callEntry(plugin.entry(), c.inputs, options);
            for (const std::string& fault : report.faults)
                ADD_FAILURE() << "host contract broken: " << fault;
            EXPECT_FALSE(report.completed);
            EXPECT_EQ(report.errorIdentifier, plugin.name + ":" + c.reason);
            for (const std::string& fragment : c.gist)
                EXPECT_NE(report.errorMessage.find(withName(fragment, plugin.name)), std::string::npos)
                    << "message: " << report.errorMessage;
            EXPECT_EQ(report.matricesCreated, 0) << "refused after creating outputs";
            EXPECT_TRUE(report.scratch.empty()) << "refused after allocating scratch";
            EXPECT_EQ(standin::heldAllocations(), 0u);
        }
    }
}

TEST(BadInput, NonDoubleAdviceNamesTheConversion)
{
    const standin::InputMatrix uint8Image = standin::matrixOfClass(mxUINT8_CLASS, {2, 2});
    EXPECT_NE(callWith(veskEntry(), uint8Image).errorMessage.find("Vesk(double(img))"),
              std::string::npos);
    EXPECT_NE(callWith(vesk2Entry(), uint8Image).errorMessage.find("Vesk2(double(img) / 255)"),
              std::string::npos);
}

// A value outside the domain is no error: it counts as a level, and the whole
// result is the one that level gives.
TEST(BadInput, ValuesOutsideTheDomainCountAsTheirClampedLevel)
{
    const double kTwo31 = 2147483648.0;
    const struct {
        double value;
        int level;
    } veskCases[] = {
        {NAN, 0},        {-NAN, 0},      {INFINITY, 0},          {-INFINITY, 0},
        {-1.0, 0},       {-0.5, 0},      {-0.0, 0},              {4.9e-324, 0},
        {10.9, 10},      {255.99, 255},  {256.0, 255},           {1e300, 0},    
        {kTwo31 - 1, 255}, {kTwo31 - 0.5, 255}, {kTwo31, 0},     {-kTwo31 - 1, 0},
    };
    const struct {
        double value;
        int level;
    } vesk2Cases[] = {
        {NAN, 0},     {INFINITY, 0}, {-INFINITY, 0}, {-0.2, 0},  {-0.0, 0},
        {0.999, 254}, {1.5, 255},    {8e6, 255},     {8.5e6, 0}, {1e10, 0},
        {kTwo31 / 255.0 * 2, 0},
    };
    auto expectSameResult = [](standin::MexEntry entry, double value, double levelValue,
                               double other1, double other2) {
        const standin::CallReport actual =
            callWith(entry, standin::doubleMatrix(1, 3, {value, other1, other2}));
        const standin::CallReport expected =
            callWith(entry, standin::doubleMatrix(1, 3, {levelValue, other1, other2}));
        ASSERT_TRUE(actual.completed) << actual.errorMessage;
        ASSERT_TRUE(expected.completed);
        for (size_t slot = 0; slot < 2; ++slot)
            for (size_t k = 0; k < expected.outputs[slot]->values.size(); ++k)
                EXPECT_EQ(bitsOf(actual.outputs[slot]->values[k]),
                          bitsOf(expected.outputs[slot]->values[k]))
                    << "output " << slot << " element " << k;
    };
    for (const auto& c : veskCases) {
        SCOPED_TRACE("Vesk value " + std::to_string(c.value));
        expectSameResult(veskEntry(), c.value, c.level, 7.0, 200.0);
    }
    for (const auto& c : vesk2Cases) {
        SCOPED_TRACE("Vesk2 value " + std::to_string(c.value));
        expectSameResult(vesk2Entry(), c.value, c.level / 255.0, 7.0 / 255.0, 200.0 / 255.0);
    }
}

TEST(BadInput, EmptyImagesGiveEmptyMapsAndZeroSecondOutputs)
{
    for (const Plugin& plugin : kPlugins) {
        for (const auto& shape : {std::make_pair(0, 0), std::make_pair(0, 5), std::make_pair(3, 0)}) {
            SCOPED_TRACE(plugin.name + " " + std::to_string(shape.first) + " x " +
                         std::to_string(shape.second));
            const standin::CallReport report =
                callWith(plugin.entry(), standin::doubleMatrix(shape.first, shape.second, {}));
            ASSERT_TRUE(report.completed) << report.errorMessage;
            EXPECT_EQ(report.outputs[0]->rows, (size_t)shape.first);
            EXPECT_EQ(report.outputs[0]->columns, (size_t)shape.second);
            for (double value : report.outputs[1]->values)
                EXPECT_EQ(bitsOf(value), bitsOf(0.0));
        }
    }
}
