#!/usr/bin/env bash
# Job files: the range check of 1,000 jobs of up to 2^31 lines each, and 100 jobs of
# 100,000 lines each written to tmpfs against dd writing the same number of bytes.
# Prints figures; a measurement, not a test, it never fails on speed.
#
#   bench/jobs.sh [path/to/zd7240-gen] [tmpfs folder]
set -euo pipefail

gen=${1:-build/bin/zd7240-gen}
shm=${2:-/dev/shm}
runs=${RUNS:-5}
work=$(mktemp -d "$shm/zd7240-jobs-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

[ -x "$gen" ] || { echo "no zd7240-gen at $gen: build first (cmake --build build)" >&2; exit 1; }

# Wall time and processor time (user + system) of one run of a command, in seconds, to
# the millisecond; the command's output and status are ignored.
timed() {
    local TIMEFORMAT='%3R %3U %3S' t u s
    read -r t u s < <({ time "$@" >/dev/null 2>&1 || true; } 2>&1)
    printf '%s %s' "$t" "$(echo "$u + $s" | bc -l)"
}

# The smaller of two times; the first when the second is empty (no run yet).
smaller() {
    if [ -z "$2" ] || [ "$(echo "$1 < $2" | bc -l)" = 1 ]; then echo "$1"; else echo "$2"; fi
}

# Best wall time of $runs runs of a command, and the processor time of that run.
best_of() {
    local best="" cpu="" t c
    for _ in $(seq "$runs"); do
        read -r t c <<<"$(timed "$@")"
        if [ "$(smaller "$t" "$best")" != "$best" ]; then
            best=$t
            cpu=$c
        fi
    done
    printf '%.3f %.3f' "$best" "$cpu"
}

ms() { echo "$1 * 1000" | bc -l; }

# 1,000 jobs: 500 Lan--Mmx jobs of 2,147,483,647 VLAN ids each, every one on its own Lan
# card and Mmx port, and 500 chassis walks of 1,000 boards x 14 cards x 150,000 ports
# (2,100,000,000 lines) on boards of their own. The far sides all start at VCI 32, so
# every pair of far-side ranges overlaps in VCI and is told apart by its port: the
# sweep compares all of them. `conflicts` adds one job that meets ten others.
check_file() { # FILE WITH_CONFLICTS
    {
        echo '{"version": 1, "jobs": ['
        for i in $(seq 0 499); do
            printf '{"page": "lan-mmx", "fields": {"lan-board": "%d", "lan-slot": "5", "start-vlan": "0", "end-vlan": "2147483646", "vpi": "1", "mmx-port": "%d", "start-vci": "32"}, "output": "lan-%d.txt"},\n' "$i" "$i" "$i"
            printf '{"page": "adsl-mmx", "fields": {"start-board": "%d", "start-slot": "0", "end-board": "%d", "end-slot": "15", "port-number": "150000", "mmx-board": "1", "mmx-port": "%d", "mmx-vpi": "1", "start-vci": "32"}, "output": "adsl-%d.txt"}' \
                $((i * 1000)) $((i * 1000 + 999)) "$i" "$i"
            [ "$i" -lt 499 ] && echo ","
        done
        if [ "$2" = yes ]; then
            echo ', {"page": "adsl-lan", "fields": {"start-board": "0", "start-slot": "0", "end-board": "9999", "end-slot": "15", "port-number": "1", "lan-board": "0", "lan-slot": "5", "start-vlan": "1"}, "output": "extra.txt"}'
        fi
        echo ']}'
    }
}
check_file x no >"$work/check.json"
check_file x yes >"$work/check-conflicts.json"
conflicts=$("$gen" --job "$work/check-conflicts.json" --check --dry-run 2>&1 | grep -c '^zd7240-gen: conflict:' || true)
read -r w_clean c_clean <<<"$(best_of "$gen" --job "$work/check.json" --check --dry-run)"
read -r w_conf c_conf <<<"$(best_of "$gen" --job "$work/check-conflicts.json" --check --dry-run)"
read -r w_read c_read <<<"$(best_of "$gen" --job "$work/check.json" --no-check --dry-run)"
echo "--check, 1,000 jobs of up to 2^31 lines (whole process, best of $runs; wall and CPU):"
printf '  no conflict:                %7.0f ms  %5.0f ms CPU\n' "$(ms "$w_clean")" "$(ms "$c_clean")"
printf '  one job meeting %2d others:  %7.0f ms  %5.0f ms CPU\n' "$conflicts" "$(ms "$w_conf")" \
    "$(ms "$c_conf")"
printf '  with --no-check (read, convert, dry run): %7.0f ms  %5.0f ms CPU\n' "$(ms "$w_read")" \
    "$(ms "$c_read")"

# The pre-pass of 100,000 one-line jobs with a chassis: read, convert, cross-job and
# chassis checks, the folder check of 100,000 outputs in one folder, as a dry run; and
# its peak memory, against 50,000 jobs to see it grow with the jobs.
mkdir -p "$work/many"
many_file() {
    local n=$1
    awk -v n="$n" 'BEGIN {
        printf "{\"version\": 1, \"chassis\": {\"0/7\": \"mmx\""
        for (b = 0; b <= int((n - 1) / 4000); b++)
            printf ", \"%d/5\": \"lan\"", b
        printf "}, \"jobs\": ["
        for (i = 0; i < n; i++)
            printf "%s{\"page\": \"lan-mmx\", \"fields\": {\"lan-board\": %d, \"lan-slot\": 5, \"start-vlan\": %d, \"end-vlan\": %d, \"vpi\": 1, \"mmx-port\": %d, \"start-vci\": 40}, \"output\": \"many/lan-%d.txt\"}", (i ? "," : ""), int(i / 4000), 1 + i % 4000, 1 + i % 4000, i, i
        print "]}"
    }'
}
many_file 100000 >"$work/many100k.json"
many_file 50000 >"$work/many50k.json"
read -r w_many c_many <<<"$(best_of "$gen" --job "$work/many100k.json" --dry-run)"
/usr/bin/time -f '%M' -o "$work/mem" "$gen" --job "$work/many100k.json" --dry-run >/dev/null 2>&1
mem_many=$(cat "$work/mem")
/usr/bin/time -f '%M' -o "$work/mem" "$gen" --job "$work/many50k.json" --dry-run >/dev/null 2>&1
mem_half=$(cat "$work/mem")
echo "pre-pass of 100,000 jobs with a chassis, as a dry run (best of $runs):"
printf '  %7.0f ms  %5.0f ms CPU; peak %d MiB (50,000 jobs: %d MiB)\n' "$(ms "$w_many")" \
    "$(ms "$c_many")" $((mem_many / 1024)) $((mem_half / 1024))

# Jobs that all bind one endpoint (the same VLAN id and VCI): a hundred conflicts are
# listed and the rest counted, in time and memory that grow as n log n, not n squared.
same_file() {
    local n=$1
    awk -v n="$n" 'BEGIN {
        printf "{\"version\": 1, \"jobs\": ["
        for (i = 0; i < n; i++)
            printf "%s{\"page\": \"lan-mmx\", \"fields\": {\"lan-board\": 0, \"lan-slot\": 5, \"start-vlan\": 100, \"end-vlan\": 100, \"vpi\": 1, \"start-vci\": 40}, \"output\": \"same-%d.txt\"}", (i ? "," : ""), i
        print "]}"
    }'
}
echo "jobs that all bind one endpoint, --check --dry-run (best of $runs; peak memory):"
for n in 500 1000 4000 10000; do
    same_file "$n" >"$work/same.json"
    read -r w_same c_same <<<"$(best_of "$gen" --job "$work/same.json" --dry-run)"
    /usr/bin/time -f '%M' -o "$work/mem" "$gen" --job "$work/same.json" --dry-run >/dev/null 2>&1 || true
    printf '  %6d jobs: %7.0f ms  %5.0f ms CPU; peak %d MiB\n' "$n" "$(ms "$w_same")" \
        "$(ms "$c_same")" $(($(tail -n 1 "$work/mem") / 1024))
done

# --against: 100,000 jobs of ten lines each against 1,000,000 running lines, the scripts
# of the same jobs written earlier (every line already configured), and against the
# lines of jobs one VCI off (every job in conflict: a hundred listed, the rest counted).
against_file() { # JOBS VCI OUTPUT
    awk -v n="$1" -v vci="$2" -v out="$3" 'BEGIN {
        printf "{\"version\": 1, \"jobs\": ["
        for (i = 0; i < n; i++)
            printf "%s{\"page\": \"lan-mmx\", \"fields\": {\"lan-board\": %d, \"lan-slot\": 5, \"start-vlan\": %d, \"end-vlan\": %d, \"vpi\": 1, \"mmx-port\": %d, \"start-vci\": %d}, \"output\": \"%s\"}", (i ? "," : ""), int(i / 400), 1 + (i % 400) * 10, 10 + (i % 400) * 10, i, vci, (out == "-" ? "-" : "many/a-" i ".txt")
        print "]}"
    }'
}
against_file 100000 40 - >"$work/against-script.json"
"$gen" --job "$work/against-script.json" >"$work/running.txt" 2>/dev/null
against_file 100000 41 - >"$work/against-off.json"
"$gen" --job "$work/against-off.json" >"$work/running-off.txt" 2>/dev/null
against_file 100000 40 file >"$work/against.json"
read -r w_plain c_plain <<<"$(best_of "$gen" --job "$work/against.json" --plan)"
read -r w_same c_same <<<"$(best_of "$gen" --job "$work/against.json" --plan --against "$work/running.txt")"
read -r w_off c_off <<<"$(best_of "$gen" --job "$work/against.json" --plan --against "$work/running-off.txt")"
/usr/bin/time -f '%M' -o "$work/mem" "$gen" --job "$work/against.json" --plan >/dev/null 2>&1 || true
mem_plain=$(tail -n 1 "$work/mem")
/usr/bin/time -f '%M' -o "$work/mem" "$gen" --job "$work/against.json" --plan --against "$work/running.txt" >/dev/null 2>&1 || true
mem_same=$(tail -n 1 "$work/mem")
/usr/bin/time -f '%M' -o "$work/mem" "$gen" --job "$work/against.json" --plan --against "$work/running-off.txt" >/dev/null 2>&1 || true
mem_off=$(tail -n 1 "$work/mem")
echo "--plan of 100,000 jobs, $(wc -l <"$work/running.txt") running lines (best of $runs; peak memory):"
printf '  without --against:           %7.0f ms  %5.0f ms CPU; peak %d MiB\n' "$(ms "$w_plain")" \
    "$(ms "$c_plain")" $((mem_plain / 1024))
printf '  every line configured:       %7.0f ms  %5.0f ms CPU; peak %d MiB\n' "$(ms "$w_same")" \
    "$(ms "$c_same")" $((mem_same / 1024))
printf '  every job in conflict:       %7.0f ms  %5.0f ms CPU; peak %d MiB\n' "$(ms "$w_off")" \
    "$(ms "$c_off")" $((mem_off / 1024))

# --plan of one job of 2,000,000,001 lines: answered from the ranges.
read -r w_big c_big <<<"$(best_of "$gen" adsl-mmx start-board=0 start-slot=0 end-board=285713 \
    end-slot=15 port-number=500 modem-vpi=0 modem-vci=35 mmx-board=0 mmx-slot=7 mmx-port=0 \
    mmx-vpi=1 start-vci=32 rx-cttr=1 tx-cttr=1 rx-upc=000 tx-upc=000 -o "$work/big.txt" --plan)"
printf '  --plan of one job of %s lines: %.0f ms\n' \
    "$("$gen" adsl-mmx start-board=0 start-slot=0 end-board=285713 end-slot=15 port-number=500 \
        modem-vpi=0 modem-vci=35 mmx-board=0 mmx-slot=7 mmx-port=0 mmx-vpi=1 start-vci=32 \
        rx-cttr=1 tx-cttr=1 rx-upc=000 tx-upc=000 --dry-run 2>/dev/null | sed -n 's/^Lines: //p')" \
    "$(ms "$w_big")"

# 100 jobs of 100,000 lines each, VLAN ids 1..100000 on Lan cards of their own, each
# to a port of its own on the Mmx card (so that the check, which runs first, passes).
mkdir -p "$work/out"
{
    echo '{"version": 1, "jobs": ['
    for i in $(seq 0 99); do
        printf '{"page": "lan-mmx", "fields": {"lan-board": "%d", "lan-slot": "5", "start-vlan": "1", "end-vlan": "100000", "vpi": "1", "mmx-port": "%d", "start-vci": "32"}, "output": "out/job-%02d.txt"}' "$i" "$i" "$i"
        [ "$i" -lt 99 ] && echo ","
    done
    echo ']}'
} >"$work/write.json"
"$gen" --job "$work/write.json" >/dev/null 2>&1 || { echo "the write jobs are refused:" >&2; "$gen" --job "$work/write.json" --dry-run >/dev/null; exit 1; }
bytes=$(cat "$work"/out/*.txt | wc -c)
lines=$(cat "$work"/out/*.txt | wc -l)
# The two take turns, run by run, so that both meet the same load on a shared machine.
# dd writes the same number of bytes into one file on the same tmpfs, in 1 MiB blocks,
# truncating the file of its previous run as the jobs replace theirs; like the jobs'
# files, its file is there before the first timed run.
dd if=/dev/zero of="$work/dd.bin" bs=1M count="$bytes" iflag=count_bytes 2>/dev/null
g="" d=""
for _ in $(seq "$runs"); do
    read -r t _ <<<"$(timed "$gen" --job "$work/write.json")"
    g=$(smaller "$t" "$g")
    read -r t _ <<<"$(timed dd if=/dev/zero of="$work/dd.bin" bs=1M count="$bytes" iflag=count_bytes)"
    d=$(smaller "$t" "$d")
done
echo
echo "--job, 100 jobs x 100,000 lines to tmpfs (best of $runs, taking turns with dd):"
printf '  %s lines, %s bytes: zd7240-gen %.3f s, dd %.3f s, ratio %.2f\n' "$lines" "$bytes" \
    "$g" "$d" "$(echo "$g / $d" | bc -l)"
