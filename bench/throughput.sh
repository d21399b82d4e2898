#!/usr/bin/env bash
# Throughput and memory of zd7240-gen against dd writing the same number of bytes to the
# same place. A measurement, not a test: it prints a table and never fails on speed.
#
#   bench/throughput.sh [path/to/zd7240-gen] [tmpfs folder] [disk folder]
#
# Each row is a series of pairs: zd7240-gen writes the script to a new file, dd writes
# as many bytes from /dev/zero to another new file in the same folder, alternating which
# of the two goes first so that a drift of the machine's load falls on both. The ratio
# gen/dd is taken per pair; the row shows its median and its range (min..max) with the
# median times and the peak resident memory of each program. "busy" rows run with one
# core kept busy by `yes > /dev/null`. dd runs with conv=fsync, since the writer syncs
# every file it replaces (free on tmpfs, the whole disk write elsewhere).
#
# RUNS (default 7) pairs per row of 10^7 lines, BIG_RUNS (default 3) per row of 10^8;
# BIG=0 skips the rows of 10^8 lines. Folders without room for two copies of a row's
# script (plus 10 %) skip it.
set -euo pipefail

gen=${1:-build/bin/zd7240-gen}
shm=${2:-/dev/shm}
disk=${3:-${TMPDIR:-/tmp}}
runs=${RUNS:-7}
big_runs=${BIG_RUNS:-3}
big=${BIG:-1}

[ -x "$gen" ] || { echo "no zd7240-gen at $gen: build first (cmake --build build)" >&2; exit 1; }

work_files=()
busy_pid=""
cleanup() {
    [ -n "$busy_pid" ] && kill "$busy_pid" 2>/dev/null
    rm -f "${work_files[@]}" 2>/dev/null || true
}
trap cleanup EXIT

# 10,000,000 lines: VLAN 0..9999999 (about 700 MB).
lan7=(lan-mmx lan-board=0 lan-slot=5 start-vlan=0 end-vlan=9999999 vpi=1 start-vci=40)
# 100,000,000 lines (about 7.1 GB).
lan8=(lan-mmx lan-board=0 lan-slot=5 start-vlan=0 end-vlan=99999999 vpi=1 start-vci=40)
# 10,000,200 lines: boards 0..14285, 14 cards each, 50 ports per card.
adsl7=(adsl-mmx start-board=0 start-slot=0 end-board=14285 end-slot=15 port-number=50
       mmx-vpi=1 start-vci=32)
small=(lan-mmx lan-board=0 lan-slot=5 start-vlan=0 end-vlan=999 vpi=1 start-vci=40)

# Wall seconds and peak KiB of one run: "SECONDS KIB".
timed() {
    local mem t0 t1
    mem=$(mktemp)
    t0=$EPOCHREALTIME
    /usr/bin/time -f %M -o "$mem" "$@" >/dev/null 2>&1 || true
    t1=$EPOCHREALTIME
    echo "$(echo "$t1 - $t0" | bc -l) $(tail -n 1 "$mem")"
    rm -f "$mem"
}

# Median of the numbers on standard input.
median() { sort -g | awk '{ v[NR] = $1 } END { m = int((NR + 1) / 2);
    print (NR % 2) ? v[m] : (v[m] + v[m + 1]) / 2 }'; }

lines_of() { "$gen" "$@" --dry-run 2>/dev/null | sed -n 's/^Lines: //p'; }

# row LABEL FOLDER PAIRS JOB...
row() {
    local label=$1 folder=$2 pairs=$3
    shift 3
    local g_out="$folder/zd7240-bench-gen-$$.txt" d_out="$folder/zd7240-bench-dd-$$.txt"
    work_files+=("$g_out" "$d_out")
    local lines bytes
    lines=$(lines_of "$@")
    rm -f "$g_out"
    "$gen" "$@" -o "$g_out" 2>/dev/null
    bytes=$(stat -c %s "$g_out")
    rm -f "$g_out"
    local avail
    avail=$(($(df -P -k "$folder" | awk 'NR == 2 { print $4 }') * 1024))
    if [ $((bytes * 22 / 10)) -gt "$avail" ]; then
        printf '%-24s %12s  skipped: %s has no room for two copies\n' "$label" "$lines" "$folder"
        return
    fi
    local ratios=() gs=() ds=() gmem=0 dmem=0 i g d
    for ((i = 0; i < pairs; i++)); do
        rm -f "$g_out" "$d_out"
        if ((i % 2 == 0)); then
            g=$(timed "$gen" "$@" -o "$g_out")
            d=$(timed dd if=/dev/zero of="$d_out" bs=1M count="$bytes" iflag=count_bytes conv=fsync)
        else
            d=$(timed dd if=/dev/zero of="$d_out" bs=1M count="$bytes" iflag=count_bytes conv=fsync)
            g=$(timed "$gen" "$@" -o "$g_out")
        fi
        gs+=("${g% *}")
        ds+=("${d% *}")
        ratios+=("$(echo "${g% *} / ${d% *}" | bc -l)")
        ((${g#* } > gmem)) && gmem=${g#* }
        ((${d#* } > dmem)) && dmem=${d#* }
    done
    rm -f "$g_out" "$d_out"
    local rmed rmin rmax gmed dmed
    rmed=$(printf '%s\n' "${ratios[@]}" | median)
    rmin=$(printf '%s\n' "${ratios[@]}" | sort -g | head -n 1)
    rmax=$(printf '%s\n' "${ratios[@]}" | sort -g | tail -n 1)
    gmed=$(printf '%s\n' "${gs[@]}" | median)
    dmed=$(printf '%s\n' "${ds[@]}" | median)
    printf '%-24s %12s %14s %3s %7.3f %7.3f %6.2f %5.2f..%-5.2f %9s %9s\n' "$label" "$lines" \
        "$bytes" "$pairs" "$gmed" "$dmed" "$rmed" "$rmin" "$rmax" "$gmem" "$dmem"
}

# rows QUIET-OR-BUSY
rows() {
    local load=$1
    row "lan 1e7 tmpfs $load" "$shm" "$runs" "${lan7[@]}"
    row "adsl 1e7 tmpfs $load" "$shm" "$runs" "${adsl7[@]}"
    if [ "$big" = 1 ]; then
        row "lan 1e8 tmpfs $load" "$shm" "$big_runs" "${lan8[@]}"
        row "lan 1e8 disk $load" "$disk" "$big_runs" "${lan8[@]}"
    fi
}

echo "$(nproc) cores, load average $(cut -d ' ' -f 1-3 /proc/loadavg) at the start"
printf '%-24s %12s %14s %3s %7s %7s %6s %12s %9s %9s\n' row lines bytes n gen_s dd_s ratio \
    range gen_KiB dd_KiB
rows quiet
yes >/dev/null &
busy_pid=$!
rows busy
kill "$busy_pid"
wait "$busy_pid" 2>/dev/null || true
busy_pid=""

small_kib=$(timed "$gen" "${small[@]}" -o /dev/null)
echo
echo "peak resident memory of 1,000 lines to /dev/null: ${small_kib#* } KiB;" \
    "load average $(cut -d ' ' -f 1-3 /proc/loadavg) at the end"
