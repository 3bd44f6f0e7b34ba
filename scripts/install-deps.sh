#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests, the demo and the Debian package
# need, when missing.
set -euo pipefail
packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev ccache
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webengine-dev-tools qt6-httpserver-dev
    qt6-websockets-dev libgl-dev qt6-image-formats-plugins libexiv2-dev libimage-exiftool-perl
    xvfb xauth imagemagick fonts-noto-cjk curl
    desktop-file-utils appstream lintian dpkg-dev file
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    echo "installing: ${missing[*]}"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
