#!/usr/bin/env bash
# Remakes the README's pictures in docs/images from one run of the reference host's
# script mode, with the plug-in's default settings, on a private Xvfb (1280x800, no
# window manager): the hints over the sample windows, both pages of the settings
# dialog and the version box; then the hints once more on a screen at 144 dpi (150%).
# One command; run it again whenever the product changes.
#   bash scripts/readme-shots.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
zlvn_help_if_asked "$0" "$@"
build=${BUILD_DIR:-$root/build}
zlvn_setup_if_root
BUILD_DIR="$build" bash "$root/scripts/build.sh"
unset DISPLAY  # the same screen every time, whoever runs it
source "$root/scripts/wine-env.sh" "$build"

# A folder of its own: no settings file of an earlier run, and the host loads this DLL.
work="$build/readme-shots"
rm -rf "$work"
mkdir -p "$work"
cp "$build/bin/zlvnhost.exe" "$build/bin/ZlvnHint.dll" "$build/bin/bgnml.bmp" "$build/bin/bgicn.bmp" "$work/"
cd "$work"
wine zlvnhost.exe --script "samples list active shot:hints.bmp inactive
  option:1000:shot:settings-general.bmp:page:2:shot:settings-second-page.bmp
  version:1000:shot:version-box.bmp" >host.log 2>&1 || { cat host.log; exit 1; }

# 150%: a copy of the prefix whose resolution (LogPixels, read as each process starts) is
# 144, sharing the drive; a Wine server of its own.
scaled="$build/wineprefix-shots-144"
mkdir -p "$scaled"
cp "$WINEPREFIX"/*.reg "$scaled"/
for d in drive_c dosdevices; do [ -e "$scaled/$d" ] || ln -s "$WINEPREFIX/$d" "$scaled/$d"; done
sed -i '/^\[Control Panel\\\\Desktop\]/,/^$/{/^"LogPixels"=/d}; /^\[Control Panel\\\\Desktop\]/a "LogPixels"=dword:00000090' \
  "$scaled/user.reg"
WINEPREFIX="$scaled" wine zlvnhost.exe --script "samples list active shot:hints-144.bmp inactive" >>host.log 2>&1 ||
  { cat host.log; exit 1; }
WINEPREFIX="$scaled" wineserver -k || true

images="$root/docs/images"
mkdir -p "$images"
# BMP to PNG without the time chunks, so that an unchanged picture gives an unchanged file.
png() {
  local from=$1 to=$2
  shift 2
  convert "$from" "$@" +repage -strip -define png:exclude-chunks=date,time "$images/$to"
}
png hints.bmp hints.png -crop 1200x420+40+50  # the four sample windows' title bars with their hints
png hints.bmp hints-close.png -crop 360x40+50+70 -filter point -resize 200%  # one hint, twice its size
png settings-general.bmp settings-general.png
png settings-second-page.bmp settings-second-page.png
png version-box.bmp version-box.png
png hints-144.bmp hints-144.png -crop 1200x420+40+50  # the same windows, the hints at 150%
for f in hints hints-close hints-144 settings-general settings-second-page version-box; do
  echo "readme-shots: docs/images/$f.png $(identify -format '%wx%h' "$images/$f.png") $(stat -c %s "$images/$f.png") bytes"
done
