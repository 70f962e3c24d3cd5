#!/usr/bin/env bash
# The Octave package in the Octave of another Debian release.
#
#   bash tools/chroot-test.sh make RELEASE          make (once) and cache its root
#   bash tools/chroot-test.sh run RELEASE PACKAGE.tar.gz
#   bash tools/chroot-test.sh make-fresh RELEASE    a bare root, nothing added
#   bash tools/chroot-test.sh deb RELEASE octave-vesk_VERSION_ARCH.deb
#
# RELEASE is a Debian code name (bullseye: Octave 6.2, trixie: Octave 9).
# `make` builds its root with debootstrap --variant=minbase from the Debian
# mirror and installs octave, octave-dev (liboctave-dev up to bullseye),
# octave-image and make without recommends, in
# $VESK_CHROOT_CACHE/RELEASE (default /var/cache/vesk-chroots); a root made
# before is kept, only missing packages are added. make, make-fresh and deb
# download; run does not.
# `run` takes the cached root as it is (no network): pkg install -local of the
# package into a folder that is removed afterwards, so that the root stays as
# made, then pkg load vesk, vesk_selftest and pkg test vesk, which must pass
# tests and fail none, test Vesk, news vesk and citation vesk.
# `make-fresh` caches the bare minbase root in $VESK_CHROOT_CACHE/RELEASE-fresh.
# `deb` installs the Debian package on a throwaway copy (an overlay, else
# cp -a) of that root, so that the cached one stays fresh: apt-get install of
# the .deb pulls Octave and the rest from the mirror (the archives are kept in
# RELEASE-fresh.archives for the next run), then a fresh octave-cli runs
# pkg load vesk, pkg test vesk (failing none) and vesk_selftest, and after
# apt-get purge octave-vesk none of the package's files may be left.
# All exit 77 (skipped) where they cannot work: without root, debootstrap,
# the mirror (make, make-fresh, deb), a root that chroot and bind mounts work
# in, or the cached root (run, deb).
set -euo pipefail

usage() {
  echo "usage: bash tools/chroot-test.sh make RELEASE | run RELEASE PACKAGE.tar.gz |" \
    "make-fresh RELEASE | deb RELEASE PACKAGE.deb" >&2
  exit 2
}
(($# >= 2)) || usage
action=$1
release=$2
case "$action:$#" in
  make:2 | make-fresh:2) ;;
  run:3 | deb:3) package=$(realpath "$3") ;;
  *) usage ;;
esac
cache=${VESK_CHROOT_CACHE:-/var/cache/vesk-chroots}
mirror=${VESK_DEBIAN_MIRROR:-http://deb.debian.org/debian}
root=$cache/$release
[[ $action != make-fresh && $action != deb ]] || root=$cache/$release-fresh

skip() {
  echo "chroot-test: SKIPPED ($release): $*"
  exit 77
}
((EUID == 0)) || skip "needs root for debootstrap, chroot and bind mounts"

mounts=()
cleanup() {
  local index
  for ((index = ${#mounts[@]} - 1; index >= 0; index--)); do
    umount -l "${mounts[index]}" 2>/dev/null || true
  done
  mounts=()
  if [[ -n ${work:-} ]]; then rm -rf "$root$work"; fi
  if [[ -n ${copy:-} ]]; then rm -rf --one-file-system "$copy"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# /proc for Octave and apt, /dev/pts for apt's terminal; debootstrap made
# /dev's nodes.
mount_host_folders() {
  local folder
  for folder in proc dev/pts; do
    mkdir -p "$1/$folder"
    mount --bind "/$folder" "$1/$folder" ||
      skip "cannot bind-mount /$folder here (a container without the right to mount?)"
    mounts+=("$1/$folder")
  done
}

in_root() {
  chroot "$1" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive HOME="${home:-/root}" "${@:2}"
}

make_root() {
  local partial=$root.partial probe
  command -v debootstrap >/dev/null || skip "debootstrap is not installed (bash tools/install-deps.sh tests)"
  /usr/lib/apt/apt-helper download-file "$mirror/dists/$release/Release" "$(mktemp -u)" >/dev/null 2>&1 ||
    skip "cannot reach $mirror/dists/$release/Release to make the $release root"
  mkdir -p "$cache"
  probe=$(mktemp -u "$cache/.probe-XXXXXX")
  mknod "$probe" c 1 3 2>/dev/null || skip "cannot make device nodes here, which debootstrap needs (a container?)"
  rm -f "$probe"
  echo "chroot-test: making the $release root in $root (debootstrap --variant=minbase)"
  rm -rf "$partial"
  debootstrap --variant=minbase "$release" "$partial" "$mirror" >"$root.log" 2>&1 || {
    tail -n 30 "$root.log"
    echo "chroot-test: debootstrap $release failed (log: $root.log)" >&2
    exit 1
  }
  mv "$partial" "$root"
}

# Octave, its compiler wrapper, make for pkg install and the image package.
wanted_packages() {
  local dev=octave-dev
  in_root "$root" apt-cache show octave-dev >/dev/null 2>&1 || dev=liboctave-dev
  echo octave "$dev" octave-image make
}

missing_packages() {
  local package
  for package in $(wanted_packages); do
    # shellcheck disable=SC2016
    in_root "$root" dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      echo "$package"
  done
}

started=$SECONDS
if [[ $action == make-fresh ]]; then
  [[ -d $root ]] || make_root
  echo "chroot-test: bare $release root ready in $root after $((SECONDS - started)) s"
  exit 0
fi
if [[ $action == deb ]]; then
  # shellcheck source=tools/chroot-deb.sh
  source "$(dirname "$0")/chroot-deb.sh"
  exit 0
fi
if [[ $action == make ]]; then
  [[ -d $root ]] || make_root
  mount_host_folders "$root"
  missing=$(missing_packages | xargs)
  if [[ -n $missing ]]; then
    echo "chroot-test: installing in the $release root: $missing"
    in_root "$root" apt-get update -qq
    # shellcheck disable=SC2086
    in_root "$root" apt-get install -y -qq --no-install-recommends $missing >>"$root.log"
    in_root "$root" apt-get clean
  fi
  echo "chroot-test: $release root ready in $root after $((SECONDS - started)) s"
  exit 0
fi

[[ -f $package ]] || { echo "chroot-test: no package $package" >&2; exit 1; }
[[ -d $root ]] || skip "no $release root in $cache; make it first with: bash tools/chroot-test.sh make $release"
mount_host_folders "$root"
missing=$(missing_packages | xargs)
[[ -z $missing ]] || skip "the $release root lacks $missing; add them with: bash tools/chroot-test.sh make $release"
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
  summary = regexp (printed, 'PASS\\s+(\\d+)\\s+FAIL\\s+(\\d+)', 'tokens', 'once');
  if (numel (summary) != 2 || str2double (summary{1}) == 0)
    error ('chroot-test: pkg test vesk ran no tests');
  elseif (str2double (summary{2}) > 0)
    error ('chroot-test: pkg test vesk: %s failed', summary{2});
  end
  printf ('chroot-test: Octave %s: pkg test vesk passed %s tests, 0 failed\\n', version (), summary{1});
  [passed, total] = test ('Vesk');
  if (total == 0 || passed < total) error ('chroot-test: test Vesk: %d of %d passed', passed, total); end
  if (isempty (strfind (evalc ('news vesk'), 'changes for vesk'))) error ('chroot-test: news vesk'); end
  if (isempty (strfind (evalc ('citation vesk'), 'version = {'))) error ('chroot-test: citation vesk'); end
  printf ('chroot-test: test Vesk passed %d of %d; news vesk and citation vesk work\\n', passed, total);
"
echo "chroot-test: $release done in $((SECONDS - started)) s"
