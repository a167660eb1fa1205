"""The static check of built programs, on small images made here: it must
pass a sound image of either flavour and name each fault it is there for."""
import contextlib
import io
import os
import struct
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "scripts"))
import check_pe  # noqa: E402

TEXT, DATA, IDATA, RELOC = 0x1000, 0x2000, 0x3000, 0x4000
CODE_FLAGS, DATA_FLAGS = 0x60000020, 0xC0000040


def make_image(ptr, *, stub=TEXT + 0x10, based_stub=True, imports=("kernel32.dll",), extra_slot=None):
    """A PE image with one delay-loaded function of winmm.dll: its slot (in
    .data) holds `stub`, based-relocated when `based_stub`; `extra_slot` adds
    a based-relocated pointer of that value. Load-time imports in .idata."""
    base = 0x400000 if ptr == 4 else 0x140000000
    pack_ptr = (lambda v: struct.pack("<Q", v)) if ptr == 8 else (lambda v: struct.pack("<I", v))
    text = b"\xc3" * 0x40
    # .data: descriptor (8 dwords), terminator, DLL name, handle, IAT, INT, hint/name, extra.
    name_rva, hmod_rva, iat_rva = DATA + 0x40, DATA + 0x50, DATA + 0x60
    int_rva, hint_rva, extra_rva = DATA + 0x70, DATA + 0x80, DATA + 0x90
    data = bytearray(0x100)
    struct.pack_into("<8I", data, 0, 1, name_rva, hmod_rva, iat_rva, int_rva, 0, 0, 0)
    data[0x40:0x4A] = b"winmm.dll\0"
    data[0x60:0x60 + ptr] = pack_ptr(base + stub)
    data[0x70:0x70 + ptr] = pack_ptr(hint_rva)
    data[0x80:0x8D] = b"\0\0PlaySoundW\0"
    based = []
    if based_stub:
        based.append(iat_rva)
    if extra_slot is not None:
        data[0x90:0x90 + ptr] = pack_ptr(extra_slot)
        based.append(extra_rva)
    # .idata: one descriptor per DLL and their names.
    idata = bytearray(0x200)
    for i, dll in enumerate(imports):
        name = 0x100 + 0x20 * i
        struct.pack_into("<5I", idata, 20 * i, 0, 0, 0, IDATA + name, IDATA + 0x1F0)
        idata[name:name + len(dll) + 1] = dll.encode() + b"\0"
    kind = 10 if ptr == 8 else 3
    entries = [(kind << 12) | (r - DATA) for r in based]
    if len(entries) % 2:
        entries.append(0)
    reloc = struct.pack("<II", DATA, 8 + 2 * len(entries)) + struct.pack(f"<{len(entries)}H", *entries)
    sections = [(b".text", TEXT, text, CODE_FLAGS), (b".data", DATA, bytes(data), DATA_FLAGS),
                (b".idata", IDATA, bytes(idata), DATA_FLAGS), (b".reloc", RELOC, reloc, 0x42000040)]

    optsize = 224 if ptr == 4 else 240
    headers = 0x400
    out = bytearray(headers)
    out[0:2] = b"MZ"
    struct.pack_into("<I", out, 0x3C, 0x80)
    out[0x80:0x84] = b"PE\0\0"
    struct.pack_into("<HHIIIHH", out, 0x84, 0x14C if ptr == 4 else 0x8664, len(sections), 0, 0, 0, optsize, 0x102)
    opt = 0x98
    struct.pack_into("<H", out, opt, 0x10B if ptr == 4 else 0x20B)
    if ptr == 4:
        struct.pack_into("<I", out, opt + 28, base)
    else:
        struct.pack_into("<Q", out, opt + 24, base)
    struct.pack_into("<I", out, opt + 56, 0x5000)
    struct.pack_into("<H", out, opt + 68, 2)
    dirs = opt + (96 if ptr == 4 else 112)
    struct.pack_into("<I", out, dirs - 4, 16)
    struct.pack_into("<II", out, dirs + 8 * 1, IDATA, 20 * (len(imports) + 1))
    struct.pack_into("<II", out, dirs + 8 * 5, RELOC, len(reloc))
    table = opt + optsize
    raw = headers
    for i, (name, va, body, flags) in enumerate(sections):
        size = (len(body) + 0x1FF) & ~0x1FF
        struct.pack_into("<8sIIII", out, table + 40 * i, name, len(body), va, size, raw)
        struct.pack_into("<I", out, table + 40 * i + 36, flags)
        raw += size
    for name, va, body, flags in sections:
        out += body + b"\0" * (((len(body) + 0x1FF) & ~0x1FF) - len(body))
    return bytes(out)


class CheckPe(unittest.TestCase):
    def run_check(self, image, want, name="Brevalo.exe", documented=None):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, name)
            with open(path, "wb") as f:
                f.write(image)
            args = type("Args", (), {"want": want})()
            out = io.StringIO()
            with contextlib.redirect_stdout(out):
                ok = check_pe.check(path, args, documented)
            return ok, out.getvalue()

    def test_a_sound_image_of_either_flavour_passes(self):
        for ptr, want in ((4, "PE32"), (8, "PE32+")):
            ok, out = self.run_check(make_image(ptr), want, documented=({"kernel32.dll"}, {"winmm.dll"}))
            self.assertTrue(ok, out)
            self.assertIn("delayed winmm.dll:1", out)

    def test_each_fault_is_named(self):
        documented = ({"kernel32.dll"}, {"winmm.dll"})
        cases = [
            # The fault of a stub the linker dropped: the slot holds 0.
            (dict(stub=-0x400000), "based-relocated pointer slot(s) outside the image"),
            (dict(stub=DATA + 0x40), "not pointing into code: PlaySoundW"),
            (dict(based_stub=False), "not based-relocated: PlaySoundW"),
            (dict(extra_slot=0), "1 based-relocated pointer slot(s) outside the image"),
            (dict(imports=("kernel32.dll", "ole32.dll")), "loads at start ole32.dll"),
            (dict(imports=("kernel32.dll", "libstdc++-6.dll")), "imports libstdc++-6.dll"),
        ]
        for ptr in (4, 8):
            for options, message in cases:
                with self.subTest(ptr=ptr, fault=message):
                    options = dict(options)
                    if options.get("stub") == -0x400000:
                        options["stub"] = -(0x400000 if ptr == 4 else 0x140000000)
                    ok, out = self.run_check(make_image(ptr, **options), None, documented=documented)
                    self.assertFalse(ok, out)
                    self.assertIn(message, out)
        ok, out = self.run_check(make_image(4), "PE32+")
        self.assertFalse(ok)
        self.assertIn("is PE32, not PE32+", out)
        ok, out = self.run_check(make_image(8), None, documented=({"kernel32.dll"}, {"ole32.dll"}))
        self.assertIn("delay-loads winmm.dll, not ole32.dll", out)

    def test_the_documented_lists_are_read_from_the_performance_notes(self):
        doc = os.path.join(os.path.dirname(__file__), "..", "..", "docs", "PERFORMANCE.md")
        at_start, late = check_pe.documented_imports(doc)
        self.assertIn("kernel32.dll", at_start)
        self.assertIn("winmm.dll", late)
        self.assertFalse(at_start & late)


if __name__ == "__main__":
    unittest.main()
