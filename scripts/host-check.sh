#!/usr/bin/env bash
# Checks the reference host as a person meets it, under Wine: its usage, a wrong option,
# a missing DLL, a plug-in refusing the host, and script steps that open the dialogs and
# close them after a while. Ends with "host-check: N passed, M failed".
#   bash scripts/host-check.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
zlvn_checker=host-check
source "$root/scripts/common.sh"
zlvn_help_if_asked "$0" "$@"
build=${BUILD_DIR:-$root/build}
BUILD_DIR="$build" bash "$root/scripts/build.sh"
source "$root/scripts/wine-env.sh" "$build"

# A folder of its own, so that no settings file of another run is read or written.
work="$build/host-check"
rm -rf "$work"
mkdir -p "$work"
cp "$build/bin/zlvnhost.exe" "$build/bin/ZlvnHint.dll" "$build/bin/bgnml.bmp" "$build/bin/bgicn.bmp" "$work/"
cd "$work"

# host ARGS...: runs the host (never longer than two minutes); sets $out and $rc.
host() {
  last="zlvnhost.exe $*"
  set +e
  out=$(timeout 120 wine zlvnhost.exe "$@" </dev/null 2>&1)
  rc=$?
  set -e
}
# expect RC TEXT...: the last run's exit status and texts its output must hold.
expect() {
  local want=$1 text
  shift
  if [ "$rc" != "$want" ]; then
    zlvn_fail "$last" "$(printf '%s exited with %s, expected %s:\n%s' "$last" "$rc" "$want" "$out")"
    return
  fi
  for text in "$@"; do
    if ! grep -qF -- "$text" <<<"$out"; then
      zlvn_fail "$last" "$(printf '%s printed no "%s":\n%s' "$last" "$text" "$out")"
      return
    fi
  done
  zlvn_pass "$last"
}

for help in --help -h '/?'; do
  host "$help"
  expect 0 "usage: zlvnhost.exe" "Steps:" "option[:MS[:ACT...]]" "shot:FILE.bmp"
done
host --bogus
expect 64 "unknown option --bogus" "usage: zlvnhost.exe"
host --script
expect 64 "--script needs a value" "usage: zlvnhost.exe"

host --dll missing.dll --script list
expect 1 "host: cannot load missing.dll: " "(126)"
host --host-version 0.9.6.3 --script list
expect 1 "log(3): Hint " "host: the plug-in refused to load into this host" "(1114)"

host --script "option:500 version:500 option:300:page:2:shot:page2.bmp"
expect 0 'closing the dialog "ダイアログ" as Cancel' 'closing the dialog "バージョン情報" as Cancel' \
  "host: page 2 of the dialog" "host: screenshot of the dialog"
zlvn_check "$last saved the bitmap page2.bmp" test "$(head -c 2 page2.bmp 2>/dev/null)" = BM
host --script "option:300:page:9"
expect 2 "the dialog has 2 pages, no page 9"
host --script "version:soon"
expect 2 "'soon' is not a time in milliseconds"

zlvn_checks_end
