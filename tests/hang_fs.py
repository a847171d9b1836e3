#!/usr/bin/python3
# A folder as a network share that does not answer. With "list", listing it
# or its one sub-folder "High" takes the given number of seconds, looking at
# either answers at once; with "look", looking at the folder itself takes
# that long too, once it has been mounted two seconds.
# usage: hang_fs.py MOUNTPOINT SECONDS list|look
import errno
import stat
import sys
import time

from fusepy import FUSE, FuseOSError, Operations


class Hang(Operations):
    def __init__(self, seconds, what):
        self.seconds = seconds
        self.what = what
        self.mounted = time.monotonic()

    def getattr(self, path, fh=None):
        if path not in ('/', '/High'):
            raise FuseOSError(errno.ENOENT)
        if self.what == 'look' and time.monotonic() - self.mounted > 2:
            time.sleep(self.seconds)
        return dict(st_mode=stat.S_IFDIR | 0o755, st_nlink=2)

    def readdir(self, path, fh):
        time.sleep(self.seconds)
        return ['.', '..', 'High'] if path == '/' else ['.', '..']


FUSE(Hang(float(sys.argv[2]), sys.argv[3]), sys.argv[1], foreground=True)
