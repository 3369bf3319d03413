#!/usr/bin/env bash
# Installs Vorsin-*-setup.exe silently into a fresh wine prefix, checks what it
# put where, starts the installed program with a project file (a Cyrillic name
# with a space) on its command line as Explorer's double click does, has that
# window program pkd-sim over a COM port of the prefix, and uninstalls it
# again. Needs DISPLAY (Xvfb), wine64, xdotool and the default build's
# pkd-sim and vorsin-cli. Leaves a picture of the window in
# build/windows/installed.png.
#   windows-install-check.sh build/windows/Vorsin-2.7.0-setup.exe
set -euo pipefail
setup=$(readlink -f "${1:?usage: windows-install-check.sh SETUP.exe}")
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
export HOME=$work/home WINEPREFIX=$work/prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$HOME"
sim=""
cleanup() {
  [ -z "$sim" ] || kill "$sim" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "installer check: $*" >&2; exit 1; }

wineboot -i >/dev/null 2>&1
wineserver -p >/dev/null 2>&1 &
c=$WINEPREFIX/drive_c
user_dir=$(ls -d "$c"/users/*/AppData/Roaming 2>/dev/null | grep -v /Public/ | head -n 1)
[ -n "$user_dir" ] || fail "the prefix has no user folder"
user_home=${user_dir%/AppData/Roaming}

wine "$setup" /S
dir="$c/Program Files/Vorsin"
for f in vorsin.exe vorsin-cli.exe RorEdad.ini uninstall.exe; do
  [ -f "$dir/$f" ] || fail "not installed: $f"
done
[ -f "$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Ворсин.lnk" ] || fail "no Start-menu entry"
wine reg query 'HKLM\Software\Classes\.dat' /ve | grep -q Vorsin.Project || fail "no .dat association"
wine reg query 'HKLM\Software\Classes\Vorsin.Project\shell\open\command' /ve | grep -q 'vorsin.exe' ||
  fail "no open command for .dat"
echo "installed: program, vorsin-cli.exe, vocabulary, Start-menu entry, .dat association"

# A project made by the installed command line, opened by the installed window.
project_dir="$work/Проекты"
mkdir -p "$project_dir"
project="$project_dir/Объект 7.dat"
wine "$dir/vorsin-cli.exe" save-default "Z:$project" >/dev/null
[ -f "$project" ] || fail "the installed vorsin-cli.exe wrote no project"
(cd "$work" && setsid -f wine "$dir/vorsin.exe" "Z:$project" </dev/null >/dev/null 2>&1)
title=""
for _ in $(seq 100); do
  title=$(xwininfo -root -tree 2>/dev/null | grep -o '"[^"]*Объект 7[^"]*"' | head -n 1 || true)
  [ -n "$title" ] && break
  sleep 0.2
done
[ -n "$title" ] || fail "the window did not open the project given to it"
echo "the installed window opened the project: $title"

# The installed window programs pkd-sim over COM9 (the prefix's link to the
# simulator's terminal), driven from the keyboard as an installer could: the
# tab bar has the focus, "Программирование" is the ninth page, and its focus
# chain runs password, port, speed, "Загрузить".
sim_log=$work/sim.log
"$root/build/default/bin/pkd-sim" --link "$WINEPREFIX/dosdevices/com9" --log "$sim_log" >"$work/sim.out" 2>&1 &
sim=$!
for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
[ -e "$WINEPREFIX/dosdevices/com9" ] || fail "pkd-sim made no COM9: $(cat "$work/sim.out")"
window=$(xdotool search --name "Объект 7" 2>/dev/null | head -n 1 || true)
[ -n "$window" ] || fail "no X window for the project's window"
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
sleep 0.5
xdotool key --delay 100 Right Right Right Right Right Right Right Right Tab Tab ctrl+a
xdotool type --delay 50 COM9
xdotool key --delay 100 Tab Tab space
note=""
for _ in $(seq 300); do
  note=$(xdotool search --name '^Ворсин$' 2>/dev/null | head -n 1 || true)
  [ -n "$note" ] && break
  sleep 0.2
done
[ -n "$note" ] || { import -window root "$root/build/windows/installed.png" 2>/dev/null || true; fail "programming from the installed window gave no note (see build/windows/installed.png)"; }
sleep 1
import -window root "$root/build/windows/installed.png" 2>/dev/null || true
grep -q '^> ' "$sim_log" || fail "the simulator was asked nothing"
# The note is a window of its own: it takes the key once it has the focus.
xdotool windowfocus --sync "$note" 2>/dev/null || xdotool windowfocus "$note"
xdotool key Return
for _ in $(seq 50); do
  xdotool search --name '^Ворсин$' >/dev/null 2>&1 || break
  sleep 0.2
done
xdotool search --name '^Ворсин$' >/dev/null 2>&1 && fail "the note did not close on Enter"
# What the window wrote is what the project holds: the Linux command line
# reads the simulator back and compares.
"$root/build/default/bin/vorsin-cli" diff --port "$WINEPREFIX/dosdevices/com9" "$project" >"$work/diff.txt" 2>&1 ||
  { cat "$work/diff.txt" >&2; fail "the device differs from the project the installed window programmed"; }
echo "the installed window programmed pkd-sim over COM9; the device reads back equal to the project"
# An installed copy keeps the user's vocabulary under %APPDATA%\Vorsin.
[ -f "$user_dir/Vorsin/RorEdad.ini" ] || fail "no user vocabulary in %APPDATA%\\Vorsin"
wineserver -k
wineserver -p >/dev/null 2>&1 &

wine "$dir/uninstall.exe" /S
for _ in $(seq 100); do
  [ -e "$dir/vorsin.exe" ] || break
  sleep 0.2
done
[ ! -e "$dir/vorsin.exe" ] || fail "the uninstaller left the program"
[ ! -e "$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Ворсин.lnk" ] || fail "the Start-menu entry stayed"
if wine reg query 'HKLM\Software\Classes\Vorsin.Project' >/dev/null 2>&1; then fail "the file type stayed"; fi
[ -f "$user_dir/Vorsin/RorEdad.ini" ] || fail "uninstalling removed the user's vocabulary"
[ -f "$project" ] || fail "uninstalling removed a project"
echo "uninstalled; the user's files stay (${user_dir#"$user_home"/}/Vorsin)"
