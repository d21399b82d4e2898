#!/usr/bin/env bash
# Pop-ups open under their controls from the first start: on a private Xvfb display with
# openbox, the real zd7240-helper is started afresh ten times and each time, before the
# window is ever moved, the Help menu (Alt+H), the control-box menu (a click on the
# title bar's left button) and the card-type list (a click on the combo box) must open
# where their controls are on the screen, not counted from the screen's corner.
#   popup_placement.sh PATH-TO-ZD7240-HELPER
# Exits 77 (skipped) when the X tools are not installed.
set -uo pipefail

helper=$(realpath "${1:?usage: popup_placement.sh PATH-TO-ZD7240-HELPER}")
caption="Velmar Zd7240 Helper  V2.1"
starts=${STARTS:-10}

# shellcheck source=../lib/x11test.sh
source "$(dirname "${BASH_SOURCE[0]}")/../lib/x11test.sh"
x11_test_start "tools/install-deps.sh installs the X11 test tools" Xvfb openbox xdotool xprop
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
start_desktop

window_id() { xdotool search --onlyvisible --name "^${caption}\$" 2>/dev/null | head -n1; }
geometry() { eval "$(xdotool getwindowgeometry --shell "$wid")"; }
popup=""
popup_open() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$helper_pid" 2>/dev/null); do
        [ "$w" = "$wid" ] && continue
        popup=$w
        return 0
    done
    return 1
}
popup_closed() { ! popup_open; }

# Opens a pop-up with the command "$2 ..." and checks that its top-left corner is at
# the window's position plus ($3, $4), give or take $5 pixels; $1 names it.
check_popup() {
    local name=$1 action=$2 dx=$3 dy=$4 slack=$5
    $action
    if ! wait_until 5 popup_open; then
        fail "start $start: the $name did not open"
        return
    fi
    eval "$(xdotool getwindowgeometry --shell "$popup" | sed 's/^/POP_/')"
    local offx=$((POP_X - X)) offy=$((POP_Y - Y))
    if ((offx >= dx - slack && offx <= dx + slack && offy >= dy - slack && offy <= dy + slack)); then
        placed=$((placed + 1))
    else
        fail "start $start: the $name opened at $POP_X,$POP_Y, the window is at $X,$Y (expected about $((X + dx)),$((Y + dy)))"
    fi
    xdotool key Escape
    wait_until 5 popup_closed || { xdotool key Escape; wait_until 5 popup_closed; }
}
open_help() { xdotool key --clearmodifiers alt+h; }
# The title bar's left button (the control box) and the card-type box of the first
# page, in the window's coordinates.
open_control_box() { xdotool mousemove "$((X + 10))" "$((Y + 11))" click 1; }
open_card_types() { xdotool mousemove "$((X + 470))" "$((Y + 131))" click 1; }

placed=0
for start in $(seq "$starts"); do
    (cd "$work" && QT_QPA_PLATFORM=xcb exec "$helper") >"$work/helper.log" 2>&1 &
    helper_pid=$!
    wid=""
    find_window() {
        kill -0 "$helper_pid" 2>/dev/null || return 0
        wid=$(window_id)
        [ -n "$wid" ]
    }
    if ! wait_until 20 find_window || [ -z "$wid" ]; then
        fail "start $start: the window did not appear"
        cat "$work/helper.log"
        continue
    fi
    xdotool windowactivate --sync "$wid" >/dev/null 2>&1
    geometry
    check_popup "Help menu" open_help 1 45 0
    check_popup "control-box menu" open_control_box 0 23 2
    check_popup "card-type list" open_card_types 408 142 4
    kill "$helper_pid" 2>/dev/null
    wait "$helper_pid" 2>/dev/null
done
pass "$placed of $((starts * 3)) pop-ups opened at their controls"
echo "$failures failure(s)"
[ "$failures" -eq 0 ]
