#!/usr/bin/python3
"""A real SMTP server for the tests: aiosmtpd on 127.0.0.1 and ports the system chooses.

Usage: smtp_server.py FOLDER [CERTIFICATE KEY USER PASSWORD]
Listens in plain text without AUTH. With a certificate, its key and an account it also listens with
STARTTLS on a second port and with TLS from the first byte on a third; on both AUTH PLAIN or LOGIN
as that account is required before MAIL. Prints the ports (plain first, then STARTTLS and TLS) on
the first line of standard output once it listens, then saves every message it accepts as
FOLDER/0001.eml, 0002.eml, ... (the bytes received after DATA, dot-stuffing removed). Runs until
it is terminated.
"""
import asyncio
import logging
import os
import ssl
import sys
import warnings

from aiosmtpd.smtp import SMTP, AuthResult


class SaveToFolder:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        path = os.path.join(self.folder, "%04d.eml" % self.count)
        with open(path + ".part", "wb") as file:
            file.write(envelope.original_content)
        os.rename(path + ".part", path)  # readers never see half a message
        return "250 Message accepted for delivery"


def authenticator_for(user, password):
    expected = (user.encode("utf-8"), password.encode("utf-8"))

    def authenticate(server, session, envelope, mechanism, data):
        # handled=False: aiosmtpd itself answers a refusal with 535.
        return AuthResult(success=(data.login, data.password) == expected, handled=False)

    return authenticate


async def listen(factory, ssl_context=None):
    loop = asyncio.get_running_loop()
    server = await loop.create_server(factory, "127.0.0.1", 0, ssl=ssl_context)
    return server, server.sockets[0].getsockname()[1]


async def serve(folder, tls):
    handler = SaveToFolder(folder)
    servers = [await listen(lambda: SMTP(handler, decode_data=False))]
    warnings.simplefilter("ignore")  # about AUTH without STARTTLS, on the TLS port
    logging.disable()
    if tls:
        certificate, key, user, password = tls
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(certificate, key)
        authenticator = authenticator_for(user, password)
        servers.append(await listen(lambda: SMTP(
            handler, decode_data=False, tls_context=context, require_starttls=True,
            authenticator=authenticator, auth_required=True)))
        # aiosmtpd counts only STARTTLS as encrypted; here the whole connection is.
        servers.append(await listen(lambda: SMTP(
            handler, decode_data=False, authenticator=authenticator, auth_required=True,
            auth_require_tls=False), context))
    print(" ".join(str(port) for _, port in servers), flush=True)
    await asyncio.gather(*(server.serve_forever() for server, _ in servers))


if __name__ == "__main__":
    asyncio.run(serve(sys.argv[1], sys.argv[2:6] if len(sys.argv) > 2 else None))
