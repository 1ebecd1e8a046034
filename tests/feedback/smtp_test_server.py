#!/usr/bin/python3
"""Local SMTP server for the feedback tests.

Listens on 127.0.0.1 at a free port and prints "PORT <n>" once it accepts connections.
Default mode: aiosmtpd requiring AUTH LOGIN (PLAIN is not offered) with --login/--password;
every accepted message N is written to --capture as N.eml (the bytes received), N.subject and
N.body (subject and body as a mail client decodes them) and, last, N.envelope (how it came).
--silent: accepts connections and never says a word.
Runs until it is terminated.
"""

import argparse
import asyncio
import email
import email.policy
import logging
import os
import socket
import sys
import warnings

from aiosmtpd.smtp import SMTP, AuthResult

# Plain-text AUTH is what these tests want; keep the test output free of the advice.
warnings.filterwarnings("ignore", message="Requiring AUTH while not requiring TLS")
logging.getLogger("mail.log").setLevel(logging.ERROR)


class Capture:
    def __init__(self, directory):
        self.directory = directory
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        raw = envelope.original_content
        message = email.message_from_bytes(raw, policy=email.policy.default)
        base = os.path.join(self.directory, str(self.count))
        defects = len(message.defects) + sum(len(getattr(v, "defects", ())) for v in message.values())
        with open(base + ".eml", "wb") as out:
            out.write(raw)
        with open(base + ".subject", "wb") as out:
            out.write(str(message["subject"]).encode("utf-8"))
        with open(base + ".body", "wb") as out:
            out.write(message.get_payload(decode=True) or b"")
        with open(base + ".envelope", "w", encoding="utf-8") as out:
            out.write(f"mechanism {getattr(session, 'mechanism', '')}\n")
            out.write(f"login {getattr(session, 'login', '')}\n")
            out.write(f"from {envelope.mail_from}\n")
            out.write(f"to {' '.join(envelope.rcpt_tos)}\n")
            out.write(f"charset {message.get_content_charset()}\n")
            out.write(f"defects {defects}\n")
        return "250 Message accepted for delivery"


def authenticator(login, password):
    def check(server, session, envelope, mechanism, auth_data):
        ok = auth_data.login == login.encode() and auth_data.password == password.encode()
        if ok:
            session.mechanism = mechanism
            session.login = auth_data.login.decode()
        # handled=False lets aiosmtpd send the reply itself, also the refusal.
        return AuthResult(success=ok, handled=False)

    return check


def announce(port):
    print(f"PORT {port}", flush=True)


def run_smtp(args):
    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    handler = Capture(args.capture)

    def factory():
        return SMTP(handler, hostname="feedback-test", authenticator=authenticator(args.login, args.password),
                    auth_required=True, auth_require_tls=False, auth_exclude_mechanism=["PLAIN"])

    server = loop.run_until_complete(loop.create_server(factory, host="127.0.0.1", port=0))
    announce(server.sockets[0].getsockname()[1])
    loop.run_forever()


def run_silent():
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    announce(listener.getsockname()[1])
    held = []
    while True:
        connection, _ = listener.accept()
        held.append(connection)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--capture", default=".")
    parser.add_argument("--login", default="")
    parser.add_argument("--password", default="")
    parser.add_argument("--silent", action="store_true")
    args = parser.parse_args()
    if args.silent:
        run_silent()
    else:
        run_smtp(args)


if __name__ == "__main__":
    sys.exit(main())
