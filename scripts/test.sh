#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds both presets and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

jobs=$(nproc)
for preset in default asan; do
  echo "== build: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
# The Debian package: contents, dependencies, per-user data (without installing).
bash scripts/package-check.sh
for preset in default asan; do
  echo "== test: $preset"
  # Device tests run against the simulator in real time; a test starved of
  # the CPU by its neighbours gets one more try.
  QT_QPA_PLATFORM=offscreen ctest --preset "$preset" -j "$jobs" --repeat until-pass:2
done

# The Windows build: every test executable under wine, the command line
# against the simulator through a COM port, the installer. It needs the static
# Qt for Windows: taken from the cache or ../shared/qt6-mingw; without either
# this step says it skipped (bash scripts/qt-mingw.sh makes the cache).
bash scripts/windows-test.sh --no-qt-build

# The terminal's reader thread under ThreadSanitizer: only its tests and what
# they link.
echo "== build and test: tsan"
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs"
TSAN_OPTIONS="halt_on_error=1" ctest --preset tsan -j "$jobs"
