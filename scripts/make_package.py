#!/usr/bin/env python3
"""Writes the release zip: a program folder without a folder of its own inside, so that
unpacking it anywhere gives a folder that is ready to run.

    make_package.py OUT.zip VANTOR.EXE REPOSITORY

Called by the build (the CMake target "package"), which scripts/package.sh runs too. Fixed
names, order and times, so the same inputs give the same bytes. The zip is written beside
OUT.zip first and renamed over it only when complete and small enough, so a failed build
never leaves a broken package behind.
"""
import os
import sys
import zipfile

# What a user downloads must stay a small download.
MAX_BYTES = 600 * 1024

# Name in the zip, file in the repository (None: the executable). Texts the program reads
# byte for byte (code page 1251, CR LF) are taken as they are.
CONTENTS = [
    ("vantor.exe", None),
    ("Language/Rus.lng", "Language/Rus.lng"),
    ("Vantor.html", "help/Vantor.html"),
    ("Read_Me.txt", "help/Read_Me.txt"),
    ("Read_Me_Rus.txt", "help/Read_Me_Rus.txt"),
    ("LICENSE.txt", "LICENSE"),
]
DATE = (2026, 1, 1, 0, 0, 0)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    out, exe, repo = sys.argv[1:]
    partial = out + ".partial"
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for name, source in CONTENTS:
            with open(exe if source is None else os.path.join(repo, source), "rb") as f:
                data = f.read()
            if name == "LICENSE.txt":
                # As a Windows user opens it in Notepad: CR LF line ends.
                data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
            info = zipfile.ZipInfo(name, date_time=DATE)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            z.writestr(info, data)
    size = os.path.getsize(partial)
    if size > MAX_BYTES:
        os.remove(partial)
        sys.exit(f"package: {out} would be {size} bytes, more than {MAX_BYTES}")
    os.replace(partial, out)


if __name__ == "__main__":
    main()
