#!/usr/bin/env bash
# Makes the static Qt 6.4.2 for 64-bit Windows (MinGW-w64) that the `windows`
# preset builds against, in a cache folder outside the tree:
#   ${VORSIN_QT_CACHE:-$HOME/.cache/vorsin}/qt6-mingw-static
# A ready archive in ../shared/qt6-mingw (beside the checkout) is unpacked when
# its checksum matches; otherwise Qt is built from Debian's own source package
# (about 40 minutes on two cores, once). Safe to run again: a cache whose stamp
# matches is kept as it is.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cache=${VORSIN_QT_CACHE:-$HOME/.cache/vorsin}
prefix=$cache/qt6-mingw-static
version=6.4.2
debian_version=6.4.2+dfsg-10
archive_name=qt6-mingw-static-$version.tar.xz
# What the build is made of: a copy made with other options is made anew.
options=(
  -DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=Release
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF -DFEATURE_tabletevent=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
  -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF
  -DFEATURE_system_doubleconversion=OFF
)
stamp="qt $debian_version mingw-w64 posix static: ${options[*]}"

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
need() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
shared=$here/../shared/qt6-mingw
shared_ok() {
  [ -f "$shared/$archive_name" ] && [ -f "$shared/SHA256SUMS" ] &&
    (cd "$shared" && sha256sum --quiet -c SHA256SUMS 2>/dev/null)
}
cached() { [ -f "$prefix/vorsin-stamp" ] && [ "$(cat "$prefix/vorsin-stamp")" = "$stamp" ]; }
# --check: whether Qt is there without building it (the cache, or the archive).
if [ "${1:-}" = "--check" ]; then
  cached || shared_ok
  exit
fi

need g++-mingw-w64-x86-64-posix qt6-base-dev-tools cmake ninja-build xz-utils
if cached; then
  echo "Qt for Windows: $prefix (cached)"
  exit 0
fi
rm -rf "$prefix"
mkdir -p "$cache"

if shared_ok; then
  echo "Qt for Windows: unpacking $shared/$archive_name"
  tar -C "$cache" -xJf "$shared/$archive_name"
else
  echo "Qt for Windows: building Qt $version from Debian's source (about 40 minutes on two cores)"
  need dpkg-dev
  work=$cache/qt-build
  mkdir -p "$work"
  # Source packages come from the archive the machine already uses, as deb-src.
  if ! grep -rqs '^Types: deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/vorsin-src.sources >/dev/null
    "${sudo_cmd[@]}" apt-get update -qq
  fi
  (cd "$work" && apt-get source --download-only qt6-base=$debian_version)
  [ -d "$work/qtbase-everywhere-src-$version" ] ||
    tar -C "$work" -xJf "$work/qt6-base_$version+dfsg.orig.tar.xz"
  # Qt's own toolchain: the MinGW tree only, nothing of this project's settings.
  cat >"$work/toolchain.cmake" <<'TOOLCHAIN'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TOOLCHAIN
  cmake -S "$work/qtbase-everywhere-src-$version" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}"
  cmake --build "$work/build" -j"$(nproc)"
  cmake --install "$work/build"
  rm -rf "$work"
fi
echo "$stamp" >"$prefix/vorsin-stamp"
echo "Qt for Windows: $prefix"
