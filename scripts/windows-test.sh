#!/usr/bin/env bash
# The Windows build and its tests, on Debian under wine:
#  - builds the `windows` preset (vorsin.exe, vorsin-cli.exe, every test_*.exe)
#    with the static Qt made by scripts/qt-mingw.sh, the installer and the zip;
#  - runs every Windows test executable under wine (ctest --preset windows),
#    the window tests offscreen with pkd-sim behind a COM port of the prefix;
#  - runs the Linux build's command-line device tests against vorsin-cli.exe
#    (program, read, verify, diff and flash, fault options, Cyrillic names);
#  - installs and uninstalls the installer silently, and starts the installed
#    program with a project file on its command line.
# Builds what it needs of the default preset too (pkd-sim, the Linux tests).
# Usage: windows-test.sh [--no-qt-build]: with it, a missing Qt cache is
# reported and the Windows part skipped instead of built (40 minutes).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if [ "${1:-}" = "--no-qt-build" ] && ! bash scripts/qt-mingw.sh --check; then
  echo "== windows: SKIPPED: no Qt for Windows in the cache and none in ../shared/qt6-mingw;"
  echo "   make it with: bash scripts/qt-mingw.sh (about 40 minutes), then run this again"
  exit 0
fi
bash scripts/qt-mingw.sh

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
packages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64 nsis locales xvfb xauth x11-utils xdotool imagemagick)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# Wine names Linux files in the Linux locale's characters: Cyrillic names need a UTF-8 one.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf8$'; then
  "${sudo_cmd[@]}" sed -i 's/^# *ru_RU.UTF-8 UTF-8/ru_RU.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi

bash scripts/setup.sh
echo "== build: default (pkd-sim and the command-line tests, for the wine runs)"
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target pkd-sim vorsin-cli test_app test_tools

echo "== build: windows"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"
cmake --build --preset windows --target installer portable

export WINEPREFIX=$root/build/windows/wine WINEDEBUG=-all LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$WINEPREFIX/system.reg" ] && ! wineboot -i >/dev/null 2>&1; then
  echo "== windows: FAILED: wineboot could not make the wine prefix $WINEPREFIX" >&2
  exit 1
fi
# One wine server for every run; a simulator's terminal that closes hangs it
# up, and what it prints then belongs to no test.
wineserver -p >"$root/build/windows/wineserver.log" 2>&1 &
# Wine's services start with the first program and outlive it: started here,
# they hold no test's output open.
wine cmd /c exit </dev/null >/dev/null 2>&1
display=:$((90 + $$ % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
stop() {
  kill "$xvfb" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
}
trap stop EXIT
export DISPLAY=$display
sleep 1

echo "== test: windows (every test executable under wine)"
QT_QPA_PLATFORM=offscreen ctest --preset windows -j "$(nproc)" --repeat until-pass:2

echo "== test: the command line under wine against pkd-sim"
export VORSIN_CLI=$root/scripts/wine-cli.sh
# As with ctest's runs, a device test starved of the CPU gets one more try.
cli_tests() { "$1" --gtest_filter="$2" --gtest_brief=1 || "$1" --gtest_filter="$2" --gtest_brief=1; }
cli_tests build/default/bin/test_app 'Cli*'
cli_tests build/default/bin/test_tools '*FlashCommand*'
unset VORSIN_CLI

echo "== test: the installer"
bash scripts/windows-install-check.sh build/windows/Vorsin-*-setup.exe
