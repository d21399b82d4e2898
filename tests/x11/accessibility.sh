#!/usr/bin/env bash
# What a screen reader gets of the window over a real AT-SPI bus: a private Xvfb display
# with openbox, a private D-Bus session with the accessibility bus of at-spi2-core, the
# real zd7240-helper with accessibility on, read back with gdbus.
#   accessibility.sh PATH-TO-ZD7240-HELPER
# Checks: the window is a frame named by its caption; the tab row is a page tab list of
# eight page tabs named by the sheets' captions, the first one selected; pressing the
# fourth through its action selects it; the fields of the first page are named after
# their boxes and labels, the card-type box after its box and label. Exits 77 (skipped)
# when the tools are not installed.
set -uo pipefail

helper=$(realpath "${1:?usage: accessibility.sh PATH-TO-ZD7240-HELPER}")
caption="Velmar Zd7240 Helper  V2.1"
launcher=/usr/libexec/at-spi-bus-launcher

# shellcheck source=../lib/x11test.sh
source "$(dirname "${BASH_SOURCE[0]}")/../lib/x11test.sh"
x11_test_start "at-spi2-core, dbus, libglib2.0-bin and the X11 test tools" Xvfb openbox xprop dbus-daemon gdbus "$launcher"
start_desktop

# A session bus of our own; the accessibility bus's socket goes under a runtime folder of
# our own too, so that runs at the same time do not meet.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
dbus-daemon --session --fork --print-address=1 --print-pid=1 >"$work/bus" 2>"$work/bus.log"
DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p "$work/bus")
export DBUS_SESSION_BUS_ADDRESS
pids+=("$(sed -n 2p "$work/bus")")
"$launcher" --launch-immediately >"$work/launcher.log" 2>&1 &
pids+=("$!")
bus_address() {
    address=$(gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
        --method org.a11y.Bus.GetAddress 2>/dev/null </dev/null | sed -E "s/^\('(.*)',\)$/\1/")
    [ -n "$address" ]
}
if ! wait_until 10 bus_address; then
    echo "no accessibility bus"
    cat "$work/bus.log" "$work/launcher.log"
    exit 1
fi

# On the X server (not the offscreen platform the other tests run on), with a settings
# folder of its own so that a look saved by a developer does not reach it.
QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "$helper" >"$work/helper.log" 2>&1 &
pids+=("$!")

# One call on the accessibility bus to the program's object $1.
call() {
    local path=$1
    shift
    gdbus call --address "$address" --dest "$app" --object-path "$path" --method "$@" </dev/null
}
role_of() { call "$1" org.a11y.atspi.Accessible.GetRoleName | sed -E "s/^\('(.*)',\)$/\1/"; }
# The Name property as gdbus prints it, quotes and all taken off.
name_of() {
    call "$1" org.freedesktop.DBus.Properties.Get org.a11y.atspi.Accessible Name |
        sed -E "s/^\(<['\"](.*)['\"]>,\)$/\1/"
}
children_of() {
    call "$1" org.a11y.atspi.Accessible.GetChildren |
        grep -o "'/org/a11y/atspi/accessible/[^']*'" | tr -d "'"
}
states_of() { call "$1" org.a11y.atspi.Accessible.GetState; }
# AT-SPI's state set is two 32-bit words; "selected" is state 23.
is_selected() {
    local words
    words=$(states_of "$1" | sed 's/uint32//g' | grep -o '[0-9]\+' | head -n2 | tr '\n' ' ')
    read -r low _ <<<"$words"
    (((low >> 23) & 1))
}

# The program on the bus: the registry's root lists the applications.
app_found() {
    app=$(gdbus call --address "$address" --dest org.a11y.atspi.Registry \
        --object-path /org/a11y/atspi/accessible/root \
        --method org.a11y.atspi.Accessible.GetChildren 2>/dev/null </dev/null |
        grep -o "(':[0-9.]*'" | head -n1 | tr -d "(':")
    [ -n "$app" ] && app=":$app" && [ -n "$(children_of /org/a11y/atspi/accessible/root)" ]
}
if ! wait_until 60 app_found; then
    echo "the program did not come onto the accessibility bus"
    cat "$work/helper.log"
    exit 1
fi

# The objects down to depth 4 (the window, its frame, the page control's children); the
# tab list and the first page further down.
: >"$work/tree"
walk() {
    local path=$1 depth=$2 role name child
    role=$(role_of "$path")
    name=$(name_of "$path")
    printf '%s\t%s\t%s\t%s\n' "$depth" "$role" "$name" "$path" >>"$work/tree"
    if ((depth >= 4)) && [ "$role" != "page tab list" ] && [ "$name" != "Adsl--Mmx" ] &&
        [ "$role" != "panel" ]; then
        return
    fi
    ((depth >= 8)) && return
    for child in $(children_of "$path"); do
        walk "$child" $((depth + 1))
    done
}
walk /org/a11y/atspi/accessible/root 0

frame=$(awk -F'\t' '$1 == 1' "$work/tree")
if [[ "$frame" == 1$'\t'frame$'\t'"$caption"$'\t'* ]]; then
    pass "the window is a frame named \"$caption\""
else
    fail "the window: $(cut -f2,3 <<<"$frame")"
fi

list=$(awk -F'\t' '$2 == "page tab list" {print $4}' "$work/tree" | head -n1)
if [ -n "$list" ]; then
    pass "the tab row is a page tab list"
else
    fail "no page tab list; the window's objects: $(cut -f1-3 "$work/tree" | head -n 30)"
fi
tabs=()
if [ -n "$list" ]; then
    mapfile -t tabs < <(children_of "$list")
fi
names=""
for tab in "${tabs[@]}"; do
    [ "$(role_of "$tab")" = "page tab" ] || fail "$tab is a $(role_of "$tab"), not a page tab"
    names="$names$(name_of "$tab"),"
done
expected="Adsl--Mmx,Adsl--Ces,Adsl--Lan,Lan--Mmx,Lan--Ces,Adsl--Aiu,Lan--Aiu,Aiu-Mmx,"
if [ "$names" = "$expected" ]; then
    pass "eight page tabs named by the sheets"
else
    fail "the page tabs: $names"
fi
if ((${#tabs[@]} == 8)); then
    if is_selected "${tabs[0]}" && ! is_selected "${tabs[3]}"; then
        pass "the first page tab is the selected one"
    else
        fail "selected: first $(states_of "${tabs[0]}"), fourth $(states_of "${tabs[3]}")"
    fi
    call "${tabs[3]}" org.a11y.atspi.Action.DoAction 0 >/dev/null
    fourth_selected() { is_selected "${tabs[3]}" && ! is_selected "${tabs[0]}"; }
    if wait_until 5 fourth_selected; then
        pass "pressing the fourth page tab through its action selects it"
    else
        fail "after the press: fourth $(states_of "${tabs[3]}")"
    fi
fi

# The fields of the first page, by role and name.
for expected in "text"$'\t'"Start adsl card information, Board id" \
    "text"$'\t'"End adsl card information, Board id" \
    "text"$'\t'"Mmx card information, Card type is Optic, Vpi" \
    "combo box"$'\t'"Mmx card information, The card type is" \
    "panel"$'\t'"Card type is Optic"; do
    if cut -f2,3 "$work/tree" | grep -qxF "$expected"; then
        pass "a ${expected/$'\t'/ named \"}\""
    else
        fail "no ${expected/$'\t'/ named \"}\""
    fi
done

if ((failures > 0)); then
    echo "--- program output"
    cat "$work/helper.log"
    exit 1
fi
