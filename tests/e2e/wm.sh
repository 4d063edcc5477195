#!/usr/bin/env bash
# Under a window manager (openbox): the window opens with its client size,
# 12525 x 6120 twips (835 x 408 pixels), and its frame comes back where it
# was, run after run. The first run has no settings file and is placed by the
# window manager; each later run must open where the one before closed.
# Usage: wm.sh QUILLO_EXECUTABLE
set -uo pipefail

exe=$1
. "$(dirname "$0")/xsession.sh"
require_tools Xvfb openbox xdotool xwininfo xprop xdpyinfo iconv

failures=0
check() {
    if [ "$2" = "$3" ]; then
        echo "ok   - $1: $2"
    else
        echo "FAIL - $1: $2, expected $3"
        failures=$((failures + 1))
    fi
}

start_xvfb 1280x1024x24
openbox >/dev/null 2>&1 &
wm_pid=$!
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
cp "$exe" "$work/quillo"

# "x y width height" of the client area, and the frame's "left top" extents.
client() { xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
    /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'; }
extents() { xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= \([0-9]*\), [0-9]*, \([0-9]*\),.*/\1 \2/p'; }

last=""
for run in 1 2 3 4; do
    "$work/quillo" &
    app_pid=$!
    win=""
    for _ in $(seq 100); do
        win=$(xdotool search --onlyvisible --pid "$app_pid" --name '^Quillo\(' 2>/dev/null | head -n 1)
        [ -n "$win" ] && [ -n "$(extents "$win")" ] && break
        sleep 0.1
    done
    if [ -z "$win" ]; then
        echo "FAIL - run $run: the framed window did not appear"
        exit 1
    fi
    # The window manager may place and size the frame in more than one step:
    # wait for the client size to settle on what the program asks for.
    for _ in $(seq 100); do
        read -r x y w h < <(client "$win")
        [ "${w}x${h}" = "835x408" ] && break
        sleep 0.1
    done
    read -r x y w h < <(client "$win")
    read -r fl ft < <(extents "$win")
    check "run $run: client size" "${w}x${h}" "835x408"
    frame="$((x - fl)),$((y - ft))"
    [ -n "$last" ] && check "run $run: frame's top-left" "$frame" "$last"
    last=$frame

    # Quit through the quit button (4440,4680 twips, 615 x 550), which saves.
    xdotool mousemove $((x + (4440 + 307) / 15)) $((y + (4680 + 275) / 15)) sleep 0.2 click 1
    for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$app_pid" 2>/dev/null; then
        echo "FAIL - run $run: Quillo did not close through its quit button"
        exit 1
    fi
    app_pid=""
    saved=$(iconv -f CP932 -t UTF-8 "$work/Quillo.INI" | tr -d '\r' |
        awk -F, '/^左位置/{l=$2+0} /^上位置/{t=$2+0} END{print l / 15 "," t / 15}')
    check "run $run: saved position (pixels)" "$saved" "$frame"
done
[ "$failures" -eq 0 ]
