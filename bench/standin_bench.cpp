// The built plug-ins called through the stand-in host, as the tests call them:
// what a test's call costs beyond the kernel. The stand-in host copies the
// input into a guarded matrix and keeps a copy to compare afterwards, fills
// every mxMalloc buffer with a pattern, zero-fills the outputs, checks every
// guard, and copies the outputs out; all of it is inside the timed call.
#include <stdio.h>

#include <chrono>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "plugin_loader.h"
#include "run_benchmarks.h"
#include "standin_host.h"
#include "test_images.h"

using namespace test_support;

namespace {

void callThroughHost(benchmark::State& state, const char* path, bool intensities, int side)
{
    standin::PluginLibrary library(path);
    if (library.entry() == nullptr) {
        state.SkipWithError(library.error().c_str());
        return;
    }
    std::vector<double> image = test_images::greyLevels(test_images::Kind::Random, (size_t)side,
                                                        (size_t)side, "");
    if (intensities)
        image = test_images::intensities(image);
    const std::vector<standin::InputMatrix> inputs{
        standin::doubleMatrix((size_t)side, (size_t)side, image)};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        standin::CallReport report = standin::callEntry(library.entry(), inputs);
        const auto end = std::chrono::steady_clock::now();
        if (!report.completed || !report.faults.empty())
            state.SkipWithError("the call failed");
        benchmark::DoNotOptimize(report);
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["elements"] = (double)side * side;
}

}  // namespace

int main(int argc, char** argv)
{
    for (int side : {512, 2048, 4096}) {
        benchmark::RegisterBenchmark(("standin/Vesk/random/call/" + std::to_string(side)).c_str(),
                                     callThroughHost, VESK_PLUGIN_PATH_Vesk, false, side)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("standin/Vesk2/random/call/" + std::to_string(side)).c_str(),
                                     callThroughHost, VESK_PLUGIN_PATH_Vesk2, true, side)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    return runRegisteredBenchmarks(argc, argv);
}
