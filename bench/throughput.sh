#!/usr/bin/env bash
# Throughput and memory of zd7240-gen against dd writing the same number of bytes to the
# same place. Prints a table; it is a measurement, not a test, and never fails on speed.
#
#   bench/throughput.sh [path/to/zd7240-gen] [tmpfs folder]
set -euo pipefail

gen=${1:-build/bin/zd7240-gen}
shm=${2:-/dev/shm}
runs=${RUNS:-3}
out="$shm/zd7240-bench-$$.txt"
trap 'rm -f "$out"' EXIT

[ -x "$gen" ] || { echo "no zd7240-gen at $gen: build first (cmake --build build)" >&2; exit 1; }

# 10,000,000 lines: VLAN 0..9999999.
lan_job=(lan-mmx lan-board=0 lan-slot=5 start-vlan=0 end-vlan=9999999 vpi=1 start-vci=40)
# 10,000,200 lines: boards 0..14285, 14 cards each, 50 ports per card.
adsl_job=(adsl-mmx start-board=0 start-slot=0 end-board=14285 end-slot=15 port-number=50
          mmx-vpi=1 start-vci=32)
small_job=(lan-mmx lan-board=0 lan-slot=5 start-vlan=0 end-vlan=999 vpi=1 start-vci=40)

now() { date +%s.%N; }
# Best wall time of $runs runs of a command, in seconds.
best_of() {
    local best="" t0 t1 t
    for _ in $(seq "$runs"); do
        t0=$(now); "$@" >/dev/null 2>&1; t1=$(now)
        t=$(echo "$t1 - $t0" | bc -l)
        if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
    done
    printf '%.3f' "$best"
}
peak_kib() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1; }

printf '%-10s %-12s %12s %14s %9s %9s %7s\n' job target lines bytes gen_s dd_s ratio
for name in lan adsl; do
    if [ $name = lan ]; then job=("${lan_job[@]}"); else job=("${adsl_job[@]}"); fi
    "$gen" "${job[@]}" -o "$out" 2>/dev/null
    bytes=$(stat -c %s "$out")
    lines=$("$gen" "${job[@]}" --dry-run 2>/dev/null | sed -n 's/^Lines: //p')
    for target in /dev/null "$out"; do
        label=$([ "$target" = /dev/null ] && echo /dev/null || echo tmpfs)
        g=$(best_of "$gen" "${job[@]}" -o "$target")
        d=$(best_of dd if=/dev/zero of="$target" bs=1M count="$bytes" iflag=count_bytes)
        printf '%-10s %-12s %12s %14s %9s %9s %7.2f\n' "$name" "$label" "$lines" "$bytes" \
            "$g" "$d" "$(echo "$g / $d" | bc -l)"
    done
done

small=$(peak_kib "$gen" "${small_job[@]}" -o /dev/null)
big=$(peak_kib "$gen" "${lan_job[@]}" -o "$out")
echo
echo "peak resident memory: 1,000 lines ${small} KiB, 10,000,000 lines ${big} KiB" \
     "(difference $((big - small)) KiB)"
