#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test:
#   1. the GoogleTest programs under Wine (CTest),
#   2. the plain rules natively under AddressSanitizer and UndefinedBehaviorSanitizer,
#      with a short run of every fuzz target (scripts/native.sh),
#   3. the reference host's own checks (scripts/host-check.sh),
#   4. the release check: two builds byte for byte alike, the archive's smoke run
#      (scripts/release-check.sh).
# With arguments only step 1 runs, and the arguments go to ctest (e.g. -R Menu).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
build=${BUILD_DIR:-$root/build}
zlvn_setup_if_root
BUILD_DIR="$build" bash "$root/scripts/build.sh"
(
  source "$root/scripts/wine-env.sh" "$build"
  start=$(date +%s)
  cd "$build"
  ctest --output-on-failure "$@"
  echo "tests took $(( $(date +%s) - start )) s"
)
[ "$#" -gt 0 ] && exit 0
bash "$root/scripts/native.sh"
BUILD_DIR="$build" bash "$root/scripts/host-check.sh"
BUILD_DIR="$build" bash "$root/scripts/release-check.sh"
