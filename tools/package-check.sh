#!/usr/bin/env bash
# Builds the Debian package from an existing build folder, installs it with apt-get as
# a user would, starts the installed programs from their installed paths, and removes
# the package again.
#   tools/package-check.sh [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

(cd "$build" && rm -f zd7240-helper_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/zd7240-helper_*.deb)
echo "built $deb"
dpkg-deb -f "$deb" Depends Recommends Suggests
dpkg-deb -f "$deb" Recommends | grep -q bash-completion ||
    { echo "the package does not recommend bash-completion" >&2; exit 1; }
# What the package holds (minimal images may keep dpkg from unpacking man pages and
# documentation, so these are checked in the package, not on disk).
contents=$(dpkg-deb -c "$deb")
for f in usr/bin/zd7240-gen usr/bin/zd7240-helper usr/bin/zd7240-theme \
    usr/share/applications/zd7240-helper.desktop \
    usr/share/icons/hicolor/48x48/apps/zd7240-helper.png \
    usr/share/bash-completion/completions/zd7240-gen usr/share/man/man1/zd7240-gen.1 \
    usr/share/man/man1/zd7240-theme.1 usr/share/doc/zd7240-helper/job-format.md; do
    grep -q " \./$f\$" <<<"$contents" || { echo "the package lacks /$f" >&2; exit 1; }
done

$sudo apt-get install -y -qq "./$deb" >/dev/null
trap '$sudo apt-get remove -y -qq zd7240-helper >/dev/null' EXIT

/usr/bin/zd7240-gen --version
/usr/bin/zd7240-theme --help >/dev/null
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate /usr/share/applications/zd7240-helper.desktop
fi

out=$(mktemp -d)
trap 'rm -rf "$out"; $sudo apt-get remove -y -qq zd7240-helper >/dev/null' EXIT
# The window's own picture mode lays it out without a display.
/usr/bin/zd7240-helper --grab "$out/out.png" 2>/dev/null
file "$out/out.png" | grep -q 'PNG image data'
/usr/bin/zd7240-gen --job examples/chassis-0.json --strict --dry-run >/dev/null
# A plain install brings bash-completion along, which finds the completion by itself.
if [ -r /usr/share/bash-completion/bash_completion ]; then
    bash -c '. /usr/share/bash-completion/bash_completion && _completion_loader zd7240-gen;
        complete -p zd7240-gen' | grep -q _zd7240_gen ||
        { echo "bash-completion does not find the completion of zd7240-gen" >&2; exit 1; }
fi
echo "installed package works"
