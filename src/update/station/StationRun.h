#pragma once

#include "update/record/Refusal.h"
#include "update/record/RunRecord.h"
#include "update/run/ImageCheck.h"
#include "update/run/LogPruning.h"
#include "update/run/RunWatch.h"
#include "update/station/PressRules.h"
#include "update/station/StationPolicy.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <optional>

class RunEnding;

// The station's updater from a press to the run's recorded end. A press is
// checked against the station's settings, asked about where it must be,
// its leaf read again and its images and the updater hashed off the GUI
// thread; then the run is handed to a supervisor (tpfw-run) that starts the
// updater and records how it ended, and is followed to that end, whatever
// became of the window that started it. Whatever run is on on the machine is
// told of too. A press that did not become a run says why, typed; one that
// got as far as a record is recorded as not started. Says nothing in words:
// the window does.
class StationRun : public QObject
{
    Q_OBJECT

public:
    enum class State {
        Idle,
        // The panel's earlier runs being looked up in the history.
        LookingUp,
        // A question asked, its answer awaited.
        Asking,
        // The leaf being read again, on a disk that takes its time.
        ReadingLeaf,
        // The images and the updater being hashed.
        Checking,
        // The run's supervisor started, its updater not yet.
        Launching,
        // A run of this data folder, its updater started.
        Following,
        // Another tpfw's or another user's run holds the machine.
        Foreign,
        // A run of this data folder whose supervisor is gone.
        Orphaned,
        // A run's end being read from the history, to be told.
        Ending,
        // The release being read: the press waits for its word.
        AwaitingRelease,
    };
    enum class Question {
        // The panel was updated OK before (earlier() says when and where).
        UpdatedBefore,
        // The images listed are from another TP size than the one checked.
        OtherTpSize,
        // Nothing is listed: the updater would be sent only its switch.
        NoImages,
    };
    // Reads the leaf again, at once where the disk answers at once; else
    // nothing, and the reading comes later through leafRead().
    using LeafReader = std::function<std::optional<LeafNow>(const QString &leafPath)>;

    explicit StationRun(LeafReader readLeaf, QObject *parent = nullptr);
    // Never stops a run. One whose images are being checked is cancelled and
    // recorded so: nothing of it outlives its owner.
    ~StationRun() override;

    StationPolicy &policy() { return station; }
    const StationPolicy &policy() const { return station; }
    // Keeps the run logs within their limits, files the runs of this data
    // folder left unfinished, and follows the run on, if any.
    void watch();
    void press(const Press &press);
    void answer(bool yes);
    void leafRead(const LeafNow &now);
    // While held, a press whose images are checked waits to be started.
    void holdStart(bool hold);
    // Who must ask for a stop, where the station asks for an operator: the
    // run's own, else the one signed in here; empty where anyone may.
    QString stopOperator() const;
    // Asks the supervisor of the followed run to stop its updater, where the
    // ID read is that of the one who must ask; false, and nothing asked, if
    // it is not.
    bool stop(const QString &operatorRead = QString());

    State state() const { return current; }
    const Press &lastPress() const { return pressed; }
    // The panel's last OK run, when asked about it.
    const std::optional<RunRecord> &earlier() const { return earlierRun; }
    // A press whose images are being checked, or a run on the machine.
    bool isBusy() const { return current == State::Checking || isRunState(current); }
    bool isChecking() const { return current == State::Checking; }
    // A run of this data folder is followed: this window's, or one it found.
    bool isFollowing() const { return runWatch.isFollowing(); }
    bool canStop() const { return current == State::Following; }
    // A stop was asked for here and the run has not ended yet.
    bool isStopping() const { return stopAsked; }

signals:
    void stateChanged();
    void asked(StationRun::Question question);
    // Turned away at the door: nothing begun, nothing recorded.
    void refused(const RunRefusal &refusal);
    // The press's images are about to be checked.
    void begun();
    void checking(int done, int total);
    // The updater of this window's press has started.
    void started();
    // The updater of the run followed, this window's or not, has started.
    void following(const RunInfo &info, const RunRecord &run);
    // A run this window cannot follow holds the machine; ours: this data
    // folder's, its supervisor gone.
    void heldBy(const RunInfo &on, bool ours);
    void freed();
    // The press ended without a run, recorded where that was possible.
    void notStarted(const RunRefusal &refusal);
    // logProblem: why the run has no log, where it has none.
    void ended(const RunRecord &record, const QString &logProblem);
    // After each record written, or not; problem says why not.
    void recorded(const QString &problem);
    void interrupted(const RunRecord &record);
    // A pending record that could not be read, set aside at path.
    void damaged(const QString &path);
    void lockUnusable(const QString &problem);

private:
    void enter(State state);
    State runState() const;
    Door door() const;
    void settle();
    void lookUpUnit();
    void ask(Question question);
    void awaitRelease(const Press &given);
    void releaseRead();
    void readLeaf();
    void checkLeaf(const LeafNow &now);
    void confirmImages();
    void checkImages();
    void beginRecord();
    void launch(const QVector<FileFacts> &images, const FileFacts &updater);
    void refuse(const RunRefusal &refusal);
    void recordRefusal(const RunRefusal &refusal);
    void cancel();
    void tellStarted(const RunInfo &info, const RunRecord &run, bool own);
    // A run on the machine, whoever's: the watch's to tell.
    static bool isRunState(State state);

    StationPolicy station;
    RunWatch runWatch;
    RunEnding *ending = nullptr;
    ImageCheck imageCheck;
    LeafReader readLeafNow;
    // How long a press waits for a reading of its leaf, or of the release.
    QTimer patience;
    State current = State::Idle;
    Press pressed;
    std::optional<Question> question;
    std::optional<RunRecord> earlierRun;
    LogPruning logPruning;
    QStringList arguments;
    RunRecord record;
    // The operator of the run followed, from its record.
    QString runOperator;
    QString logProblem;
    bool stopAsked = false;
};
