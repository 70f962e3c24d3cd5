#!/usr/bin/env bash
# Checks the Debian package tools/build-deb.sh made, as a user gets it:
# lintian (no errors; its whole output printed), apt-get install of the
# .deb, a fresh Octave running pkg load vesk, pkg test vesk and
# vesk_selftest, the package's autopkgtest on this machine (autopkgtest's
# null runner), then purge. Packages the run installs are removed again,
# whatever happens. Runs as root; needs the `tests` profile of
# tools/install-deps.sh.
#
#   bash tools/check-deb.sh [FOLDER]   (default: build-deb, as build-deb.sh leaves it)
set -euo pipefail
folder=$(realpath "${1:-build-deb}")
debs=("$folder"/octave-vesk_*.deb)
if ((${#debs[@]} != 1)) || [[ ! -f ${debs[0]} ]]; then
  echo "check-deb: expected one octave-vesk_*.deb in $folder, found: ${debs[*]}" >&2
  exit 1
fi
deb=${debs[0]}
if ((EUID != 0)); then
  echo "check-deb: needs root (apt-get install)" >&2
  exit 1
fi
if dpkg-query -W -f='${Status}' octave-vesk 2>/dev/null | grep -q "install ok installed"; then
  echo "check-deb: octave-vesk is installed already; purge it first" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive

installed() { dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" { print $2 }' | sort; }
before=$(mktemp)
work=$(mktemp -d)
installed >"$before"
restore() {
  local added
  apt-get purge -y -qq octave-vesk >/dev/null 2>&1 || true
  added=$(installed | comm -13 "$before" -)
  if [[ -n $added ]]; then
    echo "check-deb: removing what the run installed: $added"
    # shellcheck disable=SC2086
    apt-get purge -y -qq $added >/dev/null || true
  fi
  rm -rf "$work" "$before"
}
trap restore EXIT

echo "== lintian -I --pedantic (informational and pedantic tags too)"
status=0
report=$(lintian -I --pedantic --fail-on error "$folder"/*.changes 2>&1) || status=$?
report=$(grep -v "^running with root privileges" <<<"$report" || true)
echo "${report:-lintian: no tags}"
if ((status)); then
  echo "check-deb: lintian reports errors" >&2
  exit 1
fi

echo "== apt-get install $deb"
apt-get install -y -qq --no-install-recommends "$deb"

echo "== pkg load vesk; pkg test vesk; vesk_selftest (fresh octave-cli)"
mkdir -p "$work/home"
(cd "$work" && HOME=$work/home octave-cli --no-gui --no-init-file --eval "
  pkg load vesk;
  installed = pkg ('describe', 'vesk');
  printf ('vesk %s from %s\n', installed{1}.version, fileparts (which ('Vesk')));
  if (isempty (strfind (which ('Vesk'), '/usr/lib/'))) error ('check-deb: Vesk is not the installed one'); end
  printed = evalc ('pkg test vesk');
  disp (printed);
  summary = regexp (printed, 'PASS\s+(\d+)\s+FAIL\s+(\d+)', 'tokens', 'once');
  if (numel (summary) != 2 || str2double (summary{1}) == 0 || str2double (summary{2}) > 0)
    error ('check-deb: pkg test vesk did not pass');
  end
  vesk_selftest;
")

echo "== autopkgtest (null runner)"
if command -v autopkgtest >/dev/null; then
  autopkgtest --output-dir "$work/autopkgtest" "$folder/source" "$deb" -- null
else
  echo "check-deb: autopkgtest not installed, its run left out (bash tools/install-deps.sh tests)"
fi
echo "check-deb: $(basename "$deb") passed"
