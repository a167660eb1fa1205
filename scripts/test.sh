#!/usr/bin/env bash
# Runs every test tier and prints a summary:
#   1. native tests of the core (AddressSanitizer, UndefinedBehaviorSanitizer)
#   2. Windows-side tests of the components, under Wine
#   3. end-to-end tests: a driver starts Brevalo.exe and looks at it from outside
#   4. fuzzing of the switch grammar and the text readers (about a minute)
# Installs what is missing first (scripts/setup.sh).
#
# Which flavour the Wine tiers run on (scripts/wine-arch.sh):
#   - where 32-bit programs execute: every tier on the shipped 32-bit program,
#     the end-to-end tier on the 64-bit one as well, and the registry-view
#     tests of the 32-bit program in a 64-bit prefix, as on 64-bit Windows;
#   - where only 64-bit programs run, or BREVALO_WINE_ARCH=win64: every tier on
#     the 64-bit program; the 32-bit programs are built and their form checked,
#     and the summary says that the 32-bit tiers did not run;
#   - BREVALO_WINE_ARCH=win32: every tier on the 32-bit program; the 64-bit
#     programs are built and their form checked.
# The form of every built program of both flavours is checked on every machine.
set -uo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
# shellcheck source=wine-arch.sh
. scripts/wine-arch.sh

bash scripts/setup.sh || exit 1
arch=$(wine_arch_choose) || exit 1

# The trees whose programs run under Wine, and the one only checked for form.
case $arch in
win32)
    main_tree=win main_label="x86, 32-bit Wine"
    if [ -z "${BREVALO_WINE_ARCH:-}" ]; then
        extra_tree=win64 form_tree=""
    else
        extra_tree="" form_tree=win64
    fi
    ;;
win64) main_tree=win64 main_label="x64, 64-bit Wine" extra_tree="" form_tree=win ;;
esac
echo "test: Wine $arch; Windows tiers on build/$main_tree${extra_tree:+, end-to-end also on build/$extra_tree}${form_tree:+; build/$form_tree form only}"

builds=(native "$main_tree")
[ -z "$extra_tree" ] || builds+=("$extra_tree")
[ -z "$form_tree" ] || builds+=("$form_tree")
bash scripts/build.sh "${builds[@]}" || exit 1

log_dir=$top/build/test-logs
mkdir -p "$log_dir"
status=0
passed_total=0
failed_total=0

# count <name> <passed> <failed>: adds a tier's counts to the summary.
count() {
    printf '%s: %d passed, %d failed\n' "$1" "$2" "$3"
    passed_total=$((passed_total + $2))
    failed_total=$((failed_total + $3))
    [ "$3" -eq 0 ] || status=1
}

# run_tier <name> <ctest arguments...>
run_tier() {
    local name=$1
    shift
    local log=$log_dir/${name// /-}.log
    echo "== $name"
    ctest --output-on-failure "$@" 2>&1 | tee "$log" | grep -E '^ *[0-9]+/[0-9]+ Test|tests passed|\*\*\*|Failed|wine-env:' || true
    local line passed failed total
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
    if [ -z "$line" ]; then
        echo "$name: no test ran" >&2
        status=1
        return
    fi
    failed=$(sed -E 's/.*, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.*, ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((total - failed))
    count "$name" "$passed" "$failed"
}

# wine_tiers <tree> <label> <labels...>: the Wine tiers of one tree.
wine_tiers() {
    local tree=$1 label=$2
    shift 2
    local tier
    for tier in "$@"; do
        # Under Wine on a loaded machine a window or class occasionally fails
        # to come up; such a case gets one more try, and the log keeps the
        # failed attempt.
        case $tier in
        windows) run_tier "windows ($label)" --test-dir "build/$tree" -j 2 -L windows --repeat until-pass:2 ;;
        e2e) run_tier "end-to-end ($label)" --test-dir "build/$tree" -j 2 -L e2e --repeat until-pass:2 ;;
        esac
    done
    local root=$top/build/$tree/wine
    # The guard keeps 32-bit Wine out of a win64 run; what it refused (the
    # 32-bit half of wineboot, where 32-bit Wine is installed) never ran.
    if [ -s "$root/32-bit-starts.log" ]; then
        echo "test: $(wc -l <"$root/32-bit-starts.log") start(s) of 32-bit Wine refused in the $label run (see $root/32-bit-starts.log)"
    fi
    bash scripts/wine-stop.sh "$root"
}

run_tier "native (host)" --test-dir build/native -j "$(nproc)"
# A win64 run never starts 32-bit Wine: the guard records every attempt it
# refused, in a fresh record per run.
for tree in "$main_tree" $extra_tree; do
    rm -f "build/$tree/wine/32-bit-starts.log"
done
wine_tiers "$main_tree" "$main_label" windows e2e
if [ -n "$extra_tree" ]; then
    wine_tiers "$extra_tree" "x64, 64-bit Wine" e2e
    # Where the flavours must differ: a 32-bit process on 64-bit Windows sees
    # the 32-bit registry view. Its own root, as its prefix runs 32-bit Wine.
    echo "== registry view (x86 on x64, 64-bit Wine with 32-bit programs)"
    wow_root=$top/build/$extra_tree/wine-wow64
    wow_log=$log_dir/registry-view.log
    BREVALO_WINE_ROOT=$wow_root BREVALO_WINE_WOW64=1 bash scripts/wine-run.sh --fresh \
        "build/$main_tree/bin/os_test.exe" --gtest_filter='RegistryView.*' >"$wow_log" 2>&1
    wow_passed=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\..*/\1/p' "$wow_log")
    wow_failed=$(sed -nE 's/^ *([0-9]+) FAILED TESTS?$/\1/p' "$wow_log")
    if [ -z "$wow_passed$wow_failed" ]; then
        tail -5 "$wow_log"
        count "registry view" 0 1
    else
        count "registry view" "${wow_passed:-0}" "${wow_failed:-0}"
    fi
    bash scripts/wine-stop.sh "$wow_root"
fi
# The form of every program built, of both flavours, read from the files
# without running them: a fault that only shows when a flavour runs (a
# delay-import slot that holds 0, an import that should be delay-loaded) is
# caught here on any machine. The checker's own tests come first.
echo "== form (static, both flavours)"
form_log=$log_dir/form.log
python3 -m unittest tests/form/check_pe_test.py >"$form_log" 2>&1
unit_total=$(sed -nE 's/^Ran ([0-9]+) tests? .*/\1/p' "$form_log")
if grep -qx 'OK' "$form_log" && [ -n "$unit_total" ]; then
    count "form checker" "$unit_total" 0
else
    tail -20 "$form_log"
    count "form checker" 0 "${unit_total:-1}"
fi
for tree in win win64; do
    [ -d "build/$tree/bin" ] || continue
    want=PE32
    [ "$tree" = win64 ] && want=PE32+
    python3 scripts/check_pe.py --want "$want" --load-imports docs/PERFORMANCE.md "build/$tree/bin/"*.exe \
        >"$log_dir/form-$tree.log" 2>&1
    grep -vE ' is PE32\+?, ' "$log_dir/form-$tree.log" | grep -v '^form: [0-9]* passed' || true
    line=$(grep -E '^form: [0-9]+ passed, [0-9]+ failed$' "$log_dir/form-$tree.log" | tail -1)
    if [ -z "$line" ]; then
        tail -5 "$log_dir/form-$tree.log"
        count "form (build/$tree)" 0 1
    else
        count "form (build/$tree, $want)" "$(sed -E 's/^form: ([0-9]+) passed.*/\1/' <<<"$line")" \
            "$(sed -E 's/.*, ([0-9]+) failed$/\1/' <<<"$line")"
    fi
done

# 4. coverage-guided fuzzing of the text readers, a bounded time each
echo "== fuzz (host)"
fuzz_log=$log_dir/fuzz.log
bash scripts/fuzz.sh 2>&1 | tee "$fuzz_log" | grep -E '^fuzz:' || true
fuzz_line=$(grep -E '^fuzz: [0-9]+ passed, [0-9]+ failed' "$fuzz_log" | tail -1)
if [ -z "$fuzz_line" ]; then
    echo "fuzz: did not run" >&2
    status=1
else
    fuzz_passed=$(sed -E 's/^fuzz: ([0-9]+) passed, ([0-9]+) failed.*/\1/' <<<"$fuzz_line")
    fuzz_failed=$(sed -E 's/^fuzz: ([0-9]+) passed, ([0-9]+) failed.*/\2/' <<<"$fuzz_line")
    passed_total=$((passed_total + fuzz_passed))
    failed_total=$((failed_total + fuzz_failed))
    [ "$fuzz_failed" -eq 0 ] || status=1
fi

# Which flavours ran, on a line of its own, so that a summary never reads as
# complete when the shipped 32-bit program was only checked for form.
echo
case $arch in
win32)
    echo "32-bit tiers: ran (windows, end-to-end${extra_tree:+, registry view}) on the shipped 32-bit program"
    [ -n "$extra_tree" ] ||
        echo "64-bit tiers: NOT RUN (BREVALO_WINE_ARCH=win32); the 64-bit build was only checked for form"
    ;;
win64)
    if wine_arch_runs_32bit; then
        why="BREVALO_WINE_ARCH=win64"
    else
        why="this machine cannot execute 32-bit programs; see docs/ARCHITECTURE.md"
    fi
    echo "32-bit tiers: NOT RUN ($why); the shipped 32-bit program was only checked for form"
    ;;
esac
echo "Summary: $passed_total passed, $failed_total failed"
exit $status
