#!/usr/bin/env bash
# The window on a bare X server (a private Xvfb display without a window manager, as
# `xvfb-run` gives): --selftest-frame shows, maximizes (by the frame's own fall-back),
# restores and closes the window, three fresh starts in a row.
#   bare_server.sh PATH-TO-ZD7240-HELPER
# Exits 77 (skipped) when Xvfb is not installed.
set -uo pipefail

helper=$(realpath "${1:?usage: bare_server.sh PATH-TO-ZD7240-HELPER}")
for tool in Xvfb xprop; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed (tools/install-deps.sh installs the X11 test tools)"
        exit 77
    fi
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=../lib/checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../lib/checks.sh"
# shellcheck source=../lib/desktop.sh
source "$(dirname "${BASH_SOURCE[0]}")/../lib/desktop.sh"
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
