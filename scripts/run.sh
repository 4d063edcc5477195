#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quillo. Without a display it
# starts Quillo on a virtual display, saves a screenshot of the window, prints
# its path and closes the window through the quit button.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
exe="$PWD/build/src/ui/quillo"
export LANG=C.UTF-8 LC_ALL=C.UTF-8

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$exe"
fi

echo "No display was found: starting Quillo on a virtual display (Xvfb)."
display=":$(( 90 + RANDOM % 100 ))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$exe" &
app=$!
win=""
for _ in $(seq 100); do
    win=$(xdotool search --name '^Quillo\(' 2>/dev/null | head -n 1 || true)
    [ -n "$win" ] && break
    sleep 0.1
done
if [ -z "$win" ]; then
    echo "Quillo's window did not appear." >&2
    kill $app 2>/dev/null || true
    exit 1
fi
sleep 1
mkdir -p out
shot="$PWD/out/quillo-window.png"
import -window root "$shot"
echo "Screenshot of the window: $shot"

# The quit button sits at 4440,4680 twips (615 x 550) in the client area.
eval "$(xdotool getwindowgeometry --shell "$win")"
xdotool mousemove --sync $((X + (4440 + 307) / 15)) $((Y + (4680 + 275) / 15)) click 1
for _ in $(seq 50); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
if kill -0 $app 2>/dev/null; then
    echo "Quillo did not close through its quit button." >&2
    kill $app
    exit 1
fi
echo "Quillo closed through its quit button."
