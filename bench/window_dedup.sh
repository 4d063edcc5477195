#!/usr/bin/env bash
# Duplicate removal through the real window, beside jdupes on the same tree:
# 参照, 抽出 and 削除 (duplicates moved into the delete folder) clicked on a
# virtual display, the plan confirmed at once with Return. Each step's time
# is the program's own (from the click's command starting to its outcome
# shown in the window), read from its timing log; the whole 削除 is the
# search and the carrying out together. Median of RUNS (default 5) fresh
# starts, the moved files put back between them, then jdupes -r -q on the
# same tree as often. Builds nothing.
#
# Usage: window_dedup.sh QUILLO_EXECUTABLE [KIND] [BENCH_DEDUP] [TREE]
#   KIND         a many-file corpus of bench_dedup: million (default),
#                small40k, small200k
#   BENCH_DEDUP  bench_dedup, to write the tree when TREE holds no complete
#                one (default: bench/bench_dedup of the same build)
#   TREE         default /tmp/quillo-bench-dedup/KIND, the folder that
#                QUILLO_BENCH_KEEP=1 bench_dedup /tmp/quillo-bench-dedup KIND
#                keeps; a complete tree there is reused
set -uo pipefail

exe=$(readlink -f "$1")
kind=${2:-million}
bench=${3:-$(dirname "$exe")/../../bench/bench_dedup}
tree=${4:-/tmp/quillo-bench-dedup/$kind}
runs=${RUNS:-5}
. "$(dirname "$0")/../tests/e2e/xsession.sh"
. "$(dirname "$0")/../tests/e2e/driving.sh"
require_tools Xvfb xdotool iconv xdpyinfo jdupes

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
    echo "writing the $kind tree under $tree"
    rm -rf "$tree"
    mkdir -p "$tree"
    "$bench" --make "$kind" "$tree" || exit 1
    touch "$tree/.complete"
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
    iconv -f UTF-8 -t CP932 >"$work/Quillo.INI.orig"

start_xvfb 1280x800x24
log="$work/timing.log"

# until_logged N: waits until the timing log has N commands' lines.
until_logged() {
    for _ in $(seq 12000); do
        [ "$(grep -c 'command ran' "$log")" -ge "$1" ] && return 0
        kill -0 "$app_pid" 2>/dev/null || { echo "the program ended:"; cat "$log"; exit 1; }
        sleep 0.05
    done
    echo "no outcome after 10 minutes"
    exit 1
}
click() {  # LEFT TOP WIDTH HEIGHT in twips of the client area: the middle of a button
    xdotool mousemove --sync $((wx + ($1 + $3 / 2) / 15)) $((wy + ($2 + $4 / 2) / 15)) click 1
}
# shown N: the time until command N's outcome was shown, in milliseconds.
shown() { grep 'command ran' "$log" | sed -n "$1p" | sed 's/.*shown after \([0-9]*\) ms.*/\1/'; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

collect_ms=() removal_ms=() peaks=() moved=""
for run in $(seq "$runs"); do
    put_back
    cp "$work/Quillo.INI.orig" "$work/Quillo.INI"
    QT_LOGGING_RULES="quillo.timing.info=true" "$work/quillo" 2>"$log" &
    app_pid=$!
    win=$(visible_window '^Quillo\(' 600)
    [ -n "$win" ] || { echo "the window did not appear:"; cat "$log"; exit 1; }
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$win")"
    wx=$X
    wy=$Y
    click 120 4680 615 550  # 参照
    until_logged 1
    click 840 4680 615 550  # 抽出
    until_logged 2
    click 1560 4680 615 550  # 削除: the plan
    until_logged 3
    xdotool key --clearmodifiers Return  # confirmed at once
    until_logged 4
    collect_ms+=($(($(shown 1) + $(shown 2))))
    removal_ms+=($(($(shown 3) + $(shown 4))))
    peaks+=("$(awk '/^VmHWM/ { print int($2 / 1024) }' "/proc/$app_pid/status")")
    moved=$(ls -U "$del" | wc -l)
    echo "run $run: collect $(shown 1) + $(shown 2) ms, 削除 $(shown 3) (plan) + $(shown 4) (carried out) ms, moved $moved, peak ${peaks[-1]} MiB"
    kill "$app_pid"
    wait "$app_pid" 2>/dev/null
    app_pid=""
done
put_back

jdupes_ms=()
for _ in $(seq "$runs"); do
    t0=$(date +%s%N)
    jdupes -r -q "$tree/ref" "$tree/sel" >/dev/null
    jdupes_ms+=($((($(date +%s%N) - t0) / 1000000)))
done

q=$(printf '%s\n' "${removal_ms[@]}" | median)
c=$(printf '%s\n' "${collect_ms[@]}" | median)
j=$(printf '%s\n' "${jdupes_ms[@]}" | median)
echo "$kind through the window, median of $runs: 参照 + 抽出 $c ms; 削除 (plan + carried out) $q ms, moved $moved; peak $(printf '%s\n' "${peaks[@]}" | median) MiB"
echo "jdupes -r -q on the same tree: $j ms; 削除 / jdupes: $(awk -v a="$q" -v b="$j" 'BEGIN { printf "%.2f", a / b }'); 参照 + 抽出 + 削除 / jdupes: $(awk -v a="$q" -v c="$c" -v b="$j" 'BEGIN { printf "%.2f", (a + c) / b }')"
