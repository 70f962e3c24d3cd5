// The main of every benchmark program, once its benchmarks are registered.
#ifndef VESK_BENCH_RUN_BENCHMARKS_H
#define VESK_BENCH_RUN_BENCHMARKS_H

#include <benchmark/benchmark.h>

// Google Benchmark's own options from the command line, then every
// registered benchmark; 1 for an option it does not know.
inline int runRegisteredBenchmarks(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#endif
