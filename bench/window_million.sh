#!/usr/bin/env bash
# The million-file tree through the real window: 参照, 抽出 and 削除 (duplicates
# moved into the delete folder) clicked on a virtual display, then the wall
# time of each step and the peak resident memory (VmHWM) of the program with
# its window. The moved files are put back at the end. Builds nothing.
#
# Usage: window_million.sh QUILLO_EXECUTABLE [BENCH_DEDUP] [TREE]
#   BENCH_DEDUP  bench_dedup, to write the tree when TREE holds no complete
#                one (default: bench/bench_dedup of the same build)
#   TREE         default /tmp/quillo-bench-dedup/million, the folder that
#                QUILLO_BENCH_KEEP=1 bench_dedup /tmp/quillo-bench-dedup million
#                keeps; a complete tree there is reused
#   QUILLO_WINDOW_TRACE=FILE  appends each CPU sample (step, time, ticks, state)
#
# Whether or not the window answers while a command runs, the end of a step is
# not read off the window: a step has ended when the process has used next to
# no CPU for a while, and is timed to its last busy moment.
set -uo pipefail

exe=$(readlink -f "$1")
bench=${2:-$(dirname "$exe")/../../bench/bench_dedup}
tree=${3:-/tmp/quillo-bench-dedup/million}
. "$(dirname "$0")/../tests/e2e/xsession.sh"
require_tools Xvfb xdotool iconv xdpyinfo

del="$tree/削除"
# Moved files are named IMG_<folder>_<index>.JPG and go back to d<folder>
# under ref/ or sel/; one mv per folder.
put_back() {
    [ -d "$del" ] || return 0
    local list
    list=$(mktemp)
    (cd "$del" && ls -U | sort) >"$list"
    local d home
    for d in $(cut -c5-8 "$list" | uniq); do
        home="$tree/ref/d$d"
        [ -d "$home" ] || home="$tree/sel/d$d"
        grep "^IMG_${d}_" "$list" | (cd "$del" && xargs -r mv -t "$home")
    done
    rm -f "$list"
}

if [ ! -f "$tree/.complete" ]; then
    echo "writing the million tree under $tree"
    rm -rf "$tree"
    "$bench" --make million "$tree" || exit 1
fi
mkdir -p "$del" "$tree/移動"
put_back  # an interrupted earlier run

before_end() { put_back; }

cp "$exe" "$work/quillo"
# Subfolders on for both collections, duplicates moved into the delete folder.
printf '%s\r\n' \
    "変換チェック, 0 " "参照チェック, 1 " "抽出チェック, 1 " "移動チェック, 0 " "削除チェック, 1 " \
    "参照フォルダ,$tree/ref" "抽出フォルダ,$tree/sel" "移動フォルダ,$tree/移動" "削除フォルダ,$del" \
    "ファイル名,GAZOU" "ファイル№,00001" "識別子,.JPG" "上位置, 0 " "左位置, 0 " |
    iconv -f UTF-8 -t CP932 >"$work/Quillo.INI"

start_xvfb 1280x800x24

"$work/quillo" &
app_pid=$!
win=""
for _ in $(seq 600); do
    win=$(xdotool search --onlyvisible --name '^Quillo\(' 2>/dev/null | head -n 1)
    [ -n "$win" ] && break
    sleep 0.1
done
if [ -z "$win" ]; then
    echo "the window did not appear"
    exit 1
fi
sleep 1
eval "$(xdotool getwindowgeometry --shell "$win")"
wx=$X
wy=$Y

ticks_per_s=$(getconf CLK_TCK)
# CPU time of the program so far, in clock ticks (user + system, all threads).
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$app_pid/stat"; }
now() { date +%s.%N; }

# run_step NAME LEFT TOP WIDTH HEIGHT: clicks the button (twips, client
# coordinates) and waits until the program has been idle for 3 s: under half
# a core and not waiting for the disk (a window showing a long list uses a
# steady tenth of a core even when no command runs). Prints the time from the
# click to the last busy sample.
run_step() {
    local name=$1
    local t0 last ticks prev t idle=0 busy=$((ticks_per_s / 8))
    t0=$(now)
    xdotool mousemove --sync $((wx + ($2 + $4 / 2) / 15)) $((wy + ($3 + $5 / 2) / 15)) click 1
    last=$t0
    prev=$(cpu_ticks)
    while [ "$idle" -lt 12 ]; do
        sleep 0.25
        kill -0 "$app_pid" 2>/dev/null || { echo "the program ended during $name"; exit 1; }
        ticks=$(cpu_ticks)
        t=$(now)
        [ -n "${QUILLO_WINDOW_TRACE:-}" ] &&
            echo "$name $t $((ticks - prev)) $(awk '{ print $3 }' "/proc/$app_pid/stat")" \
                >>"$QUILLO_WINDOW_TRACE"
        if [ $((ticks - prev)) -ge "$busy" ] || grep -q '^State:.*D' "/proc/$app_pid/status"; then
            idle=0
            last=$t
        else
            idle=$((idle + 1))
        fi
        prev=$ticks
    done
    awk -v n="$name" -v a="$t0" -v b="$last" 'BEGIN { printf "%s %8.1f s\n", n, b - a }'
    if [ -n "${QUILLO_WINDOW_TRACE:-}" ]; then
        # Which threads use the CPU after the step, over 2 s.
        local before
        before=$(cat /proc/"$app_pid"/task/*/stat | awk '{ print $1, $14 + $15 }')
        sleep 2
        join <(echo "$before" | sort) <(cat /proc/"$app_pid"/task/*/stat |
            awk '{ print $1, $14 + $15, $2 }' | sort) |
            awk -v n="$name" '$3 > $2 { print "after", n, "thread", $1, $4, $3 - $2, "ticks in 2 s" }' \
                >>"$QUILLO_WINDOW_TRACE"
    fi
    # A message box of ours would take the next click: report it and close it.
    local box
    box=$(xdotool search --onlyvisible --name '^Quillo$' 2>/dev/null | head -n 1)
    if [ -n "$box" ]; then
        echo "  (a message box was open after $name; answered with Return)"
        xdotool windowactivate --sync "$box" key --clearmodifiers Return 2>/dev/null
        sleep 1
    fi
}

echo "tree: $tree ($(find "$tree/ref" "$tree/sel" -type f | wc -l) files)"
sleep 2  # the start-up settles
run_step 参照 120 4680 615 550
run_step 抽出 840 4680 615 550
run_step 削除 1560 4680 615 550
echo "moved into the delete folder: $(ls -U "$del" | wc -l)"
grep -E '^Vm(HWM|RSS)' "/proc/$app_pid/status"
awk -v t="$(cpu_ticks)" -v hz="$ticks_per_s" 'BEGIN { printf "CPU time of the program: %.1f s\n", t / hz }'
