#!/usr/bin/env bash
# Takes the README's picture of the main window as it opens, on a virtual
# display (Xvfb) with a small window manager (openbox), so the title bar in
# the picture is the real one.
#   scripts/screenshot.sh [out.png]     default docs/main-window.png
set -euo pipefail
cd "$(dirname "$0")/.."

out="${1:-docs/main-window.png}"
build="${VORSIN_BUILD:-build/default}"  # another build folder may be named here

bash scripts/setup.sh
if ! command -v openbox >/dev/null; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends openbox
fi
if [ ! -x "$build/bin/vorsin" ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default -j2 --target vorsin
fi
mkdir -p "$(dirname "$out")"

xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$(realpath "$build/bin/vorsin")" "$(realpath -m "$out")" <<'INNER'
set -euo pipefail
app="$1"; out="$2"
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
INNER
echo "screenshot: $out"
