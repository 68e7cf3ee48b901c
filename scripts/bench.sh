#!/usr/bin/env bash
# Builds and runs the hint benchmark under Wine; prints its table (--pass: only the
# no-overlap figures).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
if [ "$(id -u)" = 0 ]; then bash "$root/scripts/setup.sh"; fi
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target hint_bench
source "$root/scripts/wine-env.sh" "$build"
cd "$build/bin"
wine hint_bench.exe "$@"
