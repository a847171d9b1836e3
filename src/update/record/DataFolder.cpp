#include "update/record/DataFolder.h"

#include <QStandardPaths>

namespace {

QString dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

} // namespace

QString historyPath()
{
    return dataFolder() + QStringLiteral("/history.jsonl");
}

QString runsFolder()
{
    return dataFolder() + QStringLiteral("/runs");
}
