#include "update/station/StationRun.h"

#include "update/record/Background.h"
#include "update/record/DataFolder.h"
#include "update/record/HistoryReading.h"
#include "update/record/PendingRun.h"
#include "update/record/RunHistory.h"
#include "update/run/LogRetention.h"
#include "update/run/RunLog.h"
#include "update/run/RunSupervisor.h"
#include "update/run/SupervisorProtocol.h"
#include "update/run/UpdaterCommand.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {

// How long a press waits for its reading of the leaf before it gives up.
constexpr int leafPatienceMs = 2000;

// What keeps the program from being started at all, where anything is
// known to.
std::optional<Refusal> unstartable(const QString &program)
{
    const QFileInfo info(program);
    if (!info.exists())
        return Refusal::UpdaterMissing;
    if (info.isDir())
        return Refusal::UpdaterFolder;
#ifndef Q_OS_WIN
    // Windows runs a program whatever its permissions.
    if (!info.isExecutable())
        return Refusal::UpdaterNotExecutable;
#endif
    return std::nullopt;
}

// The debug line of a run's end.
QString endLine(const RunRecord &record)
{
    switch (record.outcome.value_or(Outcome::Unknown)) {
    case Outcome::Ok:
    case Outcome::Failed:
        return QStringLiteral("FW updater ended: exit code %1").arg(record.exitCode.value_or(-1));
    case Outcome::Crashed:
    case Outcome::Stopped:
        return QStringLiteral("FW updater ended: ") + outcomeName(*record.outcome);
    case Outcome::Interrupted:
    case Outcome::NotStarted:
    case Outcome::Unknown:
        break;
    }
    return QStringLiteral("FW updater ended: result unknown, ") + record.detail;
}

StationRun::State stateOf(RunWatch::State watched)
{
    switch (watched) {
    case RunWatch::State::Launched:
        return StationRun::State::Launching;
    case RunWatch::State::Following:
        return StationRun::State::Following;
    case RunWatch::State::Orphaned:
        return StationRun::State::Orphaned;
    case RunWatch::State::Foreign:
        return StationRun::State::Foreign;
    case RunWatch::State::Free:
        break;
    }
    return StationRun::State::Idle;
}

} // namespace

StationRun::StationRun(LeafReader readLeaf, QObject *parent)
    : QObject(parent)
    , readLeafNow(std::move(readLeaf))
{
    station.setParent(this);
    leafPatience.setSingleShot(true);
    leafPatience.setInterval(leafPatienceMs);
    connect(&leafPatience, &QTimer::timeout, this,
            [this] { refuse(refusalOf(Refusal::LeafSilent, pressed.leafPath)); });
    connect(&imageCheck, &ImageCheck::progress, this, &StationRun::checking);
    connect(&imageCheck, &ImageCheck::checked, this, &StationRun::launch);
    connect(&runWatch, &RunWatch::announced, this, &StationRun::tellStarted);
    connect(&runWatch, &RunWatch::ended, this, &StationRun::conclude);
    connect(&runWatch, &RunWatch::heldBy, this, [this](const RunInfo &on, bool ours) {
        if (ours && orphan.isNull())
            orphan = readPending(on.pending).value_or(RunRecord()).runId;
        emit heldBy(on, ours);
    });
    connect(&runWatch, &RunWatch::freed, this, &StationRun::tellFreed);
    connect(&runWatch, &RunWatch::filed, this, &StationRun::tellAbandoned);
    connect(&runWatch, &RunWatch::stateChanged, this, [this] {
        if (current == State::Idle || current >= State::Launching)
            settle();
    });
}

StationRun::~StationRun()
{
    if (retention) {
        retention->wait();
        delete retention;
    }
    // Nobody is left to tell.
    blockSignals(true);
    if (isChecking())
        cancel();
}

void StationRun::watch()
{
    // Off the GUI thread: a folder of a thousand logs, maybe on a slow disk.
    if (!retention) {
        retention = QThread::create([] {
            const QSet<QString> named = logsOfRecentRuns(historyPath(), LogLimits().days);
            for (const QString &name : pruneRunLogs(runsFolder(), QDateTime::currentDateTime(), named))
                qDebug() << "Run log removed:" << name;
        });
        retention->start();
    }
    // Anyone may put something at the lock's place: the window opens all the
    // same, and says it.
    if (const QString problem = RunLock::prepare(); !problem.isEmpty())
        emit lockUnusable(problem);
    runWatch.watch();
}

void StationRun::enter(State state)
{
    current = state;
    emit stateChanged();
}

StationRun::State StationRun::runState() const
{
    return stateOf(runWatch.state());
}

// Back to what the machine's run makes of this station: a press is over.
void StationRun::settle()
{
    question.reset();
    enter(runState());
}

// One run at a time, and one press: a press while another is asked about
// or read is not one more.
void StationRun::press(const Press &given)
{
    if (isBusy())
        return refuse(refusalOf(Refusal::Busy));
    if (current != State::Idle)
        return;
    pressed = given;
    if (const std::optional<Refusal> why = station.doorRefusal())
        return refuse(refusalOf(*why));
    if (const std::optional<Refusal> why = station.serialRefusal(given.serial))
        return refuse(refusalOf(*why, given.serial));
    // The panel as the station names it, whatever form it was typed in.
    pressed.serial = station.runFor(given.serial).unit;
    station.operatorSession()->pressed();
    if (!station.releases(given.tpSize, given.sensitivity)) {
        beginRecord();
        record.started = QDateTime::currentDateTime();
        return recordRefusal(
            {Refusal::NotReleased, given.tpSize, given.sensitivity, station.orderName(), {}, {}, 0});
    }
    if (station.settings().unitRequired)
        return lookUpUnit();
    readLeaf();
}

// The history is read off the GUI thread: it may hold a hundred thousand runs.
void StationRun::lookUpUnit()
{
    enter(State::LookingUp);
    inBackground(
        this, [unit = pressed.serial] { return lastOkRunOf(historyPath(), unit); },
        [this](const std::optional<RunRecord> &found) {
            earlierRun = found;
            if (found)
                return ask(Question::UpdatedBefore);
            readLeaf();
        });
}

void StationRun::ask(Question asking)
{
    question = asking;
    enter(State::Asking);
    emit asked(asking);
}

void StationRun::answer(bool yes)
{
    if (current != State::Asking || !question)
        return;
    const Question answered = *std::exchange(question, std::nullopt);
    if (!yes)
        return settle();
    switch (answered) {
    case Question::UpdatedBefore:
        return readLeaf();
    case Question::OtherTpSize:
        return confirmImages();
    case Question::NoImages:
        return checkImages();
    }
}

// The leaf is read again, the window answering while a slow share or a leaf
// of many entries takes its time.
void StationRun::readLeaf()
{
    if (pressed.leafPath.isEmpty())
        return confirmImages();
    if (const std::optional<LeafNow> now = readLeafNow(pressed.leafPath))
        return checkLeaf(*now);
    enter(State::ReadingLeaf);
    leafPatience.start();
}

void StationRun::leafRead(const LeafNow &now)
{
    if (current != State::ReadingLeaf)
        return;
    leafPatience.stop();
    checkLeaf(now);
}

// The listed images may go to the updater only as they are on disk now.
void StationRun::checkLeaf(const LeafNow &now)
{
    if (now.unlisted)
        return refuse({Refusal::Unlisted, {}, {}, {}, pressed.leafPath, {}, now.unlisted});
    if (now.images != pressed.images)
        return refuse(refusalOf(Refusal::ListChanged, pressed.leafPath));
    if (!pressed.otherTpSize.isEmpty())
        return ask(Question::OtherTpSize);
    confirmImages();
}

// A run that sends nothing flashes nothing: only on purpose.
void StationRun::confirmImages()
{
    if (pressed.images.isEmpty())
        return ask(Question::NoImages);
    checkImages();
}

void StationRun::checkImages()
{
    question.reset();
    emit begun();
    const QString program = updaterProgram();
    arguments = updaterArguments(pressed.images);
    for (int i = 0; i < pressed.images.size(); ++i)
        qDebug() << "argumentStrList" << i << ": " << arguments.at(i);
    qDebug() << "commandStr: " << updaterCommand(program, pressed.images);
    beginRecord();
    // Until the images are checked, a run found is left to itself.
    runWatch.pause(true);
    enter(State::Checking);
    imageCheck.start(pressed.images, program);
}

void StationRun::beginRecord()
{
    record = RunRecord::begun();
    record.tpSize = pressed.tpSize;
    record.sensitivity = pressed.sensitivity;
    const RunFor runFor = station.runFor(pressed.serial);
    if (!runFor.station.isEmpty())
        record.station = runFor.station;
    record.unit = runFor.unit;
    record.operatorId = runFor.operatorId;
    record.order = runFor.order;
    if (station.release().state() == ReleaseWatch::State::Read) {
        const Release &release = station.release().release();
        record.release = ReleaseFacts {release.manifest.release, release.sha256, release.keySha256};
    }
    record.images.clear();
    for (const QString &file : qAsConst(pressed.images))
        record.images.append({file, -1, {}, {}, false});
}

void StationRun::holdStart(bool hold)
{
    imageCheck.hold(hold);
}

void StationRun::cancel()
{
    imageCheck.cancel();
    runWatch.pause(false);
    record.started = QDateTime::currentDateTime();
    record.ended = record.started;
    record.seconds = 0;
    record.outcome = Outcome::NotStarted;
    record.refusal = Refusal::Cancelled;
    record.detail = detailOf(refusalOf(Refusal::Cancelled));
    QString problem;
    if (!appendToHistory(historyPath(), record, &problem))
        qDebug() << "History not written:" << problem;
    qDebug() << "FW update cancelled: the window was closed while the images were checked";
}

QString StationRun::stopOperator() const
{
    if (!station.settings().operatorRequired)
        return {};
    return runOperator.isEmpty() ? station.operatorSession().id() : runOperator;
}

bool StationRun::stop(const QString &operatorRead)
{
    const QString must = stopOperator();
    if (!must.isEmpty() && TextRule::check(operatorRead, TextRule::Form::Scanned).text != must)
        return false;
    stopAsked = true;
    runWatch.askToStop();
    return true;
}

void StationRun::launch(const QVector<FileFacts> &images, const FileFacts &updater)
{
    runWatch.pause(false);
    record.images = images;
    record.updater = updater;
    for (const FileFacts &image : qAsConst(record.images))
        if (!image.readError.isEmpty())
            record.notes.append(QFileInfo(image.path).fileName() + QStringLiteral(": ") + image.readError);
    const QString program = record.updater.path;
    record.started = QDateTime::currentDateTime();
    if (const std::optional<RunRefusal> refusal = releaseRefusal())
        return recordRefusal(*refusal);
    logProblem.clear();
    record.log = createRunLog(record.started, record.runId, &logProblem);
    if (const std::optional<RunRefusal> refusal = launchRefusal(program))
        return recordRefusal(*refusal);
    QString reason;
    // The updater runs in the application folder, where its own files may
    // be, however tpfw was started.
    if (!runWatch.launch({historyPath(), pendingPathFor(record.log), record,
                          QCoreApplication::applicationDirPath(), program, arguments},
                         &reason))
        return recordRefusal(refusalOf(startFailure(reason), supervisorProgram(), reason));
    settle();
}

// The images as checked are exactly the release's, or nothing starts: the
// bytes compared are those hashed into the record, read once.
std::optional<RunRefusal> StationRun::releaseRefusal() const
{
    const ReleaseWatch &release = station.release();
    if (release.state() == ReleaseWatch::State::None)
        return std::nullopt;
    if (station.isFaulty())
        return refusalOf(Refusal::SettingsFault);
    if (release.state() == ReleaseWatch::State::Reading)
        return refusalOf(Refusal::ReleaseReading);
    const std::optional<ReleaseMismatch> mismatch
        = station.releaseMismatchOf(pressed.tpSize, pressed.sensitivity, record.images);
    if (!mismatch)
        return std::nullopt;
    constexpr Refusal why[] = {Refusal::ImageNotReleased, Refusal::ImageExtra, Refusal::ImageMissing};
    RunRefusal refusal = refusalOf(why[mismatch->kind], mismatch->image);
    refusal.order = release.release().manifest.release;
    return refusal;
}

std::optional<RunRefusal> StationRun::launchRefusal(const QString &program)
{
    // What is sent must be what was checked.
    for (const FileFacts &image : qAsConst(record.images))
        if (image.changedWhileRead)
            return refusalOf(Refusal::ImageChanged, QFileInfo(image.path).fileName());
    if (const std::optional<Refusal> why = unstartable(program))
        return refusalOf(*why, program);
    // Never a run that a crash would leave without a trace.
    if (record.log.isEmpty())
        return refusalOf(Refusal::NoLog, {}, logProblem);
    if (const QString problem = RunLock::prepare(); !problem.isEmpty())
        return refusalOf(Refusal::NoLock, {}, problem);
    return std::nullopt;
}

// The state is told after the refusal: the window's button stays off until
// the technician has been told why.
void StationRun::refuse(const RunRefusal &refusal)
{
    if (current < State::Checking) {
        question.reset();
        current = runState();
    }
    emit refused(refusal);
    emit stateChanged();
}

// Nothing was started: recorded here, as nobody else will.
void StationRun::recordRefusal(const RunRefusal &refusal)
{
    QFile::remove(record.log);
    record.log.clear();
    record.ended = record.started;
    record.seconds = 0;
    record.outcome = Outcome::NotStarted;
    record.refusal = refusal.why;
    record.detail = detailOf(refusal);
    current = runState();
    emit notStarted(refusal);
    emit stateChanged();
    // Off the GUI thread: another tpfw may hold the history's lock a while.
    inBackground(
        this,
        [written = record] {
            QString problem;
            if (!appendToHistory(historyPath(), written, &problem))
                qDebug() << "History not written:" << problem;
            return problem;
        },
        [this](const QString &problem) { emit recorded(problem); });
}

void StationRun::tellStarted(const RunInfo &info, const RunRecord &run, bool own)
{
    if (!own)
        logProblem.clear();
    runOperator = run.operatorId;
    emit following(info, run);
    if (own)
        emit started();
}

void StationRun::conclude(const RunEnd &end, bool own, const RunRecord &run, const QString &pending)
{
    stopAsked = false;
    // What is told of the end is told of a station whose run is over; the
    // watch tells the state once it has been told.
    if (current >= State::Launching)
        current = runState();
    if (own && end.kind == RunEnd::Exited && end.exitCode == supervisorBusyCode) {
        QFile::remove(record.log);
        emit notStarted(refusalOf(Refusal::Busy));
        return;
    }
    if (own && end.kind == RunEnd::Exited && end.exitCode == supervisorUnrecordedCode)
        return tellUnrecorded(run);
    const std::optional<RunRecord> written = readPending(pending);
    if (written && !written->outcome)
        awaitKeeper(written->runId);
    else if (written)
        report(*written, written->historyProblem);
    else
        report(findRecord(historyPath(), run.runId), QString());
}

void StationRun::report(const std::optional<RunRecord> &found, const QString &historyProblem)
{
    if (historyProblem.isEmpty() && !found)
        qDebug() << "History not written: the run's record is not in it";
    else if (!historyProblem.isEmpty())
        qDebug() << "History not written:" << historyProblem;
    emit recorded(historyProblem);
    const RunRecord last = found.value_or(RunRecord());
    if (last.outcome == Outcome::NotStarted)
        return emit notStarted(recordedRefusal(last));
    qDebug().noquote() << endLine(last);
    emit ended(last, logProblem);
}

// The supervisor refused to start a run it could not record; its record of
// that, with the reason, is in the history where the history could be written.
void StationRun::tellUnrecorded(const RunRecord &run)
{
    const QString reason = findRecord(historyPath(), run.runId).value_or(RunRecord()).detail;
    qDebug().noquote() << "FW updater not started:" << reason;
    emit recorded(QString());
    emit notStarted(refusalOf(Refusal::Unrecorded, {}, reason));
}

// Its supervisor ended before the updater did, which may write on: the run's
// keeper files it once nothing of it is left, and the machine is free then.
void StationRun::awaitKeeper(const QUuid &runId)
{
    orphan = runId;
    runWatch.fileAbandoned(RunLock::current());
    // The watch looks at the machine once this end is told. Found free
    // already, the keeper has filed the run, and no freeing will be told.
    QTimer::singleShot(0, this, [this] {
        if (!orphan.isNull() && runWatch.state() == RunWatch::State::Free)
            tellFreed();
    });
}

// A run whose supervisor was gone is filed by its keeper, with the
// updater's end, once nothing of it is left.
void StationRun::tellFreed()
{
    emit freed();
    if (const QUuid id = std::exchange(orphan, QUuid()); !id.isNull())
        if (const std::optional<RunRecord> found = findRecord(historyPath(), id))
            report(found, QString());
}

void StationRun::tellAbandoned(const AbandonedRuns &abandoned)
{
    for (const QString &path : abandoned.damaged)
        emit damaged(path);
    for (const RunRecord &found : abandoned.interrupted)
        emit interrupted(found);
    if (!abandoned.interrupted.isEmpty())
        emit recorded(QString());
}
