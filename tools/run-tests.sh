#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through CTest.
#   tools/run-tests.sh [build folder] [extra CMake options ...]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
shift || true
tools/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --no-tests=error -j"$(nproc)" --timeout 300
