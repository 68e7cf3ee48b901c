#!/usr/bin/env bash
# Builds the plain rules natively with clang, runs their unit tests under
# AddressSanitizer and UndefinedBehaviorSanitizer through ctest, then runs every fuzz
# target from its seed corpus (fuzz/corpus/<rule>) for a short bounded time.
# Any test failure or fuzzer finding fails the script.
#
#   bash scripts/native.sh                  tests, then 15 s per fuzz target
#   bash scripts/native.sh --long [rule..]  10 million executions per target (or the
#                                           rules named, e.g. ini_text placement), at
#                                           nice 19, logs in NATIVE_BUILD_DIR/fuzz-logs
# Environment: NATIVE_BUILD_DIR (default build-native), FUZZ_SECONDS (15),
# FUZZ_RUNS (10000000, --long only), FUZZ_ARGS (more libFuzzer flags, e.g. -max_len=512).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/common.sh"
zlvn_help_if_asked "$0" "$@"
build=${NATIVE_BUILD_DIR:-$root/build-native}
long=0
if [ "${1:-}" = "--long" ]; then long=1; shift; fi
zlvn_setup_if_root

cmake -S "$root/native" -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$build" -j"$(nproc)"

if [ "$long" = 0 ]; then
  (cd "$build" && ctest --output-on-failure)
fi

targets=()
if [ $# -gt 0 ]; then
  for rule in "$@"; do targets+=("${rule%_fuzz}_fuzz"); done
else
  mapfile -t targets < "$build/fuzz/targets.txt"
fi

logs="$build/fuzz-logs"
mkdir -p "$logs"
status=0
for target in "${targets[@]}"; do
  [ -n "$target" ] || continue
  rule=${target%_fuzz}
  # New inputs go to a corpus in the build tree; the repository's seeds stay as they are.
  corpus="$build/fuzz-corpus/$rule"
  mkdir -p "$corpus"
  args=(-rss_limit_mb=2048 -timeout=10 -print_final_stats=1 -artifact_prefix="$logs/$rule-")
  # shellcheck disable=SC2206 # flags split on blanks on purpose
  args+=(${FUZZ_ARGS:-})
  if [ "$long" = 1 ]; then
    args+=(-runs="${FUZZ_RUNS:-10000000}")
    runner=(nice -n 19)
  else
    args+=(-max_total_time="${FUZZ_SECONDS:-15}")
    runner=()
  fi
  echo "fuzz: $rule"
  if ! "${runner[@]}" "$build/fuzz/$target" "${args[@]}" "$corpus" "$root/fuzz/corpus/$rule" \
      > "$logs/$rule.log" 2>&1; then
    if grep -q 'run interrupted' "$logs/$rule.log"; then
      echo "fuzz: $rule interrupted from outside (no finding), see $logs/$rule.log"
    else
      echo "fuzz: $rule FAILED, see $logs/$rule.log"
    fi
    grep -E 'property failed|runtime error|ERROR:|Test unit written' "$logs/$rule.log" | head -5 || true
    status=1
  fi
  # The last status line and the final figures.
  grep -E '^#[0-9]+' "$logs/$rule.log" | tail -1 || true
  grep -E 'stat::(number_of_executed_units|average_exec_per_sec|new_units_added)' "$logs/$rule.log" || true
done
exit $status
