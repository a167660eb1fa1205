#!/usr/bin/env bash
# Runs one Windows program under Wine, isolated in the build tree's prefix and
# on its private display, with a time limit. CTest uses it as the emulator.
#
#   --fresh, BREVALO_FRESH_PREFIX=name  run in a fresh copy of the template
#                                       prefix (name "auto": a new one, removed
#                                       after the run)
#   --timeout=s, BREVALO_WINE_TIMEOUT=s  time limit in seconds (default 120)
#   --dpi=n, BREVALO_WINE_DPI=n          screen DPI (Wine's LogPixels) for the
#                                       run; needs a fresh prefix and makes
#                                       one ("auto") when none is named
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"

# Options before the program (CTest passes them as part of the emulator).
while [ $# -gt 0 ]; do
    case $1 in
    --fresh) export BREVALO_FRESH_PREFIX=${BREVALO_FRESH_PREFIX:-auto} ;;
    --timeout=*) export BREVALO_WINE_TIMEOUT=${1#--timeout=} ;;
    --dpi=*) export BREVALO_WINE_DPI=${1#--dpi=} ;;
    *) break ;;
    esac
    shift
done
[ $# -ge 1 ] || wine_env_die "usage: wine-run.sh [--fresh] [--timeout=s] [--dpi=n] program.exe [arguments...]"
[ -f "$1" ] || wine_env_die "no program $1"
# The shared prefix keeps the normal DPI: another DPI only in a prefix of its own.
if [ -n "${BREVALO_WINE_DPI:-}" ]; then
    export BREVALO_FRESH_PREFIX=${BREVALO_FRESH_PREFIX:-auto}
fi

root=$(wine_env_root)
wine_env_prepare "$root"
wine_env_display "$root"
wine_env_prefix "$root" "${BREVALO_FRESH_PREFIX:-}"
if [ -n "${BREVALO_WINE_DPI:-}" ]; then
    wine_env_dpi "$BREVALO_WINE_DPI"
fi

# Wine's background services inherit the output of the run that starts them
# and outlive it; giving them a file instead of our caller's pipe keeps a
# caller that reads to the end of the pipe from waiting for them.
mkdir -p "$root/tmp"
out=$(mktemp "$root/tmp/run.XXXXXX")
timeout -k 5 "${BREVALO_WINE_TIMEOUT:-120}" wine "$@" >"$out.1" 2>"$out.2"
rc=$?
cat "$out.1"
cat "$out.2" >&2
rm -f "$out" "$out.1" "$out.2"
if [ -n "${BREVALO_FRESH_PREFIX:-}" ]; then
    # Wine finds a prefix's server by the folder's inode: the server must be
    # gone before the folder is, or a later prefix could reuse the inode and
    # meet the old server (and its registry).
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
    # A prefix made for this run alone is of no further use.
    if [ -n "${BREVALO_AUTO_PREFIX:-}" ] && [ -z "${BREVALO_KEEP_PREFIX:-}" ]; then
        wine_env_remove "$WINEPREFIX"
    fi
fi
if [ $rc -eq 124 ] || [ $rc -eq 137 ]; then
    echo "wine-run: $1 did not finish within ${BREVALO_WINE_TIMEOUT:-120} s" >&2
fi
exit $rc
