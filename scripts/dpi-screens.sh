#!/usr/bin/env bash
# Photographs the program at 96 and at 144 DPI under Wine, for checking by
# eye that the dialogs and the timer scale: the advanced dialog, the wizard
# (without and with its tip window) and a running timer started from
# Brevalo.exe, and the advanced dialog's companions and colour palette from
# the dialog showcase test. Writes <dpi>/<name>.png under the output folder
# (default build/screenshots/dpi).
#   scripts/dpi-screens.sh [build tree] [output folder]
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$top/build/win}" && pwd)
out=$(mkdir -p "${2:-$top/build/screenshots/dpi}" && cd "${2:-$top/build/screenshots/dpi}" && pwd)
exe=$build/bin/Brevalo.exe
[ -f "$exe" ] || { echo "dpi-screens: no $exe" >&2; exit 1; }
export BREVALO_WINE_ROOT=$build/wine
# shellcheck source=wine-env.sh
. "$top/scripts/wine-env.sh"
root=$BREVALO_WINE_ROOT
wine_env_prepare "$root"
wine_env_display "$root"

# shot <dpi> <name> <wizard mode 0/1> <tips 0/1> [arguments]: starts the
# program in a fresh prefix at that DPI, photographs the screen once it has
# settled and ends it.
shot() {
    local dpi=$1 name=$2 wizard=$3 tips=$4
    shift 4
    (
        wine_env_prefix "$root" "dpi-$name-$dpi"
        wine_env_dpi "$dpi"
        wine reg add 'HKCU\Software\Orsenic Software\Brevalo' /v WizardMode /t REG_DWORD \
            /d "$wizard" /f </dev/null >/dev/null 2>&1
        local settings="$WINEPREFIX/drive_c/ProgramData/Orsenic Software/Velloro"
        mkdir -p "$settings"
        printf '[Settings]\r\nTips=%s\r\n' "$tips" >"$settings/settings.ini"
        wine "$exe" "$@" </dev/null >/dev/null 2>&1 &
        local program=$!
        sleep "${BREVALO_SHOT_DELAY:-6}"
        import -display "$DISPLAY" -window root "$out/$dpi/$name.png"
        kill "$program" 2>/dev/null || true
        wineserver -k </dev/null >/dev/null 2>&1 || true
        wineserver -w </dev/null >/dev/null 2>&1 || true
        wait "$program" 2>/dev/null || true
        wine_env_remove "$WINEPREFIX"
    )
    echo "$out/$dpi/$name.png"
}

for dpi in 96 144; do
    mkdir -p "$out/$dpi"
    shot "$dpi" advanced 0 1
    shot "$dpi" wizard 1 0
    shot "$dpi" wizard-tip 1 1
    shot "$dpi" timer 1 1 /q300 /cTea
    if [ -f "$build/bin/advanced_dialogs_test.exe" ]; then
        BREVALO_WINE_DPI=$dpi bash "$top/scripts/advanced-screens.sh" "$build" "$out/$dpi"
    fi
done
