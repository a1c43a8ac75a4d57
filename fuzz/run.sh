#!/usr/bin/env bash
# Runs every fuzz target of the fuzz preset for SECONDS each, JOBS at a time, and prints
# for each its runs, exec/s (per second of the clock, as libFuzzer counts, and per second
# of the processor, which a busy machine does not lower) and whether it crashed. Each target starts from its seeds in
# fuzz/corpus/NAME and keeps what it finds in BUILD_DIR/corpus/NAME; a crashing input is
# saved as BUILD_DIR/crashes/NAME-*. Logs are in BUILD_DIR/fuzz-logs.
# Usage: fuzz/run.sh [SECONDS] [JOBS] [BUILD_DIR] [TARGET...]
#        (defaults: 60 seconds, 1 at a time, build/fuzz, every target)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
seconds=${1:-60}
jobs=${2:-1}
build=$(cd "${3:-$here/../build/fuzz}" && pwd)
shift $(($# < 3 ? $# : 3))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    mapfile -t targets < <(find "$build/fuzz" -maxdepth 1 -type f -executable -name 'fuzz_*' -printf '%f\n' | sort)
fi
# The parsers' allocations are small and short-lived: AddressSanitizer's default 256 MB
# quarantine of freed memory only makes every run touch fresh pages.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}
logs=$build/fuzz-logs
mkdir -p "$logs" "$build/crashes"

run_one() {
    local target=$1 name=${1#fuzz_}
    mkdir -p "$build/corpus/$name"
    local TIMEFORMAT='%U %S'
    {
        time "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
            -artifact_prefix="$build/crashes/$name-" \
            "$build/corpus/$name" "$here/corpus/$name" >"$logs/$target.log" 2>&1 || true
    } 2>"$logs/$target.cpu"
}

running=0
for target in "${targets[@]}"; do
    run_one "$target" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait -n || true
        running=$((running - 1))
    fi
done
wait

printf '%-22s %12s %10s %12s  %s\n' target runs exec/s exec/cpu-s result
for target in "${targets[@]}"; do
    log=$logs/$target.log
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    cpu=$(awk '{ print $1 + $2 }' "$logs/$target.cpu")
    per_cpu=$(awk -v runs="${runs:-0}" -v cpu="$cpu" 'BEGIN { if (cpu > 0) printf "%d", runs / cpu; else print "?" }')
    if grep -q -E '^(==[0-9]+==ERROR|SUMMARY: |.*deadly signal|.*Test unit written)' "$log"; then
        result="CRASH, see $log"
    else
        result=ok
    fi
    printf '%-22s %12s %10s %12s  %s\n' "$target" "${runs:-?}" "${rate:-?}" "$per_cpu" "$result"
done
