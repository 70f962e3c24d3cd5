// Vesk2 through the stand-in host: [smap, level] = Vesk2(img).
#include <math.h>

#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "plugins_under_test.h"
#include "reference.h"

using namespace test_support;

namespace {

CallReport callVesk2(const InputMatrix& input)
{
    return callCompleted(vesk2Entry(), input);
}

double levelOf(const CallReport& report)
{
    const standin::OutputMatrix& level = report.outputs.at(1).value();
    EXPECT_EQ(level.rows, 1u);
    EXPECT_EQ(level.columns, 1u);
    return level.values.at(0);
}

}  // namespace

TEST(Vesk2, WorkedExample)
{
    // Levels 0, 0, 0, 2, 3: contrasts 5, 7, 10; the least-contrast level is 0.
    const CallReport report = callVesk2(doubleMatrix(1, 5, {0, 0, 0, 2 / 255.0, 3 / 255.0}));
    expectSameBits(mapOf(report), {-0.5, -0.5, -0.5, 0.7, 1.0}, "map");
    EXPECT_EQ(bitsOf(levelOf(report)), bitsOf(0.0));
}

TEST(Vesk2, SignFollowsTheLeastContrastLevel)
{
    // Levels 0, 100, 100, 100, 255: contrasts 555, 255, 720. Level 100 has the
    // least contrast: it and the level below are negative, the one above positive.
    const CallReport report =
        callVesk2(doubleMatrix(5, 1, {0, 100 / 255.0, 100 / 255.0, 100 / 255.0, 1.0}));
    expectSameBits(mapOf(report), {-(555.0 / 720), -(255.0 / 720), -(255.0 / 720),
                                    -(255.0 / 720), 1.0}, "map");
    EXPECT_EQ(bitsOf(levelOf(report)), bitsOf(100 / 255.0));
}

TEST(Vesk2, TiedSmallestContrastChoosesTheLowerLevel)
{
    const CallReport extremes = callVesk2(doubleMatrix(1, 2, {0.0, 1.0}));
    expectSameBits(mapOf(extremes), {-1.0, 1.0}, "map");
    EXPECT_EQ(bitsOf(levelOf(extremes)), bitsOf(0.0));

    // Levels 10 and 20, twice each: both have contrast 20, and 10 wins.
    const CallReport pair = callVesk2(doubleMatrix(1, 4, {20 / 255.0, 10 / 255.0, 20 / 255.0,
                                                          10 / 255.0}));
    expectSameBits(mapOf(pair), {1.0, -1.0, 1.0, -1.0}, "map");
    EXPECT_EQ(bitsOf(levelOf(pair)), bitsOf(10 / 255.0));
}

TEST(Vesk2, UniformImageIsNegativeZeroEverywhere)
{
    for (double intensity : {0.0, 0.5, 1.0, 7.0}) {
        SCOPED_TRACE(intensity);
        const CallReport report = callVesk2(doubleMatrix(3, 2, std::vector<double>(6, intensity)));
        expectSameBits(mapOf(report), std::vector<double>(6, -0.0), "map");
        EXPECT_EQ(bitsOf(levelOf(report)), bitsOf(reference::unitLevelOf(intensity) / 255.0));
    }
}

TEST(Vesk2, EmptyInputGivesEmptyMapAndLevelZero)
{
    forEmptyImages(vesk2Entry(), {{0, 0}, {0, 3}, {4, 0}}, [](const CallReport& report) {
        EXPECT_EQ(bitsOf(levelOf(report)), bitsOf(0.0));
    });
}

// Each intensity must act exactly as its quantised level does.
TEST(Vesk2, QuantisesIntensitiesToLevels)
{
    // The largest intensity whose product with 255 stays below 2^31, and the next.
    double lastBelow = 2147483648.0 / 255.0;
    while (lastBelow * 255.0 >= 2147483648.0)
        lastBelow = nextafter(lastBelow, 0.0);
    const double firstAt = nextafter(lastBelow, kInf);
    ASSERT_GE(firstAt * 255.0, 2147483648.0);

    struct Case {
        double intensity;
        int level;
    };
    const Case cases[] = {
        {0.0, 0},        {1.0, 255},       {0.999, 254},   {1.5, 255},      {-0.2, 0},
        {kNaN, 0},       {-kNaN, 0},       {kInf, 0},      {-kInf, 0},      {1e10, 0},
        {1 / 255.0, 1},  {254 / 255.0, 254}, {256 / 255.0, 255}, {-0.0, 0}, {4.9e-324, 0},
        {nextafter(1 / 255.0, 0.0), 0},   {lastBelow, 255}, {firstAt, 0},   {-1e300, 0},
        {8e6, 255},      {8.5e6, 0},      {2147483648.0 / 255.0 * 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.intensity << " -> " << c.level);
        ASSERT_EQ(reference::unitLevelOf(c.intensity), c.level);
        // Beside levels 0 and 100, so that every level has a distinct contrast.
        const CallReport actual = callVesk2(doubleMatrix(1, 3, {c.intensity, 0.0, 100 / 255.0}));
        const CallReport expected =
            callVesk2(doubleMatrix(1, 3, {c.level / 255.0, 0.0, 100 / 255.0}));
        expectSameBits(mapOf(actual), mapOf(expected), "map");
        EXPECT_EQ(bitsOf(levelOf(actual)), bitsOf(levelOf(expected)));
    }
}

// Scratch is left to the host: three allocations in the order table,
// histogram, levels; none released by the plug-in; all reclaimed.
TEST(Vesk2HostContract, ScratchIsLeftToTheHost)
{
    for (size_t n : {0u, 1u, 6u, 999u}) {
        SCOPED_TRACE(n);
        const CallReport report = callVesk2(doubleMatrix(n, 1, std::vector<double>(n, 0.25)));
        expectDoubleCallScratchAndMatrices(Plugin::Vesk2, report, n);
    }
}

TEST(Vesk2HostContract, ThousandCallsLeaveNothingHeld)
{
    std::mt19937 random(7);
    for (int call = 0; call < 1000; ++call) {
        const size_t rows = random() % 20, columns = random() % 20;
        std::vector<double> input(rows * columns);
        for (double& value : input)
            value = (random() % 256) / 255.0;
        const CallReport report = callWith(vesk2Entry(), doubleMatrix(rows, columns, input));
        ASSERT_TRUE(report.completed);
        ASSERT_EQ(standin::heldAllocations(), 0u) << "after call " << call;
    }
}

TEST(Vesk2, MatchesTheReferenceOnRandomImages)
{
    const auto value = [](std::mt19937_64& random, int style) {
        switch (style) {
        case 0: return (random() % 256) / 255.0;                                  // exact levels
        case 1: return (double)(random() % 3) / 2.0;                              // few, tied
        case 2: return std::uniform_real_distribution<double>(0, 1)(random);
        default: return std::uniform_real_distribution<double>(-0.5, 1.5)(random);
        }
    };
    forRandomImages(1210, 300, value, [](const InputMatrix& image) {
        const CallReport report = callVesk2(image);
        const reference::SignedContrast expected = reference::signedContrast(image.values);
        expectSameBits(mapOf(report), expected.map, "map");
        EXPECT_EQ(bitsOf(levelOf(report)), bitsOf(expected.leastContrastLevel));
    });
}

TEST(Vesk2, BundledPhotographMatchesTheReference)
{
    InputMatrix photo = photograph();
    for (double& value : photo.values)
        value /= 255.0;
    const CallReport report = callVesk2(photo);
    const reference::SignedContrast expected = reference::signedContrast(photo.values);
    expectSameBits(mapOf(report), expected.map, "map");
    EXPECT_EQ(bitsOf(levelOf(report)), bitsOf(expected.leastContrastLevel));
}
