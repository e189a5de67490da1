#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the seed corpus of the list-file fuzz targets: a few valid list files and a few damaged ones.

File names say what a loader must make of them: "<outcome>-<records>-<what>.lst", where outcome is
"valid" (loads, returns true) or "eof" (Read beyond end of file, I/O code 100) and records is how many
whole records (groups for Group.lst) are in the list afterwards.

Usage: make_seed_corpus.py [CORPUS_FOLDER]   (default: corpus/ beside this script)
"""
import os
import struct
import sys


def text(s, n, tail=b""):
    b = s.encode("cp1251")[:n]
    if len(b) < n:
        b += b"\0" + tail
    return b[:n].ljust(n, b"\0")


def abonent(name, number, numeric=0, msglen=240, provider="", info="", reserved=b"\0\0\0"):
    rec = text(name, 25) + reserved + struct.pack("<i", number) + bytes([numeric]) + reserved
    rec += struct.pack("<i", msglen) + text(provider, 80) + text(info, 100)
    assert len(rec) == 220
    return rec


def provider(name, gate, snpp_srv, snpp_port, snpp_enc, pswd, email, smtp_port, smtp_enc):
    rec = text(name, 25) + bytes([gate]) + text(snpp_srv, 80) + b"\0\0" + struct.pack("<i", snpp_port)
    rec += text(snpp_enc, 8) + text(pswd, 25) + text(email, 80) + b"\0\0\0" + struct.pack("<i", smtp_port)
    rec += text(smtp_enc, 8) + text("", 25) + text("", 25) + b"\0\0"
    assert len(rec) == 292
    return rec


def group(name, members, count=None):
    body = text(name, 25) + struct.pack("<i", len(members) if count is None else count)
    return body + b"".join(members)


HOME = "Ормид-Пейдж, г.Ворль"

ivanov = abonent("Иванов", 1234, provider=HOME, info="Отдел сбыта")
long_name = abonent("Абвгдеёжзийклмнопрстуфхцч", -5, numeric=1, msglen=20, provider="Beeper")
# Bytes after a terminator and in reserved places are not significant.
dirty = abonent("Petrov", 77, provider=HOME, reserved=b"\xAA\xBB\xCC")
dirty = dirty[:10] + b"\x55" * 15 + dirty[25:]

home = provider(HOME, 1, "snpp.ormid.example", 444, "KOI8-R", "", "@pager.ormid.example", 25, "KOI8-R")
beeper = provider("Beeper", 0, "10.0.0.7", 4444, "WIN-1251", "secret", "@beeper.example", 2525, "DOS")

SEEDS = {
    "abonent": {
        "valid-0-empty.lst": b"",
        "valid-2-two-subscribers.lst": ivanov + long_name,
        "valid-1-bytes-after-terminator.lst": dirty,
        "eof-1-230-bytes.lst": ivanov + long_name[:10],
        "eof-0-half-record.lst": ivanov[:110],
    },
    "company": {
        "valid-0-empty.lst": b"",
        "valid-1-home-provider.lst": home,
        "valid-2-full-charset-field.lst": home + beeper,
        "eof-1-300-bytes.lst": home + beeper[:8],
    },
    "group": {
        "valid-0-empty.lst": b"",
        "valid-2-members-and-none.lst": group("Отдел", [ivanov, long_name]) + group("Пустая", []),
        "eof-1-ends-in-count.lst": group("Отдел", [ivanov]) + group("Вторая", [])[:27],
        "eof-0-ends-in-member.lst": group("Отдел", [ivanov, long_name])[:29 + 220 + 100],
        "eof-0-negative-count.lst": group("Отдел", [ivanov], count=-1),
        "eof-1-count-beyond-file.lst": group("Пустая", []) + group("Огромная", [ivanov], count=0x7FFFFFFF),
    },
}


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
    for target, files in SEEDS.items():
        folder = os.path.join(root, target)
        os.makedirs(folder, exist_ok=True)
        for name, data in files.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
