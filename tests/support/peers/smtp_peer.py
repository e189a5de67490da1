#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""An SMTP relay for the integration tests, built on aiosmtpd (Debian: python3-aiosmtpd).

Usage: /usr/bin/python3 smtp_peer.py FOLDER [PORT] [--cert PEM --key PEM [--implicit-tls | --require-starttls]]
                                                    [--user NAME --password WORD [--login-only]]
                                                    [--challenge-everything]
  FOLDER  each accepted mail N (1, 2, ...) is stored there as three files:
            mail-N.from  the envelope sender (MAIL FROM) as the server parsed it
            mail-N.to    the envelope recipients (RCPT TO), one per line
            mail-N.data  the DATA bytes as received: header and body, CR LF line ends, the leading
                         "." of each line that the client doubled removed again (RFC 5321 4.5.2)
          all three are written before the mail is answered with 250
  PORT    the port on 127.0.0.1; 0 or none picks a free one
  --cert, --key        the server certificate and key: STARTTLS is offered
  --implicit-tls       TLS from the first byte instead (no STARTTLS)
  --require-starttls   every command but EHLO, NOOP, QUIT and STARTTLS refused before STARTTLS
  --user, --password   AUTH offered (after TLS), accepting this one login; any other gets 535
  --login-only         only the LOGIN mechanism offered
  --challenge-everything  a hostile relay: "334" to AUTH and to every line after it, until the client
                       hangs up (no login ever completes, no mail is ever taken)

Prints "ready PORT" once it listens and "mail N" after storing each mail. When aiosmtpd cannot be
imported it prints "unavailable ..." and exits 3. Stops on SIGTERM (the default action) and, within half
a second, when its parent process is gone: the parent is the process named by ZOLBIN_PEER_PARENT (so that
a parent that dies before this script has started is noticed too), else the parent found at start.
"""
import argparse
import asyncio
import os
import socket
import ssl
import sys

try:
    from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword
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


class ChallengingSMTP(SMTP):
    async def smtp_AUTH(self, arg):
        print("auth challenged", flush=True)
        while True:
            await self.push("334 ")
            if not await self._reader.readline():
                return


async def watch_parent(parent):
    while os.getppid() == parent:
        await asyncio.sleep(0.5)
    os._exit(0)


def authenticator_for(user, password):
    def authenticate(server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword) and auth_data.login == user.encode()
              and auth_data.password == password.encode())
        print("auth %s %s" % (mechanism, "accepted" if ok else "refused"), flush=True)
        return AuthResult(success=ok, handled=False)
    return authenticate


async def main(options):
    loop = asyncio.get_running_loop()
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", options.port))
    listener.listen()
    recorder = Recorder(options.folder)
    context = None
    if options.cert:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(options.cert, options.key)
    extra = {}
    if context is not None and not options.implicit_tls:
        extra["tls_context"] = context
        extra["require_starttls"] = options.require_starttls
    if options.user is not None:
        extra["authenticator"] = authenticator_for(options.user, options.password or "")
        extra["auth_require_tls"] = not options.implicit_tls
        if options.login_only:
            extra["auth_exclude_mechanism"] = ["PLAIN"]
    kind = ChallengingSMTP if options.challenge_everything else SMTP
    server = await loop.create_server(
        lambda: kind(recorder, hostname="relay.test", decode_data=False, loop=loop, **extra),
        sock=listener,
        ssl=context if options.implicit_tls else None,
    )
    print("ready %d" % listener.getsockname()[1], flush=True)
    async with server:
        await watch_parent(int(os.environ.get("ZOLBIN_PEER_PARENT") or os.getppid()))


if __name__ == "__main__":
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("folder")
    parser.add_argument("port", nargs="?", type=int, default=0)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--implicit-tls", action="store_true")
    parser.add_argument("--require-starttls", action="store_true")
    parser.add_argument("--user")
    parser.add_argument("--password")
    parser.add_argument("--login-only", action="store_true")
    parser.add_argument("--challenge-everything", action="store_true")
    asyncio.run(main(parser.parse_args()))
