#!/usr/bin/env bash
# Builds the release as CI does, here and on GitHub's Linux runner: the Linux
# and (MinGW-w64) Windows plug-ins, everything else of the release build, and
# the release archive build/vesk-<version>.zip, which must hold the Windows
# plug-ins. Needs the `tests` profile of tools/install-deps.sh.
#   bash tools/build-release.sh [BUILD_FOLDER]    (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVESK_WERROR=ON
cmake --build "$build" -j "$(nproc)"
cmake --build "$build" --target package

archives=("$build"/vesk-*.zip)
if ((${#archives[@]} != 1)) || [[ ! -f ${archives[0]} ]]; then
  echo "build-release: expected one release archive in $build, found: ${archives[*]}" >&2
  exit 1
fi
# Without MinGW-w64 the archive would silently lack them.
listing=$(cmake -E tar tf "${archives[0]}")
for plugin in Vesk.mexw64 Vesk2.mexw64; do
  if ! grep -q "/$plugin\$" <<<"$listing"; then
    echo "build-release: ${archives[0]} lacks $plugin (is MinGW-w64 installed?)" >&2
    exit 1
  fi
done
echo "build-release: ${archives[0]}"
