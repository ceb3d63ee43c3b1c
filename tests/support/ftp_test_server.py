#!/usr/bin/python3
"""A plain FTP server on 127.0.0.1 for the upload tests, with the awkward behaviours they need.

Prints "PORT <n>" on standard output once it listens, then serves until killed.
"""
import argparse
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import DTPHandler, FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


def parse_arguments():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True, help="the folder the user sees as /")
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--login-log", required=True, help="one line per successful login")
    parser.add_argument("--read-only-folder", default="", help="a folder under root without write rights")
    parser.add_argument("--throttle", type=int, default=0, help="bytes per second received")
    parser.add_argument("--cut-after", type=int, default=0,
                        help="drop the data and control connections after this many bytes")
    parser.add_argument("--stall-after", type=int, default=0,
                        help="stop reading the data connection after this many bytes")
    parser.add_argument("--lose-last-byte", action="store_true",
                        help="keep every stored file one byte short, as a faulty disk might")
    parser.add_argument("--no-rename-over", action="store_true",
                        help="refuse a rename onto an existing file, as some servers do")
    return parser.parse_args()


class CuttingDTPHandler(DTPHandler):
    cut_after = 0

    def handle_read(self):
        super().handle_read()
        if self.tot_bytes_received >= self.cut_after:
            control = self.cmd_channel
            self.close()
            control.close()

    # The base class binds handle_read_event to its own handle_read.
    handle_read_event = handle_read


class StallingDTPHandler(DTPHandler):
    stall_after = 0

    def handle_read(self):
        super().handle_read()
        if self.tot_bytes_received >= self.stall_after:
            self.del_channel()  # no longer polled: the sender's window fills up and stays full

    handle_read_event = handle_read


class NoRenameOverFS(AbstractedFS):
    def rename(self, src, dst):
        if os.path.exists(dst):
            raise OSError(17, "Target exists")
        super().rename(src, dst)


def make_handler(arguments):
    class CountingHandler(FTPHandler):
        def on_login(self, username):
            with open(arguments.login_log, "a") as log:
                log.write(username + "\n")

        def on_file_received(self, path):
            if arguments.lose_last_byte and os.path.getsize(path) > 0:
                os.truncate(path, os.path.getsize(path) - 1)

    if arguments.cut_after:
        CuttingDTPHandler.cut_after = arguments.cut_after
        CountingHandler.dtp_handler = CuttingDTPHandler
    elif arguments.stall_after:
        StallingDTPHandler.stall_after = arguments.stall_after
        CountingHandler.dtp_handler = StallingDTPHandler
    elif arguments.throttle:
        ThrottledDTPHandler.read_limit = arguments.throttle
        CountingHandler.dtp_handler = ThrottledDTPHandler
    if arguments.no_rename_over:
        CountingHandler.abstracted_fs = NoRenameOverFS

    authorizer = DummyAuthorizer()
    authorizer.add_user(arguments.user, arguments.password, arguments.root, perm="elradfmwMT")
    if arguments.read_only_folder:
        folder = os.path.join(arguments.root, arguments.read_only_folder)
        authorizer.override_perm(arguments.user, folder, perm="elr", recursive=True)
    CountingHandler.authorizer = authorizer
    CountingHandler.auth_failed_timeout = 0.1  # a refused login answers at once
    CountingHandler.passive_ports = None
    CountingHandler.permit_foreign_addresses = False
    return CountingHandler


def main():
    arguments = parse_arguments()
    server = FTPServer(("127.0.0.1", 0), make_handler(arguments))
    print("PORT %d" % server.socket.getsockname()[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    import logging
    logging.basicConfig(level=logging.WARNING, stream=sys.stderr)
    main()
