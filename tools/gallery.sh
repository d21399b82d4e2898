#!/usr/bin/env bash
# Writes a picture of the window for every look and every page, and of its message
# window and its open "Help" menu in every look and from a theme file:
#   tools/gallery.sh DIR [build folder]
# DIR/LOOK-N-PAGE.png, e.g. DIR/macos-3-lan-mmx.png; DIR/LOOK-dialog.png, the "Warning"
# of "Make file" with an empty field; DIR/LOOK-menu.png, the window with "Help" open; and
# the same three (page 0) as DIR/theme-*.png for a theme file written by
# zd7240-theme export WinXP. Through zd7240-helper --grab, --grab-dialog and --grab-menu
# (no display needed). Builds the programs first when the build folder lacks them.
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
themer=$build/bin/zd7240-theme

if [ ! -x "$helper" ] || [ ! -x "$gen" ] || [ ! -x "$themer" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target zd7240-helper zd7240-gen zd7240-theme
fi
mkdir -p "$out"

# The pages in tab order, by slug.
mapfile -t slugs < <("$gen" --list | cut -f1)
looks=(MacOS WinXP DeepBlue Protein BlueGlass)
count=0
for look in "${looks[@]}"; do
    name=${look,,}
    for page in "${!slugs[@]}"; do
        file="$out/$name-$page-${slugs[$page]}.png"
        if [ "$page" -eq 0 ]; then
            "$helper" --look "$look" --grab "$file" \
                --grab-dialog "$out/$name-dialog.png" --grab-menu "$out/$name-menu.png"
            count=$((count + 3))
        else
            "$helper" --look "$look" --page "$page" --grab "$file"
            count=$((count + 1))
        fi
    done
done

theme=$(mktemp --suffix=.theme)
trap 'rm -f "$theme"' EXIT
"$themer" export WinXP "$theme"
"$helper" --theme "$theme" --grab "$out/theme-0-${slugs[0]}.png" \
    --grab-dialog "$out/theme-dialog.png" --grab-menu "$out/theme-menu.png"
count=$((count + 3))
echo "$count pictures in $out"
