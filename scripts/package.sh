#!/usr/bin/env bash
# Builds the release archives of the checked-out commit into dist/:
#   Brevalo-<version>-x86.zip   the 32-bit Brevalo.exe and README.txt
#   Brevalo-<version>-x64.zip   the 64-bit Brevalo.exe and README.txt
#   SHA256SUMS                  their checksums (sha256sum -c SHA256SUMS)
# The version is project(VERSION) in CMakeLists.txt. Each flavour is built
# (Release) in a tree of its own, build/package-x86 and build/package-x64, so
# the test trees are left alone.
#
# The same commit gives byte-identical archives: the executables are built
# reproducibly (cmake/Reproducible.cmake), and scripts/zip-files.py writes the
# entries in a fixed order with the commit's time. SOURCE_DATE_EPOCH, when
# set, replaces the commit's time.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${BREVALO_JOBS:-$(nproc)}
bash "$top/scripts/setup.sh" >/dev/null

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$top" log -1 --format=%ct 2>/dev/null || true)
    [ -n "$SOURCE_DATE_EPOCH" ] || {
        echo "package: not a git checkout; set SOURCE_DATE_EPOCH" >&2
        exit 2
    }
fi
export SOURCE_DATE_EPOCH
if [ -n "$(git -C "$top" status --porcelain --untracked-files=no 2>/dev/null)" ]; then
    echo "package: warning: uncommitted changes; the archives are not those of $(git -C "$top" rev-parse --short HEAD)" >&2
fi

# flavour:toolchain:PE form
flavours=(x86:mingw-i686:PE32 x64:mingw-x86_64:PE32+)
version=
for entry in "${flavours[@]}"; do
    IFS=: read -r flavour toolchain form <<<"$entry"
    tree=$top/build/package-$flavour
    # --fresh: the flags a toolchain file gives (CMAKE_<LANG>_FLAGS_INIT) only
    # reach a new cache, so the cache is made anew each time; Ninja still
    # rebuilds only what changed.
    cmake --fresh -S "$top" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$toolchain.cmake" >/dev/null
    cmake --build "$tree" -j "$jobs" --target Brevalo >/dev/null
    python3 "$top/scripts/check_pe.py" --want "$form" --load-imports "$top/docs/PERFORMANCE.md" \
        "$tree/bin/Brevalo.exe" >/dev/null || { echo "package: $tree/bin/Brevalo.exe fails its form check" >&2; exit 1; }
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$tree/CMakeCache.txt")
    [ -n "$version" ] || { echo "package: no project version in $tree" >&2; exit 1; }
done

dist=$top/dist
rm -rf "$dist"
mkdir -p "$dist"
for entry in "${flavours[@]}"; do
    flavour=${entry%%:*}
    tree=$top/build/package-$flavour
    python3 "$top/scripts/zip-files.py" "$dist/Brevalo-$version-$flavour.zip" \
        "Brevalo.exe=$tree/bin/Brevalo.exe" "README.txt=$tree/resources/README.txt"
done
(cd "$dist" && sha256sum -- *.zip >SHA256SUMS)
echo "package: $dist"
(cd "$dist" && cat SHA256SUMS)
