#!/bin/bash
# Builds the fuzz targets (the `fuzz` preset: clang, libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs each one in turn, starting from its
# checked-in seeds (tests/fuzz/corpus/<target>) and its dictionary.
#
# Usage: scripts/fuzz.sh [-n <runs> | -t <seconds>] [-l <bytes>] [target...]
#   -n  executions per target (default 1000000)
#   -t  seconds per target instead of a count
#   -l  the longest input (default 8192; longer seeds are cut)
#   targets: names without the _fuzz suffix (default: all of tests/fuzz)
#   FUZZ_OUT=<dir> the build folder (default build/fuzz)
#
# Prints one line per target: executions, seconds, findings. The findings of
# the run (crash, leak, time-out, out-of-memory inputs) are kept in
# <build>/findings/<target> until that target runs again.
# Exits 1 when any target found something or did not run.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${FUZZ_OUT:-$root/build/fuzz}"
limit=(-runs=1000000)
max_len=8192
while getopts "n:t:l:" option; do
  case $option in
    n) limit=(-runs="$OPTARG") ;;
    t) limit=(-max_total_time="$OPTARG") ;;
    l) max_len=$OPTARG ;;
    *) sed -n '2,15p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))

targets=("$@")
if ((${#targets[@]} == 0)); then
  for source in "$root"/tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$source" .cpp)
    targets+=("${name%_fuzz}")
  done
fi

cd "$root"
cmake --preset fuzz -B "$out" >/dev/null || exit 1
binaries=("${targets[@]/%/_fuzz}")
cmake --build "$out" -j 2 --target "${binaries[@]}" >/dev/null || {
  cmake --build "$out" -j 1 --target "${binaries[@]}" 2>&1 | tail -30
  exit 1
}

failed=0
printf '%-22s %12s %8s  %s\n' target executions seconds result
for target in "${targets[@]}"; do
  binary="$out/tests/fuzz/${target}_fuzz"
  corpus="$out/corpus/$target"
  findings="$out/findings/$target"
  log="$out/logs/$target.log"
  # Findings are this run's: the inputs of an earlier run are dropped.
  rm -rf "$findings"
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  seeds="$root/tests/fuzz/corpus/$target"
  [[ -d $seeds ]] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null
  dict=()
  [[ -f $root/tests/fuzz/$target.dict ]] && dict=(-dict="$root/tests/fuzz/$target.dict")
  started=$SECONDS
  "$binary" "${limit[@]}" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "${dict[@]}" "$corpus" >"$log" 2>&1
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  [[ -z $runs ]] && runs=$(sed -n 's/.*Done \([0-9]*\) runs.*/\1/p' "$log" | tail -1)
  found=$(find "$findings" -type f | wc -l)
  result="no findings"
  if ((status != 0 || found > 0)); then
    result="FOUND: $(grep -m1 -E 'ERROR: (libFuzzer|AddressSanitizer|LeakSanitizer)|runtime error|deadly signal' "$log" \
      || echo "exit $status") ($found input(s) in $findings, log $log)"
    failed=1
  fi
  printf '%-22s %12s %8s  %s\n' "$target" "${runs:-0}" "$((SECONDS - started))" "$result"
done
exit $failed
