#!/usr/bin/env bash
# Runs every benchmark of the bench preset; each writes its report into the build folder
# (BUILD_DIR/*-report.txt) as well as to the terminal.
# Usage: bench/run.sh [BUILD_DIR]     (default: build/bench)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build/bench}" && pwd)
for bench in bench_drill bench_steps bench_progress bench_memory; do
    "$build/bench/$bench" --benchmark_out="$build/$bench-report.txt" \
        --benchmark_out_format=console
done
"$here/startup.sh" "$build"
"$here/speech_latency.sh" "$build"
"$build/bench/bench_memory_simulation" "$build/bench_memory_simulation-report.txt"
