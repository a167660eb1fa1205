#!/usr/bin/env bash
# Ends the Wine servers and the private X server of one build tree's Wine
# folder (the processes these scripts started; nothing else).
#   wine-stop.sh <wine folder>
set -uo pipefail
root=${1:?usage: wine-stop.sh <wine folder>}
for prefix in "$root/shared" "$root/template" "$root"/runs/*; do
    [ -d "$prefix" ] || continue
    WINEPREFIX=$prefix wineserver -k </dev/null >/dev/null 2>&1 || true
done
if [ -f "$root/xvfb.pid" ]; then
    pid=$(cat "$root/xvfb.pid")
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
    fi
    rm -f "$root/xvfb.pid"
fi
