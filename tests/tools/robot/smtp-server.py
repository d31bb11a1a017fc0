"""A mail server for the robot's tests, on aiosmtpd: it takes every mail
and prints it as aiosmtpd's own debugging server does, except to a domain
that names a fault: refused.example is refused for good at RCPT (550), and
stall.example never answers its RCPT."""

import asyncio
import sys

from aiosmtpd.controller import Controller


class Handler:
    async def handle_RCPT(self, server, session, envelope, address, options):
        domain = address.rsplit("@", 1)[-1].lower()
        if domain == "refused.example":
            return "550 5.1.1 no such mailbox here"
        if domain == "stall.example":
            await asyncio.sleep(3600)
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        print("---------- MESSAGE FOLLOWS ----------")
        print(envelope.content.decode("utf-8", "replace"))
        print("------------ END MESSAGE ------------", flush=True)
        return "250 OK"


def main():
    host, port = sys.argv[1].rsplit(":", 1)
    controller = Controller(Handler(), hostname=host, port=int(port))
    controller.start()
    print("serving", flush=True)
    try:
        asyncio.new_event_loop().run_forever()
    finally:
        controller.stop()


main()
