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
# every file it replaces (free on tmpfs, the whole disk write elsewhere). The /dev/null
# rows are the formatting alone, against dd handing its pages to the kernel.
#
# RUNS (default 7) pairs per row of 10^7 lines, BIG_RUNS (default 3) per row of 10^8;
# BIG=0 skips the rows of 10^8 lines. Folders without room for two copies of a row's
# script (plus 10 %: the old and the new file of a replacement) skip it.
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
    drop "${work_files[@]}" 2>/dev/null || true
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

# Each run starts with neither program's file in the folder: it writes a new file, and
# only one copy takes room at a time.
# Only the bench's own files are ever removed (never /dev/null).
drop() {
    local f
    for f in "$@"; do
        case $f in */zd7240-bench-*-$$.txt) rm -f "$f" ;; esac
    done
}
# run_gen OUT OTHER JOB...
run_gen() {
    local out=$1 other=$2
    shift 2
    drop "$out" "$other"
    timed "$gen" "$@" -o "$out"
}
# run_dd OUT OTHER BYTES
run_dd() {
    local sync=conv=fsync
    [ "$1" = /dev/null ] && sync=conv=notrunc
    drop "$1" "$2"
    timed dd if=/dev/zero of="$1" bs=1M count="$3" iflag=count_bytes "$sync"
}

# The size of a job's script: "LINES BYTES".
measure() {
    local lines
    lines=$(lines_of "$@")
    echo "$lines $("$gen" "$@" -o - 2>/dev/null | wc -c)"
}

# row LABEL FOLDER PAIRS JOB... (FOLDER /dev/null: both write there, the formatting
# alone against dd handing pages to the kernel)
row() {
    local label=$1 folder=$2 pairs=$3
    shift 3
    local g_out="$folder/zd7240-bench-gen-$$.txt" d_out="$folder/zd7240-bench-dd-$$.txt"
    [ "$folder" = /dev/null ] && g_out=/dev/null d_out=/dev/null
    work_files+=("$g_out" "$d_out")
    local size lines bytes avail=0
    size=$(measure "$@")
    lines=${size% *} bytes=${size#* }
    [ "$folder" != /dev/null ] &&
        avail=$(($(df -P -k "$folder" | awk 'NR == 2 { print $4 }') * 1024))
    if [ "$folder" != /dev/null ] && [ $((bytes * 22 / 10)) -gt "$avail" ]; then
        printf '%-24s %12s  skipped: %s has no room for two copies\n' "$label" "$lines" "$folder"
        return
    fi
    local ratios=() gs=() ds=() gmem=0 dmem=0 i g d
    for ((i = 0; i < pairs; i++)); do
        if ((i % 2 == 0)); then
            g=$(run_gen "$g_out" "$d_out" "$@")
            d=$(run_dd "$d_out" "$g_out" "$bytes")
        else
            d=$(run_dd "$d_out" "$g_out" "$bytes")
            g=$(run_gen "$g_out" "$d_out" "$@")
        fi
        gs+=("${g% *}")
        ds+=("${d% *}")
        ratios+=("$(echo "${g% *} / ${d% *}" | bc -l)")
        ((${g#* } > gmem)) && gmem=${g#* }
        ((${d#* } > dmem)) && dmem=${d#* }
    done
    drop "$g_out" "$d_out"
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
    row "lan 1e7 /dev/null $load" /dev/null "$runs" "${lan7[@]}"
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
