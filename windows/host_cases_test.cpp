// The host-level cases, built for Linux and for Windows from this one source:
// each plug-in library is loaded by path, its mexFunction found and called
// through the stand-in host as MATLAB calls it. Under Wine this proves the
// .mexw64 files load and compute in a Windows process; the transcript options
// let a Linux run check that both builds give the same bits.
//
//   vesk_host_cases --plugins=DIR --data=DIR [--transcript=OUT] [--compare=IN]
//                   [GoogleTest options]
//
// --transcript writes every output of the transcript cases, as bit patterns;
// --compare reads such a file written by the other build and checks this
// build's outputs against it.
#include <inttypes.h>
#include <math.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "case_tables.h"
#include "class_cases.h"
#include "same_bits.h"
#include "pgm_image.h"
#include "plugin_loader.h"
#include "reference.h"
#include "scratch_order.h"
#include "standin_host.h"

using namespace test_support;

namespace {

struct Options {
    std::string pluginDirectory;
    std::string dataDirectory;
    std::string transcriptOut;
    std::string transcriptIn;
};

Options& options()
{
    static Options parsed;
    return parsed;
}

#if defined(_WIN32)
const char* const kPluginSuffix = ".mexw64";
#else
const char* const kPluginSuffix = ".mexa64";
#endif


standin::MexEntry entryOf(Plugin plugin)
{
    static std::unique_ptr<standin::PluginLibrary> libraries[2];
    const int index = plugin == Plugin::Vesk ? 0 : 1;
    if (!libraries[index]) {
        const std::string path = options().pluginDirectory + "/" + nameOf(plugin) + kPluginSuffix;
        libraries[index] = std::make_unique<standin::PluginLibrary>(path);
    }
    if (libraries[index]->entry() == nullptr)
        ADD_FAILURE() << libraries[index]->error();
    return libraries[index]->entry();
}

// One call with two outputs asked for; fails the test on any host-contract
// fault and on anything left held by the host afterwards.
standin::CallReport call(Plugin plugin, const std::vector<standin::InputMatrix>& inputs,
                         int outputCount = 2)
{
    standin::CallOptions callOptions;
    callOptions.outputCount = outputCount;
    standin::MexEntry entry = entryOf(plugin);
    if (entry == nullptr)
        return standin::CallReport();
    standin::CallReport report = standin::callEntry(entry, inputs, callOptions);
    for (const std::string& fault : report.faults)
        ADD_FAILURE() << nameOf(plugin) << ": host contract broken: " << fault;
    EXPECT_EQ(standin::heldAllocations(), 0u) << nameOf(plugin) << " left buffers with the host";
    return report;
}

using test_support::SplitMix64;

// --- worked examples and edge cases, bit for bit -----------------------------

TEST(HostCases, WorkedExamplesAndEdgeCasesBitForBit)
{
    for (const ExactCase& c : exactCases()) {
        SCOPED_TRACE(c.what);
        const standin::CallReport report =
            call(c.plugin, {standin::doubleMatrix(c.rows, c.columns, c.input)});
        ASSERT_TRUE(report.completed) << report.errorIdentifier << ": " << report.errorMessage;
        ASSERT_EQ(report.outputs.size(), 2u);
        ASSERT_TRUE(report.outputs[0] && report.outputs[1]);
        EXPECT_EQ(report.outputs[0]->rows, c.rows);
        EXPECT_EQ(report.outputs[0]->columns, c.columns);
        EXPECT_EQ(bitsOf(report.outputs[0]->values), bitsOf(c.map));
        EXPECT_EQ(report.outputs[1]->rows, c.plugin == Plugin::Vesk ? 101u : 1u);
        EXPECT_EQ(report.outputs[1]->columns, 1u);
        EXPECT_EQ(bitsOf(report.outputs[1]->values), bitsOf(secondOutputOf(c)));
    }
}

TEST(HostCases, VeskTiedLeastContrastTakesTheLowestTiedLevel)
{
    // Levels 0 and 255 both have contrast 255: element 100 is level 0.
    const standin::CallReport report = call(Plugin::Vesk, {standin::doubleMatrix(1, 2, {0, 255})});
    ASSERT_TRUE(report.completed);
    EXPECT_EQ(report.outputs[0]->values, (std::vector<double>{1.0, 1.0}));
    const std::vector<double>& distribution = report.outputs[1]->values;
    EXPECT_EQ(std::count(distribution.begin(), distribution.begin() + 100, 0.0), 100);
    EXPECT_EQ(bitsOf(distribution[100]), bitsOf(0.0));
}

// --- rejections ----------------------------------------------------------------

TEST(HostCases, RejectionsEndTheCallWithAnIdentifier)
{
    for (Plugin plugin : {Plugin::Vesk, Plugin::Vesk2}) {
        for (const Rejection& rejection : rejections()) {
            const std::string identifier = std::string(nameOf(plugin)) + ":" + rejection.reason;
            SCOPED_TRACE(identifier + ": " + rejection.what);
            const standin::CallReport report =
                call(plugin, rejection.inputs, rejection.outputCount);
            EXPECT_FALSE(report.completed);
            EXPECT_EQ(report.errorIdentifier, identifier);
            for (const std::string& fragment : rejection.gist) {
                const std::string expected = test_support::withName(fragment, nameOf(plugin));
                EXPECT_NE(report.errorMessage.find(expected), std::string::npos)
                    << report.errorMessage;
            }
            EXPECT_TRUE(report.scratch.empty()) << "scratch taken before the checks";
            for (const auto& output : report.outputs)
                EXPECT_FALSE(output.has_value());
        }
    }
}

// --- the host contract -----------------------------------------------------------

TEST(HostCases, ScratchIsTakenInOrderAndReleasedAsEachPluginDoes)
{
    for (Plugin plugin : {Plugin::Vesk, Plugin::Vesk2}) {
        for (size_t rows : {0, 1, 7}) {
            const size_t columns = 5;
            SCOPED_TRACE(std::string(nameOf(plugin)) + " on " + std::to_string(rows) + " x 5");
            std::vector<double> input(rows * columns);
            for (size_t k = 0; k < input.size(); ++k)
                input[k] = plugin == Plugin::Vesk ? (double)(k * 37 % 256) : (k % 11) / 10.0;
            const standin::CallReport report =
                call(plugin, {standin::doubleMatrix(rows, columns, input)});
            ASSERT_TRUE(report.completed);
            EXPECT_EQ(report.matricesCreated, 2);
            EXPECT_EQ(report.matricesReclaimed, 0);
            ASSERT_EQ(report.scratch.size(), 3u);
            EXPECT_EQ(report.scratch[0].bytes, 2048u);  // contrast table
            EXPECT_EQ(report.scratch[1].bytes, 1024u);  // histogram
            EXPECT_EQ(report.scratch[2].bytes, 4 * rows * columns);  // levels
            // Vesk: released in the order table, levels, histogram; Vesk2:
            // left to the host, which reclaims it.
            EXPECT_EQ(scratchOrderFaults(plugin, mxDOUBLE_CLASS, rows * columns, report), "");
        }
    }
}

TEST(HostCases, FewerOutputsFillOnlyTheSlotsThatExist)
{
    for (Plugin plugin : {Plugin::Vesk, Plugin::Vesk2}) {
        const double scale = plugin == Plugin::Vesk ? 1.0 : 1 / 255.0;
        const standin::InputMatrix image =
            standin::doubleMatrix(1, 5, {0, 0, 0, 2 * scale, 3 * scale});
        const standin::CallReport both = call(plugin, {image}, 2);
        for (int outputCount : {0, 1}) {
            SCOPED_TRACE(std::string(nameOf(plugin)) + " with nargout " +
                         std::to_string(outputCount));
            const standin::CallReport report = call(plugin, {image}, outputCount);
            ASSERT_TRUE(report.completed);
            ASSERT_EQ(report.outputs.size(), 1u);  // the host provides one slot
            ASSERT_TRUE(report.outputs[0].has_value());
            EXPECT_EQ(bitsOf(report.outputs[0]->values), bitsOf(both.outputs[0]->values));
            EXPECT_EQ(report.matricesCreated, 2);
            EXPECT_EQ(report.matricesReclaimed, 1);  // the unreturned second output
        }
    }
}

// --- images of every class -------------------------------------------------------------

// The outputs and warnings of the double call on the converted image, bit for
// bit, and the scratch of the image's class: table, histogram and the level
// array where the class has one; Vesk releases all (table, levels,
// histogram), Vesk2 leaves all to the host.
TEST(HostCases, EveryClassGivesTheDoubleCallOnTheConvertedImage)
{
    for (const test_support::ClassCase& c : test_support::classEdgeCases()) {
        for (Plugin plugin : {Plugin::Vesk, Plugin::Vesk2}) {
            SCOPED_TRACE(std::string(nameOf(plugin)) + " on " + c.what);
            const size_t rows = c.image.dimensions[0], columns = c.image.dimensions[1];
            const standin::CallReport report = call(plugin, {c.image});
            const standin::CallReport expected = call(
                plugin, {standin::doubleMatrix(rows, columns,
                                               test_support::convertedForDoubleCall(plugin, c.image))});
            ASSERT_TRUE(report.completed && expected.completed) << report.errorMessage;
            for (size_t slot = 0; slot < 2; ++slot) {
                EXPECT_EQ(report.outputs[slot]->rows, expected.outputs[slot]->rows);
                EXPECT_EQ(report.outputs[slot]->columns, expected.outputs[slot]->columns);
                EXPECT_EQ(bitsOf(report.outputs[slot]->values), bitsOf(expected.outputs[slot]->values))
                    << "output " << slot;
            }
            EXPECT_EQ(warningIdentifiers(report), warningIdentifiers(expected));

            EXPECT_EQ(scratchOrderFaults(plugin, c.image.classId, rows * columns, report), "");
        }
    }
}

TEST(HostCases, ScaleWarningsExactlyWhereMeant)
{
    for (const test_support::WarningCase& c : test_support::warningCases()) {
        SCOPED_TRACE(std::string(nameOf(c.plugin)) + " on " + c.what);
        const standin::CallReport report = call(c.plugin, {c.image});
        ASSERT_TRUE(report.completed) << report.errorMessage;
        std::vector<std::string> expected;
        if (*c.reason != '\0')
            expected.push_back(std::string(nameOf(c.plugin)) + ":" + c.reason);
        EXPECT_EQ(warningIdentifiers(report), expected);
    }
}

// --- random images and a real photograph -------------------------------------------

struct ImageCase {
    std::string what;
    Plugin plugin;
    standin::InputMatrix input;
};

// Grey levels, fractional values, few-level images (where equal smallest
// contrasts are likely) and values outside the domain, in random shapes.
std::vector<double> randomValues(SplitMix64& random, size_t count, Plugin plugin)
{
    const uint32_t style = random.below(4);
    std::vector<uint32_t> palette(1 + random.below(4));
    for (uint32_t& level : palette)
        level = random.below(256);
    const double outside[] = {-1.0, 256.0, 1e300, -1e300, NAN, INFINITY, -INFINITY, 3e9};
    std::vector<double> values(count);
    for (double& value : values) {
        double level;
        switch (style) {
        case 0: level = random.below(256); break;
        case 1: level = random.unit() * 256.0; break;
        case 2: level = palette[random.below((uint32_t)palette.size())]; break;
        default:
            level = random.below(16) == 0 ? outside[random.below(8)] : random.below(256);
            break;
        }
        // Vesk2 takes intensities: the level / 255, or a plain value in [0, 1).
        if (plugin == Plugin::Vesk2)
            value = style == 1 ? random.unit() : level / 255.0;
        else
            value = level;
    }
    return values;
}

std::vector<ImageCase> imageCases()
{
    std::vector<ImageCase> cases;
    SplitMix64 random(20261210);
    for (int i = 0; i < 120; ++i) {
        const Plugin plugin = i % 2 == 0 ? Plugin::Vesk : Plugin::Vesk2;
        const size_t rows = random.below(41), columns = random.below(41);
        cases.push_back({"random image " + std::to_string(i) + ", " + std::to_string(rows) +
                             " x " + std::to_string(columns),
                         plugin,
                         standin::doubleMatrix(rows, columns,
                                               randomValues(random, rows * columns, plugin))});
    }
    test_support::PgmImage photo;
    std::string error;
    const std::string path = options().dataDirectory + "/camera.pgm";
    EXPECT_TRUE(test_support::readPgm(path, photo, error)) << error;
    standin::InputMatrix camera =
        standin::doubleMatrix(photo.height, photo.width, test_support::columnMajorLevels(photo));
    standin::InputMatrix cameraUnit = camera;
    for (double& value : cameraUnit.values)
        value /= 255.0;
    cases.push_back({"camera.pgm", Plugin::Vesk, camera});
    cases.push_back({"camera.pgm / 255", Plugin::Vesk2, cameraUnit});
    // Images of every class, for both plug-ins.
    for (const test_support::ClassCase& c : test_support::randomClassImages(20261211, 48)) {
        cases.push_back({c.what + " of class " + test_support::classNameOf(c.image.classId),
                         Plugin::Vesk, c.image});
        cases.push_back({c.what + " of class " + test_support::classNameOf(c.image.classId),
                         Plugin::Vesk2, c.image});
    }
    return cases;
}

// The doubles the reference takes: the image converted as the plug-in does.
std::vector<double> referenceInput(const ImageCase& c)
{
    return test_support::convertedForDoubleCall(c.plugin, c.input);
}

TEST(HostCases, RandomImagesMatchTheReference)
{
    for (const ImageCase& c : imageCases()) {
        SCOPED_TRACE(std::string(nameOf(c.plugin)) + " on " + c.what);
        const standin::CallReport report = call(c.plugin, {c.input});
        ASSERT_TRUE(report.completed) << report.errorMessage;
        if (c.plugin == Plugin::Vesk) {
            const reference::AbsoluteContrast expected = reference::absoluteContrast(referenceInput(c));
            EXPECT_EQ(bitsOf(report.outputs[0]->values), bitsOf(expected.map));
            ASSERT_EQ(report.outputs[1]->values.size(), 101u);
            EXPECT_EQ(bitsOf(report.outputs[1]->values), bitsOf(expected.distribution));
        } else {
            const reference::SignedContrast expected = reference::signedContrast(referenceInput(c));
            EXPECT_EQ(bitsOf(report.outputs[0]->values), bitsOf(expected.map));
            EXPECT_EQ(bitsOf(report.outputs[1]->values),
                      bitsOf(std::vector<double>{expected.leastContrastLevel}));
        }
    }
}

// --- one build against the other ------------------------------------------------------

void writeValues(std::ostream& out, const char* label, const std::vector<double>& values)
{
    out << label << ' ' << values.size();
    char hex[24];
    for (double value : values) {
        snprintf(hex, sizeof hex, " %016" PRIx64, bitsOf(value));
        out << hex;
    }
    out << '\n';
}

bool readValues(std::istream& in, const char* label, std::vector<uint64_t>& bits)
{
    std::string word;
    size_t count = 0;
    if (!(in >> word >> count) || word != label)
        return false;
    bits.resize(count);
    for (uint64_t& value : bits) {
        if (!(in >> word))
            return false;
        value = strtoull(word.c_str(), nullptr, 16);
    }
    return true;
}

// each(header, report) for every case of the transcript, in order: its
// header line and its completed call; stops at the first fatal failure.
template <typename Each>
void forEachTranscriptCase(Each each)
{
    for (const ImageCase& c : imageCases()) {
        const std::string header = std::string("case ") + nameOf(c.plugin) + ' ' + c.what;
        SCOPED_TRACE(header);
        const standin::CallReport report = call(c.plugin, {c.input});
        ASSERT_TRUE(report.completed) << report.errorMessage;
        each(header, report);
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

// body(file) on the transcript file at path, opened binary as a Stream.
template <typename Stream, typename Body>
void withTranscriptFile(const std::string& path, const char* use, Body body)
{
    Stream file(path, std::ios::binary);
    ASSERT_TRUE(file) << "cannot " << use << " " << path;
    body(file);
}

TEST(Transcript, Write)
{
    if (options().transcriptOut.empty())
        GTEST_SKIP() << "no --transcript given";
    withTranscriptFile<std::ofstream>(options().transcriptOut, "write", [](std::ofstream& out) {
        forEachTranscriptCase([&](const std::string& header, const standin::CallReport& report) {
            out << header << '\n';
            writeValues(out, "first", report.outputs[0]->values);
            writeValues(out, "second", report.outputs[1]->values);
        });
        ASSERT_TRUE(out.flush());
    });
}

// Every bit must agree, Vesk's element 100 on tied images included: whatever
// each C library's qsort does with equal records, no two records compare equal.
TEST(Transcript, MatchesTheOtherBuild)
{
    if (options().transcriptIn.empty())
        GTEST_SKIP() << "no --compare given";
    withTranscriptFile<std::ifstream>(options().transcriptIn, "read", [](std::ifstream& in) {
        forEachTranscriptCase([&](const std::string& header, const standin::CallReport& report) {
            std::string line;
            while (line.empty() && std::getline(in, line)) {
            }
            ASSERT_EQ(line, header) << "the transcripts list different cases";
            std::vector<uint64_t> otherFirst, otherSecond;
            ASSERT_TRUE(readValues(in, "first", otherFirst) &&
                        readValues(in, "second", otherSecond))
                << "the transcript is cut short";
            EXPECT_EQ(bitsOf(report.outputs[0]->values), otherFirst);
            EXPECT_EQ(bitsOf(report.outputs[1]->values), otherSecond);
        });
        if (::testing::Test::HasFatalFailure())
            return;
        std::string rest;
        EXPECT_FALSE(in >> rest) << "the other transcript has more cases";
    });
}

bool takeOption(const char* argument, const char* name, std::string& value)
{
    const size_t length = strlen(name);
    if (strncmp(argument, name, length) != 0)
        return false;
    value = argument + length;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    Options& parsed = options();
    for (int i = 1; i < argc; ++i) {
        if (!takeOption(argv[i], "--plugins=", parsed.pluginDirectory) &&
            !takeOption(argv[i], "--data=", parsed.dataDirectory) &&
            !takeOption(argv[i], "--transcript=", parsed.transcriptOut) &&
            !takeOption(argv[i], "--compare=", parsed.transcriptIn)) {
            fprintf(stderr, "vesk_host_cases: unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    if (parsed.pluginDirectory.empty() || parsed.dataDirectory.empty()) {
        fprintf(stderr, "usage: vesk_host_cases --plugins=DIR --data=DIR [--transcript=OUT] "
                        "[--compare=IN] [GoogleTest options]\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
