#!/usr/bin/env bash
# Installs a calculator package on the system this runs on and checks the installed program:
# apt finds every dependency the package declares, `calculator --eval "1+1"` prints 2, the
# window starts headless as root and as an unprivileged user, each writing its files into its
# own ~/.local/share/calculator and nothing beside the program, and the X11 platform plugin
# loads. Then it removes the package again. scripts/package.sh runs it here or, with --fresh,
# inside a fresh Debian 12 system.
# Usage (as root): scripts/check-package.sh [--keep] [--user NAME] PACKAGE.deb
#   --user NAME  the unprivileged user, started in its own home (by default nobody, started in
#                a temporary home); --keep leaves the package installed.
set -euo pipefail
keep=false
user=
while [[ $# -gt 1 ]]; do
  case $1 in
    --keep) keep=true; shift ;;
    --user) user=$2; shift 2 ;;
    *) break ;;
  esac
done
[[ $# -eq 1 && -f $1 ]] || { echo "usage: $0 [--keep] [--user NAME] PACKAGE.deb" >&2; exit 2; }
deb=$(realpath "$1")
[[ $(id -u) -eq 0 ]] || { echo "$0: installing a package needs root" >&2; exit 1; }

work=$(mktemp -d)
chmod 755 "$work"
cleanup() {
  rm -rf "$work"
  if ! $keep; then apt-get remove -y -q calculator >/dev/null 2>&1 || true; fi
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

echo "== install"
# apt rather than dpkg: it must resolve the declared dependencies from the archive on its own.
(cd "$(dirname "$deb")" && DEBIAN_FRONTEND=noninteractive apt install -y -q "./$(basename "$deb")" \
  2> >(grep -v 'does not have a stable CLI interface' >&2))
result=$(calculator --eval "1+1")
[[ "$result" == "2" ]] || fail "calculator --eval \"1+1\" printed '$result'"
echo "ok: calculator --eval \"1+1\" prints $result"

# A headless start through the desktop entry's command, as the desktop's menu starts it: the
# window opens, saves its pictures and closes. The per-user data folder must receive the
# settings and the shipped data files; the program's folder must stay clean.
entry=$(dpkg -L calculator | grep '^/usr/share/applications/.*\.desktop$')
read -ra command <<<"$(sed -n 's/^Exec=//p' "$entry")"
headless_start() {  # USER HOME
  local name=$1 home=$2
  (cd "$work" && runuser -u "$name" -- env HOME="$home" XDG_DATA_HOME= QT_QPA_PLATFORM=offscreen \
    "${command[@]}" --screenshots "$home/pictures" >/dev/null 2>"$work/$name.err") ||
    { cat "$work/$name.err" >&2; fail "the headless start as $name"; }
  # Qt's notes on the runtime folder it made and on what the offscreen platform cannot do are
  # about the test's session, not the program.
  grep -v -e 'XDG_RUNTIME_DIR' -e 'This plugin does not support' "$work/$name.err" >&2 || true
  for file in calculator.ini calculator.cnv calculator.con calculator.pte calculator.txt; do
    [[ -f "$home/.local/share/calculator/$file" ]] ||
      fail "$name: $file is missing from $home/.local/share/calculator"
  done
  # The data files are the shipped ones, found where the package put them.
  for file in calculator.cnv calculator.con calculator.pte; do
    cmp -s "/usr/share/calculator/$file" "$home/.local/share/calculator/$file" ||
      fail "$name: $file differs from /usr/share/calculator/$file"
  done
  local pictures
  pictures=$(find "$home/pictures" -name '*.png' | wc -l)
  [[ $pictures -gt 0 ]] || fail "$name: the headless start saved no pictures"
  echo "ok: headless start of the desktop entry's \"${command[*]}\" as $name: files in $home/.local/share/calculator, $pictures pictures"
}
headless_start root "$work/root-home"
if [[ -n $user ]]; then
  headless_start "$user" "$(getent passwd "$user" | cut -d: -f6)"
else
  mkdir "$work/user-home"
  chown nobody "$work/user-home"
  user=nobody
  headless_start nobody "$work/user-home"
fi
if ls /usr/bin/calculator.* >/dev/null 2>&1; then
  fail "the installed program wrote into /usr/bin: $(ls /usr/bin/calculator.*)"
fi

# A desktop session starts the program on X11 (or XWayland). Without an X server the xcb
# plugin, once it and the libraries it needs are loaded, says it cannot reach the display.
xcb=$(cd "$work" && runuser -u "$user" -- env DISPLAY=:97 QT_QPA_PLATFORM=xcb \
  timeout 30 calculator 2>&1 || true)
grep -q 'could not connect to display' <<<"$xcb" ||
  { echo "$xcb" >&2; fail "the X11 platform plugin does not load"; }
echo "ok: the X11 platform plugin loads"

if ! $keep; then
  echo "== remove"
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -q calculator >/dev/null
  [[ ! -e /usr/bin/calculator ]] || fail "apt remove left /usr/bin/calculator"
  echo "ok: removed"
fi
