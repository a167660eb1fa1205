#!/usr/bin/env bash
# Builds both trees: build/native (the core and its tests, with sanitizers)
# and build/win (Brevalo.exe and the Windows-side tests, cross-compiled).
#   scripts/build.sh [native|win]...   (default: both)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${BREVALO_JOBS:-$(nproc)}
trees=("$@")
[ ${#trees[@]} -gt 0 ] || trees=(native win)

for tree in "${trees[@]}"; do
    case $tree in
    native)
        cmake -S "$top" -B "$top/build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
        cmake --build "$top/build/native" -j "$jobs"
        ;;
    win)
        cmake -S "$top" -B "$top/build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" >/dev/null
        cmake --build "$top/build/win" -j "$jobs"
        ;;
    *)
        echo "build: unknown tree $tree" >&2
        exit 2
        ;;
    esac
done
