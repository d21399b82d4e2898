#!/usr/bin/env bash
# The bash completion of zd7240-gen against the program it completes for.
#   completion_test.sh COMPLETION_SCRIPT ZD7240_GEN
set -uo pipefail
source "$1"
gen=$2
compopt() { :; } # only works inside a real completion
failures=0

# expect "LINE" "EXPECTED REPLIES" [WORDBREAKS]
expect() {
    COMP_LINE="$gen $1"
    COMP_POINT=${#COMP_LINE}
    COMP_WORDBREAKS=${3-$' \t\n"\'><;|&(:'}
    COMPREPLY=()
    _zd7240_gen
    local got="${COMPREPLY[*]}"
    if [ "$got" != "$2" ]; then
        echo "completing '$1': got '$got', expected '$2'" >&2
        failures=$((failures + 1))
    fi
}

expect "lan-m" "lan-mmx"
expect "Lan--Mmx lan-b" "lan-board="
expect "lan-mmx lan-board=0 sta" "start-vlan= start-vci="
expect "lan-mmx end-" "end-vlan="                   # end-vci is computed
expect "lan-mmx card-type=I" "card-type=Ima"
expect "lan-mmx card-type=" "Optic Ima" $' \t\n=' # "=" breaks words: the value only
expect "aiu-mmx mmx-card" "mmx-card-type="
expect "--job x.json --ch" "--check"
expect "lan-mmx --dry" "--dry-run"
expect "-o out.txt adsl-ces ces-p" "ces-port="
expect "lan-mmx lan-board=0 lan-" "lan-slot="         # a key given is not offered again
expect "lan-mmx suiEdit401=0 lan-" "lan-board= lan-slot=" # (by its key, as typed)
expect "--job x.json --no" "--no-check"
expect "--job x.json --dry-run --dr" ""
expect "--job x.json --set start-b" "start-board="
expect "--job x.json --set start-board=1 --se" "--set" # --set may be given again
expect "lan-mmx --save-job j.json --app" "--append"
expect "lan-mmx --output=a.txt --out" "--output-dir"
expect "lan-mmx --against run.txt lan-b" "lan-board=" # the running file is no page
expect "lan-mmx --report - --pl" "--plan"

# Job files after --job (folders on the way too), folders after --output-dir, and --job
# again after a job file.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/plans"
touch "$work/shelf-0.json" "$work/shelf-1.json" "$work/notes.txt"
cd "$work" || exit 1
expect "--job sh" "shelf-0.json shelf-1.json"
expect "--job " "plans shelf-0.json shelf-1.json"
expect "--job shelf-0.json --output-dir " "plans"
expect "--job shelf-0.json --jo" "--job"
expect "--job shelf-0.json --output-dir plans --output-" ""
# Running files after --against (any file), given again as often as there are files.
expect "--job shelf-0.json --against no" "notes.txt"
expect "--job shelf-0.json --against notes.txt --ag" "--against"
expect "--job shelf-0.json --against notes.txt --pl" "--plan"
expect "--job shelf-0.json --report no" "notes.txt"

[ $failures -eq 0 ] && echo "completion ok"
exit $((failures > 0))
