#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
# Runs apt-get as root, through sudo when started as another user.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-qpa-plugins libgl-dev
    libgtest-dev libgmock-dev googletest
    nlohmann-json3-dev
    fonts-dejavu-core fonts-wine
    xvfb xauth openbox xdotool xclip x11-utils jq
    at-spi2-core dbus libglib2.0-bin
    weston qt6-wayland
    clang libclang-rt-14-dev clang-format clang-tidy
    bc
    dpkg-dev file
)
if [ "${1:-}" = "--print" ]; then
    printf '%s\n' "${packages[@]}"
    exit 0
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
