#!/usr/bin/env bash
# Runs a test program on a display of its own whose root window announces a work area
# (task bars), with a Wine server of its own: Wine takes the work area from the display
# its desktop process was started on, so the shared server of the other tests will not do.
# Usage: run_on_own_display.sh [--ppi N] BUILD_DIR PROGRAM.exe WORKAREA [Xephyr screens...]
#   --ppi N: the prefix's screen resolution (LogPixels), in a prefix of its own.
#   WORKAREA: "x, y, width, height" as _NET_WORKAREA takes it.
#   With Xephyr screens (e.g. 1280x800x24 1024x768x24) the program sees two monitors.
set -euo pipefail
ppi=
if [ "${1:-}" = --ppi ]; then ppi=$2; shift 2; fi
build=$(cd "$1" && pwd)
program=$2
workarea=$3
shift 3

shared="$build/wineprefix"
side="$build/wineprefix-own-display${ppi:+-$ppi}"
export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=ja_JP.UTF-8
unset LC_ALL
# A second prefix that shares the drive and copies the registry: a server of its own, at
# once, without making a prefix anew.
mkdir -p "$side"
cp "$shared"/*.reg "$shared"/.update-timestamp "$side"/
[ -e "$side/drive_c" ] || ln -s "$shared/drive_c" "$side/drive_c"
[ -e "$side/dosdevices" ] || ln -s "$shared/dosdevices" "$side/dosdevices"
export WINEPREFIX="$side"
if [ -n "$ppi" ]; then
  # Read by every Wine process as it starts: set in the file before any of them runs.
  awk -v value="\"LogPixels\"=dword:$(printf '%08x' "$ppi")" '
    function close_section() { if (desktop) print value; desktop = 0 }
    /^\[/ { close_section(); desktop = index($0, "[Control Panel\\\\Desktop]") == 1 }
    desktop && /^"LogPixels"=/ { next }
    { print }
    END { close_section() }' "$side/user.reg" >"$side/user.reg.new"
  mv "$side/user.reg.new" "$side/user.reg"
fi

free_display() {
  local n=$1
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  echo "$n"
}
wait_display() { for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$1" ] && return 0; sleep 0.1; done; return 1; }

pids=()
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

outer=$(free_display 120)
Xvfb ":$outer" -noreset -screen 0 2400x900x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
wait_display "$outer"
display=":$outer"
if [ "$#" -gt 0 ]; then
  command -v Xephyr >/dev/null || { echo "no Xephyr: two monitors cannot be had here"; exit 77; }
  inner=$(free_display $((outer + 1)))
  screens=()
  origin=0
  for s in "$@"; do
    screens+=(-screen "$s")
    [ "$origin" = 0 ] || screens+=(-origin "$origin,0")
    origin=$((origin + ${s%%x*}))
  done
  DISPLAY=":$outer" Xephyr ":$inner" -noreset +xinerama -extension RANDR "${screens[@]}" >/dev/null 2>&1 &
  pids+=($!)
  wait_display "$inner"
  display=":$inner"
fi
export DISPLAY="$display"
xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "$workarea"

wineserver -p </dev/null >/dev/null 2>&1
# No window manager runs here: without this, Wine waits two seconds for one whenever a
# window that was once active is hidden or destroyed.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
cd "$build/bin"
wine "$program"
