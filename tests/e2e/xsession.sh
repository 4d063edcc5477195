# Sourced by the scripts that drive Quillo's window on a virtual display.

# require_tools TOOL...: the script is skipped (exit 77) when one is missing.
# Windows run under a UTF-8 locale, or their Japanese titles reach X garbled.
require_tools() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed (scripts/deps.sh installs it)"
            exit 77
        fi
    done
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
    unset QT_QPA_PLATFORM
}

# start_xvfb WIDTHxHEIGHTxDEPTH: a virtual display of its own; sets DISPLAY
# and xvfb_pid, and returns once the display answers. Xvfb picks a free
# display number itself and writes it to the pipe: a number drawn here could
# be taken by another test's display.
start_xvfb() {
    local fifo="$work/displayfd" number=""
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$fifo" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    read -r -t 60 number <"$fifo" || true
    rm -f "$fifo"
    if [ -z "$number" ]; then
        echo "FAIL - Xvfb did not start"
        exit 1
    fi
    export DISPLAY=":$number"
    for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
}

# display_state: what the display server is doing, for a failure's report.
display_state() {
    echo "display $DISPLAY: $(xdpyinfo >/dev/null 2>&1 && echo answers || echo 'does not answer')," \
        "Xvfb $(ps -o stat= -p "$xvfb_pid" 2>/dev/null || echo ended)," \
        "sockets: $(ls /tmp/.X11-unix 2>/dev/null | tr '\n' ' ')"
    tail -n 5 "$work/xvfb.log" 2>/dev/null
}

# A work folder, and the processes to end when the script ends, however it
# ends; a script that defines before_end has it run first.
work=$(mktemp -d)
xvfb_pid="" wm_pid="" app_pid=""
# The display server is waited for: one still ending would remove the socket of
# a new server given the same display number (the next test's).
end_session() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    if declare -F before_end >/dev/null; then before_end; fi
    rm -rf "$work"
}
trap end_session EXIT
