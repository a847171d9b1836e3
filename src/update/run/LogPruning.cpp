#include "update/run/LogPruning.h"

#include "update/record/DataFolder.h"
#include "update/run/LogRetention.h"

#include <QDateTime>
#include <QDebug>

LogPruning::~LogPruning()
{
    if (thread)
        thread->wait();
}

void LogPruning::start()
{
    if (thread)
        return;
    thread.reset(QThread::create([] {
        const QSet<QString> named = logsOfRecentRuns(historyPath(), LogLimits().days);
        for (const QString &name : pruneRunLogs(runsFolder(), QDateTime::currentDateTime(), named))
            qDebug() << "Run log removed:" << name;
    }));
    thread->start();
}
