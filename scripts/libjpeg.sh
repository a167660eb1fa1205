#!/usr/bin/env bash
# Cross-builds libjpeg-turbo as a static library for Windows from Debian's
# source package and installs it into a cache outside the build trees, so that
# clean clones, repeated builds and CI reuse it. Each flavour (32-bit i686,
# 64-bit x86-64) has its own build in the cache.
#
#   scripts/libjpeg.sh [toolchain file]   build when missing; prints the install
#                                         prefix (default: cmake/mingw-i686.cmake)
#
#   BREVALO_CACHE   cache folder (default: /var/cache/brevalo when writable,
#                   else ${XDG_CACHE_HOME:-$HOME/.cache}/brevalo)
#
# Idempotent: when the cache holds a build made with the same toolchain file,
# it only prints the prefix. Debian's patches are applied by dpkg-source -x.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
toolchain=$(realpath "${1:-$top/cmake/mingw-i686.cmake}")
[ -f "$toolchain" ] || { echo "libjpeg: no toolchain file $toolchain" >&2; exit 1; }
# The target triple, as the toolchain file names it (i686-w64-mingw32).
triple=$(sed -nE 's/^set\(BREVALO_MINGW_TRIPLE ([a-z0-9_]+-w64-mingw32)\).*/\1/p' "$toolchain")
[ -n "$triple" ] || { echo "libjpeg: no BREVALO_MINGW_TRIPLE in $toolchain" >&2; exit 1; }

die() {
    echo "libjpeg: $*" >&2
    exit 1
}

cache_root() {
    if [ -n "${BREVALO_CACHE:-}" ]; then
        echo "$BREVALO_CACHE"
    elif mkdir -p /var/cache/brevalo 2>/dev/null && [ -w /var/cache/brevalo ]; then
        echo /var/cache/brevalo
    else
        echo "${XDG_CACHE_HOME:-$HOME/.cache}/brevalo"
    fi
}

cache=$(cache_root)/libjpeg-turbo
# What the build depends on: the toolchain, its shared body and this script.
want=$(cat "$toolchain" "$(dirname "$toolchain")/mingw-common.cmake" "${BASH_SOURCE[0]}" |
    sha256sum | cut -d' ' -f1)
# One prefix per recipe, so trees configured from different versions of
# this script or the toolchain can build side by side.
prefix=$cache/$triple-${want:0:12}
stamp=$prefix/.built-with

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
    echo "$prefix"
    exit 0
fi

mkdir -p "$cache"
# One build at a time (the source download is shared): parallel configures of
# several build trees wait here.
exec 9>"$cache/.lock"
flock 9
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
    echo "$prefix"
    exit 0
fi

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

command -v dpkg-source >/dev/null || die "dpkg-source is missing (package dpkg-dev)"

# The source package, downloaded once.
sources=$cache/sources
mkdir -p "$sources"
if ! ls "$sources"/libjpeg-turbo_*.dsc >/dev/null 2>&1; then
    echo "libjpeg: downloading Debian's libjpeg-turbo source package" >&2
    if ! (cd "$sources" && apt-get source --download-only -qq libjpeg-turbo >&2); then
        # The source index may not have been fetched since the deb-src entry
        # was added.
        as_root apt-get update -qq >&2
        (cd "$sources" && apt-get source --download-only -qq libjpeg-turbo >&2) ||
            die "apt-get source failed; is a deb-src entry configured (scripts/setup.sh adds one)?"
    fi
fi
dsc=$(ls "$sources"/libjpeg-turbo_*.dsc | sort -V | tail -1)

work=$prefix.work
rm -rf "$work"
mkdir -p "$work"
echo "libjpeg: unpacking $(basename "$dsc")" >&2
dpkg-source --no-check -x "$dsc" "$work/src" >/dev/null

echo "libjpeg: building for $triple" >&2
# For size: each function in a section of its own (the linker drops what
# the program never calls: the encoder's half, the colour quantisers), no
# reading of the JPEGMEM variable (which brings in the C library's scanf),
# the system's printf for the error texts rather than a second one linked
# in, and no SIMD (which ties every encoder and decoder routine together; the
# program decodes a few small pictures). Errors leave the library by
# longjmp, never by a C++ exception, so 32-bit code needs no unwind tables;
# 64-bit Windows unwinds through the frames for longjmp itself.
cflags="-ffunction-sections -fdata-sections -DNO_GETENV -DNO_PUTENV -D__USE_MINGW_ANSI_STDIO=0"
case $triple in
i686-*) cflags+=" -fno-asynchronous-unwind-tables" ;;
esac
staging=$prefix.staging
rm -rf "$staging"
cmake -S "$work/src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_C_FLAGS="$cflags" \
    -DCMAKE_INSTALL_PREFIX="$staging" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_SIMD=OFF -DWITH_ARITH_ENC=OFF \
    -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF \
    -DCMAKE_POSITION_INDEPENDENT_CODE=OFF -Wno-dev >/dev/null
cmake --build "$work/build" -j "${BREVALO_JOBS:-2}" >/dev/null
cmake --install "$work/build" >/dev/null

echo "$want" >"$staging/.built-with"
rm -rf "$prefix"
mv "$staging" "$prefix"
rm -rf "$work"
echo "$prefix"
