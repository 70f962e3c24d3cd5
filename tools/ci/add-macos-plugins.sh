#!/usr/bin/env bash
# The release archive with the macOS plug-ins MATLAB's mex built on the
# hosted runners: unpacks ARCHIVE_FOLDER's vesk-*.zip, adds Vesk and Vesk2
# for Intel (.mexmaci64) and Apple silicon (.mexmaca64) from PLUGIN_FOLDER
# (searched recursively: each runner's artifact is a folder of its own)
# beside the others, and packs the same folder as OUTPUT_FOLDER/vesk-*.zip.
# Fails unless all four are there, once each.
#   bash tools/ci/add-macos-plugins.sh ARCHIVE_FOLDER PLUGIN_FOLDER OUTPUT_FOLDER
set -euo pipefail
source "$(dirname "$0")/common.sh"
archive=$(the_release_archive "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
archive=$(cd "$(dirname "$archive")" && pwd)/$(basename "$archive")
(cd "$work" && cmake -E tar xf "$archive")
folder=$(cd "$work"/vesk-*/ && pwd)

for plugin in Vesk.mexmaci64 Vesk2.mexmaci64 Vesk.mexmaca64 Vesk2.mexmaca64; do
  found=()
  while IFS= read -r -d '' file; do found+=("$file"); done \
    < <(find "$2" -type f -name "$plugin" -print0)
  if ((${#found[@]} != 1)); then
    echo "add-macos-plugins: expected one $plugin under $2, found ${#found[@]}" >&2
    exit 1
  fi
  cp "${found[0]}" "$folder/$plugin"
done

mkdir -p "$3"
output=$(cd "$3" && pwd)/$(basename "$archive")
rm -f "$output.partial"
(cd "$work" && cmake -E tar cf "$output.partial" --format=zip "$(basename "$folder")")
mv "$output.partial" "$output"   # never a half-written archive under its name
echo "$output"
