# Sourced by the scripts that drive Quillo's window (on Linux or under Wine):
# finding a window and waiting for the program to settle. Defines functions
# only.

# visible_window PATTERN TRIES: the id of a visible window whose name matches,
# looked for every tenth of a second; nothing when none came.
visible_window() {
    for _ in $(seq "$2"); do
        local id
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        if [ -n "$id" ]; then
            echo "$id"
            return
        fi
        sleep 0.1
    done
}

# wait_idle: until the program ($app_pid) has used no CPU for half a second
# (a long command has ended), five minutes at most.
wait_idle() {
    local last=-1 now
    for _ in $(seq 600); do
        now=$(awk '{print $14 + $15}' "/proc/$app_pid/stat" 2>/dev/null || echo gone)
        [ "$now" = "$last" ] && return
        last=$now
        sleep 0.5
    done
}
