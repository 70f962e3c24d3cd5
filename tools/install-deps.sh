#!/usr/bin/env bash
# Installs the Debian packages a job needs, when missing. Runs as root on
# Debian 12; does nothing when everything is there.
#
#   bash tools/install-deps.sh demo    Octave (headless), its compiler headers,
#                                      gnuplot and fonts: builds the Octave
#                                      plug-ins and draws the demo figures
#   bash tools/install-deps.sh bench   demo + Google Benchmark, the Octave
#                                      package parallel (vesk_batch's workers),
#                                      Slurm and munge (the job-array benchmark
#                                      and suite start a cluster of their own)
#   bash tools/install-deps.sh tests   everything the test suites use (the default):
#                                      bench + GoogleTest, clang and its sanitizer
#                                      runtime, valgrind, MinGW-w64 and Wine, and
#                                      the Octave package image, the Debian
#                                      packaging tools (dh-octave, lintian,
#                                      autopkgtest), debootstrap for the
#                                      chroot tests, and (npm) the GitHub
#                                      workflow validator
set -euo pipefail

profile=${1:-tests}

# Without recommends: gnuplot, fonts and ghostscript for printing figures
# (without the fonts every axes fails to render).
demo=(cmake g++ make binutils octave octave-dev gnuplot-nox fonts-freefont-otf ghostscript)
bench=("${demo[@]}" libbenchmark-dev octave-parallel slurm-wlm munge)
tests=("${bench[@]}" googletest libgtest-dev clang libclang-rt-14-dev valgrind
       g++-mingw-w64-x86-64 wine64 octave-image
       dh-octave dh-octave-autopkgtest lintian autopkgtest debootstrap)

case "$profile" in
  demo) packages=("${demo[@]}") ;;
  bench) packages=("${bench[@]}") ;;
  tests) packages=("${tests[@]}") ;;
  *) echo "usage: bash tools/install-deps.sh [demo|bench|tests]" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
# The workflow validator comes from the npm registry, into build-tools/npm.
validator=(@action-validator/cli@0.6.0 @action-validator/core@0.6.0)
npm_folder=$(cd "$(dirname "$0")/.." && pwd)/build-tools/npm
if [[ $profile == tests ]] && ! command -v npm >/dev/null 2>&1; then
  missing+=(nodejs npm)
fi
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if [[ $profile == tests && ! -x $npm_folder/node_modules/.bin/action-validator ]]; then
  echo "Installing into $npm_folder: ${validator[*]}"
  npm install --prefix "$npm_folder" --no-audit --no-fund --no-save "${validator[@]}"
fi
