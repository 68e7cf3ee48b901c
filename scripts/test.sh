#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test under Wine. Extra arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
if [ "$(id -u)" = 0 ]; then bash "$root/scripts/setup.sh"; fi
BUILD_DIR="$build" bash "$root/scripts/build.sh"
source "$root/scripts/wine-env.sh" "$build"
start=$(date +%s)
cd "$build"
ctest --output-on-failure "$@"
echo "tests took $(( $(date +%s) - start )) s"
