// The built plug-ins, called through the stand-in host, give the same bits as
// the plain version (one histogram, the direct 256 x 256 table, one division
// per element) on random, uniform and photographic images, with and without
// values outside the domain, at sizes that exercise every loop tail.
#include <math.h>

#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plain_contrast.h"
#include "plugins_under_test.h"
#include "test_images.h"

using namespace test_support;
using test_images::Kind;

namespace {

struct ImageCase {
    const char* name;
    Kind kind;
    size_t rows;
    size_t columns;
    bool outOfDomain;  // fractional values and every value the clamping rule handles
};

void PrintTo(const ImageCase& c, std::ostream* out)
{
    *out << c.name;
}

const ImageCase kCases[] = {
    {"Empty", Kind::Random, 0, 0, false},
    {"EmptyColumns", Kind::Random, 0, 5, false},
    {"RandomSingle", Kind::Random, 1, 1, false},
    {"RandomBelowOneStep", Kind::Random, 1, 7, false},
    {"RandomTail", Kind::Random, 61, 67, false},
    {"RandomLarge", Kind::Random, 1024, 1024, false},
    // Above 8,421,505 elements contrasts no longer fit 32 bits.
    {"RandomAboveInt32Contrasts", Kind::Random, 3000, 3001, false},
    {"RandomOutOfDomain", Kind::Random, 257, 263, true},
    {"UniformTail", Kind::Uniform, 333, 301, false},
    {"UniformLarge", Kind::Uniform, 2048, 2048, false},
    {"Photo", Kind::Photo, 512, 512, false},
    {"PhotoScaledUp", Kind::Photo, 1531, 1297, false},
    {"PhotoOutOfDomain", Kind::Photo, 515, 509, true},
};

// Fractional values and the values the clamping rule exists for, spread over
// the image; for Vesk2 they are used as intensities.
void addOutOfDomainValues(std::vector<double>& image, bool intensities)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const double edgeValues[] = {nan, infinity, -infinity, -0.0, -0.5, -1.0, -1e300, 1e300,
                               255.999, 256.0, 1e10, 2147483647.0, 2147483648.0,
                               -2147483648.0, -2147483649.0, 8421505.0, 0.999, 1.0, 1.5,
                               1.0 / 255.0, 254.5 / 255.0, 2147483648.0 / 255.0};
    std::mt19937 generator(7);
    std::uniform_real_distribution<double> fraction(-0.3, 1.3);
    for (size_t k = 0; k < image.size(); ++k) {
        if (k % 5 == 0)
            image[k] = edgeValues[(k / 5) % (sizeof edgeValues / sizeof edgeValues[0])];
        else if (k % 5 == 1)
            image[k] = intensities ? fraction(generator) : fraction(generator) * 255.0;
    }
}

std::vector<double> inputFor(const ImageCase& c, bool intensities)
{
    std::vector<double> image = test_images::greyLevels(c.kind, c.rows, c.columns,
                                                        dataDirectory() + "/camera.pgm");
    if (intensities)
        image = test_images::intensities(image);
    if (c.outOfDomain)
        addOutOfDomainValues(image, intensities);
    return image;
}

struct PlainResult {
    std::vector<double> map;
    std::vector<double> second;
};

PlainResult runPlain(bool signedContrast, const std::vector<double>& input, const ImageCase& c)
{
    std::vector<double> table(256);
    std::vector<int32_t> histogram(256);
    std::vector<int32_t> levels(input.size());
    const plain::Scratch scratch{table.data(), histogram.data(), levels.data()};
    PlainResult result{std::vector<double>(input.size(), 0.0),
                       std::vector<double>(signedContrast ? 1 : 101, 0.0)};
    if (signedContrast)
        plain::signedContrast(input.data(), result.map.data(), result.second.data(),
                              (int32_t)c.rows, (int32_t)c.columns, scratch);
    else
        plain::absoluteContrast(input.data(), result.map.data(), result.second.data(),
                                (int32_t)c.rows, (int32_t)c.columns, scratch);
    return result;
}

// The first differing element of two arrays, by bit pattern; -1 if none.
long firstDifference(const std::vector<double>& a, const std::vector<double>& b)
{
    for (size_t k = 0; k < a.size(); ++k)
        if (bitsOf(a[k]) != bitsOf(b[k]))
            return (long)k;
    return -1;
}

void expectSameBits(bool signedContrast, const ImageCase& c)
{
    const std::vector<double> input = inputFor(c, signedContrast);
    const PlainResult expected = runPlain(signedContrast, input, c);
    const standin::CallReport report = callWith(signedContrast ? vesk2Entry() : veskEntry(),
                                                standin::doubleMatrix(c.rows, c.columns, input));
    ASSERT_TRUE(report.completed) << report.errorIdentifier << ": " << report.errorMessage;
    ASSERT_TRUE(report.outputs.size() == 2 && report.outputs[0] && report.outputs[1]);
    const std::vector<double>& map = report.outputs[0]->values;
    const std::vector<double>& second = report.outputs[1]->values;
    ASSERT_EQ(map.size(), expected.map.size());
    ASSERT_EQ(second.size(), expected.second.size());

    const long mapDifference = firstDifference(map, expected.map);
    EXPECT_EQ(mapDifference, -1) << "map element " << mapDifference << ": "
                                 << (mapDifference < 0 ? 0.0 : map[(size_t)mapDifference])
                                 << " instead of "
                                 << (mapDifference < 0 ? 0.0 : expected.map[(size_t)mapDifference]);
    const long secondDifference = firstDifference(second, expected.second);
    EXPECT_EQ(secondDifference, -1) << "second output element " << secondDifference;
}

class SameBitsAsPlain : public ::testing::TestWithParam<ImageCase> {};

TEST_P(SameBitsAsPlain, Vesk)
{
    expectSameBits(false, GetParam());
}

TEST_P(SameBitsAsPlain, Vesk2)
{
    expectSameBits(true, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Images, SameBitsAsPlain, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ImageCase>& param) {
                             return std::string(param.param.name);
                         });

// The out-of-domain images must really reach the clamping: levels 0 and 255
// both occur, and so do NaN and infinities.
TEST(SameBitsAsPlainCases, OutOfDomainImagesHoldTheClampedValues)
{
    for (bool intensities : {false, true}) {
        const std::vector<double> image = inputFor(kCases[7], intensities);
        int nan = 0, infinite = 0, above = 0, below = 0;
        for (double value : image) {
            nan += isnan(value);
            infinite += isinf(value);
            const double scaled = intensities ? value * 255.0 : value;
            above += scaled >= 256.0;
            below += scaled < 0.0;
        }
        EXPECT_GT(nan, 0);
        EXPECT_GT(infinite, 0);
        EXPECT_GT(above, 0);
        EXPECT_GT(below, 0);
    }
}

}  // namespace
