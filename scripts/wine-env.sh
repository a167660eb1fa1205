#!/usr/bin/env bash
# Sourced by the scripts that run Windows programs. Gives them a Wine prefix
# inside the build tree and a private Xvfb display, both created on first use
# and shared by the runs of one build tree; nothing outside the build tree is
# touched.
#
#   BREVALO_WINE_ROOT  folder that holds the prefixes and the display state
#                      (default: <build tree>/wine)

wine_env_die() {
    echo "wine-env: $*" >&2
    exit 1
}

# The folder that holds everything Wine-related of one build tree.
wine_env_root() {
    if [ -n "${BREVALO_WINE_ROOT:-}" ]; then
        echo "$BREVALO_WINE_ROOT"
        return
    fi
    local dir
    dir=$(pwd -P)
    while [ "$dir" != "/" ]; do
        if [ -f "$dir/CMakeCache.txt" ]; then
            echo "$dir/wine"
            return
        fi
        dir=$(dirname "$dir")
    done
    wine_env_die "no build tree above $(pwd); set BREVALO_WINE_ROOT"
}

export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win32
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}

# Starts (once) the private X server of this build tree and exports DISPLAY.
wine_env_display() {
    local root=$1 state="$1/xvfb"
    if [ -f "$state.pid" ] && kill -0 "$(cat "$state.pid")" 2>/dev/null && [ -f "$state.display" ]; then
        export DISPLAY=":$(cat "$state.display")"
        return
    fi
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do
        n=$((n + 1))
    done
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >"$state.log" 2>&1 &
    echo $! >"$state.pid"
    echo "$n" >"$state.display"
    local i
    for i in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.05
    done
    export DISPLAY=":$n"
}

# Makes (once) the template prefix: a fresh win32 prefix with the crash dialog
# off, no window-manager waits and the caption-glyph font.
wine_env_template() {
    local template=$1/template
    [ -f "$template/.ready" ] && return
    rm -rf "$template"
    mkdir -p "$template"
    WINEPREFIX=$template wineboot -i </dev/null >/dev/null 2>&1 || wine_env_die "wineboot failed"
    WINEPREFIX=$template wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        </dev/null >/dev/null 2>&1
    WINEPREFIX=$template wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
        </dev/null >/dev/null 2>&1
    WINEPREFIX=$template wineserver -w
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        cp /usr/share/wine/fonts/marlett.ttf "$template/drive_c/windows/Fonts/"
    fi
    touch "$template/.ready"
}

# Copies a prefix cheaply: the files are hard links to the template's (Wine
# replaces a file it rewrites, it does not write into it), except the registry
# hives, which are real copies.
clone_prefix() {
    local from=$1 to=$2 hive
    cp -al "$from" "$to"
    for hive in "$from"/*.reg; do
        cp --remove-destination "$hive" "$to/$(basename "$hive")"
    done
    # Per-prefix state of the server must not be shared either.
    rm -f "$to/wineserver"
}

# Sets WINEPREFIX for a run. With a name, the run gets its own fresh copy of
# the template (a clean registry and file system); without, the shared prefix.
wine_env_prefix() {
    local root=$1 name=${2:-}
    if [ "$name" = auto ]; then
        name="auto.$$.$RANDOM"
        BREVALO_AUTO_PREFIX=1
    fi
    if [ -n "$name" ]; then
        local prefix="$root/runs/$name"
        WINEPREFIX=$prefix wineserver -k </dev/null >/dev/null 2>&1 || true
        WINEPREFIX=$prefix wineserver -w </dev/null >/dev/null 2>&1 || true
        rm -rf "$prefix"
        mkdir -p "$root/runs"
        clone_prefix "$root/template" "$prefix"
        export WINEPREFIX=$prefix
    else
        if [ ! -f "$root/shared/.ready" ]; then
            rm -rf "$root/shared"
            clone_prefix "$root/template" "$root/shared"
        fi
        export WINEPREFIX=$root/shared
    fi
    # A persistent server makes the runs in the shared prefix start faster.
    if [ -z "$name" ]; then
        wineserver -p </dev/null >/dev/null 2>&1 || true
    fi
}

# Sets the screen DPI of the prefix in WINEPREFIX, for programs started
# afterwards. Wine takes LogPixels from the user's desktop settings first and
# from the machine's current hardware profile (Software\Fonts) without them.
wine_env_dpi() {
    local dpi=$1
    case $dpi in
    '' | *[!0-9]*) wine_env_die "DPI must be a whole number: $dpi" ;;
    esac
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        </dev/null >/dev/null 2>&1 || wine_env_die "cannot set LogPixels"
}

# Prepares root, display and template under a lock, so parallel runs share them.
wine_env_prepare() {
    local root=$1
    mkdir -p "$root"
    exec 9>"$root/.lock"
    flock 9
    wine_env_display "$root"
    wine_env_template "$root"
    if [ -z "${BREVALO_FRESH_PREFIX:-}" ] && [ ! -f "$root/shared/.ready" ]; then
        wine_env_prefix "$root" >/dev/null
    fi
    flock -u 9
    exec 9>&-
}
