#!/usr/bin/env bash
# Builds the Debian package from the default preset and checks it without
# installing: its contents list, its dependencies, and that the unpacked
# programs keep their data in the user's folders (a temporary HOME).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --build --preset default --target package >/dev/null
deb=$(ls -t build/default/vorsin_2.7.*_*.deb | head -n 1)
echo "== package: $deb"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/vorsin ./usr/bin/vorsin-cli ./usr/bin/pkd-sim ./usr/share/vorsin/RorEdad.ini \
            ./usr/share/applications/vorsin.desktop ./usr/share/icons/hicolor/scalable/apps/vorsin.svg; do
  grep -qx -- "$path" <<<"$contents" || { echo "missing from the package: $path"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 zlib1g qt6-qpa-plugins; do
  grep -q "$lib" <<<"$depends" || { echo "Depends lacks $lib: $depends"; exit 1; }
done
grep -q '^Categories=Utility;Settings;' build/default/_CPack_Packages/*/DEB/*/usr/share/applications/vorsin.desktop 2>/dev/null ||
  grep -q '^Categories=Utility;Settings;' data/package/vorsin.desktop

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"
mkdir "$work/home"
# The unpacked tree stands for /usr: no vocabulary beside the programs.
HOME="$work/home" XDG_DATA_HOME="" XDG_DOCUMENTS_DIR="" XDG_CONFIG_HOME="" \
  "$work/root/usr/bin/vorsin-cli" show >"$work/show.json"
copy="$work/home/.local/share/vorsin/RorEdad.ini"
[ -f "$copy" ] || { echo "the user's vocabulary copy was not made"; exit 1; }
cmp -s "$copy" "$work/root/usr/share/vorsin/RorEdad.ini" || { echo "the user's copy differs from the shipped file"; exit 1; }
grep -q smsProfileTexts "$work/show.json" || { echo "show printed no configuration"; exit 1; }
echo "package checks passed"
