#!/usr/bin/env bash
# Installs what is missing, builds the program and starts the window.
#   tools/run-app.sh [zd7240-helper options]
# Without a display (no $DISPLAY or $WAYLAND_DISPLAY), run it under a virtual X server:
#   xvfb-run -a tools/run-app.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# The window needs a display; the options that only write a picture or a description
# (and --help, --version) do not.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    windowless=no
    for arg in "$@"; do
        case $arg in
        --) break ;;
        --grab | --grab=* | --describe | --describe=* | --help | -h | --version | -v) windowless=yes ;;
        esac
    done
    if [ $windowless = no ]; then
        echo "run-app.sh: no display to open the window on (\$DISPLAY and \$WAYLAND_DISPLAY are empty)." >&2
        echo "Run it under a virtual X server:  xvfb-run -a tools/run-app.sh $*" >&2
        echo "or write a picture of the window: tools/run-app.sh --grab window.png" >&2
        exit 69
    fi
fi

tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target zd7240-helper zd7240-gen zd7240-theme
exec build/bin/zd7240-helper "$@"
