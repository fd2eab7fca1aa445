#!/usr/bin/env bash
# End to end: installs the program into an empty folder, starts it from there
# under Xvfb with a window manager and a private PulseAudio (run this through
# tests/scripts/with_pulse.sh), and drives a run with automatic volume the way a
# user does: Start, close the prompt, let it run, Stop, close the window. Then a
# second run ended by SIGTERM.
#   burn_in_run.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop.sh"

work=$(mktemp -d /tmp/velmira-e2e.XXXXXX)
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill -9 "$app_pid" 2>/dev/null
    desktop_stop
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; exit 1; }
check() { local what=$1; shift; "$@" || fail "$what"; echo "ok: $what"; }

sink_volume() { pactl get-sink-volume burnin | grep -oE '[0-9]+ /' | tr -d ' /' | paste -sd' '; }
# Records a second of what the sink plays and prints its RMS amplitude.
sink_rms() {
    timeout 1.5 parecord -d burnin.monitor --file-format=wav "$work/monitor.wav" 2>/dev/null || true
    sox "$work/monitor.wav" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}'
}
audible() { awk -v r="$1" 'BEGIN { exit !(r > 0.00001) }'; }
# Whether the sink plays sound; a recording can come back short on a busy
# machine, so up to three are taken.
sound_arrives() {
    local rms
    for _ in 1 2 3; do
        rms=$(sink_rms)
        echo "  (RMS $rms)"
        audible "$rms" && return 0
    done
    return 1
}
progress_file() { iconv -f GBK -t UTF-8 "$work/install/bin/File/1.ini"; }
# Seconds in the duration text stored under a section's "Stage one".
stored_seconds() {
    progress_file | tr -d '\r' | awk -v section="[$1]" '
        /^\[/ { inside = ($0 == section) }
        inside && /^Stage one=/ {
            split($0, kv, "="); t = kv[2]
            h = t; sub(/小时.*/, "", h); m = t; sub(/.*小时/, "", m); sub(/分.*/, "", m)
            s = t; sub(/.*分/, "", s); sub(/秒.*/, "", s)
            print h * 3600 + m * 60 + s }'
}

# Main-window client coordinates of the controls that are clicked.
start_button=(56 169)   # 按钮1 at (11, 69, 81, 26) in 工作设置 at (5, 87)
stop_button=(138 169)   # 按钮2 at (93, 69, 81, 26)

cmake --install "$build" --prefix "$work/install" >/dev/null
check "the install holds the program and its three tracks" \
    test -x "$work/install/bin/velmira" -a -s "$work/install/bin/File/1.mp3" \
         -a -s "$work/install/bin/File/2.mp3" -a -s "$work/install/bin/File/3.mp3"
check "no progress file before the first run" test ! -e "$work/install/bin/File/1.ini"

mkdir -m 700 "$work/xdg"
export XDG_RUNTIME_DIR=$work/xdg
desktop_start "$work"
pactl set-sink-volume burnin 40000
cd /  # the program must find its files beside itself, not in the working folder

"$work/install/bin/velmira" 2>>"$work/stderr" &
app_pid=$!
main=$(window_named "Velmira V1.0") || fail "the main window did not appear"
echo "ok: the main window appeared"

click_at "$main" "${start_button[@]}"
prompt=$(window_named "提示") || fail "the volume prompt did not appear"
echo "ok: the volume prompt appeared"
check "the prompt plays the track at the user's level" sound_arrives
check "the volume is untouched while the prompt is open" test "$(sink_volume)" = "40000 40000"
close_window "$prompt"

sleep 1
check "stage one plays at 30 % of 40000" test "$(sink_volume)" = "12000 12000"
check "sound reaches the sink during the run" sound_arrives
sleep 2
click_at "$main" "${stop_button[@]}"
sleep 0.5
check "Stop restores the volume" test "$(sink_volume)" = "40000 40000"
check "Stop silences the track: no stream left on the sink" \
    test -z "$(pactl list short sink-inputs)"
check "the progress file has today's date" \
    grep -q "^Current date=$(date +%Y)年$(date +%-m)月$(date +%-d)日" <(progress_file | tr -d '\r')
first=$(stored_seconds Aggregate)
check "Stop saved the counted seconds ($first s)" test "$first" -ge 3 -a "$first" -le 6
check "the file's lines end in CRLF" grep -q $'\r$' "$work/install/bin/File/1.ini"

close_window "$main"
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
wait "$app_pid" && status=0 || status=$?
app_pid=""
check "closing the window ends the program with status 0" test "$status" = 0

# A second run on the same day continues from the saved time and ends by SIGTERM.
"$work/install/bin/velmira" 2>>"$work/stderr" &
app_pid=$!
main=$(window_named "Velmira V1.0") || fail "the main window did not reappear"
click_at "$main" "${start_button[@]}"
prompt=$(window_named "提示") || fail "the prompt did not reappear"
close_window "$prompt"
sleep 3
check "the second run scales the volume again" test "$(sink_volume)" = "12000 12000"
kill -TERM "$app_pid"
wait "$app_pid" && status=0 || status=$?
app_pid=""
check "SIGTERM ends the program with status 0" test "$status" = 0
check "SIGTERM restores the volume" test "$(sink_volume)" = "40000 40000"
second=$(stored_seconds Aggregate)
check "SIGTERM saved the run, continued from the first ($first s then $second s)" \
    test "$second" -ge $((first + 2)) -a "$second" -le $((first + 5))

# Without a sound server a run goes on silently: it counts, it saves, nothing breaks.
stop_pulse
"$work/install/bin/velmira" 2>>"$work/stderr" &
app_pid=$!
main=$(window_named "Velmira V1.0") || fail "the main window did not appear without a sound server"
click_at "$main" "${start_button[@]}"
prompt=$(window_named "提示") || fail "the prompt did not appear without a sound server"
close_window "$prompt"
sleep 3
click_at "$main" "${stop_button[@]}"
sleep 0.5
third=$(stored_seconds Aggregate)
check "without a sound server the run still counts ($second s then $third s)" \
    test "$third" -ge $((second + 2)) -a "$third" -le $((second + 5))
close_window "$main"
wait "$app_pid" && status=0 || status=$?
app_pid=""
check "without a sound server the program still ends with status 0" test "$status" = 0
check "the program wrote nothing to stderr" test ! -s "$work/stderr"
echo "end-to-end: all checks passed"
