#!/usr/bin/env bash
# End to end under Wine: the zip's program folder is unpacked as a user would
# onto a drive without a Recycle Bin, given a Quillo.INI as the Windows program writes it (CP932,
# CR LF, "\" paths), and driven on the runner's display by clicking its
# buttons: 抽出 of a folder with Japanese names and a subfolder, 削除 into
# the Recycle Bin, Ctrl+Z, 採番, 終了.
# The files on disk, the settings file's bytes and the journal are checked,
# and each screenshot must show more than one colour.
# Usage: e2e.sh QUILLO_ZIP SHOT_FOLDER   (WINEPREFIX and DISPLAY from the runner)
set -uo pipefail
. "$(dirname "$0")/../e2e/driving.sh"

zip=$1
shots=$2
export LANG=C.UTF-8 LC_ALL=C.UTF-8
unset QT_QPA_PLATFORM QT_PLUGIN_PATH  # the program finds its own plugins beside it
mkdir -p "$shots"
rm -f "$shots"/*.png
failures=0
check() {
    local what=$1
    shift
    if "$@"; then echo "ok   - $what"; else echo "FAIL - $what"; failures=$((failures + 1)); fi
}
# check_eventually WHAT 'COMMAND': the command text is evaluated afresh on
# each try, so that what it looks at is read again.
check_eventually() {
    local what=$1
    shift
    for _ in $(seq 300); do
        if eval "$*"; then echo "ok   - $what"; return; fi
        sleep 0.1
    done
    echo "FAIL - $what"
    failures=$((failures + 1))
}

# Everything lives on a fixed drive of the run's own, Q:, as on a user's
# disk: it has no Recycle Bin yet, as a drive never deleted from, so the
# program makes one as Windows would.
work=$(mktemp -d "$WINEPREFIX/drive_e2e.XXXXXX")
drive="$WINEPREFIX/dosdevices/q:"
ln -sfn "$work" "$drive"
win_work="Q:"
bin="$work/\$Recycle.Bin"
drive_c="$WINEPREFIX/drive_c"
app_pid=""
end() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    rm -f "$drive"
    rm -rf "$work"
}
trap end EXIT

mkdir -p "$work/app" "$work/参照" "$work/写真/下位" "$work/整理済" "$work/重複"
(cd "$work/app" && cmake -E tar xf "$zip") || { echo "FAIL - the zip does not unpack"; exit 1; }
app="$work/app/Quillo-win64"
printf 'AAAA-content' >"$work/参照/基準.jpg"
printf 'BBBB-content' >"$work/写真/旅行１.jpg"
printf 'BBBB-content' >"$work/写真/旅行１（２）.jpg"   # its copy, later in the list
printf 'CCCC-content' >"$work/写真/旅行２.JPG"
printf 'DDDD-content' >"$work/写真/下位/夏.Jpg"
printf 'EEEE-content' >"$work/写真/画像.png"   # another extension: never touched

# settings_bytes NUMBER: the file as the Windows program writes it.
settings_bytes() {
    printf '%s\r\n' \
        "変換チェック, 1 " "参照チェック, 1 " "抽出チェック, 1 " "移動チェック, 0 " "削除チェック, 0 " \
        "参照フォルダ,$win_work\\参照" "抽出フォルダ,$win_work\\写真" \
        "移動フォルダ,$win_work\\整理済" "削除フォルダ,$win_work\\重複" \
        "ファイル名,GAZOU" "ファイル№,$1" "識別子,.JPG" "識別子,.JPEG" "識別子,.GIF" \
        "上位置, 0 " "左位置, 0 " | iconv -f UTF-8 -t CP932
}
ini="$app/Quillo.INI"
settings_bytes 00001 >"$ini"
same_bytes() { cmp -s "$ini" <(settings_bytes "$1"); }
journals="$drive_c/users/$(id -un)/AppData/Local/Quillo/journal"
journals_before=$(ls "$journals" 2>/dev/null | wc -l)

step=0
shot() {
    step=$((step + 1))
    local file
    file="$shots/$(printf '%02d' $step)-$1.png"
    import -window root "$file"
    # A blank or one-colour screen means nothing was drawn.
    check "screenshot $1 shows a drawn window" \
        test "$(convert "$file" -format '%k' info: 2>/dev/null || echo 0)" -gt 16
}
click() {  # LEFT TOP WIDTH HEIGHT in twips of the client area: the middle of a control
    xdotool mousemove --sync $((wx + ($1 + $3 / 2) / 15)) $((wy + ($2 + $4 / 2) / 15)) click 1
    sleep 1
    wait_idle
}

(cd "$app" && exec wine ./quillo.exe) &
app_pid=$!
win=$(visible_window '^Quillo\(' 600)
if [ -z "$win" ]; then
    echo "FAIL - the window did not appear"
    exit 1
fi
sleep 2
wait_idle
eval "$(xdotool getwindowgeometry --shell "$win")"
wx=$X
wy=$Y
shot start
check "starting leaves the settings file as it was" same_bytes 00001

click 840 4680 615 550   # 抽出 (cmdSelect)
shot extracted
check "collecting changes no file" test -f "$work/写真/旅行１.jpg" -a -f "$work/写真/下位/夏.Jpg"

click 1560 4680 615 550  # 削除 (cmdDelete): the search shows its plan
check "the duplicate plan removes nothing" test -f "$work/写真/旅行１（２）.jpg"
shot duplicate-review
xdotool key --clearmodifiers Return
sleep 1
wait_idle
shot deduplicated
trashed() { find "$bin" -type f -name "\$R*" 2>/dev/null; }
check_eventually "the later copy goes to the Recycle Bin made on drive Q:" \
    'test ! -e "$work/写真/旅行１（２）.jpg" -a "$(cat "$(trashed)" 2>/dev/null)" = BBBB-content'
check "the first of the two stays" test "$(cat "$work/写真/旅行１.jpg")" = BBBB-content
check "its record names where it was" \
    test "$(tail -c +29 "$(dirname "$(trashed)")/\$I$(basename "$(trashed)" | cut -c3-)" |
        iconv -f UTF-16LE -t UTF-8 | tr -d '\0')" = "$win_work\\写真\\旅行１（２）.jpg"

# Ctrl+Z, with the list as the focus, then はい: the copy comes back.
xdotool mousemove --sync $((wx + (5160 + 3000) / 15)) $((wy + (105 + 3000) / 15)) click 1
sleep 0.5
xdotool key --clearmodifiers ctrl+z
sleep 1
wait_idle
shot undo-question
xdotool key --clearmodifiers Return
sleep 1
wait_idle
check_eventually "Ctrl+Z brings the copy back from the Recycle Bin" \
    'test "$(cat "$work/写真/旅行１（２）.jpg" 2>/dev/null)" = BBBB-content -a -z "$(trashed)"'
check_eventually "and takes its record away" 'test -z "$(find "$bin" -type f -name "\$I*")"'
# The user deletes the copy, and collects again for the numbering.
rm "$work/写真/旅行１（２）.jpg"
click 840 4680 615 550   # 抽出 again

click 2280 4680 615 550  # 採番 (cmdRename): the search shows its plan
check "the numbering plan renames nothing" test -f "$work/写真/旅行１.jpg"
shot review
# Return in the list carries the plan out.
xdotool key --clearmodifiers Return
sleep 1
wait_idle
shot numbered
check_eventually "the three targets are numbered where they lie" \
    'test "$(find "$work/写真" -name "GAZOU0000[123].JPG" | wc -l)" -eq 3'
check "their contents are the targets'" \
    test "$(cat "$work/写真"/GAZOU*.JPG "$work/写真/下位"/GAZOU*.JPG 2>/dev/null | fold -w12 | sort | tr -d '\n')" = \
    "BBBB-contentCCCC-contentDDDD-content"
check "a file of another extension stays" test "$(cat "$work/写真/画像.png")" = EEEE-content
check "the reference stays" test -f "$work/参照/基準.jpg"
check_eventually "the numbering saved the next number, CP932 with \\ paths and CR LF" same_bytes 00004
check "the run's journal is under %LOCALAPPDATA%\\Quillo\\journal" \
    test "$(ls "$journals" 2>/dev/null | wc -l)" -gt "$journals_before"

click 240 1080 375 270   # the 抽出 row's folder button: the folder chooser
check "the folder chooser opens" test -n "$(xdotool search --onlyvisible --name 'フォルダの設定' 2>/dev/null)"
shot chooser
xdotool key --clearmodifiers Escape
sleep 1

click 4440 4680 615 550  # 終了 (cmdQuit)
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app_pid" 2>/dev/null; then
    check "the quit button ends the program" false
else
    app_pid=""
    check "the quit button ends the program" true
fi
check "quitting writes the same settings beside the program" same_bytes 00004

echo "screenshots: $shots"
if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all end-to-end checks under Wine passed"
