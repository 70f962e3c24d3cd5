#!/usr/bin/env bash
# Runs every test program under valgrind memcheck (build-memcheck/, labelled
# "memcheck" in ctest): any memory error or leak fails. The 8192 x 8192 image
# is left out (label "huge"; minutes under valgrind, and covered natively and
# by the sanitizer build).
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-memcheck
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_WERROR=ON -DVESK_MEMCHECK=ON \
  >/dev/null
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" -L memcheck --output-on-failure -j "$(nproc)"
