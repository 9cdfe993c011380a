#!/usr/bin/env bash
# Builds the Debian package (build/package/calculator_VERSION_ARCH.deb) and checks it: lints
# the package and its desktop entry and AppStream metadata, installs it with apt, runs the
# installed program (a calculation, and a headless start as root and as an unprivileged user,
# which must write their files to the per-user data folder), then removes it again.
# Usage: scripts/package.sh [--keep]   (--keep leaves the package installed)
# Needs root or sudo, as installing any package does.
set -euo pipefail
cd "$(dirname "$0")/.."
keep=false
[[ "${1:-}" == "--keep" ]] && keep=true

sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)

scripts/install-deps.sh
# The checking tools; lintian is optional and only run when present.
scripts/install-packages.sh desktop-file-utils appstream dpkg-dev
scripts/build.sh

out=build/package
rm -rf "$out"
cpack --config build/CPackConfig.cmake -G DEB -B "$out"
deb=$(ls "$out"/calculator_*.deb)
echo "== package: $deb"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

work=$(mktemp -d)
chmod 755 "$work"
cleanup() {
  rm -rf "$work"
  if ! $keep; then "${sudo_cmd[@]}" apt-get remove -y -q calculator >/dev/null 2>&1 || true; fi
}
trap cleanup EXIT

echo "== lint"
dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work"/root/usr/share/applications/*.desktop
appstreamcli validate --no-net "$work"/root/usr/share/metainfo/*.metainfo.xml
# The package must depend on the Qt libraries it links, found by dpkg-shlibdeps.
dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' ||
  { echo "the package does not declare its Qt dependency" >&2; exit 1; }
if command -v lintian >/dev/null; then
  # Reported, not fatal: the package has no copyright file while the project states no licence.
  lintian --no-tag-display-limit "$deb" || true
fi

echo "== install"
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$(realpath "$deb")"
result=$(calculator --eval "1+1")
[[ "$result" == "2" ]] || { echo "calculator --eval \"1+1\" printed '$result'" >&2; exit 1; }
echo "calculator --eval \"1+1\": $result"

# A headless start: the window opens, saves its pictures and closes. The per-user data folder
# must receive the settings and the shipped data files; the program's folder must stay clean.
headless_start() {  # USER HOME
  local user=$1 home=$2
  "${sudo_cmd[@]}" runuser -u "$user" -- env HOME="$home" XDG_DATA_HOME= QT_QPA_PLATFORM=offscreen \
    calculator --screenshots "$home/pictures" >/dev/null
  for file in calculator.ini calculator.cnv calculator.con calculator.pte calculator.txt; do
    [[ -f "$home/.local/share/calculator/$file" ]] ||
      { echo "$user: $file is missing from the per-user data folder" >&2; exit 1; }
  done
  echo "headless start as $user: files in $home/.local/share/calculator"
}
mkdir -p "$work/root-home" "$work/user-home"
headless_start root "$work/root-home"
if id nobody >/dev/null 2>&1; then
  "${sudo_cmd[@]}" chown nobody "$work/user-home"
  headless_start nobody "$work/user-home"
fi
if ls /usr/bin/calculator.* >/dev/null 2>&1; then
  echo "the installed program wrote into /usr/bin: $(ls /usr/bin/calculator.*)" >&2
  exit 1
fi

echo "== package checked: $deb"
