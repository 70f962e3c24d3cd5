// Inputs at the size limits: an 8192 x 8192 image whose contrasts pass 2^31
// (so that no 32-bit contrast could hold them), checked against its closed
// form; and shapes past 2^31 - 1 elements, which must be rejected before any
// data is read. Labelled "huge": the image takes about 3 GB in the host.
#include <stdint.h>
#include <stdlib.h>

#include <gtest/gtest.h>

#include "plugins_under_test.h"

using namespace test_support;

namespace {

const size_t kSide = 8192;

// Four grey levels in column blocks; every contrast lies between 2^31 and
// 2^34, the smallest is unique, and a contrast wrapped to 32 bits would sort
// another level first.
const int kBlockLevels[4] = {0, 40, 100, 255};
const size_t kBlockColumns[4] = {1000, 3000, 2500, 1692};

int blockOfColumn(size_t column)
{
    size_t end = 0;
    for (int block = 0; block < 4; ++block) {
        end += kBlockColumns[block];
        if (column < end)
            return block;
    }
    return -1;
}

}  // namespace

TEST(HugeInput, EightKSquareImageGivesItsClosedFormDistribution)
{
    // contrast(i) = sum over blocks j of |level_i - level_j| * elements_j, in integers.
    int64_t contrast[4];
    int64_t maximum = 0;
    for (int i = 0; i < 4; ++i) {
        contrast[i] = 0;
        for (int j = 0; j < 4; ++j)
            contrast[i] += (int64_t)std::abs(kBlockLevels[i] - kBlockLevels[j]) *
                           (int64_t)(kBlockColumns[j] * kSide);
        ASSERT_GT(contrast[i], INT64_C(2147483647)) << "the case must exercise wide contrasts";
        maximum = std::max(maximum, contrast[i]);
    }
    const int leastBlock = 2;
    for (int i = 0; i < 4; ++i) {
        if (i != leastBlock) {
            ASSERT_GT(contrast[i], contrast[leastBlock]);
        }
    }

    std::vector<double> expectedDistribution(101, 0.0);
    for (int i = 0; i < 4; ++i) {
        const int bucket = (int)((double)contrast[i] / (double)maximum * 100.0);
        if (contrast[i] != maximum)
            expectedDistribution[(size_t)bucket] += (double)(kBlockColumns[i] * kSide);
    }
    expectedDistribution[100] = kBlockLevels[leastBlock] / 255.0;

    std::vector<double> values(kSide * kSide);
    for (size_t column = 0; column < kSide; ++column)
        std::fill_n(values.begin() + (ptrdiff_t)(column * kSide), kSide,
                    (double)kBlockLevels[blockOfColumn(column)]);
    standin::CallReport report =
        callWith(veskEntry(), standin::doubleMatrix(kSide, kSide, std::move(values)));
    ASSERT_TRUE(report.completed) << report.errorMessage;
    EXPECT_EQ(standin::heldAllocations(), 0u);

    const std::vector<double>& distribution = report.outputs[1]->values;
    ASSERT_EQ(distribution.size(), 101u);
    for (size_t b = 0; b < 101; ++b)
        EXPECT_EQ(bitsOf(distribution[b]), bitsOf(expectedDistribution[b])) << "element " << b;

    const std::vector<double>& map = report.outputs[0]->values;
    ASSERT_EQ(map.size(), kSide * kSide);
    size_t wrong = 0;
    for (size_t column = 0; column < kSide; ++column) {
        const int block = blockOfColumn(column);
        const double expected = (double)contrast[block] / (double)maximum;
        for (size_t row = 0; row < kSide; ++row)
            wrong += bitsOf(map[column * kSide + row]) != bitsOf(expected);
    }
    EXPECT_EQ(wrong, 0u) << "map elements off their closed form";
}

TEST(HugeInput, ShapesPastTheElementLimitAreRejectedBeforeAnyData)
{
    const uint64_t kTwo31 = UINT64_C(1) << 31;
    // Each shape reports its dimensions over a 16-byte buffer.
    const struct {
        uint64_t rows, columns;
    } shapes[] = {
        {46341, 46341},             // product 2147488281, just past the limit
        {kTwo31, 1},                // a dimension of 2^31
        {1, kTwo31},
        {0, kTwo31},                // no elements, yet a dimension out of range
        {65536, 65536},             // product 2^32: 0 in 32-bit arithmetic
        {kTwo31 * 2 + 1, 1},        // 2^32 + 1: its low 32 bits say 1
        {UINT64_MAX, UINT64_MAX},
    };
    for (const standin::MexEntry entry : {veskEntry(), vesk2Entry()}) {
        const std::string name = entry == veskEntry() ? "Vesk" : "Vesk2";
        for (const auto& shape : shapes) {
            SCOPED_TRACE(name + " " + std::to_string(shape.rows) + " x " +
                         std::to_string(shape.columns));
            const standin::CallReport report =
                callWith(entry, standin::hugeMatrix(shape.rows, shape.columns));
            EXPECT_FALSE(report.completed);
            EXPECT_EQ(report.errorIdentifier, name + ":tooLarge");
            EXPECT_NE(report.errorMessage.find("at most 2147483647 (2^31 - 1) elements"), std::string::npos)
                << report.errorMessage;
            EXPECT_EQ(report.matricesCreated, 0);
            EXPECT_TRUE(report.scratch.empty());
            EXPECT_EQ(standin::heldAllocations(), 0u);
        }
    }
}

TEST(HugeInput, EmptyShapeWithTheLargestDimensionIsAccepted)
{
    for (const standin::MexEntry entry : {veskEntry(), vesk2Entry()}) {
        const standin::CallReport report = callWith(entry, standin::hugeMatrix(0, 2147483647));
        ASSERT_TRUE(report.completed) << report.errorMessage;
        EXPECT_EQ(report.outputs[0]->rows, 0u);
        EXPECT_EQ(report.outputs[0]->columns, 2147483647u);
        EXPECT_EQ(report.scratch.at(2).bytes, 0u);
    }
}
