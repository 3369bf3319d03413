#!/usr/bin/env bash
# Builds the Debian package from the default preset and checks it without
# installing: its control fields, its contents list, the menu entry and icon,
# and that the unpacked programs keep their data in the user's folders (a
# temporary HOME), leaving the shipped vocabulary alone.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() { echo "package check: $*" >&2; exit 1; }

cmake --build --preset default --target package >/dev/null
deb=$(ls -t build/default/vorsin_2.7.*_*.deb | head -n 1)
echo "== package: $deb"

# Control fields: name, a 2.7.x version, dependencies found by dpkg-shlibdeps
# (libc6 is only there when it ran) plus Qt's platform plugins.
[ "$(dpkg-deb -f "$deb" Package)" = vorsin ] || fail "package name is not vorsin"
[[ "$(dpkg-deb -f "$deb" Version)" =~ ^2\.7\.[0-9]+$ ]] || fail "version is not 2.7.x: $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6 zlib1g qt6-qpa-plugins; do
  grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

# Contents: everything below /usr; the three programs and nothing else in
# /usr/bin (a vocabulary there would make the installed copy a portable one,
# writing beside the programs).
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/vorsin ./usr/bin/vorsin-cli ./usr/bin/pkd-sim ./usr/share/vorsin/RorEdad.ini \
            ./usr/share/applications/vorsin.desktop ./usr/share/icons/hicolor/scalable/apps/vorsin.svg; do
  grep -qx -- "$path" <<<"$contents" || fail "missing from the package: $path"
done
outside=$(grep -v -e '^\./$' -e '^\./usr/' <<<"$contents" || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
extra=$(grep '^\./usr/bin/.' <<<"$contents" | grep -vx -e ./usr/bin/vorsin -e ./usr/bin/vorsin-cli -e ./usr/bin/pkd-sim || true)
[ -z "$extra" ] || fail "unexpected files in /usr/bin: $extra"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"
usr="$work/root/usr"
cmp -s "$usr/share/vorsin/RorEdad.ini" data/RorEdad.ini || fail "the packaged vocabulary is not data/RorEdad.ini"

# The menu entry: named "Ворсин", in Utility and Settings, starting a program
# the package holds, with an icon the package holds; the icon is well-formed.
entry="$usr/share/applications/vorsin.desktop"
grep -qx 'Name=Ворсин' "$entry" || fail "the menu entry is not named Ворсин"
grep -q '^Categories=.*Utility;' "$entry" && grep -q '^Categories=.*Settings;' "$entry" ||
  fail "the menu entry is not in Utility and Settings"
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$usr/bin/$(basename "$exec_program")" ] || fail "the menu entry starts $exec_program, which the package lacks"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no icon $icon.svg in the hicolor theme"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$entry" || fail "desktop-file-validate"; fi
python3 -c 'import sys, xml.etree.ElementTree as t; r = t.parse(sys.argv[1]).getroot(); sys.exit(not r.tag.endswith("svg"))' \
  "$usr/share/icons/hicolor/scalable/apps/vorsin.svg" || fail "the icon is not an SVG document"

# The data folders, with a temporary HOME. The unpacked tree stands for /usr.
home="$work/home"
mkdir "$home"
as_user() { env -i PATH=/usr/bin:/bin HOME="$home" "$@"; }
as_user "$usr/bin/vorsin-cli" show >"$work/show.json" || fail "vorsin-cli show failed"
copy="$home/.local/share/vorsin/RorEdad.ini"
[ -f "$copy" ] || fail "the user's vocabulary copy was not made"
cmp -s "$copy" "$usr/share/vorsin/RorEdad.ini" || fail "the user's copy differs from the shipped file"
grep -q '"name": "Охранный шлейф (шл. 1-2)"' "$work/show.json" || fail "show printed no configuration"

# Later starts read and keep the user's copy: an edit there shows in `show`,
# and the shipped file stays as it was.
python3 - "$copy" <<'EOF'
import sys
path = sys.argv[1]
data = open(path, "rb").read()
old, new = "Охранный шлейф (шл. 1-2)".encode("cp1251"), "Шлейф охраны склада".encode("cp1251")
assert old in data
open(path, "wb").write(data.replace(old, new, 1))
EOF
as_user "$usr/bin/vorsin-cli" show >"$work/show2.json" || fail "vorsin-cli show failed on the user's copy"
grep -q '"name": "Шлейф охраны склада"' "$work/show2.json" || fail "show did not read the user's copy"
grep -q 'Шлейф охраны склада' <(iconv -f cp1251 -t utf-8 "$copy") || fail "a later start replaced the user's copy"
cmp -s "$usr/share/vorsin/RorEdad.ini" data/RorEdad.ini || fail "the shipped vocabulary was changed"

# XDG_DATA_HOME, when set, holds the copy instead.
as_user XDG_DATA_HOME="$work/xdg" "$usr/bin/vorsin-cli" show >/dev/null || fail "show with XDG_DATA_HOME failed"
[ -f "$work/xdg/vorsin/RorEdad.ini" ] || fail "XDG_DATA_HOME was not used"

# The window starts from the menu entry's command on the offscreen platform,
# makes its copy in a fresh HOME and is still running after a few seconds.
if [ -f "$usr/bin/vorsin" ]; then
  rm -rf "$home" && mkdir "$home"
  status=0
  as_user QT_QPA_PLATFORM=offscreen timeout 5 "$usr/bin/$(basename "$exec_program")" >"$work/window.log" 2>&1 || status=$?
  [ "$status" = 124 ] || { cat "$work/window.log" >&2; fail "the window ended by itself (status $status)"; }
  [ -f "$copy" ] || fail "the window made no vocabulary copy"
fi
echo "package checks passed"
