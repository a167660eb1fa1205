#!/usr/bin/env bash
# Builds Brevalo.exe, the baseline and the benchmark driver, runs the driver
# under Wine (a fresh prefix and the build tree's private display) and prints
# the results as Markdown.
#
#   bench/run.sh [--out FILE] [BUILD_TREE]
#
#   BUILD_TREE     cross build tree (default: $BREVALO_BUILD or build/win); made
#                  as a Release tree when it does not exist yet
#   --out FILE     also write the Markdown to FILE
#   BENCH_ARGS     extra driver options, e.g. "--runs 5 --cpu-seconds 10"
#                  for a quick look (defaults: 20 runs, 60 s of counting)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=""
tree=${BREVALO_BUILD:-$top/build/win}
while [ $# -gt 0 ]; do
    case $1 in
    --out) out=${2:?--out needs a file}; shift ;;
    --out=*) out=${1#--out=} ;;
    -*) echo "usage: bench/run.sh [--out FILE] [BUILD_TREE]" >&2; exit 2 ;;
    *) tree=$1 ;;
    esac
    shift
done
[ -z "$out" ] || out=$(realpath -m "$out")

if [ ! -f "$tree/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" >/dev/null
fi
cmake --build "$tree" -j2 --target Brevalo bench_baseline bench_driver >&2
tree=$(cd "$tree" && pwd -P)

exe=$tree/bin/Brevalo.exe
if i686-w64-mingw32-nm "$exe" 2>&1 | grep -q "no symbols"; then
    stripped=yes
else
    stripped=no
fi
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$tree/CMakeCache.txt")
cpu_model=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
started=$(date -u '+%Y-%m-%d %H:%M UTC')

# The driver prints the table on standard output and its progress on
# standard error; a fresh prefix gives both programs a clean registry.
result=$(mktemp)
trap 'rm -f "$result"' EXIT
# shellcheck disable=SC2086 # BENCH_ARGS is a list of options
(cd "$tree" && BREVALO_FRESH_PREFIX=bench "$top/scripts/wine-run.sh" --timeout=900 \
    bin/bench_driver.exe ${BENCH_ARGS:-}) | tr -d '\r' >"$result"
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
wine_version=$(wine --version 2>/dev/null || echo unknown)

report() {
    echo "### Run of $started"
    echo
    echo "- Machine: $(nproc) cores ($cpu_model)," \
        "load average before $load_before, after $load_after"
    echo "- Wine: $wine_version, Xvfb 1280x1024x24, no window manager"
    echo "- Build: $build_type, Brevalo.exe $(stat -c %s "$exe") bytes, stripped: $stripped"
    local defaults="defaults (20 completion runs per program, 60 s of counting)"
    echo "- Driver options: ${BENCH_ARGS:-$defaults}"
    echo
    cat "$result"
}
if [ -n "$out" ]; then
    report | tee "$out"
else
    report
fi
