#!/usr/bin/env bash
# The main job: builds the Octave-native functions and draws, for every
# bundled photograph, its contrast maps and distribution as a PNG figure.
# Usage: bash tools/demo.sh [OUTPUT_FOLDER]   (default: build-demo/figures)
set -euo pipefail
output=${1:+$(realpath -m "$1")}  # relative to where the command is run
cd "$(dirname "$0")/.."
root=$PWD
build=build-demo
output=${output:-$root/$build/figures}

bash tools/install-deps.sh demo

echo "== building the Octave functions"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVESK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j 2 --target vesk_octave_native

echo "== drawing the figures"
octave-cli --no-init-file --no-history --quiet --eval "
  addpath ('$root/$build/octave-native');
  warning ('off', 'Octave:gnuplot-graphics');
  graphics_toolkit ('gnuplot');
  vesk_demo ('$root/data', '$output');"

echo "Figures written to $output"
