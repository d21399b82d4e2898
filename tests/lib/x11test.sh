# The start of every X11 test script: skip (exit 77) when a tool is missing, a private
# folder `work` and a list `pids` of the processes started, both cleaned up on exit (a
# script that starts something else defines `cleanup_more`), then the shared checks and
# desktop. Sourced, not run.
#   x11_test_start "WHAT INSTALLS THEM" TOOL...

x11_test_start() {
    local hint=$1 tool
    shift
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed ($hint)"
            exit 77
        fi
    done
    work=$(mktemp -d)
    pids=()
    trap x11_test_cleanup EXIT
    # shellcheck source=checks.sh
    source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
    # shellcheck source=desktop.sh
    source "$(dirname "${BASH_SOURCE[0]}")/desktop.sh"
}

x11_test_cleanup() {
    local pid
    if declare -F cleanup_more >/dev/null; then cleanup_more; fi
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
