#!/usr/bin/env bash
# CI's release check: builds the release twice in two fresh folders, one after the other,
# and wants the same DLL and archive byte for byte; then unpacks the archive into a fresh
# folder and lets the reference host of the test build (build/bin/zlvnhost.exe) load the
# plug-in from there and show its hints. The screenshot is kept as
# build/release-smoke-shot.png. Ends with "release-check: N passed, M failed".
#   bash scripts/release-check.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
zlvn_checker=release-check
source "$root/scripts/common.sh"
zlvn_help_if_asked "$0" "$@"
build=${BUILD_DIR:-$root/build}
# A folder of this run's own, so that two checks on one machine never meet; removed at exit.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/zlvn-release-check.XXXXXX")
release_check_cleanup() { rm -rf "$scratch"; }
trap release_check_cleanup EXIT
work=${RELEASE_CHECK_DIR:-$scratch/rel}
host="$build/bin/zlvnhost.exe"
if [ ! -f "$host" ]; then
  echo "release-check: no $host; run scripts/test.sh (or scripts/build.sh) first" >&2
  exit 1
fi

start=$(date +%s)
rm -rf "$work-a" "$work-b" "$work-unpacked"
for side in a b; do
  # The second build starts when the first has ended, tens of seconds later.
  echo "release-check: build $side in $work-$side, $(date -u +%T)"
  BUILD_DIR="$work-$side/build" DIST_DIR="$work-$side/dist" bash "$root/scripts/release.sh" >"$work-$side.log" 2>&1 ||
    { cat "$work-$side.log"; exit 1; }
done

zip_a=$(ls "$work-a"/dist/ZlvnHint-*.zip)
zip_b="$work-b/dist/$(basename "$zip_a")"
same() {
  sha256sum "$1" "$2" | sed 's/^/release-check:   /'
  cmp "$1" "$2"
}
zlvn_check "the DLL is the same from both builds" same "$work-a/build/bin/ZlvnHint.dll" "$work-b/build/bin/ZlvnHint.dll"
zlvn_check "the archive is the same from both builds" same "$zip_a" "$zip_b"
zlvn_check "the archive matches its .sha256" bash -c 'cd "$(dirname "$1")" && sha256sum -c --quiet "$1.sha256"' - "$zip_a"
members=$(python3 -c 'import sys, zipfile; print(" ".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip_a")
zlvn_check "the archive holds the DLL, the two pictures and the guide at its root" \
  test "$members" = "ZlvnHint.dll bgnml.bmp bgicn.bmp ZlvnHint-README.txt"

# The reference host loads the plug-in from the unpacked folder and shows its hints.
unpacked="$work-unpacked"
python3 -m zipfile -e "$zip_a" "$unpacked"
source "$root/scripts/wine-env.sh" "$build"
# wine-env.sh sets its own exit trap: both run.
trap 'zlvn_stop_wine; release_check_cleanup' EXIT
dll_win=$(winepath -w "$unpacked/ZlvnHint.dll" 2>/dev/null)
shot_bmp="$unpacked/smoke-shot.bmp"
shot_png="$build/release-smoke-shot.png"
rm -f "$shot_png"
(cd "$unpacked" && wine "$host" --dll "$dll_win" --script "samples list active shot:smoke-shot.bmp inactive") \
  >"$unpacked.log" 2>&1 || true
sed 's/^/release-check:   host: /' "$unpacked.log"
ini_win="${dll_win%.dll}.ini"
zlvn_check "the host loaded the unpacked plug-in and it wrote its settings beside it" \
  grep -qF "after teardown, the plug-in's settings file $ini_win:" "$unpacked.log"
[ -f "$shot_bmp" ] && convert "$shot_bmp" "$shot_png" && echo "release-check: screenshot $shot_png"
# Hints in their default colours: fill 0xffff80 inside a 0xf7f700 border.
hint_pixels() {
  [ -f "$shot_png" ] || return 1
  convert "$shot_png" -depth 8 rgb:- | python3 -c '
import sys
data = sys.stdin.buffer.read()
pixels = [data[i:i + 3] for i in range(0, len(data) - 2, 3)]
fill, border = pixels.count(b"\xff\xff\x80"), pixels.count(b"\xf7\xf7\x00")
print(f"release-check:   hint pixels on the screen: {fill} fill, {border} border")
sys.exit(0 if fill >= 200 and border >= 50 else 1)'
}
zlvn_check "the hints are on the screen" hint_pixels

echo "release-check: took $(($(date +%s) - start)) s"
zlvn_checks_end
