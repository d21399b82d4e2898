# Shared by the X11 test scripts: a private Xvfb display, with openbox as window manager
# or bare. The caller sets `work` (a private folder) and `pids` (an array); every process
# started here is added to `pids` for the caller's clean-up. Sourced, not run.

# The program opens in the look saved from its "Look" menu: the tests' own settings
# folder, empty, so that the window opens in MacOS whatever the person running them chose.
export XDG_CONFIG_HOME="$work/config"

# openbox without its key bindings: its default binds Alt+Space to its own window menu,
# which would take the key from the program.
write_openbox_config() {
    cat >"$work/rc.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <keyboard></keyboard>
  <mouse><dragThreshold>1</dragThreshold></mouse>
  <focus><focusNew>yes</focusNew></focus>
  <placement><policy>Smart</policy></placement>
</openbox_config>
XML
}
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
server_answers() { xprop -root >/dev/null 2>&1; }
# The server writes the display number, then a newline, once it takes connections.
display_known() { [ "$(wc -l <"$work/display")" -ge 1 ]; }

# Starts one desktop; `bare` as $1 starts no window manager. A free display is chosen by
# the server itself.
start_desktop_once() {
    : >"$work/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" \
        >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    pids+=("$xvfb_pid")
    wait_until 10 display_known || return 1
    export DISPLAY=":$(head -n1 "$work/display")"
    wait_until 10 server_answers && kill -0 "$xvfb_pid" 2>/dev/null || return 1
    [ "${1:-}" = bare ] && return 0
    write_openbox_config
    openbox --config-file "$work/rc.xml" >"$work/openbox.log" 2>&1 &
    openbox_pid=$!
    pids+=("$openbox_pid")
    wm_settled() { wm_running || ! kill -0 "$openbox_pid" 2>/dev/null; }
    wait_until 10 wm_settled && wm_running
}

# Other programs may start X servers at the same moment and take the same number, so a
# desktop that does not come up is started again. Ends the script when none comes up.
start_desktop() {
    local attempt
    for attempt in 1 2 3; do
        start_desktop_once "$@" && return 0
        kill "${openbox_pid:-}" "${xvfb_pid:-}" 2>/dev/null
        wait "${openbox_pid:-}" "${xvfb_pid:-}" 2>/dev/null
        openbox_pid=""
    done
    echo "no desktop could be started"
    cat "$work/xvfb.log" "$work/openbox.log" 2>/dev/null
    exit 1
}

# Ends the desktop started last (to start a fresh one).
stop_desktop() {
    kill "${openbox_pid:-}" "${xvfb_pid:-}" 2>/dev/null
    wait "${openbox_pid:-}" "${xvfb_pid:-}" 2>/dev/null
    openbox_pid=""
    xvfb_pid=""
}
