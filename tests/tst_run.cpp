#include "update/record/DataFolder.h"
#include "update/record/HistoryReading.h"
#include "update/record/PendingRun.h"
#include "update/run/ImageCheck.h"
#include "update/run/RunKeeper.h"
#include "update/run/RunLock.h"
#include "update/run/RunLog.h"
#include "update/run/RunSupervisor.h"
#include "update/run/RunWatch.h"
#include "update/run/SupervisorProtocol.h"
#include "update/run/UpdaterCommand.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

// The run itself, the core alone: what the keeper tells its supervisor, the
// images checked off the GUI thread, and a run handed to a real supervisor,
// followed through the machine's lock to its record in the history.
class TestRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void theKeepersLinesReadBack_data();
    void theKeepersLinesReadBack();
    void imagesAreCheckedAsTheyAre();
    void aRunIsFollowedToItsFiledEnd();
    void theSupervisorsExitCodeSaysWhyNothingStarted();

private:
    SupervisedRun aRun() const;

    QString image;
};

void TestRun::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    image = QCoreApplication::applicationDirPath() + "/FwBinFiles/7inch/High/fw.bin";
    QDir().mkpath(QFileInfo(image).path());
    QFile file(image);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("image") == 5);
    QDir().mkpath(QFileInfo(updaterProgram()).path());
    QFile::remove(updaterProgram());
    QVERIFY(QFile::copy(TPFW_STANDIN, updaterProgram()));
}

void TestRun::init()
{
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)).removeRecursively();
    QTRY_VERIFY_WITH_TIMEOUT(!RunLock::current(), 15000);
}

SupervisedRun TestRun::aRun() const
{
    RunRecord record = RunRecord::begun();
    record.tpSize = "7inch";
    record.sensitivity = "High";
    record.started = QDateTime::currentDateTime();
    record.images.append({image, 5, {}, {}, false});
    QString error;
    record.log = createRunLog(record.started, record.runId, &error);
    return {historyPath(),    pendingPathFor(record.log), record, QCoreApplication::applicationDirPath(),
            updaterProgram(), updaterArguments({image})};
}

namespace {

// What the supervisor learns from the keeper's lines, in a word each.
QString toldBy(const QByteArray &lines)
{
    const KeeperReport report = RunKeeper::read(lines);
    QStringList told {QString::number(report.updaterPid), QString::number(report.startError)};
    if (report.updaterEnd)
        told << QString::number(report.updaterEnd->kind) + ":" + QString::number(report.updaterEnd->exitCode);
    if (report.over)
        told << "over";
    // An end never told is the run's unknown end, never an exit 0.
    if (report.runEnd().kind == RunEnd::Unknown)
        told << "unknown";
    return told.join(' ');
}

} // namespace

void TestRun::theKeepersLinesReadBack_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("told");
    const QByteArray started = RunKeeper::startedLine(4242);
    const QByteArray exited = RunKeeper::exitedLine({RunEnd::Exited, 3, {}, false, 0});
    QTest::newRow("started") << started << "4242 0 unknown";
    QTest::newRow("not started") << RunKeeper::failedLine(7) << "0 7 unknown";
    QTest::newRow("exited 3, then over") << started + exited + RunKeeper::overLine(10) << "4242 0 0:3 over";
    QTest::newRow("crashed") << started + RunKeeper::exitedLine({RunEnd::Crashed, 11, {}, false, 0})
                             << "4242 0 1:11";
    // A keeper killed while it wrote told nothing of that line.
    QTest::newRow("a line cut short") << started + exited.chopped(1) << "4242 0 unknown";
    QTest::newRow("words of no line")
        << QByteArray("started\nexited 0\nover 1 2\nhello 5\n") << "0 0 unknown";
}

void TestRun::theKeepersLinesReadBack()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, told);
    QCOMPARE(toldBy(lines), told);
}

// Held, a finished check waits to tell; cancelled, it tells nothing.
void TestRun::imagesAreCheckedAsTheyAre()
{
    ImageCheck check;
    QList<std::pair<QVector<FileFacts>, FileFacts>> checked;
    connect(&check, &ImageCheck::checked, this,
            [&](const QVector<FileFacts> &images, const FileFacts &updater) {
                checked.append({images, updater});
            });
    check.hold(true);
    check.start({image, image + ".gone"}, updaterProgram());
    QTRY_COMPARE(check.state(), ImageCheck::State::Awaiting);
    QVERIFY(checked.isEmpty());
    check.hold(false);
    QTRY_COMPARE(checked.size(), 1);
    const auto &[images, updater] = checked.at(0);
    QCOMPARE(images.size(), 2);
    QCOMPARE(images.at(0).bytes, qint64(5));
    QCOMPARE(images.at(0).sha256, QCryptographicHash::hash("image", QCryptographicHash::Sha256).toHex());
    QCOMPARE(images.at(1).bytes, qint64(-1));
    QVERIFY(images.at(1).sha256.isEmpty());
    QCOMPARE(updater.path, updaterProgram());

    check.hold(true);
    check.start({image}, updaterProgram());
    QTRY_COMPARE(check.state(), ImageCheck::State::Awaiting);
    check.cancel();
    check.hold(false);
    QCOMPARE(check.state(), ImageCheck::State::Idle);
    QTest::qWait(0);
    QCOMPARE(checked.size(), 1);
}

// The lock held by the run's supervisor while its updater writes, a stop
// asked through the supervisor, the watch's states in order, and the run's
// end filed in the history.
void TestRun::aRunIsFollowedToItsFiledEnd()
{
    RunWatch watch;
    QList<RunWatch::State> states;
    connect(&watch, &RunWatch::stateChanged, this, [&] {
        if (states.isEmpty() || states.last() != watch.state())
            states.append(watch.state());
    });
    std::optional<RunInfo> whileOn;
    bool ownRun = false;
    connect(&watch, &RunWatch::announced, this, [&](const RunInfo &, const RunRecord &, bool own) {
        whileOn = RunLock::current();
        ownRun = own;
    });
    // As the station does at start: a lock file not yet made is not watched.
    QFile::remove(RunLock::path());
    QCOMPARE(RunLock::prepare(), QString());
    QString endedPending;
    connect(&watch, &RunWatch::ended, this,
            [&](const RunEnd &, bool, const RunRecord &, const QString &pending) { endedPending = pending; });
    watch.watch();
    // Writing until asked to stop, through the supervisor.
    qputenv("TPFW_STANDIN_SECONDS", "60");
    const SupervisedRun run = aRun();
    QString error;
    QVERIFY2(watch.launch(run, &error), qPrintable(error));
    QTRY_VERIFY_WITH_TIMEOUT(whileOn, 20000);
    qunsetenv("TPFW_STANDIN_SECONDS");
    QVERIFY(ownRun);
    QVERIFY(whileOn->pending == run.pending && whileOn->updaterPid > 0);
    watch.askToStop();
    QTRY_VERIFY_WITH_TIMEOUT(!endedPending.isEmpty(), 30000);
    QCOMPARE(states,
             QList<RunWatch::State>(
                 {RunWatch::State::Launched, RunWatch::State::Following, RunWatch::State::Free}));
    QCOMPARE(endedPending, run.pending);
    QVERIFY(!QFile::exists(run.pending));
    const std::optional<RunRecord> filed = findRecord(historyPath(), run.record.runId);
    QVERIFY(filed);
    QCOMPARE(filed->outcome, Outcome::Stopped);
}

void TestRun::theSupervisorsExitCodeSaysWhyNothingStarted()
{
    const auto supervise = [](const SupervisedRun &run) {
        QProcess supervisor;
        supervisor.start(supervisorProgram(), supervisorArguments(run));
        return supervisor.waitForFinished(30000) ? supervisor.exitCode() : -1;
    };
    // No pending record can be written: nothing starts, and the history
    // says why, typed.
    SupervisedRun unrecordable = aRun();
    unrecordable.pending = QDir::tempPath() + "/no such folder/run.pending.json";
    QCOMPARE(supervise(unrecordable), supervisorUnrecordedCode);
    const std::optional<RunRecord> refused = findRecord(historyPath(), unrecordable.record.runId);
    QVERIFY(refused);
    QCOMPARE(refused->outcome, Outcome::NotStarted);
    QCOMPARE(refused->refusal, Refusal::Unrecorded);
#ifndef Q_OS_WIN
    // Another run holds the machine: nothing starts, nothing is recorded.
    // (On Windows the lock is a mutex this thread would take again.)
    std::unique_ptr<RunLock> held = RunLock::take().lock;
    QVERIFY(held);
    const SupervisedRun busy = aRun();
    QCOMPARE(supervise(busy), supervisorBusyCode);
    QVERIFY(!findRecord(historyPath(), busy.record.runId));
#endif
}

QTEST_GUILESS_MAIN(TestRun)
#include "tst_run.moc"
