#!/usr/bin/env bash
# Sets up the machine, builds, and runs the plug-in in the reference host.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
if [ "$(id -u)" = 0 ]; then bash "$root/scripts/setup.sh"; fi
BUILD_DIR="$build" bash "$root/scripts/build.sh"
source "$root/scripts/wine-env.sh" "$build"
cd "$build/bin"
wine zlvnhost.exe "$@"
