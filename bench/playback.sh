#!/usr/bin/env bash
# CPU cost and loop seam of stage track playback. Under a private PulseAudio daemon
# with a null sink, Velmira's player (SDL2_mixer, driven like the main window drives
# it) plays a stage track for the given time, then `mpg123 --loop -1 -o pulse` plays
# the same track for the same time; the CPU seconds of each player and of the sound
# server are compared. The silence at the loop seam is measured on what the player
# really outputs (SDL's disk driver, over several rounds), next to mpg123's own decode.
#   bench/playback.sh [SECONDS=60] [STAGE=1]
# Uses the build tree $VELMIRA_BENCH_BUILD (default build/bench), building the driver
# and the tracks there first unless VELMIRA_BENCH_BUILT=1. Prints a table, then
# "result KEY VALUE" lines (CPU per minute of run) for bench/run.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
stage=${2:-1}
build=${VELMIRA_BENCH_BUILD:-$root/build/bench}
driver=$build/bench/playback/velmira_playback_driver
program_dir=$build/bin
track=$program_dir/File/$stage.mp3

if [ -z "${VELMIRA_PULSE_DIR:-}" ]; then
    if [ "${VELMIRA_BENCH_BUILT:-0}" != 1 ]; then
        [ -f "$build/CMakeCache.txt" ] ||
            cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
        cmake --build "$build" -j2 --target velmira_playback_driver velmira_stage_tracks >/dev/null
    fi
    exec "$root/tests/scripts/with_pulse.sh" "$0" "$@"
fi

[ -x "$driver" ] || { echo "no driver at $driver" >&2; exit 1; }
[ -f "$track" ] || { echo "no track at $track" >&2; exit 1; }
work=$VELMIRA_PULSE_DIR/bench
mkdir -p "$work"
ticks=$(getconf CLK_TCK)

# CPU seconds (user + system, all threads) a process has used so far.
cpu_seconds() {
    sed 's/^.*) //' "/proc/$1/stat" | awk -v t="$ticks" '{ printf "%.3f", ($12 + $13) / t }'
}
minus() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a - b }'; }
server_pid=$(cat "$PULSE_RUNTIME_PATH/pid")

echo "playing stage $stage for $seconds s with Velmira's player"
coproc PLAYER { exec "$driver" "$program_dir"; }
player_pid=$PLAYER_PID
send() {
    local answer=
    echo "$1" >&"${PLAYER[1]}"
    read -r -t 20 -u "${PLAYER[0]}" answer && [ "$answer" = ok ] ||
        { echo "the driver did not answer '$1'" >&2; exit 1; }
}
server_before=$(cpu_seconds "$server_pid")
send "play $((stage - 1))"
sleep "$seconds"
player_cpu=$(cpu_seconds "$player_pid")
player_server_cpu=$(minus "$(cpu_seconds "$server_pid")" "$server_before")
echo "quit" >&"${PLAYER[1]}"
wait "$player_pid" || true

echo "playing the same track for $seconds s with mpg123"
server_before=$(cpu_seconds "$server_pid")
mpg123 -q --loop -1 -o pulse "$track" &
mpg123_pid=$!
sleep "$seconds"
mpg123_cpu=$(cpu_seconds "$mpg123_pid")
mpg123_server_cpu=$(minus "$(cpu_seconds "$server_pid")" "$server_before")
kill "$mpg123_pid"
wait "$mpg123_pid" 2>/dev/null || true

echo "measuring the loop seam"
capture=$work/seam.raw
track_bytes=$(mpg123 -q -s "$track" | wc -c)
(
    export SDL_AUDIODRIVER=disk SDL_DISKAUDIODELAY=0 SDL_DISKAUDIOFILE=$capture
    coproc SEAM { exec "$driver" "$program_dir" 2>/dev/null; }
    echo "play $((stage - 1))" >&"${SEAM[1]}"
    # Unpaced, the disk driver plays several rounds in about a second.
    for _ in $(seq 600); do
        [ "$(stat -c %s "$capture" 2>/dev/null || echo 0)" -ge $((track_bytes * 4)) ] && break
        sleep 0.05
    done
    echo "quit" >&"${SEAM[1]}"
    wait "$SEAM_PID" || true
)
mpg123 -q -s --loop 4 "$track" >"$work/mpg123-seam.raw"

# Longest run of all-zero stereo frames between the first and the last sound, in ms,
# and the number of loop seams inside that stretch.
seam_stats() {
    python3 - "$1" "$track_bytes" <<'PY'
import array, sys
samples = array.array("h")
with open(sys.argv[1], "rb") as raw:
    samples.frombytes(raw.read())
frames = len(samples) // 2
track_frames = int(sys.argv[2]) // 4
first = next(f for f in range(frames) if samples[2 * f] or samples[2 * f + 1])
last = next(f for f in range(frames - 1, -1, -1) if samples[2 * f] or samples[2 * f + 1])
longest = run = 0
for f in range(first, last + 1):
    run = run + 1 if not (samples[2 * f] or samples[2 * f + 1]) else 0
    longest = max(longest, run)
print(f"{longest * 1000 / 44100:.3f} {(last - first) // track_frames}")
PY
}
read -r seam_ms seams < <(seam_stats "$capture")
read -r mpg123_seam_ms mpg123_seams < <(seam_stats "$work/mpg123-seam.raw")

total() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a + b }'; }
player_total=$(total "$player_cpu" "$player_server_cpu")
mpg123_total=$(total "$mpg123_cpu" "$mpg123_server_cpu")
ratio=$(awk -v a="$player_total" -v b="$mpg123_total" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }')
per_minute() { awk -v a="$1" -v s="$seconds" 'BEGIN { printf "%.3f", a * 60 / s }'; }

echo
echo "stage $stage, $seconds s each, one private PulseAudio null sink, CPU seconds:"
printf '%-34s %8s %8s %8s\n' "player" "player" "server" "total"
printf '%-34s %8.2f %8.2f %8.2f\n' "Velmira (SDL2_mixer, 8192 frames)" \
    "$player_cpu" "$player_server_cpu" "$player_total"
printf '%-34s %8.2f %8.2f %8.2f\n' "mpg123 --loop -1 -o pulse" \
    "$mpg123_cpu" "$mpg123_server_cpu" "$mpg123_total"
printf '%-34s %26s\n' "ratio Velmira / mpg123 (goal <= 1.2)" "$ratio"
printf '%-34s %17s ms over %s seams\n' "silence at the seam (goal <= 1 ms)" "$seam_ms" "$seams"
printf '%-34s %17s ms over %s seams\n' "  mpg123's decode, same track" "$mpg123_seam_ms" "$mpg123_seams"
echo
echo "result playback_cpu_s $(per_minute "$player_total")"
echo "result playback_baseline_cpu_s $(per_minute "$mpg123_total")"
echo "result seam_ms $seam_ms"
echo "result seam_baseline_ms $mpg123_seam_ms"
