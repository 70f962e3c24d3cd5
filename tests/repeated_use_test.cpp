// Many calls in a row, as a long interactive session makes them: changing
// shapes, both plug-ins, every output count, rejected calls in between. Nothing
// may stay held in the host, and every call must give what the first call of
// its kind gave.
#include <stdint.h>

#include <map>
#include <tuple>

#include <gtest/gtest.h>

#include "plugins_under_test.h"

using namespace test_support;

namespace {

struct Shape {
    size_t rows;
    size_t columns;
};

// Grey levels 0..255 spread over the image, with a shape-dependent pattern.
std::vector<double> imageOf(const Shape& shape, bool unitIntensities)
{
    std::vector<double> values(shape.rows * shape.columns);
    for (size_t k = 0; k < values.size(); ++k) {
        const double level = (double)((k * 37 + shape.rows * 11 + (k * k) % 7) % 256);
        values[k] = unitIntensities ? level / 255.0 : level + 0.25;
    }
    return values;
}

std::vector<uint64_t> bitsOfOutputs(const standin::CallReport& report)
{
    std::vector<uint64_t> bits;
    for (const std::optional<standin::OutputMatrix>& output : report.outputs) {
        if (!output)
            continue;
        bits.push_back(output->rows);
        bits.push_back(output->columns);
        for (double value : output->values)
            bits.push_back(bitsOf(value));
    }
    return bits;
}

}  // namespace

TEST(RepeatedUse, TenThousandCallsHoldNothingAndRepeatTheirResults)
{
    const Shape shapes[] = {{1, 1}, {0, 0}, {3, 4}, {17, 5}, {64, 48}, {1, 300}, {255, 2}, {0, 9}};
    const int kCalls = 10000;

    // (plug-in, shape, nargout) -> outputs of the first such call
    std::map<std::tuple<int, size_t, int>, std::vector<uint64_t>> firstResults;
    for (int call = 0; call < kCalls; ++call) {
        const bool signedPlugin = call % 2 == 1;
        const standin::MexEntry entry = signedPlugin ? vesk2Entry() : veskEntry();
        const size_t shapeIndex = (size_t)(call / 2) % (sizeof shapes / sizeof shapes[0]);
        const Shape& shape = shapes[shapeIndex];
        const int outputCount = (call / 16) % 3;  // 0, 1, 2

        if (call % 13 == 0) {
            // A rejected call ends with the host's error, in the middle of the series.
            const standin::CallReport rejected = callWith(
                entry, standin::matrixOfClass(mxINT32_CLASS, {shape.rows, shape.columns}),
                outputCount);
            ASSERT_FALSE(rejected.completed) << "call " << call;
            ASSERT_EQ(standin::heldAllocations(), 0u) << "after rejected call " << call;
        }

        const standin::CallReport report = callWith(
            entry, standin::doubleMatrix(shape.rows, shape.columns, imageOf(shape, signedPlugin)),
            outputCount);
        ASSERT_TRUE(report.completed) << "call " << call << ": " << report.errorMessage;
        ASSERT_EQ(standin::heldAllocations(), 0u) << "after call " << call;
        ASSERT_EQ(report.scratch.size(), 3u) << "call " << call;
        for (const standin::ScratchAllocation& scratch : report.scratch)
            ASSERT_EQ(scratch.reclaimed, signedPlugin) << "call " << call;

        const auto key = std::make_tuple((int)signedPlugin, shapeIndex, outputCount);
        const std::vector<uint64_t> bits = bitsOfOutputs(report);
        const auto first = firstResults.emplace(key, bits);
        if (!first.second) {
            ASSERT_EQ(bits, first.first->second) << "call " << call << " differs from the first";
        }
    }
    EXPECT_EQ(firstResults.size(), 2u * 8u * 3u);
}
