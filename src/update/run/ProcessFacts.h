#pragma once

#include <QDateTime>
#include <QString>

// Its Unix source is Linux's: it uses /proc/<pid>/exe, /proc/<pid>/stat and
// /proc/stat.

// Whether process pid runs `program` (this installation's own file) and
// started no later than `latest`. A process number read from a file that
// anyone may write is believed only then: it may name anything, or a
// process that took the number of one long gone.
bool isProcessOf(qint64 pid, const QString &program, const QDateTime &latest);
