#pragma once

#include <QString>

// Where a station's user keeps what tpfw writes: the history and the run
// logs, in the user's own data folder.

// The station's history, one JSON record a line.
QString historyPath();
// The folder of the run logs.
QString runsFolder();
