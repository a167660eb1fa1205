#!/usr/bin/env bash
# Builds Brevalo.exe, the baseline and the benchmark driver of each flavour
# this machine runs, runs the driver under Wine (a fresh prefix and the build
# tree's private display) and prints the results as Markdown.
#
#   bench/run.sh [--out FILE] [--loaded] [BUILD_TREE]
#
#   BUILD_TREE     one cross build tree to measure (a tree whose name ends in
#                  64 is made as a 64-bit Release tree when missing, any other
#                  as a 32-bit one). Default: build/win (the shipped 32-bit
#                  flavour) where this machine runs 32-bit programs, and
#                  build/win64 (64-bit) unless BREVALO_WINE_ARCH=win32;
#                  $BREVALO_BUILD names one tree instead.
#   --out FILE     also write the Markdown to FILE
#   --loaded       the machine is busy with other work on purpose: start-up is
#                  judged against the loaded target
#   BENCH_ARGS     extra driver options, e.g. "--runs 5 --cpu-seconds 10
#                  --seconds 10 --timers 5" for a quick look (defaults: 20
#                  runs, 60 s of counting, 60 seconds timed, 50 timers)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=""
loaded=0
trees=()
[ -z "${BREVALO_BUILD:-}" ] || trees=("$BREVALO_BUILD")
while [ $# -gt 0 ]; do
    case $1 in
    --out) out=${2:?--out needs a file}; shift ;;
    --out=*) out=${1#--out=} ;;
    --loaded) loaded=1 ;;
    -*) echo "usage: bench/run.sh [--out FILE] [--loaded] [BUILD_TREE]" >&2; exit 2 ;;
    *) trees=("$1") ;;
    esac
    shift
done
[ -z "$out" ] || out=$(realpath -m "$out")

if [ ${#trees[@]} -eq 0 ]; then
    # shellcheck source=../scripts/wine-arch.sh
    . "$top/scripts/wine-arch.sh"
    if [ "${BREVALO_WINE_ARCH:-}" != win64 ] && wine_arch_runs_32bit; then
        trees+=("$top/build/win")
    fi
    [ "${BREVALO_WINE_ARCH:-}" = win32 ] || trees+=("$top/build/win64")
fi

# One flavour: builds its tree and prints its report.
measure() {
    local tree=$1 triple flavour
    case $(basename "$tree") in
    *64) triple=x86_64-w64-mingw32 flavour=x64 ;;
    *) triple=i686-w64-mingw32 flavour=x86 ;;
    esac
    if [ ! -f "$tree/CMakeCache.txt" ]; then
        local toolchain=$top/cmake/mingw-i686.cmake
        [ $flavour = x86 ] || toolchain=$top/cmake/mingw-x86_64.cmake
        cmake -S "$top" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
    fi
    cmake --build "$tree" -j2 --target Brevalo bench_baseline bench_driver >&2
    tree=$(cd "$tree" && pwd -P)

    local exe=$tree/bin/Brevalo.exe stripped=no
    if $triple-nm "$exe" 2>&1 | grep -q "no symbols"; then stripped=yes; fi
    local build_type cpu_model load_before load_after started wine_version result
    build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$tree/CMakeCache.txt")
    cpu_model=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
    load_before=$(cut -d' ' -f1-3 /proc/loadavg)
    started=$(date -u '+%Y-%m-%d %H:%M UTC')

    # The driver prints the table on standard output and its progress on
    # standard error; a fresh prefix gives both programs a clean registry.
    result=$(mktemp)
    # shellcheck disable=SC2086 # BENCH_ARGS is a list of options
    (cd "$tree" && BREVALO_FRESH_PREFIX=bench "$top/scripts/wine-run.sh" --timeout=1800 \
        bin/bench_driver.exe --loaded $loaded ${BENCH_ARGS:-}) | tr -d '\r' >"$result"
    load_after=$(cut -d' ' -f1-3 /proc/loadavg)
    wine_version=$(wine --version 2>/dev/null || echo unknown)

    echo "### $flavour: run of $started$([ $loaded = 1 ] && echo ', on a loaded machine')"
    echo
    echo "- Machine: $(nproc) cores ($cpu_model)," \
        "load average before $load_before, after $load_after"
    echo "- Wine: $wine_version, Xvfb 1280x1024x24, no window manager"
    echo "- Build: $build_type $flavour, Brevalo.exe $(stat -c %s "$exe") bytes, stripped: $stripped"
    local defaults="defaults (20 completion runs per program, 60 s of counting, 60 seconds timed, 50 timers)"
    echo "- Driver options: ${BENCH_ARGS:-$defaults}"
    echo
    cat "$result"
    echo
    rm -f "$result"
}

report=$(mktemp)
trap 'rm -f "$report"' EXIT
for tree in "${trees[@]}"; do
    measure "$tree" | tee -a "$report"
done
[ -z "$out" ] || cp "$report" "$out"
