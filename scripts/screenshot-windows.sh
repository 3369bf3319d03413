#!/usr/bin/env bash
# The picture of vorsin.exe under wine for the README (docs/main-window-windows.png):
# the window in a wine desktop of its own on a virtual display (Xvfb), so its
# title bar and frame are the ones wine draws as Windows does.
#   scripts/screenshot-windows.sh [out.png]   (needs build/windows/bin/vorsin.exe)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/main-window-windows.png}")
exe=$(realpath build/windows/bin/vorsin.exe)
work=$(mktemp -d)
trap 'WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
# A portable copy of its own, so the picture shows the program as it opens.
cp "$exe" data/RorEdad.ini "$work/"
export WINEPREFIX=$work/prefix WINEDEBUG=-all LANG=ru_RU.UTF-8 HOME=$work
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wineboot -i >/dev/null 2>&1
xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$work" "$out" <<'INNER'
set -euo pipefail
work=$1; out=$2
cd "$work"
wine explorer /desktop=Vorsin,860x640 vorsin.exe >/dev/null 2>&1 &
for _ in $(seq 150); do
  id=$(xwininfo -root -tree 2>/dev/null | awk '/"Vorsin - Wine/ && !found {print $1; found=1}')
  [ -n "${id:-}" ] && xwininfo -root -tree 2>/dev/null | grep -q 'Ворсин v2.7' && break
  sleep 0.2
done
[ -n "${id:-}" ] || { echo "screenshot: the window did not appear" >&2; exit 1; }
sleep 2
import -window "$id" "$out"
echo "screenshot: $out"
INNER
