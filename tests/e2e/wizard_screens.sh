#!/usr/bin/env bash
# Saves pictures of every wizard page and of the tip window as PNG files, for
# looking at: runs the e2e_wizard_screens tool (built with the end-to-end
# tests, not run by CTest) under Wine and converts what it saved.
#
#   tests/e2e/wizard_screens.sh <build tree> [output folder]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "${1:?usage: wizard_screens.sh <build tree> [output folder]}" && pwd)
out=$(mkdir -p "${2:-$build/wizard-screens}" && cd "${2:-$build/wizard-screens}" && pwd)
rm -f "$out"/*.bmp "$out"/*.png
cd "$build"
BREVALO_SHOTS="Z:${out//\//\\}" BREVALO_FRESH_PREFIX=auto \
    "$here/../../scripts/wine-run.sh" bin/e2e_wizard_screens.exe
for picture in "$out"/*.bmp; do
    convert "$picture" "${picture%.bmp}.png"
    rm -f "$picture"
done
ls "$out"
