#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan+UBSan) and runs each for a bounded time.
#   tools/fuzz.sh [seconds per target, default 30]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
build=build-fuzz
tools/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZD7240_FUZZ=ON -DZD7240_BUILD_TESTS=OFF -DZD7240_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
    >/dev/null
targets=$(cmake --build "$build" --target help | sed -n 's/^\([a-z_]*_fuzz\):.*/\1/p')
[ -n "$targets" ] || { echo "no fuzz targets" >&2; exit 1; }
cmake --build "$build" -j"$(nproc)" --target $targets

export QT_QPA_PLATFORM=offscreen
# Tight limits: no input of at most 64 KiB may make a target allocate more than 64 MB
# at once or grow past 512 MB, so amplification (data shared by many entries, sizes
# that claim more than the input holds) is caught as a failure, not waited out.
limits="-timeout=10 -max_len=65536 -rss_limit_mb=512 -malloc_limit_mb=64"
for t in $targets; do
    bin=$(find "$build" -type f -name "$t" -perm -u+x | head -n 1)
    corpus="$build/corpus/$t"
    mkdir -p "$corpus"
    # Seed inputs, if the target has any, live in a corpus/<target> folder in the sources.
    seeds=$(find . -path "./build*" -prune -o -type d -path "*/corpus/$t" -print | head -n 1)
    echo "== $t for ${seconds}s"
    if [ -n "$seeds" ]; then
        "$bin" -max_total_time="$seconds" $limits "$corpus" "$seeds"
    else
        "$bin" -max_total_time="$seconds" $limits "$corpus"
    fi
done
