#!/usr/bin/env bash
# Builds the trees:
#   native  build/native: the core and its tests, with sanitizers
#   win     build/win:    the shipped 32-bit Brevalo.exe (i686) and the
#                         Windows-side tests, cross-compiled
#   win64   build/win64:  the same for 64-bit Windows (x86-64)
#   scripts/build.sh [tree[:target,...]]...   (default: native win)
# With targets, only those are built in that tree (win64:Brevalo).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${BREVALO_JOBS:-$(nproc)}
trees=("$@")
[ ${#trees[@]} -gt 0 ] || trees=(native win)

for spec in "${trees[@]}"; do
    tree=${spec%%:*}
    targets=()
    if [ "$spec" != "$tree" ]; then
        IFS=, read -r -a names <<<"${spec#*:}"
        for name in "${names[@]}"; do targets+=(--target "$name"); done
    fi
    case $tree in
    native) options=(-DCMAKE_BUILD_TYPE=Debug) ;;
    win) options=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake") ;;
    win64) options=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-x86_64.cmake") ;;
    *)
        echo "build: unknown tree $tree" >&2
        exit 2
        ;;
    esac
    cmake -S "$top" -B "$top/build/$tree" -G Ninja "${options[@]}" >/dev/null
    cmake --build "$top/build/$tree" -j "$jobs" "${targets[@]}"
done
