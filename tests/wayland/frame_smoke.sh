#!/usr/bin/env bash
# The skinned window under a Wayland compositor: weston's headless backend (no screen, no
# input) in a private runtime folder, the real zd7240-helper on Qt's Wayland platform
# running --selftest-frame: shown, maximized and restored with the title bar's maximize
# button, a new look while maximized (the window keeps the compositor's size), closed with
# the close button.
#   frame_smoke.sh PATH-TO-ZD7240-HELPER
# Fails on a step that did not happen, a Wayland protocol error or a lost connection, or
# any other ending than status 0. Exits 77 (skipped) when weston or Qt's Wayland platform
# is not installed.
set -uo pipefail

helper=$(realpath "${1:?usage: frame_smoke.sh PATH-TO-ZD7240-HELPER}")

if ! command -v weston >/dev/null 2>&1; then
    echo "SKIP: weston is not installed (tools/install-deps.sh installs it)"
    exit 77
fi
if ! compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null; then
    echo "SKIP: Qt's Wayland platform is not installed (qt6-wayland; tools/install-deps.sh)"
    exit 77
fi

# The compositor's socket lives in a private runtime folder that only we can enter.
work=$(mktemp -d)
chmod 0700 "$work"
weston_pid=""
cleanup() {
    if [ -n "$weston_pid" ]; then
        kill "$weston_pid" 2>/dev/null
        wait "$weston_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=../lib/checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../lib/checks.sh"

export XDG_RUNTIME_DIR=$work
socket=zd7240-smoke
XDG_RUNTIME_DIR=$work weston --backend=headless-backend.so --socket="$socket" --no-config \
    --idle-time=0 --width=1280 --height=1024 --log="$work/weston.log" >"$work/weston.err" 2>&1 &
weston_pid=$!
socket_ready() { [ -S "$work/$socket" ] || ! kill -0 "$weston_pid" 2>/dev/null; }
if ! wait_until 20 socket_ready || ! kill -0 "$weston_pid" 2>/dev/null; then
    echo "weston did not start"
    cat "$work/weston.log" "$work/weston.err"
    exit 1
fi

# The Wayland client libraries keep allocations until the process ends; leak reports of a
# sanitizer build are for the offscreen tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# One self-test in `look`: MacOS gets WinXP's wider border while maximized, WinXP MacOS's
# narrower one.
self_test() {
    local look=$1 status
    (cd "$work" && WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland \
        exec timeout 120 "$helper" --look "$look" --selftest-frame) >"$work/out.log" 2>"$work/err.log"
    status=$?
    echo "--- $look"
    cat "$work/out.log"
    if [ -s "$work/err.log" ]; then
        echo "--- $look: program stderr"
        cat "$work/err.log"
    fi
    if [ "$status" -eq 0 ]; then
        pass "$look: the self-test ended with status 0"
    else
        fail "$look: the self-test ended with status $status"
    fi
    grep -qx "platform: wayland" "$work/out.log" ||
        fail "$look: the window did not run on Qt's Wayland platform"
    local line
    for line in "shown: " "maximized: " "new look while maximized" "restored: " "closed"; do
        grep -q "^$line" "$work/out.log" || fail "$look: no step \"$line\""
    done
    # Qt reports a refused request or a lost connection on stderr before it ends the
    # program.
    if grep -Eiq "protocol error|wayland connection" "$work/err.log"; then
        fail "$look: Wayland errors from the program"
    fi
}
self_test MacOS
self_test WinXP
# libwayland in weston logs every client it dropped for a protocol error.
if grep -Eiq "protocol error|error in client communication" "$work/weston.log" "$work/weston.err"; then
    fail "weston reports a protocol error:"
    grep -Ehi "protocol error|error in client communication" "$work/weston.log" "$work/weston.err"
fi

if [ "$failures" -ne 0 ]; then
    echo "--- weston log"
    cat "$work/weston.log" "$work/weston.err"
    exit 1
fi
