#!/usr/bin/env bash
# Checks that a man page and a program's --help name the same options (and, for a
# program with commands, the same commands), so that neither falls behind the other.
#   tools/check-manpages.sh PROGRAM MANPAGE [PROGRAM MANPAGE ...]
set -euo pipefail

# Option words (-o, --dry-run) in text: a dash not preceded by a letter, digit or dash.
options() { grep -oE -- '(^|[^A-Za-z0-9-])--?[A-Za-z][A-Za-z-]*' | sed -E 's/^[^-]//' | sort -u; }
# Commands: the first word of a "  word ARGS" line under "Commands:" in --help, and the
# items of the COMMANDS section of the page.
help_commands() { sed -n '/^Commands:/,/^$/p' | sed -nE 's/^  ([a-z]+)( |$).*/\1/p' | sort -u; }
man_commands() { sed -n '/^\.SH COMMANDS/,/^\.SH [^C]/p' | sed -nE 's/^\.BI? "?([a-z]+).*/\1/p' | sort -u; }
# The page's text with its escapes undone: \- is a dash, \fB and the like are fonts.
plain() { sed -E 's/\\-/-/g; s/\\f[BIRP]//g; s/\\\(..//g' "$1"; }

status=0
while [ $# -ge 2 ]; do
    program=$1 page=$2
    shift 2
    # Only the text counts (a sanitizer build may end with its own status).
    help=$(QT_QPA_PLATFORM=offscreen "$program" --help 2>/dev/null || true)
    [ -n "$help" ] || { echo "$program --help printed nothing" >&2; status=1; continue; }
    name=$(basename "$page")
    for kind in options commands; do
        if [ $kind = options ]; then
            from_help=$(options <<<"$help")
            from_page=$(plain "$page" | options)
        else
            from_help=$(help_commands <<<"$help")
            from_page=$(man_commands <"$page")
        fi
        missing=$(comm -23 <(echo "$from_help") <(echo "$from_page"))
        extra=$(comm -13 <(echo "$from_help") <(echo "$from_page"))
        if [ -n "$missing" ]; then
            echo "$name lacks $kind of --help: $(echo $missing)" >&2
            status=1
        fi
        if [ -n "$extra" ]; then
            echo "$name has $kind --help does not: $(echo $extra)" >&2
            status=1
        fi
    done
done
[ $status -eq 0 ] && echo "man pages match --help"
exit $status
