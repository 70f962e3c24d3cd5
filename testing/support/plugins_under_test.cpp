#include "plugins_under_test.h"

#include <string.h>

#include <memory>

#include <gtest/gtest.h>

#include "pgm_image.h"
#include "plugin_loader.h"
#include "scratch_order.h"

namespace test_support {

const std::string& veskPath()
{
    static const std::string path = VESK_PLUGIN_PATH_Vesk;
    return path;
}

const std::string& vesk2Path()
{
    static const std::string path = VESK_PLUGIN_PATH_Vesk2;
    return path;
}

const std::string& dataDirectory()
{
    static const std::string path = VESK_DATA_DIR;
    return path;
}

standin::InputMatrix photograph()
{
    test_support::PgmImage photo;
    std::string error;
    if (!test_support::readPgm(dataDirectory() + "/camera.pgm", photo, error))
        ADD_FAILURE() << error;
    return standin::doubleMatrix(photo.height, photo.width, test_support::columnMajorLevels(photo));
}

namespace {

standin::MexEntry load(const std::string& path)
{
    static std::vector<std::unique_ptr<standin::PluginLibrary>> libraries;
    libraries.push_back(std::make_unique<standin::PluginLibrary>(path));
    if (libraries.back()->entry() == nullptr)
        ADD_FAILURE() << "cannot load " << path << ": " << libraries.back()->error();
    return libraries.back()->entry();
}

}  // namespace

standin::MexEntry veskEntry()
{
    static const standin::MexEntry entry = load(veskPath());
    return entry;
}

standin::MexEntry vesk2Entry()
{
    static const standin::MexEntry entry = load(vesk2Path());
    return entry;
}

standin::CallReport callWith(standin::MexEntry entry, const standin::InputMatrix& input,
                             int outputCount)
{
    standin::CallOptions options;
    options.outputCount = outputCount;
    standin::CallReport report = standin::callEntry(entry, {input}, options);
    for (const std::string& fault : report.faults)
        ADD_FAILURE() << "host contract broken: " << fault;
    return report;
}

standin::CallReport callCompleted(standin::MexEntry entry, const standin::InputMatrix& input,
                                  int outputCount)
{
    standin::CallReport report = callWith(entry, input, outputCount);
    EXPECT_TRUE(report.completed) << report.errorIdentifier << ": " << report.errorMessage;
    return report;
}

const std::vector<double>& outputValues(const standin::CallReport& report, size_t slot)
{
    return report.outputs.at(slot).value().values;
}

void expectDoubleCallScratchAndMatrices(Plugin plugin, const CallReport& report, size_t n)
{
    EXPECT_EQ(report.matricesCreated, 2);
    EXPECT_EQ(report.matricesReclaimed, 0);
    ASSERT_EQ(report.scratch.size(), 3u);
    EXPECT_EQ(report.scratch[0].bytes, 2048u);
    EXPECT_EQ(report.scratch[1].bytes, 1024u);
    EXPECT_EQ(report.scratch[2].bytes, 4 * n);
    EXPECT_EQ(scratchOrderFaults(plugin, mxDOUBLE_CLASS, n, report), "");
}

const std::vector<double>& mapOf(const standin::CallReport& report)
{
    return outputValues(report, 0);
}

void expectSameBits(const std::vector<double>& actual, const std::vector<double>& expected,
                    const char* what)
{
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (size_t k = 0; k < expected.size(); ++k)
        ASSERT_EQ(bitsOf(actual[k]), bitsOf(expected[k]))
            << what << "[" << k << "]: " << actual[k] << " != " << expected[k];
}


}  // namespace test_support
