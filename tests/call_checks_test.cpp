// The host-neutral checks both gateways (MEX and Octave-native) run: every
// refusal's identifier and its message, and the scale warnings' texts, word
// for word and digit for digit as the printf formats the MEX gateway used
// before the checks were shared would have written them.
#include <stdio.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "call_checks.h"
#include "case_tables.h"
#include "vesk_function.h"

using namespace vesk;

namespace {

// Vesk's own rules, as its gateways pass them.
const CallRules& kRules = kVeskFunction.rules;

// ArgumentClass follows the order of MATLAB's class identifiers.
ArgumentClass argumentClassOf(mxClassID classId)
{
    static_assert((int)ArgumentClass::Int8 == (int)mxINT8_CLASS &&
                      (int)ArgumentClass::Uint64 == (int)mxUINT64_CLASS &&
                      (int)ArgumentClass::Function == (int)mxFUNCTION_CLASS,
                  "ArgumentClass in the order of mxClassID");
    return (ArgumentClass)classId;
}

// One real, full, 2-D double matrix of rows x columns, asked for two outputs.
CallDescription valid(double rows, double columns)
{
    return {1, 2, ArgumentClass::Double, "double", false, false, 2.0, rows, columns};
}

CallDescription ofClass(ArgumentClass argumentClass, const char* className, double dimensions = 2)
{
    CallDescription call = valid(4, 4);
    call.imageClass = argumentClass;
    call.className = className;
    call.dimensionCount = dimensions;
    return call;
}

template <typename... Arguments>
std::string printed(const char* format, Arguments... arguments)
{
    std::vector<char> text(4096);
    snprintf(text.data(), text.size(), format, arguments...);
    return text.data();
}

struct Case {
    std::string what;
    CallDescription call;
    const char* reason;
    std::string message;
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.what;
}

CallDescription with(CallDescription call, void (*change)(CallDescription&))
{
    change(call);
    return call;
}

std::string inputCountMessage(int count)
{
    return printed("%s takes exactly one input, a greyscale image, but was given %d. "
                   "Call it as %s = %s(img).",
                   "Vesk", count, "[map, dist]", "Vesk");
}

std::string sizeMessage(double rows, double columns)
{
    return printed("%s handles at most 2147483647 (2^31 - 1) elements, each dimension below "
                   "2^31, but the image is %.0f x %.0f. Pass a smaller image, or process it in "
                   "tiles of fewer elements: each tile then gets its own contrast map, computed "
                   "from that tile alone, not the whole image's.",
                   "Vesk", rows, columns);
}

std::string dimensionsMessage(double count, const char* leadIn = "Convert a colour image to grey first, for example",
                              const char* toGrey = "rgb2gray(img)")
{
    return printed("%s needs a 2-D greyscale image, but the input has %.0f dimensions. "
                   "%s %s(%s), or pass one channel, %s(img(:,:,1)).",
                   "Vesk", count, leadIn, "Vesk", toGrey, "Vesk");
}

std::string integerClassMessage(const char* className, const char* conversion, bool colour)
{
    return printed("%s takes images of class %s, "
                   "but the image is of class %s. Convert it to %s first: %s maps the whole "
                   "%s range onto them, or %s(double(img)) if its values already are %s.%s",
                   "Vesk", test_support::kAcceptedClassesSentence, className, kRules.domain,
                   conversion, className, "Vesk", kRules.domain,
                   colour ? " It also has more than two dimensions: pass one channel, "
                            "img(:,:,1), or convert a colour image to grey after converting "
                            "its class."
                          : "");
}

std::string otherClassMessage(const char* className)
{
    return printed("%s needs a numeric image matrix, but the input is of class %s. "
                   "Pass the image itself, for example %s(imread(filename)) for a "
                   "greyscale image file.",
                   "Vesk", className, "Vesk");
}

std::string objectMessage(const char* className)
{
    return printed("%s needs a numeric image matrix, but the input is an object of class %s "
                   "(or another value that is no numeric or logical array). Pass the numeric "
                   "image itself, for example %s(double(obj)) where its class defines double, "
                   "or %s(imread(filename)) for a greyscale image file.",
                   "Vesk", className, "Vesk", "Vesk");
}

std::vector<Case> cases()
{
    const double twoTo31 = 2147483648.0, twoTo64 = 18446744073709551616.0;
    const double largestDouble = 1.7976931348623157e308;
    std::vector<Case> cases = {
        {"NoInput", {0, 1, ArgumentClass::Unknown, "", false, false, 0, 0, 0}, "nargin",
         inputCountMessage(0)},
        {"TwoInputs", with(valid(2, 2), [](CallDescription& c) { c.inputCount = 2; }), "nargin",
         inputCountMessage(2)},
        {"NegativeInputs",
         with(valid(2, 2), [](CallDescription& c) { c.inputCount = -2147483647 - 1; }), "nargin",
         inputCountMessage(-2147483647 - 1)},
        {"ThreeOutputs", with(valid(2, 2), [](CallDescription& c) { c.outputCount = 3; }),
         "nargout",
         printed("%s returns at most two outputs, %s, but %d were asked for.", "Vesk",
                 "[map, dist]", 3)},
        {"ManyOutputs", with(valid(2, 2), [](CallDescription& c) { c.outputCount = 2147483647; }),
         "nargout",
         printed("%s returns at most two outputs, %s, but %d were asked for.", "Vesk",
                 "[map, dist]", 2147483647)},
        {"Char", ofClass(ArgumentClass::Char, "char"), "unsupportedClass", otherClassMessage("char")},
        {"Cell", ofClass(ArgumentClass::Cell, "cell", 3), "unsupportedClass",
         otherClassMessage("cell")},
        {"Object", ofClass(ArgumentClass::Unknown, "containers.Map"), "unsupportedClass",
         objectMessage("containers.Map")},
        {"ObjectNamedUint8", ofClass(confirmedClass(ArgumentClass::Uint8, false), "uint8"),
         "unsupportedClass", objectMessage("uint8")},
        {"SparseComplex", with(valid(2, 2), [](CallDescription& c) { c.sparse = c.complex = true; }),
         "sparse",
         printed("%s needs a full matrix, but the image is sparse. Pass full(img) instead.", "Vesk")},
        {"Complex", with(valid(2, 2), [](CallDescription& c) { c.complex = true; }), "complex",
         printed("%s needs a real matrix, but the image is complex. "
                 "Pass real(img) or abs(img) instead.",
                 "Vesk")},
        {"ThreeDimensions", ofClass(ArgumentClass::Double, "double", 3), "notMatrix",
         dimensionsMessage(3)},
        {"Uint8Colour", ofClass(ArgumentClass::Uint8, "uint8", 3), "notMatrix", dimensionsMessage(3)},
        {"Int16Colour", ofClass(ArgumentClass::Int16, "int16", 3), "notMatrix",
         dimensionsMessage(3, "Convert a colour image to grey first, for example",
                           "rgb2gray(im2uint16(img))")},
        {"LogicalColour", ofClass(ArgumentClass::Logical, "logical", 4), "notMatrix",
         dimensionsMessage(4, "For a binary colour image pass", "any(img, 3)")},
        {"TwoTo64Dimensions", ofClass(ArgumentClass::Single, "single", twoTo64), "notMatrix",
         dimensionsMessage(twoTo64)},
        {"RowsOf2To31", valid(twoTo31, 0), "tooLarge", sizeMessage(twoTo31, 0)},
        {"ProductPast2To31", valid(46341, 46341), "tooLarge", sizeMessage(46341, 46341)},
        {"RowsOf2To53", valid(9007199254740992.0, 1), "tooLarge", sizeMessage(9007199254740992.0, 1)},
        {"ColumnsOf2To63", valid(0, 9223372036854775808.0), "tooLarge",
         sizeMessage(0, 9223372036854775808.0)},
        {"RowsOf2To64", valid(twoTo64, 3), "tooLarge", sizeMessage(twoTo64, 3)},
        {"ColumnsBeyond2To64", valid(1, 3.0 * 1099511627776.0 * twoTo64), "tooLarge",
         sizeMessage(1, 3.0 * 1099511627776.0 * twoTo64)},
        {"LargestDouble", valid(largestDouble, largestDouble), "tooLarge",
         sizeMessage(largestDouble, largestDouble)},
    };
    // Every refused integer class, alone and in colour (3 and 4 dimensions),
    // with the advice written in the test tables.
    for (const test_support::RefusedIntegerClass& refused : test_support::refusedIntegerClasses()) {
        const ArgumentClass argumentClass = argumentClassOf(refused.classId);
        const char* name = refused.name;
        cases.push_back({refused.caseName, ofClass(argumentClass, name), "unsupportedClass",
                         integerClassMessage(name, refused.veskAdvice, false)});
        for (double dimensions : {3, 4})
            cases.push_back({std::string(refused.caseName) + "Colour" +
                                 (dimensions == 4 ? "4D" : ""),
                             ofClass(argumentClass, name, dimensions), "unsupportedClass",
                             integerClassMessage(name, refused.veskAdvice, true)});
    }
    return cases;
}

}  // namespace

class CallChecks : public ::testing::TestWithParam<Case> {};

TEST_P(CallChecks, RefuseWithTheMessageOfTheMexGateway)
{
    ImageClass imageClass;
    CallMessage refusal;
    ASSERT_TRUE(refuseCall(kRules, GetParam().call, &imageClass, &refusal));
    EXPECT_EQ(std::string(refusal.identifier), std::string("Vesk:") + GetParam().reason);
    EXPECT_EQ(std::string(refusal.message), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Refusals, CallChecks, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             return std::string(param.param.what);
                         });

TEST(CallChecks, AcceptEveryImageClassTheLargestImagesAndUpToTwoOutputs)
{
    ImageClass imageClass;
    CallMessage refusal;
    const double most = 2147483647.0;
    for (const CallDescription& call :
         {valid(most, 1), valid(1, most), valid(0, most), valid(0, 0), valid(46340, 46340)})
        EXPECT_FALSE(refuseCall(kRules, call, &imageClass, &refusal)) << refusal.message;
    for (int outputs : {-1, 0, 1, 2}) {
        CallDescription call = valid(3, 4);
        call.outputCount = outputs;
        EXPECT_FALSE(refuseCall(kRules, call, &imageClass, &refusal)) << refusal.message;
    }
    // Every class of the table, by its host class.
    const struct {
        ArgumentClass argumentClass;
        ImageClass imageClass;
    } accepted[] = {
#define VESK_ACCEPTED(Enum, name, Element, levelBytes, hostClass, ...) \
    {argumentClassOf(hostClass), ImageClass::Enum},
        VESK_IMAGE_CLASSES(VESK_ACCEPTED)
#undef VESK_ACCEPTED
    };
    for (const auto& a : accepted) {
        EXPECT_FALSE(refuseCall(kRules, ofClass(a.argumentClass, "any"), &imageClass, &refusal))
            << refusal.message;
        EXPECT_EQ(imageClass, a.imageClass);
    }
}

TEST(CallChecks, ScaleWarningReadsAsTheMexGatewayWroteIt)
{
    const ScaleWarning warning = {"intensityScale", nullptr, "lies in 0..1, so it all falls",
                                  "For intensities 0..1 use Vesk2(img)."};
    CallMessage message;
    scaleWarningMessage(kRules, warning, "single", &message);
    EXPECT_EQ(std::string(message.identifier), "Vesk:intensityScale");
    EXPECT_EQ(std::string(message.message),
              printed("%s takes %s, but every value of this %s image %s. %s "
                      "To silence this warning: warning('off', '%s').",
                      "Vesk", kRules.domain, "single", warning.finding, warning.advice,
                      "Vesk:intensityScale"));
}

// A class name longer than the message buffer is cut short, never overrun.
TEST(CallChecks, CutAnAbsurdlyLongClassNameShort)
{
    const std::string longName(5000, 'x');
    ImageClass imageClass;
    CallMessage refusal;
    ASSERT_TRUE(refuseCall(kRules, ofClass(ArgumentClass::Unknown, longName.c_str()), &imageClass,
                           &refusal));
    const std::string message(refusal.message);
    EXPECT_EQ(message.size(), sizeof refusal.message - 1);
    EXPECT_EQ(message, objectMessage(longName.c_str()).substr(0, message.size()));
}

// A value named like a numeric or logical class that the host does not call
// one is an object, never read as an array of that class.
TEST(CallChecks, ConfirmANumericClassOnlyWhenTheHostDoes)
{
    const ArgumentClass numeric[] = {ArgumentClass::Double, ArgumentClass::Single,
                                     ArgumentClass::Logical, ArgumentClass::Int8,
                                     ArgumentClass::Uint8,  ArgumentClass::Int16,
                                     ArgumentClass::Uint16, ArgumentClass::Int32,
                                     ArgumentClass::Uint32, ArgumentClass::Int64,
                                     ArgumentClass::Uint64};
    for (ArgumentClass named : numeric) {
        EXPECT_EQ(confirmedClass(named, true), named);
        EXPECT_EQ(confirmedClass(named, false), ArgumentClass::Unknown);
    }
    const ArgumentClass others[] = {ArgumentClass::Unknown, ArgumentClass::Cell,
                                    ArgumentClass::Struct,  ArgumentClass::Char,
                                    ArgumentClass::Void,    ArgumentClass::Function};
    for (ArgumentClass named : others)
        EXPECT_EQ(confirmedClass(named, false), named);
}
