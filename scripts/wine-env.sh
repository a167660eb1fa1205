#!/usr/bin/env bash
# Sourced by the scripts that run Windows programs. Gives them a Wine prefix
# inside the build tree and a private Xvfb display, both created on first use
# and shared by the runs of one build tree; nothing outside the build tree is
# touched.
#
# The build tree decides the Wine: a 32-bit tree runs under the 32-bit loader
# in a win32 prefix, a 64-bit tree under the 64-bit loader in a win64 prefix.
# Either loader is called directly, never through /usr/bin/wine, which picks
# the 32-bit loader whenever it is installed, even where it cannot start.
#
#   BREVALO_WINE_ROOT  folder that holds the prefixes and the display state
#                      (default: <build tree>/wine)
#   BREVALO_WINE_ARCH  win32 or win64: the Wine the caller asked for; a tree
#                      of the other flavour is refused
#   WINELOADER         the loader to use (default: Debian's for the flavour)
#   BREVALO_KEEP_DISPLAY  set: use the caller's DISPLAY, start no Xvfb
#   BREVALO_WINE_WOW64 set: a win64 prefix in which 32-bit programs run too,
#                      as on 64-bit Windows (needs a machine that runs both;
#                      keep its root apart from the guarded win64 one)

_wine_env_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wine-arch.sh
. "$_wine_env_here/wine-arch.sh"

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

# The flavour of the build tree that holds `root`: win64 for a tree made with
# the x86-64 toolchain, win32 for the i686 one; without a tree, the machine's.
wine_env_tree_arch() {
    local dir=$1
    while [ "$dir" != "/" ] && [ ! -f "$dir/CMakeCache.txt" ]; do
        dir=$(dirname "$dir")
    done
    if [ -f "$dir/CMakeCache.txt" ]; then
        if grep -q '^CMAKE_TOOLCHAIN_FILE:[A-Z]*=.*x86_64' "$dir/CMakeCache.txt"; then
            echo win64
        else
            echo win32
        fi
    else
        wine_arch_choose
    fi
}

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}

# Chooses the Wine of the build tree under `root` and puts commands for it
# first on PATH ($root/bin): `wine` and `wine-stable` run the flavour's
# loader, `wineboot` runs wineboot.exe through it.
#
# A win64 prefix would still start the 32-bit loader where it is installed
# and can run (wineboot does, for its 32-bit half, and so would any 32-bit
# program). So every 64-bit run starts in a mount namespace of its own in
# which /usr/lib/wine/wine is a guard that refuses and records the attempt
# (32-bit-starts.log): a win64 run never starts a 32-bit Wine process, on
# any machine. Child processes inherit the namespace.
wine_env_use() {
    local root=$1 arch
    arch=$(wine_env_tree_arch "$root") || exit 1
    if [ -n "${BREVALO_WINE_ARCH:-}" ] && [ "$BREVALO_WINE_ARCH" != "$arch" ]; then
        wine_env_die "$root belongs to a $arch build tree, but BREVALO_WINE_ARCH=$BREVALO_WINE_ARCH"
    fi
    if [ "$arch" = win32 ] && ! wine_arch_runs_32bit; then
        wine_env_die "$root belongs to a 32-bit build tree, and this machine cannot execute 32-bit programs"
    fi
    if [ -n "${BREVALO_WINE_WOW64:-}" ]; then
        [ "$arch" = win64 ] || wine_env_die "BREVALO_WINE_WOW64 needs the root of a 64-bit build tree, not $root"
        [ "${BREVALO_WINE_ARCH:-}" != win64 ] ||
            wine_env_die "BREVALO_WINE_WOW64 would start 32-bit Wine, but BREVALO_WINE_ARCH=win64"
        wine_arch_runs_32bit || wine_env_die "BREVALO_WINE_WOW64: this machine cannot execute 32-bit programs"
    fi
    local default=/usr/lib/wine/wine
    [ "$arch" = win64 ] && default=/usr/lib/wine/wine64
    export WINELOADER=${WINELOADER:-$default}
    [ -x "$WINELOADER" ] ||
        wine_env_die "the $arch Wine loader $WINELOADER is missing or not executable (scripts/setup.sh installs it)"
    mkdir -p "$root/bin"
    local run="exec \"$WINELOADER\""
    if [ "$arch" = win64 ] && [ -e /usr/lib/wine/wine ] && [ -z "${BREVALO_WINE_WOW64:-}" ]; then
        {
            echo '#!/bin/sh'
            echo "printf '%s refused: %s\\n' \"\$(date '+%F %T')\" \"\$*\" >>\"$root/32-bit-starts.log\""
            echo 'echo "wine-env: a win64 run does not start 32-bit Wine: $*" >&2'
            echo 'exit 1'
        } >"$root/bin/refuse-32-bit"
        chmod +x "$root/bin/refuse-32-bit"
        if unshare --mount --propagation private true 2>/dev/null; then
            run="exec unshare --mount --propagation private sh -c"
            run+=" 'mount --bind \"\$0\" /usr/lib/wine/wine && exec \"\$@\"'"
            run+=" \"$root/bin/refuse-32-bit\" \"$WINELOADER\""
        else
            echo "wine-env: cannot make a mount namespace here; 32-bit Wine is not kept out of win64 runs" >&2
        fi
    fi
    local name
    for name in wine wine-stable; do
        printf '#!/bin/sh\n%s "$@"\n' "$run" >"$root/bin/$name"
    done
    printf '#!/bin/sh\n%s wineboot.exe "$@"\n' "$run" >"$root/bin/wineboot"
    chmod +x "$root/bin/wine" "$root/bin/wine-stable" "$root/bin/wineboot"
    case ":$PATH:" in
    *":$root/bin:"*) ;;
    *) export PATH="$root/bin:$PATH" ;;
    esac
    export WINEARCH=$arch
}

# Every folder these scripts make under the root carries this marker, and only
# a folder that carries it is ever deleted: a root named by the caller may
# hold anything else.
wine_env_mark() {
    : >"$1/.brevalo-made"
}

# Deletes a folder these scripts made (see wine_env_mark); refuses any other.
wine_env_remove() {
    local dir=$1
    [ -e "$dir" ] || return 0
    [ -f "$dir/.brevalo-made" ] || wine_env_die "refusing to delete $dir: these scripts did not make it"
    rm -rf -- "$dir"
}

# A prefix name is a plain file name: no folder part, not "." or "..".
wine_env_check_name() {
    case $1 in
    '' | . | .. | *[!A-Za-z0-9._-]*) wine_env_die "not a plain prefix name: '$1'" ;;
    esac
}

# The last lines of a log, on one line each after the reason.
wine_env_fail_with_log() {
    local reason=$1 log=$2
    {
        echo "wine-env: $reason (log: $log)"
        [ -s "$log" ] && tail -n 5 "$log" | sed 's/^/  | /'
    } >&2
    exit 1
}

# Starts (once) the private X server of this build tree and exports DISPLAY.
wine_env_display() {
    local root=$1 state="$1/xvfb"
    if [ -f "$state.pid" ] && kill -0 "$(cat "$state.pid")" 2>/dev/null && [ -f "$state.display" ] &&
        [ -e "/tmp/.X11-unix/X$(cat "$state.display")" ]; then
        export DISPLAY=":$(cat "$state.display")"
        return
    fi
    command -v Xvfb >/dev/null || wine_env_die "Xvfb is missing (scripts/setup.sh installs it)"
    rm -f "$state.pid" "$state.display"
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do
        n=$((n + 1))
    done
    # The server outlives this script: it must not hold the script's lock.
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >"$state.log" 2>&1 9>&- &
    local pid=$! i
    for i in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    if [ ! -e "/tmp/.X11-unix/X$n" ]; then
        kill "$pid" 2>/dev/null || true
        wine_env_fail_with_log "the X server :$n did not start" "$state.log"
    fi
    echo "$pid" >"$state.pid"
    echo "$n" >"$state.display"
    export DISPLAY=":$n"
}

# Makes (once) the template prefix: a fresh prefix of the tree's flavour with
# the crash dialog off, no window-manager waits and the caption-glyph font.
# A prefix that cannot be made is removed again, so the next run starts over.
wine_env_template() {
    local root=$1 template=$1/template log=$1/template.log
    [ -f "$template/.ready" ] && [ "$(cat "$template/.ready")" = "$WINEARCH" ] && return
    WINEPREFIX=$template wineserver -k </dev/null >/dev/null 2>&1 9>&- || true
    wine_env_remove "$template"
    mkdir -p "$template"
    wine_env_mark "$template"
    : >"$log"
    local rc=0
    WINEPREFIX=$template timeout -k 5 "${BREVALO_WINEBOOT_TIMEOUT:-180}" wineboot -i \
        </dev/null >>"$log" 2>&1 9>&- || rc=$?
    if [ $rc -eq 0 ]; then
        WINEPREFIX=$template wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            </dev/null >>"$log" 2>&1 9>&- &&
            WINEPREFIX=$template wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
                </dev/null >>"$log" 2>&1 9>&- || rc=$?
    fi
    WINEPREFIX=$template timeout -k 5 60 wineserver -w </dev/null >>"$log" 2>&1 9>&- || true
    # The server writes the registry when it ends.
    if [ $rc -eq 0 ] && [ ! -f "$template/system.reg" ]; then
        echo "wine-env: wineboot wrote no registry" >>"$log"
        rc=1
    fi
    if [ $rc -ne 0 ]; then
        WINEPREFIX=$template wineserver -k </dev/null >/dev/null 2>&1 9>&- || true
        wine_env_remove "$template"
        wine_env_fail_with_log "cannot make the $WINEARCH prefix: wineboot with $WINELOADER failed (exit $rc)" "$log"
    fi
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        cp /usr/share/wine/fonts/marlett.ttf "$template/drive_c/windows/Fonts/"
    fi
    echo "$WINEARCH" >"$template/.ready"
}

# Copies a prefix cheaply: the files are hard links to the template's (Wine
# replaces a file it rewrites, it does not write into it), except the registry
# hives, which are real copies.
clone_prefix() {
    local from=$1 to=$2 hive
    cp -al "$from" "$to"
    wine_env_mark "$to"
    for hive in "$from"/*.reg; do
        cp --remove-destination "$hive" "$to/$(basename "$hive")"
    done
    # Per-prefix state of the server must not be shared either.
    rm -f "$to/wineserver" "$to/.ready"
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
        wine_env_check_name "$name"
        local prefix="$root/runs/$name"
        WINEPREFIX=$prefix wineserver -k </dev/null >/dev/null 2>&1 9>&- || true
        WINEPREFIX=$prefix wineserver -w </dev/null >/dev/null 2>&1 9>&- || true
        wine_env_remove "$prefix"
        mkdir -p "$root/runs"
        clone_prefix "$root/template" "$prefix"
        export WINEPREFIX=$prefix
    else
        if [ ! -f "$root/shared/.ready" ]; then
            wine_env_remove "$root/shared"
            clone_prefix "$root/template" "$root/shared"
            touch "$root/shared/.ready"
        fi
        export WINEPREFIX=$root/shared
    fi
    # A persistent server makes the runs in the shared prefix start faster.
    if [ -z "$name" ]; then
        wineserver -p </dev/null >/dev/null 2>&1 9>&- || true
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

# Chooses the Wine and prepares root, display and template under a lock, so
# parallel runs share them. A run that cannot get the lock in time (another
# one hangs while setting up) gives up instead of waiting for ever.
wine_env_prepare() {
    local root=$1
    mkdir -p "$root"
    wine_env_use "$root"
    exec 9>"$root/.lock"
    flock -w "${BREVALO_WINE_LOCK_TIMEOUT:-300}" 9 ||
        wine_env_die "another run has held $root/.lock for ${BREVALO_WINE_LOCK_TIMEOUT:-300} s"
    # A caller that runs on its own display (run.sh on a desktop) keeps it.
    [ -n "${BREVALO_KEEP_DISPLAY:-}" ] || wine_env_display "$root"
    wine_env_template "$root"
    if [ -z "${BREVALO_FRESH_PREFIX:-}" ] && [ ! -f "$root/shared/.ready" ]; then
        wine_env_prefix "$root" >/dev/null
    fi
    flock -u 9
    exec 9>&-
}
