#!/usr/bin/env bash
# Renders sample lines in the digit font to a PNG, for a look at the glyphs:
#     bash resources/fonts/render_sample.sh [out.png] [font.ttf]
# Needs ImageMagick (which draws TrueType outlines through FreeType).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
out=${1:-/tmp/ds-digit-sample.png}
font=${2:-$here/DS-DIGIT.TTF}

lines=("00:12:59" "0123456789" "12:45 AM  7:05 pm" "31/12/2024  -1,5.")
args=()
for line in "${lines[@]}"; do
    args+=(-font "$font" -pointsize 120 -fill '#FF8000' -background black "label:$line")
done
args+=(-font "$font" -pointsize 28 -fill '#FF8000' -background black "label:00:12:59 small")

convert "${args[@]}" -bordercolor black -border 20 -append "$out"
echo "$out"
