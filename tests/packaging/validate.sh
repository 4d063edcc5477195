#!/bin/sh
# validate.sh TOOL ARGS...: runs a packaging validator on the shipped files.
# Skipped (77) where the tool is not installed; a failure, or any hint or
# warning the tool prints, fails.
command -v "$1" >/dev/null 2>&1 || {
    echo "SKIP: $1 is not installed (scripts/deps.sh installs it)"
    exit 77
}
out=$("$@" 2>&1)
rc=$?
printf '%s\n' "$out"
[ "$rc" -eq 0 ] || exit 1
if printf '%s\n' "$out" | grep -Eq ': (hint|warning|error):'; then exit 1; fi
exit 0
