#!/usr/bin/env bash
# Sourced by the scripts that build, install or run Windows programs: decides
# which Wine, and so which flavour of Brevalo.exe, this machine runs.
#
#   win32  the 32-bit loader in a win32 prefix, running the shipped 32-bit
#          program; where the kernel executes 32-bit programs
#   win64  the 64-bit loader in a win64 prefix, running the 64-bit program;
#          everywhere else
#
#   BREVALO_WINE_ARCH=win32|win64  forces either one

# True when the kernel executes 32-bit x86 programs (the answer is kept in the
# environment for the child scripts). Some kernels are built
# without that, and then Wine's 32-bit loader cannot start at all. The probe
# is a 96-byte static i386 program that only exits with code 7: it needs no
# 32-bit library, so it answers before anything is installed.
wine_arch_runs_32bit() {
    if [ -n "${_BREVALO_RUNS_32BIT:-}" ]; then
        [ "$_BREVALO_RUNS_32BIT" = yes ]
        return
    fi
    local probe rc
    probe=$(mktemp "${TMPDIR:-/tmp}/brevalo-elf32.XXXXXX")
    # ELF header (52 bytes), one loadable segment (32 bytes) and the code:
    # mov eax, 1; mov ebx, 7; int 0x80.
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000'`
          `'\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000'`
          `'\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000'`
          `'\000\000\000\000'`
          `'\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010'`
          `'\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000'`
          `'\270\001\000\000\000\273\007\000\000\000\315\200' >"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null
    rc=$?
    rm -f "$probe"
    if [ $rc -eq 7 ]; then _BREVALO_RUNS_32BIT=yes; else _BREVALO_RUNS_32BIT=no; fi
    export _BREVALO_RUNS_32BIT
    [ "$_BREVALO_RUNS_32BIT" = yes ]
}

# Prints the Wine flavour to use: BREVALO_WINE_ARCH when set, else what the
# machine runs (32-bit where it can, as that is what ships).
wine_arch_choose() {
    case ${BREVALO_WINE_ARCH:-} in
    win32)
        wine_arch_runs_32bit || {
            echo "wine-arch: BREVALO_WINE_ARCH=win32, but this machine cannot execute 32-bit programs" >&2
            return 1
        }
        echo win32
        ;;
    win64) echo win64 ;;
    '') if wine_arch_runs_32bit; then echo win32; else echo win64; fi ;;
    *)
        echo "wine-arch: BREVALO_WINE_ARCH must be win32 or win64, not '$BREVALO_WINE_ARCH'" >&2
        return 1
        ;;
    esac
}
