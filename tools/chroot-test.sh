#!/usr/bin/env bash
# Installs the Octave package in the Octave of another Debian release and runs
# its tests there: pkg install, pkg load vesk, vesk_selftest, pkg test vesk.
#
#   bash tools/chroot-test.sh RELEASE PACKAGE.tar.gz
#
# RELEASE is a Debian code name (bullseye: Octave 6.2, trixie: Octave 9). Its
# root is made once with debootstrap --variant=minbase, with octave,
# octave-dev (liboctave-dev up to bullseye) and octave-image (no recommends),
# and kept in
# $VESK_CHROOT_CACHE/RELEASE (default /var/cache/vesk-chroots); later runs
# take it as it is. The package goes in as a user's local package under a
# folder that is removed afterwards, so the cached root stays as made.
# Exits 77 (skipped) without root, debootstrap or the Debian mirror.
set -euo pipefail

if (($# != 2)); then
  echo "usage: bash tools/chroot-test.sh RELEASE PACKAGE.tar.gz" >&2
  exit 2
fi
release=$1
package=$(realpath "$2")
cache=${VESK_CHROOT_CACHE:-/var/cache/vesk-chroots}
mirror=${VESK_DEBIAN_MIRROR:-http://deb.debian.org/debian}
root=$cache/$release

skip() {
  echo "chroot-test: SKIPPED ($release): $*"
  exit 77
}
((EUID == 0)) || skip "needs root for debootstrap and chroot"
command -v debootstrap >/dev/null || skip "debootstrap is not installed (bash tools/install-deps.sh tests)"
[[ -f $package ]] || { echo "chroot-test: no package $package" >&2; exit 1; }

mounts=()
cleanup() {
  local index
  for ((index = ${#mounts[@]} - 1; index >= 0; index--)); do
    umount -l "${mounts[index]}" 2>/dev/null || true
  done
  mounts=()
  if [[ -n ${work:-} ]]; then rm -rf "$root$work"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# /proc for Octave and apt, /dev/pts for apt's terminal; debootstrap made
# /dev's nodes.
mount_host_folders() {
  local folder
  for folder in proc dev/pts; do
    mkdir -p "$1/$folder"
    mount --bind "/$folder" "$1/$folder"
    mounts+=("$1/$folder")
  done
}

in_root() {
  chroot "$1" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive HOME="${home:-/root}" "${@:2}"
}

make_root() {
  local partial=$root.partial
  /usr/lib/apt/apt-helper download-file "$mirror/dists/$release/Release" "$(mktemp -u)" >/dev/null 2>&1 ||
    skip "cannot reach $mirror/dists/$release/Release to make the $release root"
  echo "chroot-test: making the $release root in $root (debootstrap --variant=minbase)"
  rm -rf "$partial"
  mkdir -p "$cache"
  debootstrap --variant=minbase "$release" "$partial" "$mirror" >"$cache/$release.log" 2>&1 || {
    tail -n 30 "$cache/$release.log"
    echo "chroot-test: debootstrap $release failed (log: $cache/$release.log)" >&2
    exit 1
  }
  mv "$partial" "$root"
}

# Octave, its compiler wrapper (liboctave-dev up to bullseye), make for pkg
# install and the image package, without recommends; installed when missing.
add_packages() {
  local dev=octave-dev wanted=() missing=() package
  in_root "$root" apt-cache show octave-dev >/dev/null 2>&1 || dev=liboctave-dev
  wanted=(octave "$dev" octave-image make)
  for package in "${wanted[@]}"; do
    in_root "$root" dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  ((${#missing[@]})) || return 0
  echo "chroot-test: installing in the $release root: ${missing[*]}"
  in_root "$root" apt-get update -qq
  in_root "$root" apt-get install -y -qq --no-install-recommends "${missing[@]}" >>"$cache/$release.log"
  in_root "$root" apt-get clean
}

started=$SECONDS
[[ -d $root ]] || make_root
mount_host_folders "$root"
add_packages
echo "chroot-test: $release root ready after $((SECONDS - started)) s"
work=$(mktemp -u /tmp/vesk-chroot-XXXXXX)
home=$work/home
mkdir -p "$root$home"
cp "$package" "$root$work/"
tarball=$work/$(basename "$package")

# pkg test returns nothing: its summary says whether anything failed.
in_root "$root" octave-cli --no-gui --norc --eval "
  pkg ('install', '-local', '$tarball');
  pkg load vesk;
  if (! vesk_selftest ()) error ('chroot-test: vesk_selftest failed'); end
  cd ('$work');
  printed = evalc ('pkg test vesk');
  disp (printed);
  summary = regexp (printed, 'PASS\s+(\d+)\s+FAIL\s+(\d+)', 'tokens', 'once');
  if (numel (summary) != 2 || str2double (summary{1}) == 0)
    error ('chroot-test: pkg test vesk ran no tests');
  elseif (str2double (summary{2}) > 0)
    error ('chroot-test: pkg test vesk: %s failed', summary{2});
  end
  printf ('chroot-test: Octave %s: pkg test vesk passed %s tests, 0 failed\n', version (), summary{1});
"
echo "chroot-test: $release done in $((SECONDS - started)) s"
