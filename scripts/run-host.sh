#!/usr/bin/env bash
# Sets up the machine, builds, and runs the plug-in in the reference host over a few
# sample windows: the host enters its switch mode, the hints show, the mode ends and
# the plug-in is torn down. Without a display of a person (our own Xvfb) the screen
# is saved as a PNG while the hints are up, build/zlvnhost-shot.png, and its path is
# printed.
#   bash scripts/run-host.sh                  the demonstration
#   bash scripts/run-host.sh --interactive --samples   a host window to use by hand; on a
#       desktop (DISPLAY set) its window manager manages the windows of this run
#   bash scripts/run-host.sh --script "samples list active wait:2000 toggle menu inactive"
#   bash scripts/run-host.sh --script "samples list active shot:mine.bmp inactive"
#       the screenshots of shot: steps become PNG files beside it: build/mine.png
# Steps: set up the machine (as root), build the host and the DLL alone while the Wine
# prefix is made, run the host. Every other argument goes to the host, whose own text
# (host/usage.txt) follows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
if [[ "${1:-}" =~ ^(--help|-h|/\?)$ ]]; then
  (zlvn_help_if_asked "$0" --help)
  echo
  cat "$root/host/usage.txt"
  exit 0
fi
build=${BUILD_DIR:-$root/build}
if [[ " $* " == *" --interactive "* ]] && [ -z "${DISPLAY:-}" ]; then
  echo "run-host: --interactive is for a person: set DISPLAY to your desktop's display" >&2
  exit 1
fi
zlvn_setup_if_root
# The host and the DLL it loads (with the pictures beside it), not the tests. It builds
# while the Wine prefix is made (a first run), since neither needs the other.
mkdir -p "$build"
BUILD_DIR="$build" bash "$root/scripts/build.sh" zlvnhost &
building=$!
# A person's run does not keep a server up: see the --interactive branch below.
if [[ " $* " == *" --interactive "* ]]; then export ZLVN_NO_WARM_SERVER=1; fi
source "$root/scripts/wine-env.sh" "$build"
wait "$building"
cd "$build/bin"

# shot_as_png BMP: the host's screenshot (a bitmap in build/bin) as a PNG in build/, the
# bitmap removed; prints the PNG's path, or fails when it cannot be converted.
shot_as_png() {
  local png
  png="$build/$(basename "${1%.*}").png"
  rm -f "$png"
  convert "$1" "$png" && rm -f "$1" && echo "$png"
}

# The files the shot: steps of these host arguments name (shot:FILE, also inside a dialog
# step's actions).
script_shots() {
  printf '%s\n' "$@" | tr -s ' \t:' '\n' | sed -n '/^shot$/{n;p}'
}

zlvn_managed() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$1" /f </dev/null >/dev/null 2>&1 || true
}

if [[ " $* " == *" --interactive "* ]]; then
  # A person's desktop: the prefix keeps unmanaged windows for the tests, so this run
  # lets the window manager manage them (frames, moving, stacking) and switches back after.
  # Leaving ends only what this run started: the host ends by itself, and the server (not
  # kept up for this run, see ZLVN_NO_WARM_SERVER) ends once the prefix has no program
  # left. Killing the server would end every program the person started in the prefix.
  zlvn_managed Y
  trap 'zlvn_managed N' EXIT
  wine zlvnhost.exe "$@"
elif [ "$#" -gt 0 ]; then
  status=0
  wine zlvnhost.exe "$@" || status=$?
  while read -r shot; do
    if [ -f "$shot" ] && png=$(shot_as_png "$shot"); then echo "screenshot: $png"; fi
  done < <(script_shots "$@")
  exit "$status"
elif [ -n "$zlvn_xvfb_pid" ]; then
  shot_bmp=zlvnhost-shot.bmp
  rm -f "$shot_bmp"
  wine zlvnhost.exe --script "samples list active shot:$shot_bmp inactive"
  if [ -f "$shot_bmp" ] && shot_png=$(shot_as_png "$shot_bmp"); then
    echo "screenshot of the hints: $shot_png"
  else
    echo "run-host: no screenshot was made" >&2
    exit 1
  fi
else
  # A person is watching: the hints stay up for a few seconds.
  wine zlvnhost.exe --script "samples list active wait:5000 inactive"
fi
