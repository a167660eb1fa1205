#!/usr/bin/env python3
"""Checks built Windows programs without running them.

    check_pe.py [--load-imports DOC] [--want PE32|PE32+] exe...

For every program:
  - its flavour (--want), and the GUI subsystem for Brevalo.exe itself;
  - every based-relocated pointer slot holds an address inside the image (a
    slot that holds 0 is an address the linker could not fill in, and the
    first use of it jumps or reads through null);
  - every delay-import slot is based-relocated and points into code (before
    the first call it holds the address of the stub that loads the DLL);
  - load-time imports come from Windows' own DLLs only.
With --load-imports, Brevalo.exe may load at start only the DLLs that DOC (the
performance notes) names on its "Load-time imports:" line, and must
delay-load exactly those its "Delay-loaded:" line names.

Prints one line per program, then "form: N passed, M failed", and exits
non-zero when anything is off.
"""
import argparse
import os
import re
import struct
import sys

IMAGE_SCN_CNT_CODE = 0x20
IMAGE_SCN_MEM_EXECUTE = 0x20000000
IMAGE_REL_BASED_ABSOLUTE = 0
IMAGE_REL_BASED_HIGHLOW = 3
IMAGE_REL_BASED_DIR64 = 10

# DLLs that every supported Windows carries in its system folder.
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "dwmapi.dll", "gdi32.dll", "imm32.dll",
    "kernel32.dll", "msvcrt.dll", "ole32.dll", "oleacc.dll", "oleaut32.dll", "shell32.dll",
    "shlwapi.dll", "urlmon.dll", "user32.dll", "uxtheme.dll", "version.dll", "wininet.dll",
    "winmm.dll", "ws2_32.dll",
}


class PeError(Exception):
    pass


class Image:
    """The parts of a PE file the checks read, addressed by RVA."""

    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        d = self.data
        if len(d) < 0x40 or d[:2] != b"MZ":
            raise PeError("not an MZ file")
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        if d[pe:pe + 4] != b"PE\0\0":
            raise PeError("no PE signature")
        (self.machine, nsections, _, _, _, optsize, _) = struct.unpack_from("<HHIIIHH", d, pe + 4)
        opt = pe + 24
        magic = struct.unpack_from("<H", d, opt)[0]
        if magic == 0x10B:
            self.flavour, self.ptr = "PE32", 4
            self.image_base = struct.unpack_from("<I", d, opt + 28)[0]
            dirs = opt + 96
        elif magic == 0x20B:
            self.flavour, self.ptr = "PE32+", 8
            self.image_base = struct.unpack_from("<Q", d, opt + 24)[0]
            dirs = opt + 112
        else:
            raise PeError(f"unknown optional header magic {magic:#x}")
        self.image_size = struct.unpack_from("<I", d, opt + 56)[0]
        self.subsystem = struct.unpack_from("<H", d, opt + 68)[0]
        ndirs = struct.unpack_from("<I", d, dirs - 4)[0]
        self.dirs = [struct.unpack_from("<II", d, dirs + 8 * i) for i in range(min(ndirs, 16))]
        self.sections = []
        table = opt + optsize
        for i in range(nsections):
            name, vsize, va, rawsize, rawptr = struct.unpack_from("<8sIIII", d, table + 40 * i)
            flags = struct.unpack_from("<I", d, table + 40 * i + 36)[0]
            self.sections.append((name.rstrip(b"\0").decode("ascii", "replace"), va, max(vsize, rawsize),
                                  rawptr, rawsize, flags))

    def directory(self, index):
        return self.dirs[index] if index < len(self.dirs) else (0, 0)

    def section_of(self, rva):
        for s in self.sections:
            if s[1] <= rva < s[1] + s[2]:
                return s
        return None

    def is_code(self, rva):
        s = self.section_of(rva)
        return s is not None and bool(s[5] & (IMAGE_SCN_CNT_CODE | IMAGE_SCN_MEM_EXECUTE))

    def read(self, rva, size):
        s = self.section_of(rva)
        if s is None:
            raise PeError(f"RVA {rva:#x} is outside every section")
        off = rva - s[1]
        if off + size > s[4]:  # beyond the raw data: zero-filled in memory
            raw = self.data[s[3] + off:s[3] + min(off + size, s[4])] if off < s[4] else b""
            return raw + b"\0" * (size - len(raw))
        return self.data[s[3] + off:s[3] + off + size]

    def u32(self, rva):
        return struct.unpack("<I", self.read(rva, 4))[0]

    def pointer(self, rva):
        return struct.unpack("<Q" if self.ptr == 8 else "<I", self.read(rva, self.ptr))[0]

    def cstring(self, rva):
        out = bytearray()
        while len(out) < 512:
            b = self.read(rva + len(out), 1)
            if b == b"\0":
                break
            out += b
        return out.decode("ascii", "replace")

    def based_slots(self):
        """RVAs of the pointer slots the base relocations patch."""
        rva, size = self.directory(5)
        slots = []
        end = rva + size
        while rva + 8 <= end:
            page, block = struct.unpack("<II", self.read(rva, 8))
            if block < 8:
                break
            for i in range((block - 8) // 2):
                entry = struct.unpack("<H", self.read(rva + 8 + 2 * i, 2))[0]
                kind, offset = entry >> 12, entry & 0xFFF
                if kind == IMAGE_REL_BASED_ABSOLUTE:
                    continue
                if kind not in (IMAGE_REL_BASED_HIGHLOW, IMAGE_REL_BASED_DIR64):
                    raise PeError(f"base relocation of unexpected type {kind} at {page + offset:#x}")
                slots.append(page + offset)
            rva += block
        return slots

    def load_imports(self):
        """Names of the DLLs the loader maps at start (lower case)."""
        rva, _ = self.directory(1)
        names = []
        while rva:
            ilt, _, _, name, iat = struct.unpack("<IIIII", self.read(rva, 20))
            if not (ilt or name or iat):
                break
            names.append(self.cstring(name).lower())
            rva += 20
        return names

    def delay_descriptors(self):
        """The delay-import descriptors: from the data directory where the
        linker filled it in, else found by their shape (attributes 1, the
        DLL's name, its handle and two tables inside the image, the last
        three fields 0), which is how the toolchain lays them out without
        naming them in the directory."""
        rva, size = self.directory(13)
        found = []
        if rva:
            while True:
                fields = struct.unpack("<8I", self.read(rva, 32))
                if not any(fields):
                    return found
                found.append((rva,) + fields)
                rva += 32
        for s in self.sections:
            if s[4] < 32:
                continue
            raw = self.data[s[3]:s[3] + s[4]]
            for off in range(0, len(raw) - 31, 4):
                fields = struct.unpack_from("<8I", raw, off)
                attrs, name, hmod, iat, names, bound, unload, stamp = fields
                if attrs != 1 or bound or unload or stamp:
                    continue
                if not all(self.section_of(x) for x in (name, hmod, iat, names)):
                    continue
                try:
                    dll = self.cstring(name)
                except PeError:
                    continue
                if re.fullmatch(r"[A-Za-z0-9_.-]+\.dll", dll, re.I):
                    found.append((s[1] + off,) + fields)
        return found


def check(path, args, documented):
    img = Image(path)
    program = os.path.basename(path).lower() == "brevalo.exe"
    if not program:
        documented = None
    problems = []
    if args.want and img.flavour != args.want:
        problems.append(f"is {img.flavour}, not {args.want}")
    if program and img.subsystem != 2:
        problems.append("is not a GUI program")

    slots = img.based_slots()
    based = set(slots)
    low, high = img.image_base, img.image_base + img.image_size
    bad = []
    for slot in slots:
        value = img.pointer(slot)
        if not low <= value < high:
            bad.append((slot, value))
    if bad:
        where = ", ".join(f"{img.section_of(s)[0] if img.section_of(s) else '?'}+{s:#x}={v:#x}"
                          for s, v in bad[:6])
        problems.append(f"{len(bad)} based-relocated pointer slot(s) outside the image ({where})")

    delayed = []
    for desc in img.delay_descriptors():
        dll = img.cstring(desc[2]).lower()
        iat, names = desc[4], desc[5]
        count = 0
        unbased, stubless = [], []
        while True:
            entry = img.pointer(names + count * img.ptr)
            if entry == 0:
                break
            ordinal = entry >> (img.ptr * 8 - 1)
            function = f"#{entry & 0xFFFF}" if ordinal else img.cstring(entry + 2)
            slot = iat + count * img.ptr
            if slot not in based:
                unbased.append(function)
            elif not img.is_code(img.pointer(slot) - img.image_base):
                stubless.append(function)
            count += 1
        if unbased:
            problems.append(f"delay-import slots of {dll} not based-relocated: {', '.join(unbased)}")
        if stubless:
            problems.append(f"delay-import slots of {dll} not pointing into code: {', '.join(stubless)}")
        delayed.append(f"{dll}:{count}")

    loaded = img.load_imports()
    if not loaded:
        problems.append("imports nothing")
    for dll in loaded:
        if dll not in SYSTEM_DLLS:
            problems.append(f"imports {dll}")
    if documented is not None:
        at_start, late = documented
        extra = sorted(set(loaded) - at_start)
        if extra:
            problems.append(f"loads at start {', '.join(extra)}, which the performance notes do not name")
        found = {d.split(":")[0] for d in delayed}
        if found != late:
            problems.append(f"delay-loads {', '.join(sorted(found)) or 'nothing'}, "
                            f"not {', '.join(sorted(late))} as the performance notes say")

    if problems:
        print(f"form: {path}: " + "; ".join(problems))
        return False
    print(f"form: {path} is {img.flavour}, {len(slots)} based slots, "
          f"imports {','.join(sorted(set(loaded)))}; delayed {','.join(delayed) or 'none'}")
    return True


def documented_imports(doc):
    """The DLLs that the lines "Load-time imports:" and "Delay-loaded:" of
    DOC name (each may run on over the following lines of its item)."""
    with open(doc, encoding="utf-8") as f:
        text = f.read()
    lists = []
    for label in ("Load-time imports:", "Delay-loaded:"):
        m = re.search(re.escape(label) + r"(.*?)(?=\n\s*\n|\n- |Load-time imports:|Delay-loaded:|$)", text, re.S)
        names = {n.lower() for n in re.findall(r"`([A-Za-z0-9_]+\.dll)`", m.group(1))} if m else set()
        if not names:
            raise PeError(f"{doc} has no \"{label}\" line naming DLLs")
        lists.append(names)
    return tuple(lists)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--want", choices=("PE32", "PE32+"))
    parser.add_argument("--load-imports", metavar="DOC")
    parser.add_argument("exe", nargs="+")
    args = parser.parse_args()
    documented = documented_imports(args.load_imports) if args.load_imports else None
    passed = failed = 0
    for path in args.exe:
        try:
            ok = check(path, args, documented)
        except (OSError, PeError, struct.error) as e:
            print(f"form: {path}: cannot be read ({e})")
            ok = False
        passed, failed = passed + ok, failed + (not ok)
    print(f"form: {passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
