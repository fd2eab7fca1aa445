#!/usr/bin/env bash
# Shared by the end-to-end tests: a private X server with a window manager, and
# small helpers to find, click and close the program's windows.
# Source it; it sets DISPLAY and cleans up through desktop_stop.

desktop_start() {
    local dir=$1
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
    xvfb_pid=$!
    local number=""
    for _ in $(seq 100); do
        number=$(tr -dc 0-9 <"$dir/display")
        [ -n "$number" ] && break
        sleep 0.1
    done
    [ -n "$number" ] || { echo "Xvfb did not start"; return 1; }
    export DISPLAY=:$number
    twm -f "$(dirname "${BASH_SOURCE[0]}")/twmrc" >"$dir/twm.log" 2>&1 &
    twm_pid=$!
    sleep 0.5
}

desktop_stop() {
    [ -n "${twm_pid:-}" ] && kill "$twm_pid" 2>/dev/null
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null || true
}

# Prints the id of the first visible window with exactly this title, waiting up to 10 s.
window_named() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Clicks a point given in the window's client coordinates.
click_at() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.3
}

# Closes a window the way Alt+F4 does on a desktop: the window manager asks it to close.
close_window() {
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
    xdotool key --clearmodifiers alt+F4
}
