#!/usr/bin/env bash
# Makes the README's pictures in docs/images: a running timer, the wizard's
# first page and the advanced dialog, each taken under Wine on a private Xvfb.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$top/docs/images
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each picture is the whole (black) screen cut to the window on it.
trim() { convert "$1" -bordercolor black -border 1 -fuzz 2% -trim +repage "$2"; }

shot=$(env -u DISPLAY BREVALO_RUN_SECONDS=5 bash "$top/scripts/run.sh" /q3725 /cTea | tail -1)
trim "$shot" "$out/timer.png"

bash "$top/tests/e2e/wizard_screens.sh" "$top/build/win" "$work/wizard" >/dev/null
trim "$work/wizard/page0.png" "$out/wizard.png"

bash "$top/scripts/advanced-screens.sh" "$top/build/win" "$work/advanced" >/dev/null
trim "$work/advanced/main.png" "$out/advanced.png"
ls -la "$out"
