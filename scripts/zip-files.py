#!/usr/bin/env python3
"""Writes a zip archive whose bytes depend only on the files given.

    zip-files.py ARCHIVE NAME=PATH...

Each file PATH is stored under NAME, in the order given, deflated, with the
time of SOURCE_DATE_EPOCH (UTC; 1980-01-01, the first time a zip entry can
hold, when it is unset or earlier) and no owner, permissions or extra fields.
"""
import os
import sys
import time
import zipfile

ZIP_EPOCH = 315532800  # 1980-01-01 00:00:00 UTC


def entry_time():
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", ZIP_EPOCH))
    return time.gmtime(max(epoch, ZIP_EPOCH))[:6]


def main(argv):
    if len(argv) < 3:
        sys.exit("usage: zip-files.py ARCHIVE NAME=PATH...")
    archive, pairs = argv[1], argv[2:]
    when = entry_time()
    with zipfile.ZipFile(archive, "w") as out:
        for pair in pairs:
            name, sep, path = pair.partition("=")
            if not sep or not name or not path:
                sys.exit(f"zip-files: not NAME=PATH: {pair}")
            info = zipfile.ZipInfo(name, when)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS: no Unix owner or mode
            info.external_attr = 0
            with open(path, "rb") as source:
                out.writestr(info, source.read(), compresslevel=9)


if __name__ == "__main__":
    main(sys.argv)
