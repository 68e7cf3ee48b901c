#!/usr/bin/env bash
# Builds and runs the hint benchmark under Wine; prints its table (--pass: only the
# no-overlap figures).
#   bash scripts/bench.sh [--pass]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
zlvn_help_if_asked "$0" "$@"
build=${BUILD_DIR:-$root/build}
zlvn_setup_if_root
zlvn_configure "$build"
cmake --build "$build" -j"$(nproc)" --target hint_bench
source "$root/scripts/wine-env.sh" "$build"
cd "$build/bin"
wine hint_bench.exe "$@"
