#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""An SMTP relay for the integration tests, built on aiosmtpd (Debian: python3-aiosmtpd).

Usage: /usr/bin/python3 smtp_peer.py FOLDER [PORT]
  FOLDER  each accepted mail N (1, 2, ...) is stored there as three files:
            mail-N.from  the envelope sender (MAIL FROM) as the server parsed it
            mail-N.to    the envelope recipients (RCPT TO), one per line
            mail-N.data  the DATA bytes as received: header and body, CR LF line ends, the leading
                         "." of each line that the client doubled removed again (RFC 5321 4.5.2)
          all three are written before the mail is answered with 250
  PORT    the port on 127.0.0.1; 0 or none picks a free one

Prints "ready PORT" once it listens and "mail N" after storing each mail. When aiosmtpd cannot be
imported it prints "unavailable ..." and exits 3. Stops on SIGTERM (the default action) and, within half
a second, when its parent process is gone: the parent is the process named by ZOLBIN_PEER_PARENT (so that
a parent that dies before this script has started is noticed too), else the parent found at start.
"""
import asyncio
import os
import socket
import sys

try:
    from aiosmtpd.smtp import SMTP
except ImportError:
    print("unavailable aiosmtpd (install python3-aiosmtpd)", flush=True)
    sys.exit(3)


class Recorder:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    def _write(self, name, data):
        with open(os.path.join(self.folder, name), "wb") as f:
            f.write(data)

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = "mail-%d" % self.count
        text = lambda s: s.encode("utf-8", "surrogateescape")
        self._write(base + ".from", text(envelope.mail_from or ""))
        self._write(base + ".to", b"".join(text(r) + b"\n" for r in envelope.rcpt_tos))
        self._write(base + ".data", envelope.original_content or b"")
        print("mail %d" % self.count, flush=True)
        return "250 Message accepted"


async def watch_parent(parent):
    while os.getppid() == parent:
        await asyncio.sleep(0.5)
    os._exit(0)


async def main(folder, port):
    loop = asyncio.get_running_loop()
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", port))
    listener.listen()
    recorder = Recorder(folder)
    server = await loop.create_server(
        lambda: SMTP(recorder, hostname="relay.test", decode_data=False, loop=loop), sock=listener
    )
    print("ready %d" % listener.getsockname()[1], flush=True)
    async with server:
        await watch_parent(int(os.environ.get("ZOLBIN_PEER_PARENT") or os.getppid()))


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    asyncio.run(main(sys.argv[1], int(sys.argv[2]) if len(sys.argv) == 3 else 0))
