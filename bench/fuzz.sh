#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each for a while.
#   bench/fuzz.sh [seconds per target, default 60]
# Prints, per target, the inputs executed and the crashes found. The corpus grows in
# build/fuzz/corpus/<target> from run to run; crash inputs land in
# build/fuzz/artifacts/<target>/. Exits non-zero when a target crashed.
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz

cmake -S "$root/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 >/dev/null

status=0
printf '%-24s %12s %8s %8s\n' target executions exec/s crashes
for target in profile_document duration_text; do
    corpus=$build/corpus/$target
    artifacts=$build/artifacts/$target
    log=$build/$target.log
    mkdir -p "$corpus" "$artifacts"
    cp -n "$root/fuzz/seeds/$target/"* "$corpus/" 2>/dev/null || true
    rm -f "$artifacts"/*

    set +e
    "$build/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1
    exit_code=$?
    set -e

    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
    per_second=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n1)
    crashes=$(find "$artifacts" -type f | wc -l)
    if [ "$exit_code" -ne 0 ] && [ "$crashes" -eq 0 ]; then crashes=1; fi
    printf '%-24s %12s %8s %8s\n' "$target" "${executions:-?}" "${per_second:-?}" "$crashes"
    if [ "$crashes" -ne 0 ]; then
        status=1
        echo "  see $log and $artifacts/"
    fi
done
exit $status
