#!/usr/bin/env bash
# Checks the form of a built Brevalo.exe without running it: the PE flavour
# (PE32 for i686, PE32+ for x86-64), the GUI subsystem, and imports of
# Windows' own DLLs only (the C++ runtime is linked in).
#   scripts/check-exe.sh <exe> <PE32|PE32+>
# Prints one line and exits non-zero when anything is off.
set -uo pipefail
exe=${1:?usage: check-exe.sh <exe> <PE32|PE32+>}
want=${2:?usage: check-exe.sh <exe> <PE32|PE32+>}

# DLLs that every supported Windows carries in its system folder.
system_dlls=(advapi32.dll comctl32.dll comdlg32.dll dwmapi.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll
    ole32.dll oleacc.dll oleaut32.dll shell32.dll shlwapi.dll urlmon.dll user32.dll uxtheme.dll
    version.dll wininet.dll winmm.dll ws2_32.dll)

[ -f "$exe" ] || { echo "form: $exe is missing"; exit 1; }
headers=$(objdump -p "$exe" 2>&1) || { echo "form: objdump cannot read $exe"; exit 1; }
problems=()
magic=$(sed -nE 's/^Magic[[:space:]]+[0-9a-f]+[[:space:]]+\((PE32\+?)\)$/\1/p' <<<"$headers")
[ "$magic" = "$want" ] || problems+=("is ${magic:-not PE}, not $want")
grep -qE '^Subsystem[[:space:]]+00000002' <<<"$headers" || problems+=("is not a GUI program")
imports=$(sed -nE 's/^[[:space:]]*DLL Name: (.*)$/\1/p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
[ -n "$imports" ] || problems+=("imports nothing")
for dll in $imports; do
    case " ${system_dlls[*]} " in
    *" $dll "*) ;;
    *) problems+=("imports $dll") ;;
    esac
done
if [ ${#problems[@]} -gt 0 ]; then
    (IFS=';'; echo "form: $exe: ${problems[*]}")
    exit 1
fi
echo "form: $exe is $want, GUI, imports $(echo $imports | tr ' ' ',')"
