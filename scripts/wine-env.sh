# Sourced by the scripts that run our Windows programs: a Wine prefix of the build
# tree's own, a display (an Xvfb of our own when there is none), Japanese locale,
# and a warm wineserver so that test processes start at once.
# Usage: source scripts/wine-env.sh BUILD_DIR
zlvn_build=$(cd "$1" && pwd)
export WINEPREFIX="$zlvn_build/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8
unset LC_ALL

zlvn_xvfb_pid=
zlvn_stop_wine() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$zlvn_xvfb_pid" ]; then kill "$zlvn_xvfb_pid" 2>/dev/null || true; fi
}

if [ -z "${DISPLAY:-}" ]; then
  # The first free display number from 90 on.
  n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -noreset -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  zlvn_xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
fi
trap zlvn_stop_wine EXIT

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-env: making the Wine prefix (once per build tree)"
  wineboot -i >/dev/null 2>&1
  # Xvfb has no window manager; without this Wine waits for one whenever a window hides.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
  wineserver -w
fi
# Start the server and Wine's own processes outside any test, so that CTest does not
# wait for them.
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
