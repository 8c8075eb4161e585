#!/usr/bin/env bash
# Builds the libFuzzer harnesses into build-fuzz/ and runs each in turn for a bounded time.
# Usage: scripts/run-fuzz.sh [SECONDS_PER_HARNESS (default 20) [HARNESS...]]
# A crash, sanitizer report, leak or timeout fails the script. The input that caused it is
# copied to fuzz/regressions/<harness>/, where the test suite replays it from then on.
# So does a harness that runs fewer than min_rate inputs a second: it would pass without
# having fuzzed anything worth the name.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift $(($# > 0 ? 1 : 0))
build=build-fuzz
min_rate=100

./scripts/install-deps.sh
VELMORA_BUILD_DIR=$build VELMORA_BUILD_TYPE=Debug ./scripts/build.sh -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DVELMORA_SANITIZE=ON -DVELMORA_FUZZ=ON -DVELMORA_BUILD_TESTS=OFF
"$build/fuzz/velmora-fuzz-seeds" "$build/seeds"

# Sets children_seconds to the processor seconds this shell's finished children have used.
# (times must run in this shell: a subshell's children are its own.)
times_file=$(mktemp)
trap 'rm -f "$times_file"' EXIT
read_children_seconds() {
  times >"$times_file"
  children_seconds=$(awk 'NR == 2 { for (i = 1; i <= 2; i++) { split($i, p, "m"); t += p[1] * 60 + p[2] }
                                    printf "%.3f", t }' "$times_file")
}

harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for program in "$build"/fuzz/fuzz-*; do harnesses+=("${program##*/fuzz-}"); done
fi

status=0
for harness in "${harnesses[@]}"; do
  corpus=$build/corpus/$harness crashes=$build/crashes/$harness log=$build/logs/$harness.log
  mkdir -p "$corpus" "$crashes" "${log%/*}"
  inputs=("$corpus")   # the first folder gathers what the fuzzer finds; the others only seed it
  for seeds in "$build/seeds/$harness" "fuzz/seeds/$harness" "fuzz/regressions/$harness"; do
    [ -d "$seeds" ] && inputs+=("$seeds")
  done
  read_children_seconds
  cpu_before=$children_seconds
  if nice -n 19 "$build/fuzz/fuzz-$harness" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$crashes/" "${inputs[@]}" >"$log" 2>&1; then
    rate=$(sed -n 's/^stat::average_exec_per_sec: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
    runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
    done_line=$(grep -m1 -o 'Done [0-9]* runs in [0-9]* second(s)' "$log" || true)
    # On a machine busy with other work a harness at nice 19 can get little processor
    # time and fail for that alone; the rate per processor second tells the two apart.
    read_children_seconds
    cpu_rate=$(awk -v runs="${runs:-0}" -v a="$cpu_before" -v b="$children_seconds" \
      'BEGIN { s = b - a; if (s > 0) printf "%d", runs / s; else print "?" }')
    summary="$done_line, ${rate:-?} inputs a second ($cpu_rate per second of processor time)"
    if [ "${rate:-0}" -ge "$min_rate" ]; then
      echo "$harness: $summary"
    else
      status=1
      echo "$harness: FAILED: $summary, fewer than $min_rate; the log is in $log"
    fi
  else
    status=1
    tail -n 40 "$log"
    mkdir -p "fuzz/regressions/$harness"
    cp "$crashes"/* "fuzz/regressions/$harness/" 2>/dev/null || true
    echo "$harness: FAILED; the input is in fuzz/regressions/$harness/, the log in $log"
  fi
done
exit $status
