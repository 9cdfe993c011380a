#!/usr/bin/env bash
# Builds the Debian package (build/package/calculator_VERSION_ARCH.deb) and checks it: lints
# the package and its desktop entry and AppStream metadata, then scripts/check-package.sh
# installs it with apt, runs the installed program (a calculation, and a headless start as root
# and as an unprivileged user, which must write their files to the per-user data folder) and
# removes it again.
# Usage: scripts/package.sh [--keep | --fresh [ROOT]]
#   --keep        leaves the package installed on this machine.
#   --fresh ROOT  installs and checks it in a fresh Debian 12 system instead of this machine:
#                 a throw-away copy (an overlay) of a minimal bookworm root made by debootstrap
#                 in ROOT (by default debian12-root beside the project folder), made once and
#                 reused; every run starts from the untouched root.
# Needs root or sudo, as installing any package does; --fresh needs root.
set -euo pipefail
keep=false
fresh=
case ${1:-} in
  --keep) keep=true ;;
  --fresh) fresh=$(realpath -m "${2:-$(dirname "$0")/../../debian12-root}") ;;
  "") ;;
  *) echo "usage: $0 [--keep | --fresh [ROOT]]" >&2; exit 2 ;;
esac
cd "$(dirname "$0")/.."
if [[ -n $fresh && $(id -u) -ne 0 ]]; then
  echo "$0: --fresh makes and enters a chroot, which needs root" >&2
  exit 1
fi

sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)

scripts/install-deps.sh
# The checking tools; lintian is optional and only run when present.
scripts/install-packages.sh desktop-file-utils appstream dpkg-dev
[[ -z $fresh ]] || scripts/install-packages.sh debootstrap
scripts/build.sh

out=build/package
rm -rf "$out"
cpack --config build/CPackConfig.cmake -G DEB -B "$out"
deb=$(ls "$out"/calculator_*.deb)
echo "== package: $deb"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

lint=$(mktemp -d)
trap 'rm -rf "$lint"' EXIT
echo "== lint"
dpkg-deb -x "$deb" "$lint/root"
desktop-file-validate "$lint"/root/usr/share/applications/*.desktop
appstreamcli validate --no-net "$lint"/root/usr/share/metainfo/*.metainfo.xml
# The package must depend on the Qt libraries it links, found by dpkg-shlibdeps.
dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' ||
  { echo "the package does not declare its Qt dependency" >&2; exit 1; }
[[ -f $lint/root/usr/share/doc/calculator/copyright ]] ||
  { echo "the package has no copyright file" >&2; exit 1; }
if command -v lintian >/dev/null; then
  # Errors and warnings fail; what remains at the info level is explained in the README.
  lintian --tag-display-limit 0 --fail-on error,warning "$deb"
fi

if [[ -z $fresh ]]; then
  keep_option=()
  ! $keep || keep_option=(--keep)
  "${sudo_cmd[@]}" scripts/check-package.sh "${keep_option[@]}" "$deb"
  echo "== package checked: $deb"
  exit 0
fi

# The fresh system: debootstrap's minimal bookworm, made once into ROOT. A run never changes
# ROOT itself: it works in an overlay whose changes are thrown away afterwards.
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
if [[ ! -x $fresh/usr/bin/apt ]]; then
  echo "== making a minimal Debian 12 in $fresh"
  rm -rf "$fresh.partial"
  debootstrap --variant=minbase bookworm "$fresh.partial" "$mirror"
  mv "$fresh.partial" "$fresh"
fi
system=$(mktemp -d)
mkdir "$system"/{upper,work,merged}
mkdir -p "$fresh.archives/partial"  # downloaded packages, kept between runs to spare the mirror
mounted=()
mount_in() {  # MOUNT-ARGUMENTS... TARGET
  mount "$@"
  mounted=("${!#}" "${mounted[@]}")
}
leave_system() {
  local target
  for target in "${mounted[@]}"; do umount "$target" || umount -l "$target"; done
  # Only remove the copy once nothing of this machine is mounted inside it.
  if findmnt -rno TARGET | grep -q "^$system/"; then
    echo "$system still has mounts; left in place" >&2
  else
    rm -rf "$system"
  fi
  rm -rf "$lint"
}
trap leave_system EXIT
root=$system/merged
mount_in -t overlay overlay -o "lowerdir=$fresh,upperdir=$system/upper,workdir=$system/work" "$root"
mount_in -t proc proc "$root/proc"
mount_in --bind /dev "$root/dev"
mount_in --bind /dev/pts "$root/dev/pts"
mount_in --bind "$fresh.archives" "$root/var/cache/apt/archives"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# apt, unlike apt-get, deletes what it downloaded; here it is kept for the next run.
echo 'Binary::apt::APT::Keep-Downloaded-Packages "true";' >"$root/etc/apt/apt.conf.d/90keep"
mkdir "$root/tmp/check"
cp "$deb" scripts/check-package.sh "$root/tmp/check/"

echo "== fresh Debian 12: $(cat "$root/etc/debian_version"), $(chroot "$root" dpkg-query -f . -W | wc -c) packages"
chroot "$root" apt-get update -q >/dev/null
chroot "$root" useradd --create-home calcuser
chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
  /tmp/check/check-package.sh --user calcuser "/tmp/check/$(basename "$deb")"
echo "== package checked on a fresh Debian 12: $deb"
