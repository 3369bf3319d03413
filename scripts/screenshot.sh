#!/usr/bin/env bash
# Takes the README's picture of the main window as it opens, on a virtual
# display (Xvfb). Xvfb runs no window manager, so the title bar above the
# window is drawn here from the caption the running window reports
# (_NET_WM_NAME); the rest is the window itself.
#   scripts/screenshot.sh [out.png]     default docs/main-window.png
set -euo pipefail
cd "$(dirname "$0")/.."

out="${1:-docs/main-window.png}"
build="${VORSIN_BUILD:-build/default}"  # another build folder may be named here
if [ ! -x "$build/bin/vorsin" ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default -j2 --target vorsin
fi
mkdir -p "$(dirname "$out")"

xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$PWD/$build/bin/vorsin" "$out" <<'INNER'
set -euo pipefail
app="$1"; out="$2"
"$app" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
id=""
for _ in $(seq 100); do
  id=$(xwininfo -root -tree 2>/dev/null | awk '/"Ворсин v2.7/ {print $1; exit}')
  [ -n "$id" ] && break
  sleep 0.1
done
if [ -z "$id" ]; then
  echo "screenshot: the window did not appear" >&2
  exit 1
fi
sleep 1
title=$(xprop -id "$id" _NET_WM_NAME | sed -e 's/^[^"]*"//' -e 's/"$//')
echo "screenshot: window $id titled \"$title\""
shot=$(mktemp --suffix=.png)
bar=$(mktemp --suffix=.png)
import -window "$id" "$shot"
width=$(identify -format '%w' "$shot")
convert -size "${width}x26" xc:'#2f4f7f' -font DejaVu-Sans -pointsize 13 -fill white \
  -annotate +10+18 "$title" "$bar"
convert "$bar" "$shot" -append "$out"
rm -f "$shot" "$bar"
INNER
echo "screenshot: $out"
