#!/usr/bin/env bash
# Runs every benchmark in one go and writes the figures:
#   build-bench/results/figures.md          tables, ratios and targets
#   build-bench/results/time-per-element.png the plot
# Kernels (Google Benchmark): both plug-ins against the memory-bandwidth bound
# and the plain version, warm and cold. GNU Octave: the MEX and the
# Octave-native calls against each build's floor and the vectorised scripts;
# vesk_batch over 64 photographs and 400 small images, serially, on 2 workers
# and resumed, against the loop a user would write. Takes a few minutes; run it on an otherwise idle machine
# (the load averages before and after are recorded with the figures). Not part
# of the tests; CI only builds the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh bench

build=build-bench
results="$build/results"
mkdir -p "$results" "$build/octave" "$build/octave-native"

echo "== build (release)"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVESK_BUILD_TESTS=OFF > /dev/null
cmake --build "$build" -j 2 --target vesk_bench vesk_standin_bench

echo "== Octave MEX files"
# The build's own Octave plug-ins (mkoctfile against Octave's mex.h), with
# the optimisation of the release build; mkoctfile takes CXXFLAGS from here.
rm -f "$build"/octave/Vesk.mex "$build"/octave/Vesk2.mex  # built anew with these flags
CXXFLAGS="-O3 -DNDEBUG" cmake --build "$build" --target vesk_octave
mkoctfile --mex bench/octave/host_floor.cpp -o "$build/octave/host_floor.mex"
rm -f "$build"/octave/*.o

echo "== Octave-native functions"
rm -f "$build"/octave-native/Vesk.oct "$build"/octave-native/Vesk2.oct
CXXFLAGS="-O3 -DNDEBUG" cmake --build "$build" --target vesk_octave_native
CXXFLAGS="-O3 -DNDEBUG" mkoctfile -Ihost -Icore bench/octave/native_floor.cpp \
  -o "$build/octave-native/native_floor.oct"
rm -f "$build"/octave-native/*.o

{
  lscpu | grep -E '^(Model name|CPU\(s\)|L2 cache|L3 cache|Hypervisor vendor)'
  echo "Memory:      $(free -g | awk '/^Mem:/ {print $2}') GiB"
  echo "Kernel:      $(uname -sr)"
  echo "Pages:       4 KiB, transparent huge pages: $(cat /sys/kernel/mm/transparent_hugepage/enabled 2>/dev/null || echo unknown)"
  echo "Compiler:    $(g++ --version | head -n 1)"
  echo "Commit:      $(git rev-parse --short HEAD 2>/dev/null || echo unknown)"
  echo "Date:        $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "Load before: $(cut -d ' ' -f 1-3 /proc/loadavg)"
} > "$results/machine.txt"

echo "== kernels (Google Benchmark)"
"$build/bench/vesk_bench" --benchmark_repetitions=5 --benchmark_min_time=0.2 \
  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
  --benchmark_out="$results/kernels.json" --benchmark_out_format=json

echo "== the plug-ins through the stand-in host"
"$build/bench/vesk_standin_bench" --benchmark_repetitions=3 --benchmark_min_time=0.1 \
  --benchmark_report_aggregates_only=true \
  --benchmark_out="$results/standin.json" --benchmark_out_format=json

echo "== GNU Octave"
octave-cli --no-gui --norc --quiet --eval \
  "addpath('bench/octave'); contrast_benchmark('$build/octave', '$build/octave-native', '$results/octave.csv')"

echo "== vesk_batch (GNU Octave, parallel package)"
# One thread per process: imread's OpenMP threads (GraphicsMagick) make a
# serial read take 14 to 34 ms for the same file here, as the other core is
# idle or busy, which would measure the machine, not the workers.
OMP_NUM_THREADS=1 octave-cli --no-gui --norc --quiet --eval \
  "addpath('bench/octave'); batch_benchmark('$build/octave', 'data', '$results/batch.csv')"

echo "Load after:  $(cut -d ' ' -f 1-3 /proc/loadavg)" >> "$results/machine.txt"

echo "== figures"
octave-cli --no-gui --norc --quiet --eval \
  "addpath('bench'); report_figures('$results/kernels.json', '$results/standin.json', '$results/octave.csv', '$results/machine.txt', '$results', '$results/batch.csv')"
gnuplot -e "dir='$results'" bench/plot_figures.gp
echo "Figures: $results/figures.md and $results/time-per-element.png"
