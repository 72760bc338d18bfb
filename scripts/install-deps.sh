#!/usr/bin/env bash
# Installs everything Zedezuze builds and tests with on Debian 12. Does nothing (and needs no
# network) when every package is already present.
set -euo pipefail

packages=(
    g++
    cmake
    ninja-build
    ccache
    pkg-config
    qt6-base-dev
    qt6-svg-dev
    libgl-dev
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    clang-14
    clang-format-14
    libclang-rt-14-dev
    xvfb
    fonts-droid-fallback
    xdotool
    imagemagick
    python3
    libxml2-utils
    dbus-daemon
    at-spi2-core
    python3-gi
    gir1.2-atspi-2.0
    dpkg-dev
    help2man
    desktop-file-utils
    appstream
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    if [[ "$status" != "installed" ]]; then
        missing+=("$package")
    fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
    echo "install-deps: all ${#packages[@]} packages present"
    exit 0
fi

echo "install-deps: missing: ${missing[*]}"

runAsRoot=()
if [[ $(id -u) -ne 0 ]]; then
    if command -v sudo >/dev/null 2>&1; then
        runAsRoot=(sudo)
    else
        echo "install-deps: not root and no sudo; install the packages above as root" >&2
        exit 1
    fi
fi

aptGet=("${runAsRoot[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -q -y)
"${aptGet[@]}" update
"${aptGet[@]}" install --no-install-recommends "${missing[@]}"
echo "install-deps: installed ${#missing[@]} package(s)"
