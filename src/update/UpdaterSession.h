#pragma once

#include "update/UpdaterRun.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

// What the window shows of a run that has ended.
struct RunReport
{
    bool ok = false;
    // The outcome, as the status bar shows it and a failure notice says it.
    QString outcome;
    // The run's duration, shown after the outcome.
    QString duration;
    // What a failure notice has under its details: the updater's last words
    // and where its whole output is.
    QString details;
};

// "FW update OK", "FW update failed: exit code 3", ...: never OK unless the
// updater said so with exit code 0.
QString outcomeText(const RunEnd &end);

// One update at a time: starts the updater beside the executable on the
// listed images, from the application folder, with a log of its own, and
// reports how the run went.
class UpdaterSession : public QObject
{
    Q_OBJECT

public:
    explicit UpdaterSession(QObject *parent = nullptr);

    bool isRunning() const;
    // Starts a run; when it cannot start, returns false and *error says so
    // in words for the user.
    bool start(const QStringList &binFiles, QString *error);

signals:
    void running(QString status);
    void ended(RunReport report);

private:
    void finish(const RunEnd &end);

    UpdaterRun run;
    QElapsedTimer clock;
    QString logPath;
    QString logProblem;
};
