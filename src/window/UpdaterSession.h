#pragma once

#include "selection/DirListing.h"
#include "update/run/ImageCheck.h"
#include "update/record/RunRecord.h"
#include "update/run/RunWatch.h"
#include "window/StationGate.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

class QThread;
struct RunInfo;

// What the window shows of a run that has ended.
struct RunReport
{
    bool ok = false;
    // False where the outcome is not known: neither OK nor failed.
    bool known = true;
    // The outcome, as the status bar shows it and a failure notice says it.
    QString outcome;
    // The run's duration, shown after the outcome.
    QString duration;
    // What a failure notice has under its details: the updater's last words
    // and where its whole output is.
    QString details;
};

// What is shown of the run followed, from its record: what it was sent,
// where its output goes and when it began.
struct RunView
{
    QString tpSize;
    QString sensitivity;
    int images = 0;
    QString log;
    QDateTime started;
};

// "FW update OK", "FW update failed: exit code 3", ...: never OK unless the
// updater said so with exit code 0, and was sent images.
QString outcomeText(const RunRecord &record);

// The station's updater as one window sees it. A press takes the size and
// hash of the listed images and of the updater, then hands the run to a
// supervisor (tpfw-run) that starts the updater beside the executable, from
// the application folder, with a log of its own, and records how it ended.
// The window only observes: whatever run is on on the machine, started here,
// by another window or by another user, is shown, and a run of this data
// folder is followed to its end, whatever became of the window that started it.
class UpdaterSession : public QObject
{
    Q_OBJECT

public:
    explicit UpdaterSession(QObject *parent = nullptr);
    // Never stops a run. One still being prepared (its images being checked)
    // is cancelled: nothing of it outlives the window.
    ~UpdaterSession() override;

    // Files the runs of this data folder that were left unfinished (each
    // told by interrupted()), and follows the run on, if any.
    void look();
    // The images being checked, or a run on the machine.
    bool isBusy() const;
    // A press whose images are being checked: nothing started yet.
    bool isChecking() const;
    // While held, a press whose images are checked waits to be started.
    void holdStart(bool hold);

    // A run of this data folder is followed: this window's, or one it found.
    bool isFollowing() const { return runWatch.isFollowing(); }
    // A run of this data folder is followed, and so may be stopped here.
    bool canStop() const;
    // The images are read off the GUI thread; the supervisor starts when
    // that is done, or notStarted says why it could not.
    void start(const QStringList &binFiles, const Leaf &leaf, const RunFor &runFor);
    // Records a press the station does not allow (detail in the record's
    // English), and tells notStarted with the notice.
    void refuseAtPress(const QStringList &binFiles, const Leaf &leaf, const RunFor &runFor,
                       const QString &detail, const QString &notice);
    // Asks the supervisor of the followed run to stop its updater.
    void stop();
    // A stop was asked for here and the run has not ended yet.
    bool isStopping() const { return stopAsked; }

signals:
    void running(QString status);
    // The updater of this window's press has started.
    void started();
    // The updater of the run followed, this window's or not, has started.
    void following(RunView run);
    void notStarted(QString error);
    void ended(RunReport report);
    // After each run, recorded or not; problem says why not.
    void recorded(QString problem);
    void interrupted(QString warning);
    // Something the technician must know that is no run's end (a run lock
    // that cannot be used, records set aside as damaged).
    void warned(QString warning);
    // A run came or went.
    void busyChanged();

private:
    void begin(const QStringList &binFiles, const Leaf &leaf, const RunFor &runFor);
    void launch(const QVector<FileFacts> &images, const FileFacts &updater);
    // Leaves the check of the images behind, unwaited, and records the
    // press as not started.
    void cancel();
    void refuse(const QString &reason, const QString &notice);
    void tellStarted(const RunInfo &info, const RunRecord &run, bool own);
    void conclude(const RunEnd &end, bool own, const RunRecord &run, const QString &pending);
    void endUnstarted(const QString &reason);
    void report(const std::optional<RunRecord> &found, const QString &historyProblem);
    void tellAbandoned(const AbandonedRuns &abandoned);
    void tellUnrecorded(const RunRecord &run);

    RunWatch runWatch;
    ImageCheck imageCheck;
    // Removes the run logs beyond what is kept, once, at start.
    QThread *retention = nullptr;
    QStringList arguments;
    RunRecord current;
    QString logProblem;
    bool stopAsked = false;
};
