#!/usr/bin/env bash
# Builds everything and runs every test: the release build (with the Windows
# plug-ins, run under Wine) and its release archive, then the same suite built
# with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh tests

jobs=$(nproc)

# The Debian roots of the chroot tests download while the release builds;
# made once, then cached (skipped, status 77, where debootstrap cannot work).
# The bare Debian 12 root is for the Debian package on a fresh system.
echo "== Debian 11 and 13 roots for the chroot tests, a bare Debian 12 root (in the background)"
roots=()
for release in bullseye trixie bookworm; do
  action="make"
  [[ $release != bookworm ]] || action=make-fresh
  bash tools/chroot-test.sh "$action" "$release" >"/tmp/vesk-chroot-make-$release.log" 2>&1 &
  roots+=("$release:$!")
done

echo "== release build and archive (as the GitHub workflow builds them)"
bash tools/build-release.sh build

for entry in "${roots[@]}"; do
  status=0
  wait "${entry#*:}" || status=$?
  cat "/tmp/vesk-chroot-make-${entry%%:*}.log"
  ((status == 0 || status == 77)) || { echo "test-all: making the ${entry%%:*} root failed" >&2; exit 1; }
done

echo "== release tests"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== Debian package octave-vesk: built from the Octave package, checked, installed, tested, purged"
bash tools/build-deb.sh build/vesk-*.tar.gz build-deb
bash tools/check-deb.sh build-deb
echo "== octave-vesk on a fresh Debian 12: its dependencies from the mirror, pkg test, purge"
status=0
bash tools/chroot-test.sh deb bookworm build-deb/octave-vesk_*.deb || status=$?
((status == 0 || status == 77)) || { echo "test-all: octave-vesk on a fresh Debian 12 failed" >&2; exit 1; }

echo "== portable counting pass: the same bits without SIMD"
cmake -S . -B build-portable -DCMAKE_BUILD_TYPE=Release -DVESK_WERROR=ON \
  -DVESK_PORTABLE_COUNTING=ON -DVESK_WINDOWS=OFF -DVESK_WITH_OCTAVE=OFF >/dev/null
cmake --build build-portable -j "$jobs" --target plain_identity_test vesk_test vesk2_test exact_cases_test \
  image_classes_test core_passes_test
ctest --test-dir build-portable --output-on-failure -j "$jobs" -L bits

echo "== sanitizer build and tests"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESK_WERROR=ON -DVESK_SANITIZE=ON
cmake --build build-sanitize -j "$jobs"
ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

echo "== main job: the Octave demo"
bash tools/demo.sh

echo "== fuzzing both plug-ins"
bash tools/fuzz.sh

echo "== valgrind memcheck of the test programs"
bash tools/memcheck.sh
