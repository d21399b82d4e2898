#!/usr/bin/env bash
# Writes a picture of the window for every look and every page:
#   tools/gallery.sh DIR [build folder]
# DIR/LOOK-N-PAGE.png, e.g. DIR/macos-3-lan-mmx.png, through zd7240-helper --grab (no
# display needed). Builds the two programs first when the build folder lacks them.
set -euo pipefail

if [ $# -lt 1 ] || [ "$1" = "-h" ] || [ "$1" = "--help" ]; then
    echo "Usage: tools/gallery.sh DIR [build folder]" >&2
    exit 64
fi
out=$1
root=$(cd "$(dirname "$0")/.." && pwd)
build=${2:-$root/build}
helper=$build/bin/zd7240-helper
gen=$build/bin/zd7240-gen

if [ ! -x "$helper" ] || [ ! -x "$gen" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target zd7240-helper zd7240-gen
fi
mkdir -p "$out"

# The pages in tab order, by slug.
mapfile -t slugs < <("$gen" --list | cut -f1)
looks=(MacOS WinXP DeepBlue Protein BlueGlass)
count=0
for look in "${looks[@]}"; do
    for page in "${!slugs[@]}"; do
        file="$out/${look,,}-$page-${slugs[$page]}.png"
        "$helper" --look "$look" --page "$page" --grab "$file"
        count=$((count + 1))
    done
done
echo "$count pictures in $out"
