# Sourced by the scripts that run our Windows programs: a Wine prefix of the build
# tree's own, a display (an Xvfb of our own when there is none), Japanese locale,
# and a warm wineserver so that test processes start at once.
#   source scripts/wine-env.sh BUILD_DIR   from a script of scripts/, or a shell
# --help prints this and starts nothing; sourced, it returns rather than ending the shell.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
case "${1:-}" in
  --help | -h)
    zlvn_usage "${BASH_SOURCE[0]}"
    return 0 2>/dev/null || exit 0
    ;;
  "")
    echo "wine-env: which build tree? usage: source scripts/wine-env.sh BUILD_DIR" >&2
    return 64 2>/dev/null || exit 64
    ;;
esac
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
# Wine's own faces (Marlett draws the title-bar buttons, Tahoma): Debian's Wine does not
# look where fonts-wine puts them, but it loads every face in the prefix's Fonts folder.
for zlvn_face in /usr/share/wine/fonts/*.ttf; do
  if [ -e "$zlvn_face" ]; then ln -sf "$zlvn_face" "$WINEPREFIX/drive_c/windows/Fonts/"; fi
done
# The Windows Japanese faces mapped to installed ones. regedit takes Japanese names
# intact only from UTF-16; the map is imported again whenever it changes, so that a
# build tree's older prefix gets it too. The server writes it out on exit (-w), so
# that copies of the prefix made from the files have it.
zlvn_fonts_reg="$WINEPREFIX/.zlvn-fonts-imported"
zlvn_fonts_new="$zlvn_build/wine-fonts.reg"
{ printf '\xff\xfe'; sed 's/$/\r/' "$(dirname "${BASH_SOURCE[0]}")/wine-fonts.reg.in" | iconv -f UTF-8 -t UTF-16LE; } \
  >"$zlvn_fonts_new"
if ! cmp -s "$zlvn_fonts_new" "$zlvn_fonts_reg"; then
  echo "wine-env: mapping the Windows Japanese faces in the prefix"
  wine regedit /S "Z:${zlvn_fonts_new//\//\\}" </dev/null >/dev/null 2>&1 &&
    wineserver -w && cp "$zlvn_fonts_new" "$zlvn_fonts_reg"
fi
# A program that crashes ends at once, with the exception's code, instead of starting
# winedbg and waiting for it (a test then hangs until its time-out): a debugger command
# that is empty cannot start, and Wine then lets the process end.
zlvn_no_debugger="$WINEPREFIX/.zlvn-no-debugger"
if [ ! -f "$zlvn_no_debugger" ]; then
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d "" /f \
    </dev/null >/dev/null 2>&1 && wineserver -w && touch "$zlvn_no_debugger"
fi
# Start the server and Wine's own processes outside any test, so that CTest does not
# wait for them. ZLVN_NO_WARM_SERVER=1: not for a person's run, whose server must end
# by itself when the prefix has no program left.
if [ -z "${ZLVN_NO_WARM_SERVER:-}" ]; then
  wineserver -p
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
fi
