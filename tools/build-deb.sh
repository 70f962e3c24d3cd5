#!/usr/bin/env bash
# Builds the Debian package octave-vesk from the Octave package, with
# dh-octave: unpacks vesk-<version>.tar.gz, adds packaging/debian/ and the
# changelog and copyright written from the package's own NEWS, DESCRIPTION
# and COPYING, and runs dpkg-buildpackage -us -uc -b (which runs the built-in
# tests). Needs the `tests` profile of tools/install-deps.sh.
#
#   bash tools/build-deb.sh PACKAGE.tar.gz [OUTPUT_FOLDER]   (default: build-deb)
#
# OUTPUT_FOLDER receives octave-vesk_<version>-1_<arch>.deb, the .changes and
# .buildinfo files, and source/: the unpacked tree with debian/, as
# autopkgtest takes it (tools/check-deb.sh).
set -euo pipefail
if (($# < 1 || $# > 2)); then
  echo "usage: bash tools/build-deb.sh PACKAGE.tar.gz [OUTPUT_FOLDER]" >&2
  exit 2
fi
repo=$(cd "$(dirname "$0")/.." && pwd)
tarball=$(realpath "$1")
output=$(realpath -m "${2:-build-deb}")
maintainer=$(sed -n 's/^Maintainer: //p' "$repo/packaging/debian/control" | head -n 1)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tar xzf "$tarball" -C "$work"
tree=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'vesk-*')
field() { sed -n "s/^$1: //p" "$tree/DESCRIPTION" | head -n 1; }
version=$(field Version)
source="$work/octave-vesk-$version"
mv "$tree" "$source"
cp -r "$repo/packaging/debian" "$source/debian"

# debian/changelog: one entry per version of NEWS, newest first, each item's
# first sentence a line, dated by NEWS.
awk -v maintainer="$maintainer" '
  function flush_item() {
    if (item != "") {
      sentence = item
      sub(/\. .*/, ".", sentence)
      items[++count] = sentence
    }
    item = ""
  }
  function flush_version() {
    flush_item()
    if (version == "") return
    printf "octave-vesk (%s-1) unstable; urgency=medium\n\n", version
    for (k = 1; k <= count; k++) {
      text = items[k]
      printf "  * "
      n = split(text, words, " ")
      line = ""
      for (w = 1; w <= n; w++) {
        if (length(line) + length(words[w]) + 1 > 72 && line != "") { printf "%s\n    ", line; line = words[w] }
        else line = (line == "" ? words[w] : line " " words[w])
      }
      printf "%s\n", line
    }
    cmd = "date -u -R -d " date
    cmd | getline stamp
    close(cmd)
    printf "\n -- %s  %s\n\n", maintainer, stamp
    count = 0
  }
  /changes for vesk [0-9.]+ \([0-9-]+\):$/ {
    flush_version()
    match($0, /vesk [0-9.]+/); version = substr($0, RSTART + 5, RLENGTH - 5)
    match($0, /\([0-9-]+\)/); date = substr($0, RSTART + 1, RLENGTH - 2)
    next
  }
  /^ \*\* / { flush_item(); item = substr($0, 5); next }
  /^ +[^ -]/ && item != "" { line = $0; sub(/^ +/, "", line); item = item " " line; next }
  /^$/ { flush_item() }
  END { flush_version() }
' "$source/NEWS" >"$source/debian/changelog"
head -n 1 "$source/debian/changelog" | grep -q "^octave-vesk ($version-1) " || {
  echo "build-deb: NEWS of $tarball has no entry for $version" >&2
  exit 1
}

# debian/copyright (machine-readable): the package's licence as COPYING has
# it, the photographs as data/SOURCES.md gives theirs.
{
  echo "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
  echo "Upstream-Name: $(field Name)"
  echo "Upstream-Contact: $maintainer"
  echo
  echo "Files: *"
  echo "Copyright: $(sed -n 's/^Copyright (c) //p' "$source/COPYING" | head -n 1)"
  echo "License: Expat"
  echo
  echo "Files: inst/data/camera.png"
  echo "Copyright: Lav Varshney (scikit-image sample data)"
  echo "License: CC0-1.0"
  echo
  echo "Files: inst/data/astronaut.png"
  echo "Copyright: NASA (Great Images database; scikit-image sample data)"
  echo "License: public-domain"
  echo " Photograph of the astronaut Eileen Collins taken by NASA, in the public"
  echo " domain; no known copyright restrictions."
  echo
  echo "License: Expat"
  sed -n '/^Permission is hereby granted/,$p' "$source/COPYING" | sed -e 's/^$/./' -e 's/^/ /'
  echo
  echo "License: CC0-1.0"
  echo " To the extent possible under law, the photographer has waived all"
  echo " copyright and related or neighboring rights to this work."
  echo " On Debian systems, the full text of the CC0 1.0 Universal licence can"
  echo " be found in /usr/share/common-licenses/CC0-1.0."
} >"$source/debian/copyright"

rm -rf "$output"
mkdir -p "$output"
cp -r "$source" "$output/source"
(cd "$source" && dpkg-buildpackage -us -uc -b)
mv "$work"/*.deb "$work"/*.changes "$work"/*.buildinfo "$output/"
ls -l "$output"/*.deb
