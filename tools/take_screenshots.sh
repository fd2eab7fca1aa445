#!/usr/bin/env bash
# Takes the README's screenshots (docs/main-window.png, docs/prompt.png) of a
# built program under Xvfb with a small window manager and a private PulseAudio.
#   tools/take_screenshots.sh [BUILD_DIR]   (default: build/release)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)
exec "$root/tests/scripts/with_pulse.sh" bash -c '
    set -euo pipefail
    root=$1 build=$2
    source "$root/tests/e2e/desktop.sh"
    work=$(mktemp -d)
    trap "desktop_stop; rm -rf \"$work\"" EXIT
    mkdir -m 700 "$work/xdg"
    export XDG_RUNTIME_DIR=$work/xdg
    cp -r "$build/bin" "$work/bin"
    desktop_start "$work"
    "$work/bin/velmira" &
    pid=$!
    main=$(window_named "Velmira V1.0")
    xdotool windowmove "$main" 40 40
    sleep 0.5
    click_at "$main" 56 169
    prompt=$(window_named "提示")
    xdotool windowmove "$prompt" 440 60
    sleep 0.5
    import -window root -crop 760x300+0+0 "$root/docs/prompt.png"
    close_window "$prompt"
    sleep 4.5
    import -window root -crop 420x300+0+0 "$root/docs/main-window.png"
    kill -TERM "$pid"
    wait "$pid" || true
' take_screenshots "$root" "$build"
