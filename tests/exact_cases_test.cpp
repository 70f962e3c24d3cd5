// The worked examples and edge cases of both plug-ins, bit for bit, from the
// case table the Windows host program runs too.
#include <gtest/gtest.h>

#include "case_tables.h"
#include "plugins_under_test.h"

using namespace test_support;

namespace {

class ExactCases : public ::testing::TestWithParam<ExactCase> {};

TEST_P(ExactCases, OutputsBitForBit)
{
    const ExactCase& c = GetParam();
    const standin::CallReport report =
        callCompleted(c.plugin == Plugin::Vesk ? veskEntry() : vesk2Entry(),
                      standin::doubleMatrix(c.rows, c.columns, c.input));
    ASSERT_EQ(report.outputs.size(), 2u);
    const standin::OutputMatrix& map = *report.outputs[0];
    const standin::OutputMatrix& second = *report.outputs[1];
    EXPECT_EQ(map.rows, c.rows);
    EXPECT_EQ(map.columns, c.columns);
    EXPECT_EQ(second.rows, c.plugin == Plugin::Vesk ? 101u : 1u);
    EXPECT_EQ(second.columns, 1u);
    expectSameBits(map.values, c.map, "map");
    expectSameBits(second.values, test_support::secondOutputOf(c), "second output");
}

INSTANTIATE_TEST_SUITE_P(Table, ExactCases, ::testing::ValuesIn(test_support::exactCases()),
                         [](const ::testing::TestParamInfo<ExactCase>& param) {
                             std::string name;
                             for (const char* c = param.param.what; *c != '\0'; ++c)
                                 if (isalnum((unsigned char)*c))
                                     name += *c;
                             return name;
                         });

}  // namespace
