#!/usr/bin/python3
# A share holding one file, a copy of SOURCE, whose reading waits until it is
# let: asked to read, it makes GATE.asked, and answers once GATE exists.
# usage: gate_fs.py MOUNTPOINT SOURCE GATE
import errno
import os
import stat
import sys
import time

from fusepy import FUSE, FuseOSError, Operations


class Gate(Operations):
    def __init__(self, source, gate):
        self.name = '/' + os.path.basename(source)
        with open(source, 'rb') as f:
            self.bytes = f.read()
        self.gate = gate

    def getattr(self, path, fh=None):
        if path == '/':
            return dict(st_mode=stat.S_IFDIR | 0o755, st_nlink=2)
        if path != self.name:
            raise FuseOSError(errno.ENOENT)
        return dict(st_mode=stat.S_IFREG | 0o644, st_nlink=1, st_size=len(self.bytes))

    def readdir(self, path, fh):
        return ['.', '..', self.name[1:]]

    def read(self, path, size, offset, fh):
        open(self.gate + '.asked', 'w').close()
        while not os.path.exists(self.gate):
            time.sleep(0.02)
        return self.bytes[offset:offset + size]


FUSE(Gate(sys.argv[2], sys.argv[3]), sys.argv[1], foreground=True)
