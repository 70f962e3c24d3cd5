#include <gtest/gtest.h>

#include "plugins_under_test.h"

using namespace testing_support;

TEST(VeskSmoke, WorkedExample)
{
    const standin::CallReport report =
        callWith(veskEntry(), standin::doubleMatrix(1, 5, {0, 0, 0, 2, 3}));
    ASSERT_TRUE(report.completed) << report.errorMessage;
    EXPECT_EQ(report.outputs[0]->values, (std::vector<double>{0.5, 0.5, 0.5, 0.7, 1.0}));
}
