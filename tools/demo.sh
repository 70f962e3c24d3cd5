#!/usr/bin/env bash
# The main job: builds the plug-ins and runs Vesk and Vesk2 through the
# stand-in host on the bundled photograph. Writes the maps as PGM images and
# the second outputs as text into out/, and prints where.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target vesk-run Vesk Vesk2 >/dev/null

mkdir -p out
./build/host/standin/vesk-run build/mex/Vesk.mexa64 data/camera.pgm \
  out/camera-vesk-map.pgm out/camera-vesk-distribution.txt
./build/host/standin/vesk-run build/mex/Vesk2.mexa64 data/camera.pgm \
  out/camera-vesk2-signed-map.pgm out/camera-vesk2-level.txt --unit

echo "Wrote $(pwd)/out:"
ls -1 out
echo "Least-contrast level of camera.pgm (0..1): $(cat out/camera-vesk2-level.txt)"
