#!/usr/bin/python3
# A mail server on 127.0.0.1 for the e-mail tests, started by the Windows test
# program (under Wine) with Debian's Python and python3-aiosmtpd:
#   mail_server.py FOLDER [--auth NAME:PASSWORD] [--drop-at-mail]
# It writes its port to FOLDER/port when it is ready. Each message it takes is
# parsed with Python's email package; what the parse found is written beside it:
#   message-N.eml          the message as it arrived
#   message-N.facts        lines "key=value" (envelope, headers, parts, defects)
#   message-N.text/.html   the decoded text parts, in windows-1252
#   message-N.attachment-K the decoded bytes of each attached file
# Every AUTH LOGIN attempt adds a line "name password accepted|refused" to
# FOLDER/auth.log. --drop-at-mail closes the connection as soon as the client
# sends MAIL FROM, and notes the command in FOLDER/dropped.log.
# The server stops when FOLDER/stop appears, or after two minutes at most.
import argparse
import email
import email.policy
import logging
import os
import socket
import sys
import threading
import time
import warnings

LIFETIME_SECONDS = 120


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def write_atomically(path, data):
    with open(path + ".part", "wb") as out:
        out.write(data)
    os.replace(path + ".part", path)


def cp1252(text):
    return text.encode("cp1252", errors="replace")


class Saver:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0
        self.lock = threading.Lock()

    def save(self, mail_from, rcpt_tos, data):
        with self.lock:
            self.count += 1
            index = self.count
        base = os.path.join(self.folder, "message-%d" % index)
        write_atomically(base + ".eml", data)
        message = email.message_from_bytes(data, policy=email.policy.default)
        facts = [
            "mail-from=" + mail_from,
            "rcpt-to=" + ",".join(rcpt_tos),
            "from=" + str(message["From"]),
            "to=" + str(message["To"]),
            "subject=" + str(message["Subject"]),
            "date=" + str(message["Date"]),
            "message-id=" + str(message["Message-ID"]),
            "mime-version=" + str(message["MIME-Version"]),
            "content-type=" + message.get_content_type(),
            "defects=%d" % sum(len(part.defects) for part in message.walk()),
        ]
        text = message.get_body(preferencelist=("plain",))
        if text is not None:
            write_atomically(base + ".text", cp1252(text.get_content()))
        html = message.get_body(preferencelist=("html",))
        if html is not None:
            write_atomically(base + ".html", cp1252(html.get_content()))
        for k, part in enumerate(message.iter_attachments(), start=1):
            facts.append("attachment-%d=%s" % (k, part.get_filename()))
            facts.append("attachment-%d-encoding=%s" % (k, part["Content-Transfer-Encoding"]))
            write_atomically(base + ".attachment-%d" % k, part.get_content())
        # The facts come last: once they are there, the message is whole.
        write_atomically(base + ".facts", cp1252("\n".join(facts) + "\n"))


def run_aiosmtpd(folder, port, auth, drop_at_mail):
    from aiosmtpd.controller import Controller
    from aiosmtpd.smtp import AuthResult

    saver = Saver(folder)

    class Handler:
        async def handle_DATA(self, server, session, envelope):
            saver.save(envelope.mail_from, envelope.rcpt_tos, envelope.content)
            return "250 Message accepted for delivery"

    class Dropping(Handler):
        async def handle_MAIL(self, server, session, envelope, address, mail_options):
            with open(os.path.join(folder, "dropped.log"), "a") as log:
                log.write("MAIL FROM:<%s>\n" % address)
            server.transport.close()
            return "250 never sent"

    options = {}
    if auth:
        name, password = auth.split(":", 1)

        def authenticator(server, session, envelope, mechanism, auth_data):
            login = getattr(auth_data, "login", b"").decode("latin-1")
            given = getattr(auth_data, "password", b"").decode("latin-1")
            ok = mechanism == "LOGIN" and login == name and given == password
            with open(os.path.join(folder, "auth.log"), "a") as log:
                log.write("%s %s %s\n" % (login, given, "accepted" if ok else "refused"))
            return AuthResult(success=ok, handled=False)

        options = dict(authenticator=authenticator, auth_required=True, auth_require_tls=False)
    controller = Controller(Dropping() if drop_at_mail else Handler(), hostname="127.0.0.1", port=port, **options)
    controller.start()
    return controller.stop


def main():
    # aiosmtpd warns about AUTH without TLS, which is what these tests ask for.
    logging.disable(logging.WARNING)
    warnings.simplefilter("ignore")
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--auth")
    parser.add_argument("--drop-at-mail", action="store_true")
    args = parser.parse_args()
    port = free_port()
    stop = run_aiosmtpd(args.folder, port, args.auth, args.drop_at_mail)
    write_atomically(os.path.join(args.folder, "port"), str(port).encode())
    deadline = time.monotonic() + LIFETIME_SECONDS
    while time.monotonic() < deadline and not os.path.exists(os.path.join(args.folder, "stop")):
        time.sleep(0.1)
    stop()
    write_atomically(os.path.join(args.folder, "stopped"), b"")
    return 0


if __name__ == "__main__":
    sys.exit(main())
