// The host-neutral checks both gateways (MEX and Octave-native) run: every
// refusal's identifier and its message, word for word and digit for digit,
// as the printf formats the MEX gateway used before the checks were shared
// would have written it.
#include <stdio.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "call_checks.h"

namespace {

const CallRules kRules = {"Vesk", "[map, dist]",
                          "Convert it first, for example Vesk(double(img)) for a uint8 image."};

// One real, full, 2-D double matrix of rows x columns, asked for two outputs.
CallDescription valid(double rows, double columns)
{
    return {1, 2, true, "double", false, false, 2.0, rows, columns};
}

template <typename... Arguments>
std::string printed(const char* format, Arguments... arguments)
{
    std::vector<char> text(4096);
    snprintf(text.data(), text.size(), format, arguments...);
    return text.data();
}

struct Case {
    const char* what;
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
    return printed("%s handles at most 2147483647 elements, but the image is %.0f x %.0f. "
                   "Process it in tiles of fewer elements.",
                   "Vesk", rows, columns);
}

std::string dimensionsMessage(double count)
{
    return printed("%s needs a 2-D greyscale image, but the input has %.0f dimensions. "
                   "Convert a colour image to grey first, for example with rgb2gray(img), "
                   "or pass one channel, img(:,:,1).",
                   "Vesk", count);
}

std::vector<Case> cases()
{
    const double twoTo31 = 2147483648.0, twoTo64 = 18446744073709551616.0;
    const double largestDouble = 1.7976931348623157e308;
    return {
        {"NoInput", {0, 1, false, "", false, false, 0, 0, 0}, "nargin", inputCountMessage(0)},
        {"TwoInputs", with(valid(2, 2), [](CallDescription& c) { c.inputCount = 2; }), "nargin",
         inputCountMessage(2)},
        {"NegativeInputs", with(valid(2, 2), [](CallDescription& c) { c.inputCount = -2147483647 - 1; }),
         "nargin", inputCountMessage(-2147483647 - 1)},
        {"ThreeOutputs", with(valid(2, 2), [](CallDescription& c) { c.outputCount = 3; }), "nargout",
         printed("%s returns at most two outputs, %s, but %d were asked for.", "Vesk",
                 "[map, dist]", 3)},
        {"ManyOutputs", with(valid(2, 2), [](CallDescription& c) { c.outputCount = 2147483647; }),
         "nargout",
         printed("%s returns at most two outputs, %s, but %d were asked for.", "Vesk",
                 "[map, dist]", 2147483647)},
        {"Uint8", with(valid(2, 2), [](CallDescription& c) { c.doubleClass = false; c.className = "uint8"; }),
         "notDouble",
         printed("%s needs a real double matrix, but the image is of class %s. %s", "Vesk", "uint8",
                 kRules.conversionAdvice)},
        {"SparseComplex", with(valid(2, 2), [](CallDescription& c) { c.sparse = c.complex = true; }),
         "sparse",
         printed("%s needs a full matrix, but the image is sparse. Pass full(img) instead.", "Vesk")},
        {"Complex", with(valid(2, 2), [](CallDescription& c) { c.complex = true; }), "complex",
         printed("%s needs a real matrix, but the image is complex. "
                 "Pass real(img) or abs(img) instead.",
                 "Vesk")},
        {"ThreeDimensions", with(valid(4, 12), [](CallDescription& c) { c.dimensionCount = 3; }),
         "notMatrix", dimensionsMessage(3)},
        {"TwoTo64Dimensions", with(valid(4, 12), [](CallDescription& c) { c.dimensionCount = 18446744073709551616.0; }),
         "notMatrix", dimensionsMessage(twoTo64)},
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
}

}  // namespace

class CallChecks : public ::testing::TestWithParam<Case> {};

TEST_P(CallChecks, RefuseWithTheMessageOfTheMexGateway)
{
    CallRefusal refusal;
    ASSERT_TRUE(refuseCall(kRules, GetParam().call, &refusal));
    EXPECT_EQ(std::string(refusal.identifier), std::string("Vesk:") + GetParam().reason);
    EXPECT_EQ(std::string(refusal.message), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Refusals, CallChecks, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             return std::string(param.param.what);
                         });

TEST(CallChecks, AcceptTheLargestImagesAndEveryOutputCountUpToTwo)
{
    CallRefusal refusal;
    const double most = 2147483647.0;
    for (const CallDescription& call :
         {valid(most, 1), valid(1, most), valid(0, most), valid(0, 0), valid(46340, 46340)})
        EXPECT_FALSE(refuseCall(kRules, call, &refusal)) << refusal.message;
    for (int outputs : {-1, 0, 1, 2}) {
        CallDescription call = valid(3, 4);
        call.outputCount = outputs;
        EXPECT_FALSE(refuseCall(kRules, call, &refusal)) << refusal.message;
    }
}

// A class name longer than the message buffer is cut short, never overrun.
TEST(CallChecks, CutAnAbsurdlyLongClassNameShort)
{
    const std::string longName(5000, 'x');
    CallDescription call = valid(2, 2);
    call.doubleClass = false;
    call.className = longName.c_str();
    CallRefusal refusal;
    ASSERT_TRUE(refuseCall(kRules, call, &refusal));
    const std::string message(refusal.message);
    EXPECT_EQ(message.size(), sizeof refusal.message - 1);
    EXPECT_EQ(message, printed("%s needs a real double matrix, but the image is of class %s", "Vesk",
                               longName.c_str())
                           .substr(0, message.size()));
}
