#!/usr/bin/env bash
# The window on a scaled screen: start, first paint and quit of the skinned window (the
# window benchmark's child run, the program's own window and application look) at
# device pixel ratio 1 and 2, offscreen, taking turns run by run, best of RUNS; and the
# peak resident memory of each. Prints figures; a measurement, not a test, it never
# fails on speed.
#
#   bench/hidpi.sh [path/to/zd7240-windowbench]
set -euo pipefail

bench=${1:-build/bench/zd7240-windowbench}
runs=${RUNS:-9}
[ -x "$bench" ] || { echo "no zd7240-windowbench at $bench: build first (cmake --build build)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

# Wall time of one run, in seconds to the millisecond, and its peak memory in KiB.
run() {
    local ratio=$1 start end
    start=$(date +%s%N)
    QT_SCALE_FACTOR=$ratio /usr/bin/time -f '%M' -o "$work/mem" "$bench" --child skinned >/dev/null 2>&1
    end=$(date +%s%N)
    echo "$(((end - start) / 1000000)) $(cat "$work/mem")"
}

best1=""
best2=""
for _ in $(seq "$runs"); do
    for ratio in 1 2; do
        read -r ms kib < <(run "$ratio")
        if [ "$ratio" = 1 ]; then
            [ -z "$best1" ] || [ "$ms" -lt "${best1%% *}" ] && best1="$ms $kib"
        else
            [ -z "$best2" ] || [ "$ms" -lt "${best2%% *}" ] && best2="$ms $kib"
        fi
    done
done
read -r ms1 kib1 <<<"$best1"
read -r ms2 kib2 <<<"$best2"
printf 'ratio  start+paint+quit  peak memory\n'
printf '1      %5d ms          %6.1f MiB\n' "$ms1" "$(echo "$kib1 / 1024" | bc -l)"
printf '2      %5d ms          %6.1f MiB\n' "$ms2" "$(echo "$kib2 / 1024" | bc -l)"
printf 'ratio 2 / ratio 1: %.2f x (target at most 1.5 x; memory at ratio 2 at most 80 MiB)\n' \
    "$(echo "$ms2 / $ms1" | bc -l)"
