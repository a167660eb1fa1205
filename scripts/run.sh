#!/usr/bin/env bash
# Runs Brevalo.exe under Wine with the given arguments: none opens the front
# end, switches start a timer, e.g.  scripts/run.sh /q300 /c"Tea"
# With a display the program runs there until closed. Without one it runs on a
# private Xvfb for a few seconds (BREVALO_RUN_SECONDS, default 6), saves a
# screenshot and prints its path.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$top/scripts/setup.sh" >/dev/null
if [ ! -f "$top/build/win/bin/Brevalo.exe" ] || [ -n "$(find "$top"/{core,gui,os,timer,frontend,controls,resources} -newer "$top/build/win/bin/Brevalo.exe" -print -quit)" ]; then
    bash "$top/scripts/build.sh" win >/dev/null
fi
exe=$top/build/win/bin/Brevalo.exe
export BREVALO_WINE_ROOT=$top/build/win/wine
. "$top/scripts/wine-env.sh"

if [ -n "${DISPLAY:-}" ] && [ -z "${BREVALO_HEADLESS:-}" ]; then
    wine_env_prepare "$BREVALO_WINE_ROOT"
    wine_env_prefix "$BREVALO_WINE_ROOT"
    exec wine "$exe" "$@"
fi

wine_env_prepare "$BREVALO_WINE_ROOT"
wine_env_display "$BREVALO_WINE_ROOT"
wine_env_prefix "$BREVALO_WINE_ROOT"
wine "$exe" "$@" </dev/null >/dev/null 2>&1 &
pid=$!
sleep "${BREVALO_RUN_SECONDS:-6}"
mkdir -p "$top/build/screenshots"
shot=$top/build/screenshots/brevalo-$(date +%Y%m%d-%H%M%S).png
import -display "$DISPLAY" -window root "$shot"
kill "$pid" 2>/dev/null || true
wineserver -k >/dev/null 2>&1 || true
bash "$top/scripts/wine-stop.sh" "$BREVALO_WINE_ROOT"
echo "$shot"
