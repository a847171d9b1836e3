#pragma once

#include "update/record/PendingRun.h"
#include "update/record/RunRecord.h"
#include "update/run/RunLock.h"
#include "update/run/RunProcess.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

struct SupervisedRun;

// The machine's run as one data folder sees it. Watches the machine's run
// lock; follows a run of this data folder to its end through its supervisor,
// started here or found running; tells when a run it cannot follow holds the
// machine; files the runs left unfinished. Says nothing in words: its owner
// does.
class RunWatch : public QObject
{
    Q_OBJECT

public:
    enum class State {
        Free,
        // This window's supervisor is started; its updater is not yet.
        Launched,
        // A run of this data folder, its updater started.
        Following,
        // A run of this data folder whose supervisor is gone, the lock still
        // held by what its updater left.
        Orphaned,
        // Another tpfw's or another user's run, or one not known yet.
        Foreign,
    };

    explicit RunWatch(QObject *parent = nullptr);

    // Starts watching the machine; files the runs left unfinished.
    void watch();
    // While paused (the images of a press being checked), a run found is
    // not taken up.
    void pause(bool on) { paused = on; }
    // Hands a run of this window to its supervisor; false, saying why, where
    // it cannot be started.
    bool launch(const SupervisedRun &run, QString *error);
    void askToStop() { supervisor.askToStop(); }
    // Files the runs left unfinished but the one on (on), if any.
    void fileAbandoned(const std::optional<RunInfo> &on);

    State state() const { return current; }
    // A run of this data folder is followed through its supervisor.
    bool isFollowing() const { return current == State::Launched || current == State::Following; }
    // Another's run, or one of this data folder whose supervisor is gone.
    bool isHeldByOther() const { return current == State::Orphaned || current == State::Foreign; }

signals:
    // The followed run's updater has started; own: this window's press.
    void announced(const RunInfo &info, const RunRecord &run, bool own);
    // The followed run's supervisor has ended; pending is its record's path.
    void ended(const RunEnd &end, bool own, const RunRecord &run, const QString &pending);
    // A run this window cannot follow holds the machine (looked at once a
    // second); ours: this data folder's, its supervisor gone.
    void heldBy(const RunInfo &on, bool ours);
    // The machine was held by a run this window could not follow, and is free.
    void freed();
    void filed(const AbandonedRuns &found);
    void stateChanged();

private:
    void lookAtMachine();
    void follow(const RunInfo &info);
    void announce(const RunInfo &info);
    void conclude(const RunEnd &end);

    RunProcess supervisor;
    State current = State::Free;
    bool paused = false;
    // The run followed: its pending record's path and what it said at first,
    // and whether this window started it.
    QString followedPending;
    RunRecord followedRecord;
    bool ownRun = false;
    QFileSystemWatcher lockWatch;
    QTimer recheck;
};
