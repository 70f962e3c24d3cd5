#!/usr/bin/env bash
# Fuzzes both plug-ins: builds them and the stand-in host with clang, libFuzzer,
# AddressSanitizer and UBSan in build-fuzz/, replays the committed seeds, then
# runs fuzz_vesk and fuzz_vesk2 side by side for VESK_FUZZ_SECONDS (60) each.
# Fails on any finding; the input that caused it is left in
# build-fuzz/findings/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${VESK_FUZZ_SECONDS:-60}
build=build-fuzz

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVESK_FUZZ=ON -DVESK_BUILD_TESTS=OFF -DVESK_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzz_vesk fuzz_vesk2

# libFuzzer pulls in libstdc++ ahead of the shared sanitizer runtime; the
# runtime is still the one that provides malloc, so the order check is off.
export ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

targets=(fuzz_vesk fuzz_vesk2)
status=0
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  findings=$build/findings/$target
  mkdir -p "$corpus" "$findings"
  cp -n fuzz/seeds/* "$corpus"/
  # The seeds alone first: a known input that fails is reported at once.
  if ! "$build/fuzz/$target" -runs=0 -artifact_prefix="$findings/" fuzz/seeds \
      >"$build/$target-seeds.log" 2>&1; then
    echo "== $target fails on a committed seed:"; tail -40 "$build/$target-seeds.log"
    status=1
  fi
done
((status == 0)) || exit 1

pids=()
for target in "${targets[@]}"; do
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$build/findings/$target/" "$build/corpus/$target" \
    >"$build/$target.log" 2>&1 &
  pids+=($!)
done
for i in "${!targets[@]}"; do
  target=${targets[$i]}
  if wait "${pids[$i]}"; then
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/$target.log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$build/$target.log")
    corpus_size=$(find "$build/corpus/$target" -type f | wc -l)
    echo "== $target: clean, $executions executions in ${seconds} s ($rate/s), corpus $corpus_size"
  else
    echo "== $target: FINDING (input in $build/findings/$target/):"
    grep -v -E '^#[0-9]+ ' "$build/$target.log" | tail -60
    status=1
  fi
done
exit "$status"
