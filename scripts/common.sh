# Shared by the scripts (sourced once $root is set): the machine's set-up, the configure
# step of the cross build, the check counter of the check scripts, and --help.
#   source "$root/scripts/common.sh"   in a script of scripts/, not run by itself

# zlvn_usage SCRIPT: the comment at the top of SCRIPT (its options and steps), after its
# "#!" line.
zlvn_usage() {
  sed -n '1{/^#!/d}; /^#/!q; s/^# \{0,1\}//p' "$1"
}

# zlvn_help_if_asked SCRIPT "$@": with --help or -h, prints SCRIPT's usage and exits,
# before anything is set up or built.
zlvn_help_if_asked() {
  case "${2:-}" in
    --help | -h) zlvn_usage "$1" && exit 0 ;;
  esac
}

# Run rather than sourced: there is nothing to do but say what it is. (When sourced, the
# arguments seen here are the sourcing script's own, which are not for this file.)
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  zlvn_usage "$0"
  case "${1:-}" in
    --help | -h) exit 0 ;;
    *) exit 64 ;;
  esac
fi

# Installs the toolchain, Wine and the tools when run as root (CI, a fresh machine).
zlvn_setup_if_root() {
  if [ "$(id -u)" = 0 ]; then bash "$root/scripts/setup.sh"; fi
}

# zlvn_configure BUILD [CMAKE_ARGS...]: configures the 32-bit MinGW release build in BUILD.
zlvn_configure() {
  local build=$1
  shift
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}

# The check counter: set zlvn_checker to the script's name, count with zlvn_pass/zlvn_fail
# or zlvn_check, and end with zlvn_checks_end.
zlvn_checker=${zlvn_checker:-check}
# Kept when sourced again (scripts/wine-env.sh sources it too, in the middle of a check).
zlvn_passed=${zlvn_passed:-0}
zlvn_failed=${zlvn_failed:-0}
# zlvn_pass NAME
zlvn_pass() {
  zlvn_passed=$((zlvn_passed + 1))
  echo "$zlvn_checker: ok   $1"
}
# zlvn_fail NAME [DETAIL]: DETAIL (what was seen) goes to stderr.
zlvn_fail() {
  zlvn_failed=$((zlvn_failed + 1))
  echo "$zlvn_checker: FAIL $1"
  if [ -n "${2:-}" ]; then printf '%s\n' "$2" >&2; fi
}
# zlvn_check NAME COMMAND...: passes when COMMAND succeeds.
zlvn_check() {
  local name=$1
  shift
  if "$@"; then zlvn_pass "$name"; else zlvn_fail "$name"; fi
}
# Prints "<script>: N passed, M failed"; fails when any check failed.
zlvn_checks_end() {
  echo "$zlvn_checker: $zlvn_passed passed, $zlvn_failed failed"
  [ "$zlvn_failed" = 0 ]
}
