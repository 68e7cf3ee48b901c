#!/usr/bin/env bash
# Builds the release: dist/ZlvnHint-<version>.zip (ZlvnHint.dll, bgnml.bmp, bgicn.bmp and
# ZlvnHint-README.txt at its root) and dist/ZlvnHint-<version>.zip.sha256. The build tree
# holds the DLL and the pictures alone, no tests. Two runs of the same commit give the
# same bytes: every time in the archive is the last commit's.
#   bash scripts/release.sh
#   BUILD_DIR  build tree (default: build-release/)
#   DIST_DIR   where the archive goes (default: dist/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
zlvn_help_if_asked "$0" "$@"
build=${BUILD_DIR:-$root/build-release}
dist=${DIST_DIR:-$root/dist}
zlvn_setup_if_root
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)
fi
export SOURCE_DATE_EPOCH
zlvn_configure "$build" -DZLVN_BUILD_TESTS=OFF
# Packed afresh each time, so the archive's times follow SOURCE_DATE_EPOCH.
rm -rf "$build/dist"
cmake --build "$build" -j"$(nproc)" --target release_zip
mkdir -p "$dist"
cp "$build"/dist/* "$dist/"
for f in "$build"/dist/*; do echo "release: $dist/$(basename "$f")"; done
cat "$build"/dist/*.sha256
