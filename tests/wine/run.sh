#!/usr/bin/env bash
# Runs one Windows test program under Wine, from ctest. A QtTest program's
# text goes to no terminal there (Qt sends it to the debugger channel), so it
# writes its log into a file (-o FILE,txt) that is printed afterwards; the exit
# code is the program's. WINEPREFIX, DISPLAY and WINEPATH come from the caller
# (scripts/windows-test.sh).
set -u
program=$1
shift
log=$(mktemp --suffix=.txt)
trap 'rm -f "$log"' EXIT
args=("$@")
if [[ $(basename "$program") == tst_* ]]; then
    args+=(-o "Z:${log//\//\\},txt")
fi
# ctest times the test; this only makes sure no Wine process outlives it.
timeout --kill-after=10 590 wine "$program" "${args[@]}"
rc=$?
cat "$log"
exit $rc
