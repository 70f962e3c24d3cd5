// Both kernels against the memory-bandwidth bound and the plain version, on
// random, uniform and photographic images of three sizes, with warm buffers
// (reused call after call) and cold ones (fresh pages every call).
//
// What a timed call includes: the kernel's three allocations and its
// releases (Vesk's, or the host's reclamation after Vesk2), and in the
// cold runs the fresh output map and the faulting-in of every fresh page.
// Not included: the host's own work (checks, creating and zero-filling the
// matrices, which a real host does lazily; the Octave benchmark measures that).
#include <string.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "absolute_contrast.h"
#include "bench_host.h"
#include "plain_contrast.h"
#include "run_benchmarks.h"
#include "signed_contrast.h"
#include "stream_bound.h"
#include "test_images.h"

using namespace vesk;

using namespace test_support;

namespace {

using bench_host::Memory;

// The kernels on double images, with the benchmarks' host memory.
const ScratchAllocator kBenchScratch = {bench_host::allocate, bench_host::release};

void computeAbsoluteContrast(const double* input, double* map, double* distribution, int32_t rows,
                             int32_t columns)
{
    computeAbsoluteContrastOfClass(ImageClass::Double, input, map, distribution, rows, columns,
                                   kBenchScratch);
}

void computeSignedContrast(const double* input, double* map, double* leastContrastLevel,
                           int32_t rows, int32_t columns)
{
    computeSignedContrastOfClass(ImageClass::Double, input, map, leastContrastLevel, rows, columns,
                                 kBenchScratch);
}
using test_images::Kind;

enum class Plugin { Vesk, Vesk2 };
enum class Version { Kernel, Plain };

// The second output of either plug-in: 101 doubles for Vesk, 1 for Vesk2.
const int kSecondOutputSize = 101;

const std::vector<double>& imageFor(Plugin plugin, Kind kind, int side)
{
    static std::map<std::string, std::vector<double>> images;
    const std::string key = std::to_string((int)plugin) + test_images::nameOf(kind) +
                            std::to_string(side);
    auto found = images.find(key);
    if (found == images.end()) {
        std::vector<double> levels =
            test_images::greyLevels(kind, (size_t)side, (size_t)side, VESK_DATA_DIR "/camera.pgm");
        if (plugin == Plugin::Vesk2)
            levels = test_images::intensities(levels);
        found = images.emplace(key, std::move(levels)).first;
    }
    return found->second;
}

// The plain version with its scratch from the host, as the kernels get theirs.
void plainCall(Plugin plugin, const double* input, double* map, double* second, int32_t side)
{
    const size_t n = (size_t)side * (size_t)side;
    plain::Scratch scratch{static_cast<double*>(bench_host::allocate(2048)),
                           static_cast<int32_t*>(bench_host::allocate(1024)),
                           static_cast<int32_t*>(bench_host::allocate(4 * n))};
    if (plugin == Plugin::Vesk) {
        plain::absoluteContrast(input, map, second, side, side, scratch);
        bench_host::release(scratch.table);
        bench_host::release(scratch.levels);
        bench_host::release(scratch.histogram);
    } else {
        plain::signedContrast(input, map, second, side, side, scratch);
    }
}

// The same three host allocations and releases as Vesk's kernel.
void boundCall(const double* input, double* map, int32_t side)
{
    const size_t n = (size_t)side * (size_t)side;
    void* table = bench_host::allocate(2048);
    void* histogram = bench_host::allocate(1024);
    int32_t* levels = static_cast<int32_t*>(bench_host::allocate(4 * n));
    streamSameBytes(input, levels, map, (int32_t)n);
    bench_host::release(table);
    bench_host::release(levels);
    bench_host::release(histogram);
}

// The same two host allocations as a kernel on a uint8 image (table and
// histogram; no level array) around the bytes that call must move.
uint64_t uint8BoundCall(const uint8_t* input, double* map, int32_t side)
{
    void* table = bench_host::allocate(2048);
    void* histogram = bench_host::allocate(1024);
    const uint64_t sum = streamBytesTwice(input, map, side * side);
    bench_host::release(table);
    bench_host::release(histogram);
    return sum;
}

// One timed call per iteration. plugin and kind pick the input; a bound run
// has no version.
void runCalls(benchmark::State& state, Plugin plugin, Kind kind, const Version* version,
              Memory memory, int side)
{
    const std::vector<double>& input = imageFor(plugin, kind, side);
    const size_t n = input.size();
    const size_t mapBytes = n * sizeof(double);
    double* warmMap = static_cast<double*>(bench_host::freshPages(mapBytes));
    double second[kSecondOutputSize];

    auto call = [&](double* map) {
        memset(second, 0, sizeof second);
        if (version == nullptr)
            boundCall(input.data(), map, side);
        else if (*version == Version::Plain)
            plainCall(plugin, input.data(), map, second, side);
        else if (plugin == Plugin::Vesk)
            computeAbsoluteContrast(input.data(), map, second, side, side);
        else
            computeSignedContrast(input.data(), map, second, side, side);
    };
    if (memory == Memory::Reused) {
        // Warm means touched: one call first, untimed.
        bench_host::beginCall(memory);
        call(warmMap);
        bench_host::endCall();
    }

    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        bench_host::beginCall(memory);
        double* map = memory == Memory::Fresh
                          ? static_cast<double*>(bench_host::freshPages(mapBytes))
                          : warmMap;
        call(map);
        bench_host::endCall();
        benchmark::ClobberMemory();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        if (map != warmMap)
            bench_host::releasePages(map, mapBytes);
    }
    bench_host::releasePages(warmMap, mapBytes);
    state.counters["elements"] = (double)n;
}

// Seconds of one call on reused (warm) host memory, second output cleared first.
template <typename Call>
double timedWarmCall(double (&second)[kSecondOutputSize], Call&& call)
{
    memset(second, 0, sizeof second);
    const auto start = std::chrono::steady_clock::now();
    bench_host::beginCall(Memory::Reused);
    call();
    bench_host::endCall();
    benchmark::ClobberMemory();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The median over the iterations of numerator[i] / denominator[i].
double medianRatio(const std::vector<double>& numerator, const std::vector<double>& denominator)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < numerator.size(); ++i)
        ratios.push_back(numerator[i] / denominator[i]);
    std::sort(ratios.begin(), ratios.end());
    return ratios[ratios.size() / 2];
}

// Every iteration times each of `calls` once, warm, one after the other in
// the order given, and reports the time of calls[reported]. Returns the times
// of each call, one per iteration.
std::vector<std::vector<double>> timedSideBySide(benchmark::State& state,
                                                 double (&second)[kSecondOutputSize],
                                                 const std::vector<std::function<void()>>& calls,
                                                 size_t reported)
{
    std::vector<std::vector<double>> times(calls.size());
    for (auto _ : state) {
        for (size_t i = 0; i < calls.size(); ++i)
            times[i].push_back(timedWarmCall(second, calls[i]));
        state.SetIterationTime(times[reported].back());
    }
    return times;
}

// Warm ratios from calls taken side by side: every iteration times the bound,
// the kernel, the plain version and the kernel on the random image, one after
// the other, so that a burst of load from elsewhere on a shared machine hits
// all of them rather than one. The counters are medians of per-iteration
// ratios; the reported time is the kernel's.
void runPaired(benchmark::State& state, Plugin plugin, Kind kind, int side)
{
    const std::vector<double>& input = imageFor(plugin, kind, side);
    const std::vector<double>& randomInput = imageFor(plugin, Kind::Random, side);
    const size_t mapBytes = input.size() * sizeof(double);
    double* map = static_cast<double*>(bench_host::freshPages(mapBytes));
    double second[kSecondOutputSize];
    auto kernel = [&](const std::vector<double>& image) {
        if (plugin == Plugin::Vesk)
            computeAbsoluteContrast(image.data(), map, second, side, side);
        else
            computeSignedContrast(image.data(), map, second, side, side);
    };
    auto timed = [&](auto&& call) { return timedWarmCall(second, call); };
    auto bound = [&] { boundCall(input.data(), map, side); };
    auto ownKernel = [&] { kernel(input); };
    auto plainVersion = [&] { plainCall(plugin, input.data(), map, second, side); };
    auto randomKernel = [&] { kernel(randomInput); };
    timed(bound);  // touches the map and the reused scratch
    timed(plainVersion);

    enum { kBound, kKernel, kPlain, kRandom };
    const auto times =
        timedSideBySide(state, second, {bound, ownKernel, plainVersion, randomKernel}, kKernel);
    bench_host::releasePages(map, mapBytes);
    state.counters["kernel_per_bound"] = medianRatio(times[kKernel], times[kBound]);
    state.counters["plain_per_kernel"] = medianRatio(times[kPlain], times[kKernel]);
    state.counters["kernel_per_random"] = medianRatio(times[kKernel], times[kRandom]);
}

// A uint8 image against its own bound and against the double kernel on the
// same image (as doubles: grey levels for Vesk, intensities for Vesk2), warm,
// taken side by side in every iteration. The counters are medians of
// per-iteration ratios; the reported time is the uint8 kernel's.
void runPairedUint8(benchmark::State& state, Plugin plugin, Kind kind, int side)
{
    const std::vector<double>& doubles = imageFor(plugin, kind, side);
    const std::vector<double>& levels = imageFor(Plugin::Vesk, kind, side);
    std::vector<uint8_t> bytes(levels.size());
    for (size_t k = 0; k < levels.size(); ++k)
        bytes[k] = (uint8_t)levels[k];
    const size_t mapBytes = levels.size() * sizeof(double);
    double* map = static_cast<double*>(bench_host::freshPages(mapBytes));
    double second[kSecondOutputSize];
    uint64_t sink = 0;
    auto timed = [&](auto&& call) { return timedWarmCall(second, call); };
    auto bound = [&] { sink += uint8BoundCall(bytes.data(), map, side); };
    auto uint8Kernel = [&] {
        if (plugin == Plugin::Vesk)
            computeAbsoluteContrastOfClass(ImageClass::Uint8, bytes.data(), map, second, side, side,
                                           kBenchScratch);
        else
            computeSignedContrastOfClass(ImageClass::Uint8, bytes.data(), map, second, side, side,
                                         kBenchScratch);
    };
    auto doubleKernel = [&] {
        if (plugin == Plugin::Vesk)
            computeAbsoluteContrast(doubles.data(), map, second, side, side);
        else
            computeSignedContrast(doubles.data(), map, second, side, side);
    };
    timed(doubleKernel);  // touches the map and the reused scratch
    timed(uint8Kernel);

    enum { kBound, kUint8, kDouble };
    const auto times = timedSideBySide(state, second, {bound, uint8Kernel, doubleKernel}, kUint8);
    benchmark::DoNotOptimize(sink);
    bench_host::releasePages(map, mapBytes);
    state.counters["uint8_per_bound"] = medianRatio(times[kUint8], times[kBound]);
    state.counters["double_per_uint8"] = medianRatio(times[kDouble], times[kUint8]);
}

void registerAll()
{
    const int sides[] = {512, 2048, 4096};
    const Memory memories[] = {Memory::Reused, Memory::Fresh};
    const Kind kinds[] = {Kind::Random, Kind::Uniform, Kind::Photo};
    const Version versions[] = {Version::Kernel, Version::Plain};
    static const Version kernel = Version::Kernel;
    static const Version plainVersion = Version::Plain;

    // The side-by-side runs: prefix/plug-in/image/kernel/warm/side.
    typedef void (*PairedRun)(benchmark::State&, Plugin, Kind, int);
    const struct {
        const char* prefix;
        PairedRun run;
        std::vector<Kind> kinds;
    } pairedRuns[] = {{"paired/", runPaired, {Kind::Random, Kind::Uniform, Kind::Photo}},
                      {"uint8/", runPairedUint8, {Kind::Random, Kind::Photo}}};
    for (const auto& paired : pairedRuns)
        for (int side : {2048, 4096})
            for (Plugin plugin : {Plugin::Vesk, Plugin::Vesk2})
                for (Kind kind : paired.kinds) {
                    const std::string name = paired.prefix +
                                             std::string(plugin == Plugin::Vesk ? "Vesk" : "Vesk2") +
                                             "/" + test_images::nameOf(kind) + "/kernel/warm/" +
                                             std::to_string(side);
                    const PairedRun run = paired.run;
                    benchmark::RegisterBenchmark(name.c_str(),
                                                 [=](benchmark::State& state) {
                                                     run(state, plugin, kind, side);
                                                 })
                        ->UseManualTime()
                        ->Iterations(side == 2048 ? 15 : 7)
                        ->Repetitions(3)
                        ->Unit(benchmark::kMillisecond);
                }

    for (int side : sides) {
        for (Memory memory : memories) {
            const std::string warmth = memory == Memory::Reused ? "warm" : "cold";
            const std::string size = std::to_string(side);
            benchmark::RegisterBenchmark(("bound/any/bound/" + warmth + "/" + size).c_str(),
                                         [=](benchmark::State& state) {
                                             runCalls(state, Plugin::Vesk, Kind::Random, nullptr,
                                                      memory, side);
                                         })
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
            for (Plugin plugin : {Plugin::Vesk, Plugin::Vesk2})
                for (Kind kind : kinds)
                    for (Version version : versions) {
                        const std::string name =
                            std::string(plugin == Plugin::Vesk ? "Vesk" : "Vesk2") + "/" +
                            test_images::nameOf(kind) + "/" +
                            (version == Version::Kernel ? "kernel" : "plain") + "/" + warmth +
                            "/" + size;
                        const Version* chosen =
                            version == Version::Kernel ? &kernel : &plainVersion;
                        benchmark::RegisterBenchmark(name.c_str(),
                                                     [=](benchmark::State& state) {
                                                         runCalls(state, plugin, kind, chosen,
                                                                  memory, side);
                                                     })
                            ->UseManualTime()
                            ->Unit(benchmark::kMillisecond);
                    }
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    registerAll();
    return runRegisteredBenchmarks(argc, argv);
}
