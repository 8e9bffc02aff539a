#!/usr/bin/env bash
# The real veilbox.exe under Wine, driven by keys: the first run to its restart notice, then
# a second (login, main window, File > Exit). Usage: first_run_test.sh PATH/veilbox.exe
set -euo pipefail
exe=$1
for tool in Xvfb xdotool /usr/lib/wine/wine64; do command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed (scripts/install-deps.sh mingw)"; exit 77; }; done
. "$(dirname "$0")/xwine.sh"
work=$(mktemp -d)
trap 'xwine_stop; rm -rf "$work"' EXIT
xwine_start
fail() { echo "FAIL: $*" >&2; exit 1; }
setting() { /usr/lib/wine/wine64 reg.exe query 'HKCU\SOFTWARE\TK' /v "$1" 2>/dev/null; }

xwine_first_run "$exe" tiger || fail "the first run did not end after the restart notice"
setting VeilboxPassword | grep -q REG_SZ || fail "no password was stored"
setting VeilboxFirstTime | grep -q 'No' || fail "the agreement was not recorded"

xwine_run "$exe"
xwine_keys Login "type:tiger" Return || fail "no login window at the second start"
xwine_window "Veilbox 1.04" >/dev/null || fail "the main window did not open"
xwine_hidden Agreement || fail "the agreement came again"
xwine_keys "Veilbox 1.04" alt+f x || fail "the main window took no keys"
xwine_ended || fail "File > Exit did not end the program"
