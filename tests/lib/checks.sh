# Shared by the desktop test scripts: each check prints PASS or FAIL and the script ends
# by looking at `failures`; wait_until polls for a state. Sourced, not run.
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
pass() { echo "PASS: $*"; }

# Runs the command until it succeeds or `seconds` have passed.
wait_until() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        ((SECONDS >= deadline)) && return 1
        sleep 0.05
    done
}
