# Reporting for the desktop test scripts: each check prints PASS or FAIL and the script
# ends by looking at `failures`. Sourced, not run.
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
pass() { echo "PASS: $*"; }
