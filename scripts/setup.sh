#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine.
# Idempotent: packages already present are left alone, and apt is only
# consulted when something is missing. Both flavours of the program are always
# built; of Wine, only what this machine runs is installed (scripts/wine-arch.sh):
# the 32-bit Wine where 32-bit programs execute, else the 64-bit one alone.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wine-arch.sh
. "$here/wine-arch.sh"
arch=$(wine_arch_choose)

PACKAGES=(
    cmake ninja-build g++ make pkg-config
    libgtest-dev libgmock-dev googletest
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 fonts-wine
    xvfb xauth x11-utils imagemagick
    python3 python3-fonttools
    clang libclang-rt-14-dev
    sox lame dpkg-dev
)
if [ "$arch" = win32 ]; then
    PACKAGES+=(wine32:i386)
fi

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

updated=0
apt_update() {
    if [ "$updated" -eq 0 ]; then
        as_root apt-get update -qq
        updated=1
    fi
}

# wine32 needs the i386 architecture.
if [ "$arch" = win32 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    updated=0
fi

# Source entries, for the libraries that are cross-built from Debian's sources.
if ! grep -rqs '^Types: deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
            as_root tee /etc/apt/sources.list.d/brevalo-src.sources >/dev/null
        updated=0
    fi
fi

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$p")
    fi
done

if [ "${#missing[@]}" -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    apt_update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
echo "setup: all packages present (Wine: $arch)"
