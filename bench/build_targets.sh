# Sourced by the benchmark scripts: builds the given targets into the release tree
# $build (configured on first use, tests off), quietly unless the build fails.
# Does nothing when VELMIRA_BENCH_BUILT is set (bench/run has built everything).
build_targets() {
    [ -n "${VELMIRA_BENCH_BUILT:-}" ] && return 0
    local log=/tmp/velmira-bench-build.$$.log
    {
        [ -f "$build/CMakeCache.txt" ] ||
            cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMIRA_BUILD_TESTS=OFF
        cmake --build "$build" -j2 --target "$@"
    } >"$log" 2>&1 || { tail -n 30 "$log"; rm -f "$log"; return 1; }
    rm -f "$log"
}
