#!/usr/bin/env bash
# Starts the device simulator and the window, so that "Загрузить" and
# "Считать" on the page "Программирование" work at once.
#
# vorsin takes no options, so the simulator is offered through the port list:
# the window lists every live pkd-sim link under /tmp (pkd-sim --link
# /tmp/pkd-sim-...) after the real ports and preselects the first one.
#
#   scripts/demo.sh          needs a display ($DISPLAY)
#   scripts/demo.sh --xvfb   runs the window on a virtual display instead
set -euo pipefail
cd "$(dirname "$0")/.."

use_xvfb=0
[ "${1:-}" = "--xvfb" ] && use_xvfb=1
if [ -z "${DISPLAY:-}" ] && [ "$use_xvfb" = 0 ]; then
  echo "demo: no display (DISPLAY is empty): the window has nowhere to appear." >&2
  echo "      Run it in a desktop session, or use: scripts/demo.sh --xvfb" >&2
  exit 1
fi

bash scripts/setup.sh
build="${VORSIN_BUILD:-build/default}"  # another build folder may be named here
if [ ! -x "$build/bin/vorsin" ] || [ ! -x "$build/bin/pkd-sim" ]; then
  echo "demo: building vorsin and pkd-sim (preset default)"
  cmake --preset default >/dev/null
  cmake --build --preset default -j2 --target vorsin pkd-sim
fi

link="/tmp/pkd-sim-demo-$$"
sim="" app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  [ -n "$sim" ] && kill "$sim" 2>/dev/null
  wait 2>/dev/null
  rm -f "$link" "$link.out" "$link.pid"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$build/bin/pkd-sim" --link "$link" >"$link.out" &
sim=$!
for _ in $(seq 50); do
  [ -s "$link.out" ] && break
  sleep 0.1
done
if ! kill -0 "$sim" 2>/dev/null || [ ! -s "$link.out" ]; then
  echo "demo: pkd-sim did not start" >&2
  exit 1
fi
echo "demo: simulated device on $(head -n1 "$link.out"), offered in the port list as $link"
echo "demo: open the page \"Программирование\" and press \"Загрузить\" or \"Считать\""

if [ "$use_xvfb" = 1 ]; then
  # xvfb-run does not pass a signal on to the window: remember the window's
  # own pid, so that ending the demo ends the window, and xvfb-run with it.
  xvfb-run -a -s "-screen 0 1024x768x24" sh -c 'echo $$ >"$1"; exec "$2"' sh "$link.pid" "$build/bin/vorsin" &
  runner=$!
  for _ in $(seq 50); do
    [ -s "$link.pid" ] && break
    sleep 0.1
  done
  app=$(cat "$link.pid" 2>/dev/null || echo "$runner")
  wait "$runner"
else
  "$build/bin/vorsin" &
  app=$!
  wait "$app"
fi
