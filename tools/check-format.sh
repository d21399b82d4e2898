#!/usr/bin/env bash
# Fails, listing the files, when a C++ file of the tree is not formatted as .clang-format
# says. Run from anywhere; CI runs it before the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "clang-format is not installed" >&2; exit 1; }
mapfile -t files < <(git ls-files '*.cpp' '*.h')
bad=()
for file in "${files[@]}"; do
    clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || bad+=("$file")
done
if [ "${#bad[@]}" -gt 0 ]; then
    printf 'not formatted (clang-format -i FILE):\n' >&2
    printf '  %s\n' "${bad[@]}" >&2
    exit 1
fi
echo "format: ${#files[@]} files as .clang-format says"
