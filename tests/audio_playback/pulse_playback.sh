#!/usr/bin/env bash
# Plays the stage tracks through the private sound server that with_pulse.sh started
# and listens on its null sink's monitor: sound arrives, stop closes the stream, a louder
# stage is heard louder, and after the server dies mid-track and comes back, the next
# play is heard again. The player must not write to stderr on the way.
#   with_pulse.sh pulse_playback.sh DRIVER PROGRAM_DIRECTORY
set -euo pipefail
driver=$1
program_dir=$2
work=$VELMIRA_PULSE_DIR/playback-test
mkdir -p "$work"

fail() { echo "FAIL: $*"; exit 1; }

coproc PLAYER { exec "$driver" "$program_dir" 2>"$work/player-stderr.txt"; }
player_pid=$PLAYER_PID

# Sends one command and waits until the call has returned.
send() {
    echo "$1" >&"${PLAYER[1]}"
    local answer=
    read -r -t 20 -u "${PLAYER[0]}" answer || fail "no answer to '$1'"
    [ "$answer" = ok ] || fail "'$1' answered '$answer'"
}

# Records the sink for the given seconds and prints the RMS amplitude (0..1).
record_rms() {
    local file=$work/$1.wav stat
    timeout -s INT "$2" parecord -d burnin.monitor --latency-msec=50 --file-format=wav \
        "$file" || true
    stat=$(sox "$file" -n stat 2>&1)
    awk '/^Samples read/ { exit !($3 > 0) }' <<<"$stat" || fail "recorded nothing into $1.wav"
    awk '/^RMS +amplitude/ {print $3}' <<<"$stat"
}

louder_than() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

send "play 0"
sleep 0.5
stage_one=$(record_rms stage-one 2)
echo "stage one RMS: $stage_one"
louder_than "$stage_one" 0.01 || fail "stage one is not heard"

[ "$(pactl list short sink-inputs | wc -l)" = 1 ] || fail "the player has no stream on the sink"
send "stop"
# Stop closes the sound output: the player's stream is gone from the server.
[ -z "$(pactl list short sink-inputs)" ] || fail "a stream is still open after stop"

send "play 2"
sleep 0.5
stage_three=$(record_rms stage-three 2)
echo "stage three RMS: $stage_three"
louder_than "$stage_three" "$stage_one" || fail "stage three is not louder than stage one"

# The server goes away under a playing track and comes back.
stop_pulse
sleep 0.5
kill -0 "$player_pid" 2>/dev/null || fail "the player died with the sound server"
start_pulse
send "play 2"
sleep 0.5
restarted=$(record_rms restarted 2)
echo "after server restart RMS: $restarted"
louder_than "$restarted" 0.01 || fail "no sound after the server came back"

send "stop"
send "stop"
echo "quit" >&"${PLAYER[1]}"
wait "$player_pid" || fail "the player exited with status $?"
if [ -s "$work/player-stderr.txt" ]; then
    cat "$work/player-stderr.txt"
    fail "the player wrote to stderr"
fi
echo "all checks passed"
