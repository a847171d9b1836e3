#pragma once

#include "update/record/RunRecord.h"

#include <QString>

// Writing the station's history (see historyPath()).

// Appends the record as one line, whole or not at all, synced to disk, under
// a lock that every tpfw of the station takes. A line cut short before (a
// power loss) is left as it is, and the record starts on a fresh line. On
// failure says why.
bool appendToHistory(const QString &path, const RunRecord &record, QString *error);

// How the filing of a pending record went.
enum class Filing { Filed, FiledByAnother, Failed };
// The same, for a run whose record waits in pendingPath: under the history's
// lock, so that of all who try, one appends it and removes the pending
// record, once. Where the history cannot be written, *error says why.
Filing fileRecord(const QString &path, const RunRecord &record, const QString &pendingPath, QString *error);
