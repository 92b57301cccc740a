#!/usr/bin/python3
"""A real SMTP server for the tests: aiosmtpd on 127.0.0.1 and a port the system chooses.

Usage: smtp_server.py FOLDER
Prints the port on the first line of standard output once it listens, then saves every message it
accepts as FOLDER/0001.eml, 0002.eml, ... (the bytes received after DATA, dot-stuffing removed).
Runs until it is terminated.
"""
import asyncio
import os
import sys

from aiosmtpd.smtp import SMTP


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


async def serve(folder):
    handler = SaveToFolder(folder)
    loop = asyncio.get_running_loop()
    server = await loop.create_server(lambda: SMTP(handler, decode_data=False), "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()


if __name__ == "__main__":
    asyncio.run(serve(sys.argv[1]))
