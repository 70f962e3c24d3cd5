#!/usr/bin/env bash
# The shell steps of the GitHub workflow (.github/workflows/hosted-runners.yml)
# that can run on Linux, run here on the release archive the release_archive
# test packed: unpacking it as a user does, adding the macOS plug-ins (here
# stand-ins: copies of the Linux ones under the macOS names), exporting the
# table of refused calls, and the Octave package's pkg install and self-test.
#   bash tests/ci_scripts_test.sh ARCHIVE_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
archive_folder=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
listing() { cmake -E tar tf "$1" | grep -v '/$' | sort; }

echo "-- unpack-release.sh"
folder=$(GITHUB_ENV="$work/github-env" bash "$root/tools/ci/unpack-release.sh" "$archive_folder" "$work/unpacked" | tail -n 1)
archive=$(ls "$archive_folder"/vesk-*.zip)
[[ $folder == "$work/unpacked/$(basename "$archive" .zip)" ]] || fail "unpacked to $folder"
[[ $(cat "$work/github-env") == "VESK_RELEASE_DIR=$folder" ]] || fail "GITHUB_ENV: $(cat "$work/github-env")"
for file in Vesk.mexa64 Vesk2.mexw64 build_mex.m src/cmake/VeskPluginSources.cmake; do
  [[ -f $folder/$file ]] || fail "no $file in $folder"
done
mkdir "$work/two" && cp "$archive" "$work/two/" && cp "$archive" "$work/two/vesk-0.0.0.zip"
if bash "$root/tools/ci/unpack-release.sh" "$work/two" "$work/x" 2>/dev/null; then fail "took one of two archives"; fi

echo "-- add-macos-plugins.sh"
mkdir -p "$work/plugins/intel" "$work/plugins/apple-silicon"
for name in Vesk Vesk2; do
  cp "$folder/$name.mexa64" "$work/plugins/intel/$name.mexmaci64"
  cp "$folder/$name.mexa64" "$work/plugins/apple-silicon/$name.mexmaca64"
done
output=$(bash "$root/tools/ci/add-macos-plugins.sh" "$archive_folder" "$work/plugins" "$work/release" | tail -n 1)
[[ $output == "$work/release/$(basename "$archive")" ]] || fail "wrote $output"
top=$(basename "$archive" .zip)
expected=$( (listing "$archive"; for p in Vesk.mexmaci64 Vesk2.mexmaci64 Vesk.mexmaca64 Vesk2.mexmaca64; do
  echo "$top/$p"; done) | sort)
[[ $(listing "$output") == "$expected" ]] || fail "the archive with the macOS plug-ins holds: $(listing "$output")"
[[ ! -e $output.partial ]] || fail "left $output.partial"
rm "$work/plugins/apple-silicon/Vesk2.mexmaca64"
if bash "$root/tools/ci/add-macos-plugins.sh" "$archive_folder" "$work/plugins" "$work/short" 2>"$work/err"; then
  fail "packed without Vesk2.mexmaca64"
fi
grep -q "expected one Vesk2.mexmaca64" "$work/err" || fail "said: $(cat "$work/err")"
[[ ! -e $work/short/$(basename "$archive") ]] || fail "wrote an archive without Vesk2.mexmaca64"

echo "-- export-refused-calls.sh"
bash "$root/tools/ci/export-refused-calls.sh" "$work/refused_calls.tsv"
rows=$("${OCTAVE_CLI:-octave-cli}" --no-gui --no-init-file --quiet --eval \
  "addpath('$root/matlab/tests'); printf('%d', rows(refused_calls()))")
[[ $(wc -l < "$work/refused_calls.tsv") == "$rows" ]] || fail "exported $(wc -l < "$work/refused_calls.tsv") of $rows rows"
awk -F '\t' 'NF != 3 { exit 1 }' "$work/refused_calls.tsv" || fail "a row without three fields"
grep -qP '^F \(\);\tnargin\texactly one input$' "$work/refused_calls.tsv" || fail "no row for F ()"

echo "-- octave-package-selftest.sh"
bash "$root/tools/ci/octave-package-selftest.sh" "$folder" | tee "$work/selftest.log"
grep -q "vesk_selftest: .* groups passed" "$work/selftest.log" || fail "no self-test summary"
grep -q "Vesk.oct" "$work/selftest.log" || fail "Vesk was not the package's Vesk.oct"
echo "the workflow's shell steps pass"
