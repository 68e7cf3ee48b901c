#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test:
#   1. the GoogleTest programs under Wine (CTest),
#   2. the plain rules natively under AddressSanitizer and UndefinedBehaviorSanitizer,
#      with a short run of every fuzz target (scripts/native.sh),
#   3. the reference host's own checks (scripts/host-check.sh),
#   4. the release check: two builds byte for byte alike, the archive's smoke run
#      (scripts/release-check.sh).
# Every phase runs, also after one failed; a table of the phases and one line
# "N passed, M failed" end the run.
#
# With arguments only step 1 runs, the arguments go to ctest, and only the test programs
# that hold the selected tests are built; -N builds nothing and lists the tests of the
# programs as last built:
#   bash scripts/test.sh -R Persistence              the tests whose names match
#   bash scripts/test.sh -R plugin_persistence_tests all tests of the one program named
#   bash scripts/test.sh -N                          list the tests
# ctest learns a program's tests by running it, so the first -R or -N in a build tree
# (or one that lacks a test program) builds everything first and makes the tree's Wine
# prefix: 2 to 4 min on two cores, and it says so before it starts.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
zlvn_help_if_asked "$0" "$@"
build=${BUILD_DIR:-$root/build}

# A program's name after -R selects the tests of that program, by their label.
program_labels() {
  for i in "${!args[@]}"; do
    if [ "${args[$i]}" = -R ] && [ $((i + 1)) -lt "${#args[@]}" ] && [ -f "$build/bin/${args[$((i + 1))]}.exe" ]; then
      args[$i]=-L
      args[$((i + 1))]="^${args[$((i + 1))]}\$"
    fi
  done
}

# Whether every test program was built once: ctest lists a program's tests from the
# program itself.
all_programs_built() {
  local exe
  [ -d "$build/tests" ] || return 1
  for exe in $(find "$build/tests" -name '*_include.cmake' -exec sed -n 's/^if(EXISTS "\(.*\.exe\)").*/\1/p' {} +); do
    [ -f "$exe" ] || return 1
  done
}

# The test programs (build targets) that hold the tests these ctest arguments select;
# "-" when the selected tests need none (checks of sources and scripts); nothing when
# none is found (a test new since the last build: then everything is built).
test_programs() {
  (cd "$build" && ctest -N --show-only=json-v1 "$@" 2>/dev/null) | python3 -c '
import json, os, sys
try:
    tests = json.load(sys.stdin)["tests"]
except ValueError:  # ctest could not list them: everything is built
    sys.exit()
programs = sorted({os.path.basename(t["command"][1])[:-4] for t in tests
                   if len(t.get("command", [])) > 1 and t["command"][1].endswith(".exe")})
print(" ".join(programs) or "-" if tests else "")
'
}

# Whether the ctest arguments only list tests.
only_listing() {
  local arg
  for arg in "$@"; do
    case "$arg" in -N | --show-only | --show-only=*) return 0 ;; esac
  done
  return 1
}

# "PASSED FAILED" from a ctest run's summary line.
ctest_counts() {
  sed -n 's/^[0-9]*% tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\)$/\2 \1/p' "$1" | tail -1 |
    awk '{print $1 - $2, $2}'
}

# The native phase: its ctest run, and each fuzz target as one more test.
native_counts() {
  local run fuzzed failed
  run=$(ctest_counts "$1")
  fuzzed=$(grep -c '^fuzz: [A-Za-z0-9_]*$' "$1")
  failed=$(grep -cE '^fuzz: [A-Za-z0-9_]+ (FAILED|interrupted)' "$1")
  echo "${run:-0 0}" | awk -v f="$fuzzed" -v x="$failed" '{print $1 + f - x, $2 + x}'
}

# "PASSED FAILED" from a check script's last line ("NAME: N passed, M failed").
check_counts() {
  sed -n "s/^$1: \([0-9]*\) passed, \([0-9]*\) failed\$/\1 \2/p" "$2" | tail -1
}

# The table of phases (NAME "PASSED FAILED" STATUS ...) and the closing line; fails when
# anything failed. A phase that failed without counting a failure (it stopped early)
# counts as one failure.
phase_table() {
  local total_passed=0 total_failed=0 passed failed
  printf '\n%-22s %7s %7s\n' phase passed failed
  while [ "$#" -gt 0 ]; do
    read -r passed failed <<< "${2:-0 0}"
    passed=${passed:-0} failed=${failed:-0}
    if [ "$3" != 0 ] && [ "$failed" = 0 ]; then failed=1; fi
    printf '%-22s %7s %7s\n' "$1" "$passed" "$failed"
    total_passed=$((total_passed + passed)) total_failed=$((total_failed + failed))
    shift 3
  done
  echo "$total_passed passed, $total_failed failed"
  [ "$total_failed" = 0 ]
}

set -e
zlvn_setup_if_root

if [ "$#" -gt 0 ]; then
  args=("$@")
  zlvn_configure "$build"
  program_labels
  programs=
  # ctest lists a program's tests by running it: under the build tree's own Wine prefix
  # (and only there: the build wants the machine's own locale).
  if ! all_programs_built; then
    # Measured on two cores: the build 1 min 37 s on an idle machine; build and prefix
    # 3 min 0 s and 3 min 47 s while others built.
    echo "test: this build tree lacks test programs, and ctest learns a program's tests by" \
      "running it: building everything first, then the Wine prefix once (2 to 4 min on two cores)"
  elif only_listing "${args[@]}"; then
    programs=-
  else
    programs=$(source "$root/scripts/wine-env.sh" "$build" >&2 && test_programs "${args[@]}")
  fi
  if [ -z "$programs" ]; then
    BUILD_DIR="$build" bash "$root/scripts/build.sh"
  elif [ "$programs" != - ]; then
    echo "test: building $programs"
    # shellcheck disable=SC2086 # one target name a word
    BUILD_DIR="$build" bash "$root/scripts/build.sh" $programs
  fi
  program_labels  # a program that a fresh tree has only now
  source "$root/scripts/wine-env.sh" "$build"
  cd "$build"
  # Not exec: wine-env's exit trap must stop the Wine server and the display it started,
  # or they hold the caller's output open.
  ctest --output-on-failure "${args[@]}"
  exit
fi

BUILD_DIR="$build" bash "$root/scripts/build.sh"
set +e
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
(
  source "$root/scripts/wine-env.sh" "$build"
  cd "$build"
  ctest --output-on-failure
) 2>&1 | tee "$logs/wine"
wine_status=${PIPESTATUS[0]}
bash "$root/scripts/native.sh" 2>&1 | tee "$logs/native"
native_status=${PIPESTATUS[0]}
BUILD_DIR="$build" bash "$root/scripts/host-check.sh" 2>&1 | tee "$logs/host-check"
host_status=${PIPESTATUS[0]}
BUILD_DIR="$build" bash "$root/scripts/release-check.sh" 2>&1 | tee "$logs/release-check"
release_status=${PIPESTATUS[0]}

phase_table \
  "Wine tests (CTest)" "$(ctest_counts "$logs/wine")" "$wine_status" \
  "native and fuzzing" "$(native_counts "$logs/native")" "$native_status" \
  "host-check" "$(check_counts host-check "$logs/host-check")" "$host_status" \
  "release-check" "$(check_counts release-check "$logs/release-check")" "$release_status"
