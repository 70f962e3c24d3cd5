# shellcheck shell=bash disable=SC2154
# The `deb` action of tools/chroot-test.sh (sourced by it, with its root,
# package, skip, in_root, mount_host_folders and cleanup): the Debian package
# on a throwaway copy of the bare cached root, with its dependencies from the
# mirror.
[[ -f $package ]] || { echo "chroot-test: no package $package" >&2; exit 1; }
[[ -d $root ]] || skip "no bare $release root in $cache; make it first with: bash tools/chroot-test.sh make-fresh $release"
/usr/lib/apt/apt-helper download-file "$mirror/dists/$release/Release" "$(mktemp -u)" >/dev/null 2>&1 ||
  skip "cannot reach $mirror/dists/$release/Release for the package's dependencies"

# The copy: an overlay on the cached root where the kernel allows one, else
# a full copy. Downloaded archives stay in $archives for the next run.
copy=$(mktemp -d "$cache/.deb-$release-XXXXXX")
archives=$root.archives
mkdir -p "$copy/upper" "$copy/work" "$copy/root" "$archives"
if mount -t overlay overlay -o "lowerdir=$root,upperdir=$copy/upper,workdir=$copy/work" "$copy/root" 2>/dev/null; then
  mounts+=("$copy/root")
  echo "chroot-test: overlay on the bare $release root"
else
  rmdir "$copy/root"
  cp -a "$root" "$copy/root"
  echo "chroot-test: copy of the bare $release root (no overlay here)"
fi
fresh=$copy/root
mount_host_folders "$fresh"
mount --bind "$archives" "$fresh/var/cache/apt/archives"
mounts+=("$fresh/var/cache/apt/archives")
cp /etc/resolv.conf "$fresh/etc/resolv.conf"
# shellcheck disable=SC2016
if in_root "$fresh" dpkg-query -W -f='${Status}' octave 2>/dev/null | grep -q "install ok installed"; then
  echo "chroot-test: the bare $release root has octave installed; delete $root and make it again" >&2
  exit 1
fi
cp "$package" "$fresh/tmp/"
deb=/tmp/$(basename "$package")

echo "chroot-test: apt-get install $deb (dependencies from $mirror)"
in_root "$fresh" apt-get update -qq
in_root "$fresh" apt-get install -y -qq --no-install-recommends "$deb" >"$copy/install.log" ||
  { tail -n 30 "$copy/install.log"; echo "chroot-test: apt-get install failed" >&2; exit 1; }
echo "chroot-test: installed after $((SECONDS - started)) s: $(in_root "$fresh" dpkg-query -W octave octave-vesk | xargs)"

# pkg test returns nothing: its summary says whether anything failed.
home=/tmp/home
mkdir -p "$fresh$home"
in_root "$fresh" octave-cli --no-gui --no-init-file --eval "
  cd ('$home');
  pkg load vesk;
  if (isempty (strfind (which ('Vesk'), '/usr/lib/'))) error ('chroot-test: Vesk is not the installed one'); end
  printed = evalc ('pkg test vesk');
  summary = regexp (printed, 'PASS\\s+(\\d+)\\s+FAIL\\s+(\\d+)', 'tokens', 'once');
  if (numel (summary) != 2 || str2double (summary{1}) == 0 || str2double (summary{2}) > 0)
    disp (printed); error ('chroot-test: pkg test vesk did not pass');
  end
  printf ('chroot-test: Octave %s: pkg test vesk: PASS %s FAIL %s\\n', version (), summary{:});
  vesk_selftest;
"

files=$(in_root "$fresh" dpkg-query -L octave-vesk | while read -r file; do
  [[ -f $fresh$file || -L $fresh$file ]] && echo "$file"; done)
in_root "$fresh" apt-get purge -y -qq octave-vesk >>"$copy/install.log"
left=$(for file in $files; do [[ ! -e $fresh$file && ! -L $fresh$file ]] || echo "$file"; done)
! in_root "$fresh" dpkg-query -W octave-vesk >/dev/null 2>&1 ||
  { echo "chroot-test: dpkg still knows octave-vesk after apt-get purge" >&2; exit 1; }
[[ -z $left ]] || { echo "chroot-test: left after apt-get purge octave-vesk: $left" >&2; exit 1; }
echo "chroot-test: apt-get purge octave-vesk removed its $(wc -w <<<"$files") files"
echo "chroot-test: $(basename "$package") on a fresh $release done in $((SECONDS - started)) s"
