#!/usr/bin/env bash
# Runs Brevalo.exe under Wine with the given arguments: none opens the front
# end, switches start a timer, e.g.  scripts/run.sh /q300 /c"Tea"
# It runs the flavour this machine can run (BREVALO_WINE_ARCH forces one).
# With a display the program runs there until closed. Without one it runs on a
# private Xvfb for a few seconds (BREVALO_RUN_SECONDS, default 6), saves a
# screenshot and prints its path.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$top/scripts/setup.sh" >/dev/null
# The flavour this machine runs (scripts/wine-arch.sh): the shipped 32-bit
# program where 32-bit programs execute, else the 64-bit one.
. "$top/scripts/wine-arch.sh"
tree=win
[ "$(wine_arch_choose)" = win64 ] && tree=win64
exe=$top/build/$tree/bin/Brevalo.exe
if [ ! -f "$exe" ] || [ -n "$(find "$top"/{core,base,gui,os,timer,frontend,controls,resources} -newer "$exe" -print -quit)" ]; then
    bash "$top/scripts/build.sh" "$tree:Brevalo" >/dev/null
fi
export BREVALO_WINE_ROOT=$top/build/$tree/wine
. "$top/scripts/wine-env.sh"

if [ -n "${DISPLAY:-}" ] && [ -z "${BREVALO_HEADLESS:-}" ]; then
    BREVALO_KEEP_DISPLAY=1 wine_env_prepare "$BREVALO_WINE_ROOT"
    wine_env_prefix "$BREVALO_WINE_ROOT"
    exec wine "$exe" "$@"
fi

# Whatever step fails, the program, its Wine servers and the private X
# server go when this script does.
pid=""
stop() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    # Only the prefix this script chose: without one, wineserver would
    # pick the user's own.
    [ -z "${WINEPREFIX:-}" ] || wineserver -k >/dev/null 2>&1 || true
    bash "$top/scripts/wine-stop.sh" "$BREVALO_WINE_ROOT"
}
trap stop EXIT
wine_env_prepare "$BREVALO_WINE_ROOT"
wine_env_display "$BREVALO_WINE_ROOT"
wine_env_prefix "$BREVALO_WINE_ROOT"
wine "$exe" "$@" </dev/null >/dev/null 2>&1 &
pid=$!
sleep "${BREVALO_RUN_SECONDS:-6}"
mkdir -p "$top/build/screenshots"
shot=$top/build/screenshots/brevalo-$(date +%Y%m%d-%H%M%S).png
import -display "$DISPLAY" -window root "$shot"
echo "$shot"
