// Vesk through the stand-in host: [map, dist] = Vesk(img).
#include <math.h>

#include <algorithm>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "plugins_under_test.h"
#include "reference.h"

using namespace test_support;

namespace {

CallReport callVesk(const InputMatrix& input)
{
    return callCompleted(veskEntry(), input);
}

const std::vector<double>& distributionOf(const CallReport& report)
{
    return outputValues(report, 1);
}

// 101 zeros with the given buckets set.
std::vector<double> distribution(std::initializer_list<std::pair<int, double>> entries)
{
    std::vector<double> result(101, 0.0);
    for (const auto& entry : entries)
        result[(size_t)entry.first] = entry.second;
    return result;
}

}  // namespace

TEST(Vesk, TwoExtremeLevelsTieAtTheMaximum)
{
    const CallReport report = callVesk(doubleMatrix(1, 2, {0, 255}));
    expectSameBits(mapOf(report), {1.0, 1.0}, "map");
    const std::vector<double>& dist = distributionOf(report);
    for (int b = 0; b < 100; ++b)
        EXPECT_EQ(bitsOf(dist[(size_t)b]), bitsOf(0.0)) << "bucket " << b;
    EXPECT_EQ(bitsOf(dist[100]), bitsOf(0.0)) << "the lower of the tied levels";
}

TEST(Vesk, TwoLevelsWithCountsGiveClosedFormContrasts)
{
    // a elements of 0 and b of 255: contrasts 255 b and 255 a.
    const size_t a = 7, b = 3;
    std::vector<double> input(a, 0.0);
    input.insert(input.end(), b, 255.0);
    const CallReport report = callVesk(doubleMatrix(a + b, 1, input));
    const double low = 255.0 * b, high = 255.0 * a;
    std::vector<double> expected(a, low / high);
    expected.insert(expected.end(), b, 1.0);
    expectSameBits(mapOf(report), expected, "map");
    const int bucket = (int)(low / high * 100.0);
    expectSameBits(distributionOf(report), distribution({{bucket, 7.0}}), "distribution");
}

// Values outside 0..255 take the level of the clamping rule, and nothing is
// written outside the histogram (the sanitizer build would see it).
TEST(Vesk, ValuesOutsideTheDomainAreClamped)
{
    struct Case {
        double value;
        double level;
    };
    const Case cases[] = {
        {256.0, 255},        {255.999, 255},   {1e9, 255},          {2147483647.5, 255},
        {2147483648.0, 0},   {1e300, 0},       {kInf, 0},           {-kInf, 0},
        {kNaN, 0},           {-1.0, 0},        {-0.999, 0},         {-2147483649.0, 0},
        {-1e300, 0},         {0.999, 0},       {-0.0, 0},           {4.9e-324, 0},
        {-kNaN, 0},          {-0.5, 0},        {10.9, 10},          {255.99, 255},
        {2147483647.0, 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        // Beside levels 0 and 100, so that every level has a distinct contrast.
        const CallReport actual = callVesk(doubleMatrix(1, 3, {c.value, 0.0, 100.0}));
        const CallReport expected = callVesk(doubleMatrix(1, 3, {c.level, 0.0, 100.0}));
        expectSameBits(mapOf(actual), mapOf(expected), "map");
        expectSameBits(distributionOf(actual), distributionOf(expected), "distribution");
    }
}

TEST(Vesk, MapKeepsTheInputShapeAndElementOrder)
{
    // 3 x 4, column by column: element k of the map belongs to element k of the input.
    const std::vector<double> input = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 255};
    const CallReport report = callVesk(doubleMatrix(3, 4, input));
    EXPECT_EQ(report.outputs[0]->rows, 3u);
    EXPECT_EQ(report.outputs[0]->columns, 4u);
    expectSameBits(mapOf(report), reference::absoluteContrast(input).map, "map");
}

TEST(Vesk, EmptyInputGivesEmptyMapAndZeroDistribution)
{
    forEmptyImages(veskEntry(), {{0, 0}, {0, 5}, {7, 0}}, [](const CallReport& report) {
        expectSameBits(distributionOf(report), distribution({}), "distribution");
    });
}

// What the host sees: three scratch allocations (table, histogram, levels),
// all released in the order table, levels, histogram; two matrices; nothing
// left behind. callWith already fails the test on broken guards, a modified
// input or a bad mxFree.
TEST(VeskHostContract, ScratchIsAllocatedAndReleasedInOrder)
{
    for (size_t n : {0u, 1u, 5u, 1000u}) {
        SCOPED_TRACE(n);
        const CallReport report = callVesk(doubleMatrix(1, n, std::vector<double>(n, 3.0)));
        expectDoubleCallScratchAndMatrices(Plugin::Vesk, report, n);
        EXPECT_EQ(standin::heldAllocations(), 0u);
    }
}

TEST(Vesk, LargestDimensionWithNoElementsIsAccepted)
{
    const CallReport report = callVesk(standin::hugeMatrix(2147483647u, 0));
    EXPECT_EQ(report.outputs[0]->rows, 2147483647u);
    EXPECT_EQ(report.outputs[0]->columns, 0u);
    expectSameBits(distributionOf(report), distribution({}), "distribution");
}

// Random images of random shapes against the plain reference, bit for bit,
// element 100 included: the lowest of the levels tied for the smallest contrast.
TEST(Vesk, MatchesTheReferenceOnRandomImages)
{
    const auto value = [](std::mt19937_64& random, int style) {
        switch (style) {
        case 0: return (double)(random() % 256);                                  // whole levels
        case 1: return (double)(random() % 4) * 85.0;                             // few levels, ties
        case 2: return std::uniform_real_distribution<double>(-1, 256)(random);
        default: return std::uniform_real_distribution<double>(-300, 600)(random);
        }
    };
    forRandomImages(20261210, 300, value, [](const InputMatrix& image) {
        const CallReport report = callVesk(image);
        const reference::AbsoluteContrast expected = reference::absoluteContrast(image.values);
        expectSameBits(mapOf(report), expected.map, "map");
        expectSameBits(distributionOf(report), expected.distribution, "distribution");
    });
}

// Images made to tie: every level v comes with its mirror 255 - v, so each
// contrast is shared by a pair of levels and the two middle ones tie for the
// smallest. Element 100 must be the lower of them on every platform.
TEST(Vesk, MirroredImagesTakeTheLowestTiedLevel)
{
    std::mt19937_64 random(20261222);
    for (int trial = 0; trial < 200; ++trial) {
        const size_t pairs = 1 + random() % 60;
        const int spread = 1 + (int)(random() % 128);
        std::vector<double> input;
        for (size_t p = 0; p < pairs; ++p) {
            const int level = 127 - (int)(random() % (size_t)spread);
            input.push_back(level);
            input.push_back(255 - level);
        }
        std::shuffle(input.begin(), input.end(), random);
        SCOPED_TRACE(::testing::Message() << "trial " << trial << ": " << pairs << " pairs");
        const CallReport report = callVesk(doubleMatrix(1, input.size(), input));
        const reference::AbsoluteContrast expected = reference::absoluteContrast(input);
        expectSameBits(mapOf(report), expected.map, "map");
        expectSameBits(distributionOf(report), expected.distribution, "distribution");
        const double least = distributionOf(report)[100] * 255.0;
        EXPECT_LE(least, 127.0) << "the higher of a tied pair";
    }
}

TEST(Vesk, BundledPhotographMatchesTheReference)
{
    const InputMatrix photo = photograph();
    const CallReport report = callVesk(photo);
    const reference::AbsoluteContrast expected = reference::absoluteContrast(photo.values);
    expectSameBits(mapOf(report), expected.map, "map");
    expectSameBits(distributionOf(report), expected.distribution, "distribution");
}

// 4096 x 4096 with 3n/8 elements at level 0, n/4 at 100 and 3n/8 at 255:
// contrasts 965 n/8, 765 n/8 and 1075 n/8. The largest, 2,254,438,400, no
// longer fits 32 bits; the distribution must still follow the bucket rule.
TEST(Vesk, LargeImageDistributionFollowsTheClosedForm)
{
    const size_t side = 4096, n = side * side;
    std::vector<double> input(n, 0.0);
    for (size_t k = 0; k < n; ++k)
        input[k] = k % 8 < 3 ? 0.0 : k % 8 < 5 ? 100.0 : 255.0;
    const CallReport report = callVesk(doubleMatrix(side, side, std::move(input)));

    const int64_t eighth = (int64_t)n / 8;
    const double atZero = (double)(965 * eighth), atHundred = (double)(765 * eighth),
                 maximum = (double)(1075 * eighth);
    ASSERT_GT(maximum, 2147483647.0);
    const std::vector<double>& map = mapOf(report);
    EXPECT_EQ(bitsOf(map[0]), bitsOf(atZero / maximum));
    EXPECT_EQ(bitsOf(map[3]), bitsOf(atHundred / maximum));
    EXPECT_EQ(bitsOf(map[7]), bitsOf(1.0));
    expectSameBits(distributionOf(report),
                    distribution({{(int)(atZero / maximum * 100.0), (double)(3 * eighth)},
                                  {(int)(atHundred / maximum * 100.0), (double)(2 * eighth)},
                                  {100, 100 / 255.0}}),
                    "distribution");
}
