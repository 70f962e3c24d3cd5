#!/usr/bin/env bash
# Unpacks the release archive as a user does: its one folder vesk-<version>
# into DESTINATION, as it is. Prints that folder; on GitHub's runners also
# sets VESK_RELEASE_DIR to it for the later steps.
#   bash tools/ci/unpack-release.sh ARCHIVE_FOLDER DESTINATION
set -euo pipefail
source "$(dirname "$0")/common.sh"
archive=$(the_release_archive "$1")
mkdir -p "$2"
(cd "$2" && cmake -E tar xf "$(cd "$(dirname "$archive")" && pwd)/$(basename "$archive")")
folders=("$2"/vesk-*/)
if ((${#folders[@]} != 1)) || [[ ! -d ${folders[0]} ]]; then
  echo "unpack-release: $archive should hold one folder vesk-<version>" >&2
  exit 1
fi
folder=$(native "$(cd "${folders[0]}" && pwd)")
if [[ -n ${GITHUB_ENV:-} ]]; then
  echo "VESK_RELEASE_DIR=$folder" >> "$GITHUB_ENV"
fi
echo "$folder"
