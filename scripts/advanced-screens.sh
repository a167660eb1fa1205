#!/usr/bin/env bash
# Photographs the advanced front end's dialogs and the open colour palette
# under Wine: main.png, palette.png, options.png, action.png and
# action-unfolded.png in the given folder (default: <build>/screens).
#   scripts/advanced-screens.sh <build tree> [folder]
set -euo pipefail
build=$(cd "$1" && pwd)
out=${2:-$build/screens}
mkdir -p "$out"
stages=$(mktemp -d)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$build"
BREVALO_SHOT_DIR="Z:${stages//\//\\}" BREVALO_FRESH_PREFIX=screens BREVALO_WINE_TIMEOUT=90 \
    "$here/wine-run.sh" bin/advanced_dialogs_test.exe --gtest_also_run_disabled_tests \
    --gtest_filter='*Showcase*' >"$stages.log" 2>&1 &
runner=$!
display=":$(cat "$build/wine/xvfb.display" 2>/dev/null || echo 0)"
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
rm -rf "$stages" "$stages.log"
