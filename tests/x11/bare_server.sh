#!/usr/bin/env bash
# The window on a bare X server (a private Xvfb display without a window manager, as
# `xvfb-run` gives): --selftest-frame shows, maximizes (by the frame's own fall-back),
# restores and closes the window, three fresh starts in a row.
#   bare_server.sh PATH-TO-ZD7240-HELPER
# Exits 77 (skipped) when Xvfb is not installed.
set -uo pipefail

helper=$(realpath "${1:?usage: bare_server.sh PATH-TO-ZD7240-HELPER}")
# shellcheck source=../lib/x11test.sh
source "$(dirname "${BASH_SOURCE[0]}")/../lib/x11test.sh"
x11_test_start "tools/install-deps.sh installs the X11 test tools" Xvfb xprop
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
start_desktop bare
if wm_running; then
    fail "a window manager answers on the bare server"
fi

for start in 1 2 3; do
    (cd "$work" && QT_QPA_PLATFORM=xcb timeout 60 "$helper" --selftest-frame) >"$work/out" 2>&1
    status=$?
    if [ "$status" -eq 0 ] && grep -q '^maximized: 1280 x 1024$' "$work/out" &&
        grep -q '^restored: 536 x 575$' "$work/out"; then
        pass "start $start: the frame self-test passes without a window manager"
    else
        fail "start $start: the frame self-test ended with $status: $(cat "$work/out")"
    fi
done
echo "$failures failure(s)"
[ "$failures" -eq 0 ]
