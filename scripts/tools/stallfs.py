#!/usr/bin/python3
"""A small read-only FUSE file system that stalls on demand, as a network share whose server stops
answering does.

Usage: stallfs.py [--attr-cache SECONDS] [--answer OP,...] MOUNTPOINT CONTROLFILE

While CONTROLFILE exists, every request (lookups, attributes, directory listings, reads, the
free-space query) waits; when it is removed they all answer (after MAX_STALL seconds by itself). The tree holds a few folders and files
and the files that Wine reads a drive's label and serial number from. Runs in the foreground until
unmounted; prints a line per stall and release to standard output.

--attr-cache: how long the kernel keeps names and attributes that it has seen (libfuse's default
is one second). While it holds them, a stat of a known path answers from the cache, as a client
with a long attribute cache answers for a dead server; what reaches the file system still stalls.
--answer: operations that answer during a stall too (e.g. "opendir": a new handle on a folder then
opens, and only the listing, the free-space query, lookups and reads wait).
"""
import argparse
import contextlib
import ctypes
import errno
import signal
import os
import stat
import sys
import threading
import time

from fusepy import FUSE, FuseOSError, Operations

# Files by path; folders are the paths that end in "/".
TREE = {
    "/": None,
    "/Berichte/": None,
    "/Berichte/quartal-1.txt": b"Umsatz;Kosten\r\n1200;800\r\n",
    "/Berichte/quartal-2.txt": b"Umsatz;Kosten\r\n1350;820\r\n",
    "/Bilder/": None,
    "/Bilder/logo.txt": b"(kein Bild)\r\n",
    "/liesmich.txt": b"Ablage der Abteilung.\r\n",
    # Wine's mount manager takes the drive's label and serial number from these.
    "/.windows-label": b"ARCHIV",
    "/.windows-serial": b"5a17d1ce",
}
BLOCK = 4096
# 48 GiB, 18 GiB free: a plausible share with a used share that is not round.
TOTAL_BLOCKS = 48 * 1024 * 1024 * 1024 // BLOCK
FREE_BLOCKS = 18 * 1024 * 1024 * 1024 // BLOCK


# Seconds after which a stall ends by itself.
MAX_STALL = 300


def now_ms():
    return int(time.time() * 1000)


class StallFS(Operations):
    use_ns = True

    # Attributes carry a leading underscore: fusepy registers every operation whose name the
    # object has ("lock", "read", ...).
    def __init__(self, control, answered=()):
        self._control = control
        self._answered = frozenset(answered)
        self._started = time.time_ns()
        self._guard = threading.Lock()
        self._held = 0
        self._held_ops = {}
        self._stall_start = None

    def __call__(self, op, *args):
        # Starting and ending the file system never wait: an unmount must go through.
        if op not in ("init", "destroy") and op not in self._answered:
            self._gate(op)
        return super().__call__(op, *args)

    def _gate(self, op):
        if not os.path.exists(self._control):
            return
        with self._guard:
            if self._stall_start is None:
                self._stall_start = time.monotonic()
                print(f"{now_ms()} stalled", flush=True)
            started = self._stall_start
            self._held += 1
            self._held_ops[op] = self._held_ops.get(op, 0) + 1
        while os.path.exists(self._control):
            # A stall that nobody ends (its harness killed) ends by itself.
            if time.monotonic() - started > MAX_STALL:
                with contextlib.suppress(FileNotFoundError):
                    os.remove(self._control)
                break
            time.sleep(0.02)
        with self._guard:
            if self._stall_start is not None:
                self._stall_start = None
                ops = ",".join(f"{k}:{v}" for k, v in sorted(self._held_ops.items()))
                print(f"{now_ms()} released held={self._held} ops={ops}", flush=True)
                self._held = 0
                self._held_ops = {}

    def _node(self, path):
        if path in TREE:
            return path, TREE[path]
        if path + "/" in TREE:
            return path + "/", None
        raise FuseOSError(errno.ENOENT)

    def getattr(self, path, fh=None):
        key, data = self._node(path)
        times = dict(st_atime=self._started, st_mtime=self._started, st_ctime=self._started)
        if key.endswith("/"):
            return dict(st_mode=stat.S_IFDIR | 0o555, st_nlink=2, st_size=0, **times)
        return dict(st_mode=stat.S_IFREG | 0o444, st_nlink=1, st_size=len(data), **times)

    def readdir(self, path, fh):
        key, _ = self._node(path)
        if not key.endswith("/"):
            raise FuseOSError(errno.ENOTDIR)
        names = [".", ".."]
        for entry in TREE:
            if entry != key and entry.startswith(key):
                rest = entry[len(key):].rstrip("/")
                if rest and "/" not in rest:
                    names.append(rest)
        return names

    def open(self, path, flags):
        key, _ = self._node(path)
        if flags & (os.O_WRONLY | os.O_RDWR):
            raise FuseOSError(errno.EROFS)
        return 0

    def read(self, path, size, offset, fh):
        _, data = self._node(path)
        if data is None:
            raise FuseOSError(errno.EISDIR)
        return data[offset:offset + size]

    def statfs(self, path):
        return dict(f_bsize=BLOCK, f_frsize=BLOCK, f_blocks=TOTAL_BLOCKS, f_bfree=FREE_BLOCKS,
                    f_bavail=FREE_BLOCKS, f_files=100000, f_ffree=99990, f_favail=99990,
                    f_namemax=255)


def main():
    parser = argparse.ArgumentParser(description="A read-only FUSE file system that stalls on demand.")
    parser.add_argument("--attr-cache", type=float, default=None, metavar="SECONDS")
    parser.add_argument("--answer", default="", metavar="OP,...")
    parser.add_argument("mountpoint")
    parser.add_argument("control")
    args = parser.parse_args()
    options = {}
    if args.attr_cache is not None:
        options = dict(attr_timeout=args.attr_cache, entry_timeout=args.attr_cache)
    # Unmounted when the harness that started it dies, however it dies: libfuse ends its loop on
    # SIGTERM and unmounts.
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)
    answered = [op for op in args.answer.split(",") if op]
    FUSE(StallFS(os.path.abspath(args.control), answered), args.mountpoint, foreground=True, ro=True,
         fsname="sandrivo-stall", **options)


if __name__ == "__main__":
    main()
