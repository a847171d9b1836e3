#!/usr/bin/python3
# A folder as a network share that does not answer: listing it, or its one
# sub-folder "High", takes the given number of seconds; looking at either
# answers at once.
# usage: hang_fs.py MOUNTPOINT SECONDS
import errno
import stat
import sys
import time

from fusepy import FUSE, FuseOSError, Operations


class Hang(Operations):
    def __init__(self, seconds):
        self.seconds = seconds

    def getattr(self, path, fh=None):
        if path in ('/', '/High'):
            return dict(st_mode=stat.S_IFDIR | 0o755, st_nlink=2)
        raise FuseOSError(errno.ENOENT)

    def readdir(self, path, fh):
        time.sleep(self.seconds)
        return ['.', '..', 'High'] if path == '/' else ['.', '..']


FUSE(Hang(float(sys.argv[2])), sys.argv[1], foreground=True)
