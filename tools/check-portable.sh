#!/usr/bin/env bash
# Keeps the system's own calls in base/: the window (app/, skin/) and the generator core
# build for any system Qt and a C++20 compiler reach, so they include no POSIX header
# (unistd.h, fcntl.h, sys/...) and make no raw descriptor call (::open, ::read, ::write,
# ::close). The command line (cli/) and the tools (tools/) still make such calls and are
# not checked until they move behind base/.
#   tools/check-portable.sh
set -euo pipefail
cd "$(dirname "$0")/.."

pattern='#\s*include\s*<(unistd\.h|fcntl\.h|sys/[^>]*|dirent\.h|termios\.h)>|(^|[^A-Za-z0-9_.>])::(open|read|write|close)\s*\('
found=$(grep -rnE --include='*.h' --include='*.cpp' "$pattern" app skin generator || true)
if [ -n "$found" ]; then
    echo "system calls outside base/ (move them behind base/):" >&2
    echo "$found" >&2
    exit 1
fi
echo "portable: app/, skin/ and generator/ make no system call of their own"
