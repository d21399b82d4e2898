#!/usr/bin/env bash
# Installs what is missing, builds the program and starts the window.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target zd7240-helper zd7240-gen
exec build/app/zd7240-helper "$@"
