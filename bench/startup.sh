#!/usr/bin/env bash
# Start-up time, peak memory and idle CPU of the program next to a minimal Qt Widgets
# window of the same size (bench/minimal_window), under Xvfb with a window manager and a
# private PulseAudio.
#   bench/startup.sh [RUNS=5] [IDLE_SECONDS=30]
# Start-up: from exec to the first time the window is found visible (polled with
# xdotool). Peak RSS: VmHWM one second after the window showed. Both are the median of
# RUNS starts, the two programs taking turns. Idle CPU: user + system CPU seconds of each
# process over IDLE_SECONDS with its window open and no run, both open at once.
# Builds into $VELMIRA_BENCH_BUILD (default build/bench) unless VELMIRA_BENCH_BUILT is set.
# Goals: RSS <= minimal + 15 MB, start-up <= 1.5 x minimal, idle CPU about zero.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${VELMIRA_PULSE_DIR:-}" ]; then
    exec "$root/tests/scripts/with_pulse.sh" "$0" "$@"
fi

runs=${1:-5}
idle_seconds=${2:-30}
build=${VELMIRA_BENCH_BUILD:-$root/build/bench}

source "$root/bench/build_targets.sh"
build_targets velmira velmira_stage_tracks velmira_minimal_window

source "$root/tests/e2e/desktop.sh"
work=$(mktemp -d /tmp/velmira-startup.XXXXXX)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    desktop_stop
    rm -rf "$work"
}
trap cleanup EXIT

cp -r "$build/bin" "$work/bin"
velmira=$work/bin/velmira
minimal=$build/bench/velmira_minimal_window
declare -A title=([velmira]="Velmira V1.0" [minimal]="Minimal window")
declare -A program=([velmira]="$velmira" [minimal]="$minimal")

desktop_start "$work"
cd /

# Starts a program in the background, waits for its window and sets launched_pid and
# launch_ms (exec to visible window, in milliseconds).
launch() {
    local name=$1 begin end
    rm -f "$work/bin/File/"*.ini
    begin=$EPOCHREALTIME
    "${program[$name]}" >/dev/null 2>&1 &
    launched_pid=$!
    pids+=("$launched_pid")
    for _ in $(seq 3000); do
        if xdotool search --onlyvisible --name "^${title[$name]}\$" >/dev/null 2>&1; then
            end=$EPOCHREALTIME
            launch_ms=$(awk -v b="$begin" -v e="$end" 'BEGIN { printf "%.0f", (e - b) * 1000 }')
            return 0
        fi
    done
    echo "the window \"${title[$name]}\" did not appear"
    return 1
}

finish() {
    kill -TERM "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

peak_rss_kb() { awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"; }
# utime + stime of the whole process, all threads, in clock ticks.
cpu_ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

declare -A launch_list=() rss_list=()
for run in $(seq "$runs"); do
    order=(velmira minimal)
    [ $((run % 2)) -eq 0 ] && order=(minimal velmira)
    for name in "${order[@]}"; do
        launch "$name"
        sleep 1
        rss=$(peak_rss_kb "$launched_pid")
        finish "$launched_pid"
        launch_list[$name]+="$launch_ms "
        rss_list[$name]+="$rss "
    done
done

launch velmira
velmira_pid=$launched_pid
launch minimal
minimal_pid=$launched_pid
sleep 2
velmira_before=$(cpu_ticks "$velmira_pid")
minimal_before=$(cpu_ticks "$minimal_pid")
sleep "$idle_seconds"
velmira_idle=$(( $(cpu_ticks "$velmira_pid") - velmira_before ))
minimal_idle=$(( $(cpu_ticks "$minimal_pid") - minimal_before ))
finish "$velmira_pid"
finish "$minimal_pid"

hz=$(getconf CLK_TCK)
declare -A launch_median=() rss_median=()
for name in velmira minimal; do
    launch_median[$name]=$(tr ' ' '\n' <<<"${launch_list[$name]}" | grep . | median)
    rss_median[$name]=$(tr ' ' '\n' <<<"${rss_list[$name]}" | grep . | median)
done

awk -v runs="$runs" -v idle="$idle_seconds" -v hz="$hz" \
    -v vl="${launch_median[velmira]}" -v ml="${launch_median[minimal]}" \
    -v vr="${rss_median[velmira]}" -v mr="${rss_median[minimal]}" \
    -v vi="$velmira_idle" -v mi="$minimal_idle" \
    -v vall="${launch_list[velmira]}" -v mall="${launch_list[minimal]}" '
    BEGIN {
        printf "start-up and memory: median of %d starts each, idle CPU over %d s\n", runs, idle
        printf "  %-28s %12s %12s %8s   %s\n", "", "velmira", "minimal", "ratio", "goal"
        printf "  %-28s %9d ms %9d ms %8.2f   <= 1.5 x minimal\n", "time to first window", vl, ml, vl / ml
        printf "  %-28s %9.1f MB %9.1f MB %+7.1f MB <= minimal + 15 MB\n", "peak RSS (VmHWM)", vr / 1024, mr / 1024, (vr - mr) / 1024
        printf "  %-28s %10.2f s %10.2f s %8s   about zero\n", "idle CPU", vi / hz, mi / hz, ""
        printf "  start-up of each run (ms): velmira %s/ minimal %s\n", vall, mall
        printf "result startup_ms %d\nresult startup_minimal_ms %d\n", vl, ml
        printf "result rss_mb %.1f\nresult rss_minimal_mb %.1f\n", vr / 1024, mr / 1024
        printf "result idle_cpu_s %.2f\nresult idle_cpu_minimal_s %.2f\nresult idle_seconds %d\n", vi / hz, mi / hz, idle
    }'
