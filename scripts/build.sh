#!/usr/bin/env bash
# Configures and builds into BUILD_DIR (default: build/): everything, or only the targets
# named as arguments (scripts/run-host.sh builds the reference host and the DLL alone).
#   bash scripts/build.sh [TARGET...]
# Steps: configure the 32-bit MinGW release build (cmake), then build with one job per core.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
zlvn_help_if_asked "$0" "$@"
build=${BUILD_DIR:-$root/build}
zlvn_configure "$build"
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
