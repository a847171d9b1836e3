#pragma once

#include "selection/DirListing.h"
#include "update/RunHistory.h"
#include "update/UpdaterRun.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QThread;
struct CheckedFiles;

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

// One update at a time: takes the size and hash of the listed images and of
// the updater, starts the updater beside the executable on them, from the
// application folder, with a log of its own, reports how the run went and
// records it in the station's history.
class UpdaterSession : public QObject
{
    Q_OBJECT

public:
    explicit UpdaterSession(QObject *parent = nullptr);
    // Never stops a run. One still being prepared (its images being checked)
    // is waited for and started, unfollowed: the user was told the update
    // goes on without the window.
    ~UpdaterSession() override;

    // The images being checked, or the updater running.
    bool isBusy() const;
    // The images are read off the GUI thread; the updater starts when that
    // is done, or notStarted says why it could not.
    void start(const QStringList &binFiles, const Leaf &leaf);

signals:
    void running(QString status);
    void started();
    void notStarted(QString error);
    void ended(RunReport report);
    // After each run, recorded or not; problem says why not.
    void recorded(QString problem);

private:
    void launch();
    void finish(const RunEnd &end);
    void record(const QString &outcome, std::optional<int> exitCode, const QString &detail);

    UpdaterRun run;
    QThread *checker = nullptr;
    std::shared_ptr<CheckedFiles> checked;
    QStringList arguments;
    RunRecord current;
    QString logProblem;
};
