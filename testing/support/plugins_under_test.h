// The built plug-in libraries, loaded once per test program, and helpers to
// call them through the stand-in host.
#ifndef VESK_TESTING_PLUGINS_UNDER_TEST_H
#define VESK_TESTING_PLUGINS_UNDER_TEST_H

#include <stdint.h>

#include <initializer_list>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "case_tables.h"
#include "same_bits.h"
#include "standin_host.h"

namespace test_support {

// The stand-in host's names every suite calls with.
using standin::CallReport;
using standin::doubleMatrix;
using standin::InputMatrix;

const std::string& veskPath();
const std::string& vesk2Path();
const std::string& dataDirectory();

// The bundled photograph data/camera.pgm as grey levels 0..255; fails the
// current test when it cannot be read.
standin::InputMatrix photograph();

standin::MexEntry veskEntry();
standin::MexEntry vesk2Entry();

// One call with one input matrix; fails the current test on any host-contract
// fault.
standin::CallReport callWith(standin::MexEntry entry, const standin::InputMatrix& input,
                             int outputCount = 2);

// callWith, and fails the current test unless the call completed.
standin::CallReport callCompleted(standin::MexEntry entry, const standin::InputMatrix& input,
                                  int outputCount = 2);

// The values of output slot `slot` (the first output: 0).
const std::vector<double>& outputValues(const standin::CallReport& report, size_t slot);

// The map: the values of output slot 0.
const std::vector<double>& mapOf(const standin::CallReport& report);

// Values outside every domain.
inline const double kNaN = std::numeric_limits<double>::quiet_NaN();
inline const double kInf = std::numeric_limits<double>::infinity();

// `trials` random double images from `seed`, each of a random shape below
// 40 x 40, in four styles by turns (style = trial % 4): every value
// value(random, style), then check(image) with the trial and the shape in
// the trace.
template <typename Value, typename Check>
void forRandomImages(uint64_t seed, int trials, Value value, Check check)
{
    std::mt19937_64 random(seed);
    for (int trial = 0; trial < trials; ++trial) {
        const size_t rows = random() % 40, columns = random() % 40;
        const int style = trial % 4;
        std::vector<double> input(rows * columns);
        for (double& element : input)
            element = value(random, style);
        SCOPED_TRACE(::testing::Message() << "trial " << trial << ": " << rows << " x " << columns);
        check(standin::doubleMatrix(rows, columns, std::move(input)));
    }
}

// What the host saw of a two-output call on a double image of n elements:
// the scratch in order, the contrast table (2048 bytes), the histogram
// (1024), the 32-bit levels (4n), released as the plug-in does
// (scratchOrderFaults); two matrices created, none reclaimed.
void expectDoubleCallScratchAndMatrices(Plugin plugin, const CallReport& report, size_t n);

// A call on an empty double image of each shape: it completes with a map of
// that shape and no elements; then check(report).
template <typename Check>
void forEmptyImages(standin::MexEntry entry, std::initializer_list<std::pair<size_t, size_t>> shapes,
                    Check check)
{
    for (const auto& shape : shapes) {
        const CallReport report = callCompleted(entry, doubleMatrix(shape.first, shape.second, {}));
        EXPECT_EQ(report.outputs[0]->rows, shape.first);
        EXPECT_EQ(report.outputs[0]->columns, shape.second);
        EXPECT_TRUE(mapOf(report).empty());
        check(report);
    }
}

// Same length and the same bits element by element; `what` names the array.
void expectSameBits(const std::vector<double>& actual, const std::vector<double>& expected,
                    const char* what);

}  // namespace test_support

#endif
