#!/usr/bin/env bash
# Runs the checks of .clang-tidy over the sources of a build folder's compile database.
# By default only the Qt-free libraries and programs (base/, generator/, cli/), which
# take about a minute; `all` adds skin/, app/, tools/, tests/ and bench/ (much longer,
# Qt's headers are parsed for every file).
#   tools/check-tidy.sh [build folder, default build] [all]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
folders='base/|generator/|cli/'
[ "${2:-}" = all ] && folders='base/|generator/|cli/|skin/|app/|tools/|tests/|bench/'
[ -f "$build/compile_commands.json" ] || { echo "no $build/compile_commands.json: configure first" >&2; exit 1; }
files=$(python3 - "$build/compile_commands.json" "$PWD" "$folders" <<'PY'
import json, re, sys
root = sys.argv[2] + "/"
pattern = re.compile("^(" + sys.argv[3] + ")")
for entry in json.load(open(sys.argv[1])):
    name = entry["file"]
    if name.startswith(root) and pattern.match(name[len(root):]) and "/fuzz/" not in name:
        print(name)
PY
)
files=$(sort -u <<<"$files")
[ -n "$files" ] || { echo "no sources to check" >&2; exit 1; }
# --quiet keeps only the findings; a finding is an error (WarningsAsErrors in .clang-tidy).
xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet <<<"$files" 2>/dev/null
echo "clang-tidy: $(wc -l <<<"$files") files clean"
