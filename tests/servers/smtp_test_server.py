#!/usr/bin/env python3
"""An SMTP server on 127.0.0.1 for the tests of the SMTP client and the mail window.

usage: smtp_test_server.py FOLDER [CERT KEY | --login USER]
Every accepted message is read with Python's own email package and written to FOLDER/N.txt, one
"key=value" line per fact with the value as hexadecimal bytes: the envelope, the decoded subject and texts
(UTF-8), the header names, the attachments. A recipient whose address
starts with "refuse" is answered 550. With CERT and KEY the server offers STARTTLS. With --login USER it
takes mail only after a login as USER (any password, an empty one too).
Prints the port it listens on as the first line of its output.
"""
import asyncio
import base64
import email
import email.header
import email.policy
import os
import ssl
import sys

from aiosmtpd.smtp import SMTP, AuthResult

from test_server_life import exit_when_the_test_is_gone


def decoded_subject(message):
    parts = []
    for text, charset in email.header.decode_header(message.get("Subject", "")):
        parts.append(text.decode(charset or "ascii") if isinstance(text, bytes) else text)
    return "".join(parts)


class Recorder:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith("refuse"):
            return "550 no such user here"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        message = email.message_from_bytes(envelope.content, policy=email.policy.compat32)
        texts, attachments = [], []
        for part in message.walk():
            if part.is_multipart():
                continue
            payload = part.get_payload(decode=True)
            if part.get_filename():
                attachments.append({"name": part.get_filename(), "bytes": base64.b64encode(payload).decode()})
            else:
                texts.append({"charset": part.get_content_charset(), "text": payload.decode(part.get_content_charset() or "ascii")})
        self.count += 1
        facts = [("from", envelope.mail_from)]
        facts += [("rcpt", r) for r in envelope.rcpt_tos]
        facts += [("subject", decoded_subject(message))]
        facts += [("header", key.lower()) for key in message.keys()]
        for t in texts:
            facts += [("charset", t["charset"] or ""), ("text", t["text"])]
        for a in attachments:
            facts += [("attachment_name", a["name"]), ("attachment", base64.b64decode(a["bytes"]))]
        facts += [("tls", "1" if session.ssl is not None else "0")]
        facts += [("seven_bit", "1" if all(b < 128 for b in envelope.content) else "0")]
        path = os.path.join(self.folder, "%d.txt" % self.count)
        with open(path + ".part", "w") as out:
            for key, value in facts:
                data = value if isinstance(value, bytes) else value.encode("utf-8")
                out.write("%s=%s\n" % (key, data.hex()))
        os.rename(path + ".part", path)
        return "250 accepted"


async def serve(folder, context, user):
    recorder = Recorder(folder)
    login = {}
    if user is not None:
        def authenticator(server, session, envelope, mechanism, data):
            return AuthResult(success=data.login == user.encode(), handled=False)
        login = {"authenticator": authenticator, "auth_required": True, "auth_require_tls": False}
    loop = asyncio.get_running_loop()
    server = await loop.create_server(
        lambda: SMTP(recorder, hostname="quorvel-test", tls_context=context, require_starttls=False, **login),
        "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()



def main():
    exit_when_the_test_is_gone()
    context = None
    user = None
    if len(sys.argv) == 4 and sys.argv[2] == "--login":
        user = sys.argv[3]
    elif len(sys.argv) == 4:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(sys.argv[2], sys.argv[3])
    asyncio.run(serve(sys.argv[1], context, user))


if __name__ == "__main__":
    main()
