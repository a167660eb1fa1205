#!/usr/bin/env bash
# Photographs the advanced front end's dialogs and the open colour palette
# under Wine: main.png, palette.png, options.png, action.png and
# action-unfolded.png in the given folder (default: <build>/screens).
#   scripts/advanced-screens.sh <build tree> [folder]
set -euo pipefail
build=$(cd "$1" && pwd)
out=${2:-$build/screens}
mkdir -p "$out"
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# The stage files and the run's log live in a folder of the build tree that
# goes on every exit, as does a run still going.
mkdir -p "$build/tmp"
work=$(mktemp -d "$build/tmp/screens.XXXXXX")
stages=$work/stages
mkdir "$stages"
runner=""
cleanup() {
    if [ -n "$runner" ] && kill -0 "$runner" 2>/dev/null; then
        kill "$runner" 2>/dev/null || true
        wait "$runner" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
cd "$build"
BREVALO_SHOT_DIR="Z:${stages//\//\\}" BREVALO_FRESH_PREFIX=screens BREVALO_WINE_TIMEOUT=90 \
    "$here/wine-run.sh" bin/advanced_dialogs_test.exe --gtest_also_run_disabled_tests \
    --gtest_filter='*Showcase*' >"$work/run.log" 2>&1 &
runner=$!
# The run starts the tree's X server and writes its number; wait for it.
for _ in $(seq 1 600); do
    [ -s "$build/wine/xvfb.display" ] && break
    kill -0 "$runner" 2>/dev/null || break
    sleep 0.1
done
if [ ! -s "$build/wine/xvfb.display" ]; then
    echo "advanced-screens: the run started no display" >&2
    tail -5 "$work/run.log" >&2
    exit 1
fi
display=":$(cat "$build/wine/xvfb.display")"
taken=0
while kill -0 "$runner" 2>/dev/null && [ $taken -lt 5 ]; do
    for stage in "$stages"/*; do
        [ -f "$stage" ] || continue
        sleep 1 # let the window paint
        name=$(basename "$stage")
        DISPLAY=$display import -window root "$out/$name.png"
        rm -f "$stage"
        taken=$((taken + 1))
        echo "$out/$name.png"
    done
    sleep 0.2
done
wait "$runner" || true
runner=""
