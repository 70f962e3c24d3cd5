#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# Runs as root on Debian 12; does nothing when everything is there.
set -euo pipefail

packages=(
  cmake g++ make googletest libgtest-dev binutils
  # Octave, headless: without recommends; gnuplot, fonts and ghostscript
  # for printing figures (without the fonts every axes fails to render).
  octave octave-dev gnuplot-nox fonts-freefont-otf ghostscript
  clang libclang-rt-14-dev valgrind
  g++-mingw-w64-x86-64 wine64
  # the benchmarks (tools/benchmark.sh)
  libbenchmark-dev
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
