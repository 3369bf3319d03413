#!/usr/bin/env bash
# Runs the Windows vorsin-cli.exe under wine as if it were the Linux
# vorsin-cli, so that the command-line tests of the Linux build drive the
# Windows program: `--port /dev/pts/N` (a simulator's terminal) becomes a COM
# port of the wine prefix linked to that terminal, and the lines it prints end
# in "\n" as the tests compare them. A port that is not there is passed on as
# it stands, for the program to refuse. Linux file names reach it as they are:
# wine opens "/tmp/x.dat" on drive Z:, the Linux root.
#   VORSIN_CLI=scripts/wine-cli.sh build/default/bin/test_app --gtest_filter='Cli*'
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
exe=${VORSIN_CLI_EXE:-$here/build/windows/bin/vorsin-cli.exe}
: "${WINEPREFIX:?WINEPREFIX must name the wine prefix}"
export WINEDEBUG=${WINEDEBUG:--all}

link=""
map_port() {
  local target
  target=$(readlink -f -- "$1") || target=$1
  local n=$((200 + $$ % 700))
  link="$WINEPREFIX/dosdevices/com$n"
  ln -sfn -- "$target" "$link"
  port="COM$n"
}

args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --port)
      if [ $# -ge 2 ] && [[ "$2" == /* ]] && [ -e "$2" ]; then
        map_port "$2"; args+=(--port "$port"); shift 2; continue
      fi ;;
    --port=/*)
      if [ -e "${1#--port=}" ]; then map_port "${1#--port=}"; args+=("--port=$port"); shift; continue; fi ;;
  esac
  args+=("$1")
  shift
done

# stdout and stderr keep apart; each loses the CR that Windows puts before LF.
# stderr goes through a file and is passed on before this script ends: a
# filter of its own could still be writing after the caller read the output.
err=$(mktemp)
wine "$exe" "${args[@]}" 2>"$err" | tr -d '\r'
status=${PIPESTATUS[0]}
tr -d '\r' <"$err" >&2
rm -f -- "$err"
[ -n "$link" ] && rm -f -- "$link"
exit "$status"
