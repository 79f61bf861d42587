#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, only those missing.
# Service packages (avahi-daemon, dbus) are installed without starting their daemons:
# tests run their own copies inside private namespaces.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config ccache dpkg-dev
    libgtest-dev libgmock-dev
    libwebkit2gtk-4.1-dev libgtk-3-dev libfreetype-dev libfontconfig1-dev
    libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxext-dev libxcomposite-dev
    libjpeg-dev libpng-dev zlib1g-dev libcurl4-openssl-dev libasound2-dev
    xvfb xauth x11-utils xdotool imagemagick
    iproute2 util-linux python3 clang-format
    libavahi-compat-libdnssd-dev avahi-daemon avahi-utils dbus-daemon
    nodejs chromium zip
    clang-14 libclang-rt-14-dev llvm-14
    librsvg2-bin desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}" >&2
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
export DEBIAN_FRONTEND=noninteractive
# Keep package scripts from starting daemons outside the tests' namespaces.
policy=/usr/sbin/policy-rc.d
created_policy=0
if [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' | $sudo tee "$policy" >/dev/null
    $sudo chmod +x "$policy"
    created_policy=1
fi
trap '[ $created_policy -eq 1 ] && $sudo rm -f "$policy"' EXIT
$sudo apt-get -q update >&2 || true
$sudo apt-get -q install -y --no-install-recommends "${missing[@]}" >&2
