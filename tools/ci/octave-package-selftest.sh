#!/usr/bin/env bash
# What an Octave user does with the package in the release folder: pkg
# install, pkg load vesk, vesk_selftest. Installs into a prefix of its own
# (removed at the end), so that the host's packages stay as they are.
#   bash tools/ci/octave-package-selftest.sh RELEASE_FOLDER
# OCTAVE_CLI names octave-cli where it is not on the PATH.
set -euo pipefail
source "$(dirname "$0")/common.sh"
packages=("$1"/vesk-*.tar.gz)
if ((${#packages[@]} != 1)) || [[ ! -f ${packages[0]} ]]; then
  echo "octave-package-selftest: expected one vesk-*.tar.gz in $1" >&2
  exit 1
fi
package=$(native "$(cd "$(dirname "${packages[0]}")" && pwd)/$(basename "${packages[0]}")")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
prefix=$(native "$prefix")
"${OCTAVE_CLI:-octave-cli}" --no-gui --no-init-file --no-history --quiet --eval "
  pkg('prefix', '$prefix', '$prefix');
  pkg('local_list', fullfile('$prefix', 'octave_packages'));
  pkg('install', '-local', '$package');
  pkg('load', 'vesk');
  disp(which('Vesk'));
  vesk_selftest"
