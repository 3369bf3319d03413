#!/usr/bin/env bash
# Takes the README's picture of the main window as it opens, on a virtual
# display (Xvfb) with a small window manager (openbox), so the title bar in
# the picture is the real one, and the picture of a printed report's first
# two pages (docs/report.png: the window's print code writes the PDF,
# pdftoppm turns it into pictures).
#   scripts/screenshot.sh [out.png]     default docs/main-window.png
#   VORSIN_PAGES=DIR                    also every page, DIR/page-N.png
#   VORSIN_REPORT_PNG=FILE              the report's picture (default docs/report.png; "" skips it)
set -euo pipefail
cd "$(dirname "$0")/.."

out="${1:-docs/main-window.png}"
build="${VORSIN_BUILD:-build/default}"  # another build folder may be named here

bash scripts/setup.sh
missing=()
command -v openbox >/dev/null || missing+=(openbox)
command -v xdotool >/dev/null || missing+=(xdotool)
command -v pdftoppm >/dev/null || missing+=(poppler-utils)
if [ "${#missing[@]}" -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if [ ! -x "$build/bin/vorsin" ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default -j2 --target vorsin
fi
mkdir -p "$(dirname "$out")"

pages="${VORSIN_PAGES:-}"
[ -n "$pages" ] && mkdir -p "$pages"
xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$(realpath "$build/bin/vorsin")" "$(realpath -m "$out")" \
  "${pages:+$(realpath -m "$pages")}" <<'INNER'
set -euo pipefail
app="$1"; out="$2"; pages="${3:-}"
openbox &
wm=$!
sleep 1
"$app" &
pid=$!
trap 'kill "$pid" "$wm" 2>/dev/null || true' EXIT
id=""
for _ in $(seq 100); do
  id=$(xwininfo -root -tree 2>/dev/null | awk '/"Ворсин v2.7/ && !found {print $1; found=1}')
  [ -n "$id" ] && break
  sleep 0.1
done
if [ -z "$id" ]; then
  echo "screenshot: the window did not appear" >&2
  exit 1
fi
sleep 1.5
echo "screenshot: window $id titled \"$(xprop -id "$id" _NET_WM_NAME | sed -e 's/^[^"]*"//' -e 's/"$//')\""
# -frame takes the window manager's frame with the title bar too.
import -frame -window "$id" "$out"
if [ -n "$pages" ]; then
  # Ctrl+Tab turns the pages over; the window keeps its size on every one.
  xdotool windowactivate --sync "$id" 2>/dev/null || true
  for n in $(seq 1 9); do
    import -frame -window "$id" "$pages/page-$n.png"
    xdotool key --window "$id" ctrl+Tab
    sleep 0.5
  done
fi
INNER
echo "screenshot: $out"

report="${VORSIN_REPORT_PNG-docs/report.png}"
if [ -n "$report" ]; then
  [ -x "$build/bin/test_ui" ] || cmake --build --preset default -j2 --target test_ui
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  VORSIN_REPORT_PDF="$tmp/report.pdf" VORSIN_UI_ONLY=CompareReportTest QT_QPA_PLATFORM=offscreen \
    "$build/bin/test_ui" printsARichSiteOnPagesUnderAHeader >/dev/null
  pdftoppm -r 70 -f 1 -l 2 -png "$tmp/report.pdf" "$tmp/page"
  convert "$tmp"/page-*1.png "$tmp"/page-*2.png -bordercolor '#888' -border 1 +append "$report"
  echo "screenshot: $report"
fi
