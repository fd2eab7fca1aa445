#!/usr/bin/env bash
# Runs a command against a private PulseAudio daemon with one null sink named
# "burnin", and ALSA's default device routed to it. The daemon lives in a fresh
# temporary folder and is stopped by its PID when the command ends, so tests
# never touch a user's sound server.
#   with_pulse.sh COMMAND [ARGS...]
# The command sees PULSE_* set, ALSA_CONFIG_PATH set, and VELMIRA_PULSE_DIR
# pointing at the daemon's folder (for tests that stop and restart it).
set -euo pipefail

dir=$(mktemp -d /tmp/velmira-pulse.XXXXXX)
export VELMIRA_PULSE_DIR=$dir
export PULSE_RUNTIME_PATH=$dir/run PULSE_STATE_PATH=$dir/state
export PULSE_COOKIE=$dir/cookie PULSE_SERVER=unix:$dir/native
mkdir -p "$dir/run" "$dir/state" "$dir/config" "$dir/home"
cat > "$dir/asound.conf" <<ASOUND
pcm.!default { type pulse }
ctl.!default { type pulse }
ASOUND
export ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$dir/asound.conf

start_pulse() {
    XDG_CONFIG_HOME=$dir/config HOME=$dir/home pulseaudio --daemonize=yes -n \
        --exit-idle-time=-1 --disallow-exit --use-pid-file=yes \
        --log-target=file:"$dir/pulse.log" \
        --load="module-native-protocol-unix auth-anonymous=1 socket=$dir/native" \
        --load="module-null-sink sink_name=burnin rate=44100 channels=2"
    for _ in $(seq 100); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.05
    done
    pactl set-default-sink burnin
}

stop_pulse() {
    local pid
    pid=$(cat "$PULSE_RUNTIME_PATH/pid" 2>/dev/null) || return 0
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
}
export -f start_pulse stop_pulse
export dir

cleanup() { stop_pulse; rm -rf "$dir"; }
trap cleanup EXIT

start_pulse
status=0
"$@" || status=$?
exit $status
