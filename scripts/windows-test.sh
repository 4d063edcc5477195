#!/usr/bin/env bash
# Runs the Windows build's tests (made by scripts/windows.sh) under Wine, on a
# virtual display, in a Wine prefix of their own made for this run and removed
# after it.
#
#   scripts/windows-test.sh [CTEST_ARGS...]   (build in $QUILLO_WIN_BUILD, default build-win)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QUILLO_WIN_BUILD:-build-win}
[[ -f $build/wine-env.sh ]] || { echo "No Windows build in $build: run scripts/windows.sh first." >&2; exit 1; }
# shellcheck source=/dev/null
source "$build/wine-env.sh"

export WINEPREFIX
WINEPREFIX=$(mktemp -d /tmp/quillo-wine.XXXXXX)
# No Mono or Gecko prompts, no debugger left waiting after a crash, no menu
# entries written into the user's desktop.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=,winedbg.exe=d,winemenubuilder.exe=d"
export LANG=C.UTF-8 LC_ALL=C.UTF-8

display=":$((200 + RANDOM % 300))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start on $display" >&2; exit 1; }

t0=$SECONDS
timeout 300 wine wineboot -i >/dev/null 2>&1
# T: is a removable drive, as a USB stick: Windows keeps no Recycle Bin there,
# and the program makes none.
# The server reads a drive's type when it starts, and the system's processes
# are started again with it.
mkdir -p "$WINEPREFIX/drive_t"
ln -s ../drive_t "$WINEPREFIX/dosdevices/t:"
wine reg add 'HKLM\Software\Wine\Drives' /v t: /d floppy /f >/dev/null 2>&1
wineserver -w
timeout 300 wine wineboot >/dev/null 2>&1
export QUILLO_TEST_REMOVABLE_DRIVE=T:
# One server for the whole run: every test then starts without waiting for it.
wineserver -p 2>/dev/null || true
echo "Wine prefix made in $((SECONDS - t0)) s"

# C:, where the tests work, holds a file named $Recycle.Bin, so that they see
# a drive without a usable trash (on a fixed drive without one, the program
# makes its bin as Windows does). Drives of the run's own with a Recycle Bin,
# for the test that trashes into one. On S: the user's bin
# belongs to someone else: Wine gives every file of this Unix user to the
# Windows user (always S-1-5-21-0-0-0-1000) and takes no other owner from a
# Windows program, so the other owner is a Unix one, set here (only root
# may; without it that case is skipped).
touch "$WINEPREFIX/drive_c/\$Recycle.Bin"
mkdir -p "$WINEPREFIX/drive_r/\$Recycle.Bin" "$WINEPREFIX/drive_s/\$Recycle.Bin/S-1-5-21-0-0-0-1000"
ln -s ../drive_r "$WINEPREFIX/dosdevices/r:"
export QUILLO_TEST_RECYCLE_DRIVE=R:
if chown "$(($(id -u) + 1))" "$WINEPREFIX/drive_s/\$Recycle.Bin/S-1-5-21-0-0-0-1000" 2>/dev/null; then
    ln -s ../drive_s "$WINEPREFIX/dosdevices/s:"
    export QUILLO_TEST_FOREIGN_RECYCLE_DRIVE=S:
fi

t0=$SECONDS
(cd "$build" && ctest --output-on-failure -j2 "$@")
echo "Windows tests under Wine: $((SECONDS - t0)) s"
