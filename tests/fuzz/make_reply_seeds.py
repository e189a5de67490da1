#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the seed corpus of the reply-reader fuzz target (layout in ReplyReaderHarness.h).

File names say what ReadReply must return for them: "<result>-<what>.reply", result being the number of
bytes read as one reply.

Usage: make_reply_seeds.py [CORPUS_FOLDER]   (default: corpus/ beside this script)
"""
import os
import struct
import sys


def seed(*pieces):
    """The pieces a server sends, one read each; the last one carries what remains."""
    lengths = [len(p) for p in pieces[:-1]]
    assert len(lengths) < 16
    return bytes([len(lengths)]) + b"".join(struct.pack("<H", n) for n in lengths) + b"".join(pieces)


SEEDS = {
    "11-complete.reply": seed(b"220 ready\r\n"),
    # One reply in four pieces, the CR LF itself split.
    "8-split.reply": seed(b"25", b"0 O", b"K\r", b"\n"),
    # An SMTP multi-line reply in pieces, then the next reply, which is not part of this one.
    "33-multi-line.reply": seed(b"250-first\r\n", b"250-second\r\n250 ", b"last\r\n", b"221 next\r\n"),
    # Two replies in one piece cannot be told apart: both are read.
    "14-merged.reply": seed(b"250 a\r\n354 b\r\n"),
    # Longer than one read, in one piece and in two: still one reply.
    "5000-long-no-crlf.reply": seed(b"5" * 5000),
    "6002-long-multi-line.reply": seed(b"250-" + b"x" * 2996, b"y" * 3000 + b"\r\n"),
    # No CR LF: read until the server closes.
    "9-no-crlf.reply": seed(b"220 ready"),
    "10-continuation-then-close.reply": seed(b"250-more\r\n"),
    "0-closed-at-once.reply": seed(),
}


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus")
    target = os.path.join(folder, "reply")
    os.makedirs(target, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(target, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
