#include "update/station/StationRun.h"

#include "update/record/Background.h"
#include "update/record/DataFolder.h"
#include "update/record/HistoryReading.h"
#include "update/record/PendingRun.h"
#include "update/record/RunHistory.h"
#include "update/run/RunEnding.h"
#include "update/run/RunLog.h"
#include "update/run/RunSupervisor.h"
#include "update/run/UpdaterCommand.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>

namespace {

// How long a press waits for a reading before it gives up.
constexpr int patienceMs = 2000;

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
    patience.setSingleShot(true);
    patience.setInterval(patienceMs);
    connect(&patience, &QTimer::timeout, this, [this] {
        refuse(current == State::AwaitingRelease ? refusalOf(Refusal::ReleaseReading)
                                                 : *leafRefusal(pressed, std::nullopt));
    });
    connect(&station, &StationPolicy::changed, this, &StationRun::releaseRead);
    connect(&imageCheck, &ImageCheck::progress, this, &StationRun::checking);
    connect(&imageCheck, &ImageCheck::checked, this, &StationRun::launch);
    connect(&runWatch, &RunWatch::announced, this, &StationRun::tellStarted);
    // What is told of the end is told of a station whose run is over; the
    // watch tells the state once it has been told.
    connect(&runWatch, &RunWatch::ended, this, [this] {
        stopAsked = false;
        if (isRunState(current))
            current = runState();
    });
    connect(&runWatch, &RunWatch::heldBy, this, &StationRun::heldBy);
    connect(&runWatch, &RunWatch::stateChanged, this, [this] {
        if (current == State::Idle || isRunState(current))
            settle();
    });
    // Told of the end after the state is.
    ending = new RunEnding(&runWatch, this);
    connect(ending, &RunEnding::readingDone, this, [this] {
        if (current == State::Ending)
            settle();
    });
    connect(ending, &RunEnding::ended, this, [this](const RunRecord &run) { emit ended(run, logProblem); });
    connect(ending, &RunEnding::notStarted, this, &StationRun::notStarted);
    connect(ending, &RunEnding::recorded, this, &StationRun::recorded);
    connect(ending, &RunEnding::interrupted, this, &StationRun::interrupted);
    connect(ending, &RunEnding::damaged, this, &StationRun::damaged);
    connect(ending, &RunEnding::freed, this, &StationRun::freed);
}

StationRun::~StationRun()
{
    // Nobody is left to tell.
    blockSignals(true);
    if (isChecking())
        cancel();
}

void StationRun::watch()
{
    logPruning.start();
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

bool StationRun::isRunState(State state)
{
    switch (state) {
    case State::Launching:
    case State::Following:
    case State::Foreign:
    case State::Orphaned:
    case State::Ending:
        return true;
    case State::Idle:
    case State::LookingUp:
    case State::Asking:
    case State::ReadingLeaf:
    case State::Checking:
    case State::AwaitingRelease:
        return false;
    }
    return false;
}

Door StationRun::door() const
{
    Door door = station.door();
    door.busy = isBusy();
    return door;
}

StationRun::State StationRun::runState() const
{
    return ending->isReading() ? State::Ending : stateOf(runWatch.state());
}

// Back to what the machine's run makes of this station: a press is over.
void StationRun::settle()
{
    question.reset();
    enter(runState());
}

// A press while another is asked about or read is not one more.
void StationRun::press(const Press &given)
{
    if (current != State::Idle && !isBusy())
        return;
    const StationSettings &settings = station.settings();
    std::optional<RunRefusal> refusal = doorRefusal(door());
    if (!refusal)
        refusal = serialRefusal(settings.unitRequired, given.serial, settings.serialOf(given.serial));
    if (refusal && refusal->why == Refusal::ReleaseReading)
        return awaitRelease(given);
    if (refusal)
        return refuse(*refusal);
    pressed = given;
    // The panel as the station names it, whatever form it was typed in.
    pressed.serial = station.runFor(given.serial).unit;
    station.operatorSession()->pressed();
    refusal
        = notReleasedRefusal(pressed, station.releases(given.tpSize, given.sensitivity), station.orderName());
    if (refusal) {
        beginRecord();
        record.started = QDateTime::currentDateTime();
        return recordRefusal(*refusal);
    }
    if (station.settings().unitRequired)
        return lookUpUnit();
    readLeaf();
}

// A release being read when the press came is waited for, as a leaf is: the
// press then meets the release as read.
void StationRun::awaitRelease(const Press &given)
{
    pressed = given;
    enter(State::AwaitingRelease);
    patience.start();
}

void StationRun::releaseRead()
{
    if (current != State::AwaitingRelease || door().releaseReading)
        return;
    patience.stop();
    current = State::Idle;
    press(pressed);
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
    patience.start();
}

void StationRun::leafRead(const LeafNow &now)
{
    if (current != State::ReadingLeaf)
        return;
    patience.stop();
    checkLeaf(now);
}

// The listed images may go to the updater only as they are on disk now.
void StationRun::checkLeaf(const LeafNow &now)
{
    if (const std::optional<RunRefusal> refusal = leafRefusal(pressed, now))
        return refuse(*refusal);
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
    const ReleaseWatch &release = station.release();
    if (const std::optional<RunRefusal> refusal = releaseRefusal(
            door(), station.releaseMismatchOf(pressed.tpSize, pressed.sensitivity, record.images),
            release.release().manifest.release))
        return recordRefusal(*refusal);
    logProblem.clear();
    record.log = createRunLog(record.started, record.runId, &logProblem);
    if (const std::optional<RunRefusal> refusal
        = launchRefusal({record.images, QFileInfo(program), record.log, logProblem, RunLock::prepare()}))
        return recordRefusal(*refusal);
    QString reason;
    // The updater runs in the application folder, where its own files may
    // be, however tpfw was started.
    if (!runWatch.launch({historyPath(), pendingPathFor(record.log), record,
                          QCoreApplication::applicationDirPath(), program, arguments},
                         &reason))
        return recordRefusal(startRefusal(supervisorProgram(), reason));
    settle();
}

// The state is told after the refusal: the window's button stays off until
// the technician has been told why.
void StationRun::refuse(const RunRefusal &refusal)
{
    if (!isBusy()) {
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
