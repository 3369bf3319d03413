#!/usr/bin/env bash
# Makes data/package/vorsin.ico (the Windows program's and installer's icon)
# from data/package/vorsin.svg. Run again after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/.."
for p in librsvg2-bin imagemagick; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
    { echo "needs: apt-get install librsvg2-bin imagemagick" >&2; exit 2; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
sizes=(16 24 32 48 64 256)
for s in "${sizes[@]}"; do
  rsvg-convert -w "$s" -h "$s" data/package/vorsin.svg -o "$tmp/$s.png"
done
# ImageMagick wants the names with their extension.
files=(); for s in "${sizes[@]}"; do files+=("$tmp/$s.png"); done
convert "${files[@]}" data/package/vorsin.ico
echo "data/package/vorsin.ico"
