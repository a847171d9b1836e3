#include "update/record/DataFolder.h"
#include "update/record/HistoryReading.h"
#include "update/record/RunHistory.h"
#include "update/run/RunLock.h"
#include "update/run/SupervisorProtocol.h"
#include "update/run/UpdaterCommand.h"
#include "update/station/StationRun.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(std::optional<Refusal>)

// A press of UpdateFW taken from request to recorded end without a window:
// what the station refuses, what it asks and what each answer does, a run
// followed to its end, and what another's run on the machine does to a press.
class TestStationRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void aPressFromRequestToRecordedEnd_data();
    void aPressFromRequestToRecordedEnd();
    void everyRefusalHasItsRule();
    void anotherRunHoldsTheMachine();
    void aPressKeepsTheOperatorSignedIn();
    void onlyTheListedSignInAndOnlyTheRunsOperatorStops();

private:
    QTemporaryDir settingsDir;
    QString settingsPath;
    QString leaf;
};

namespace {

const QStringList answerNames = {"UpdatedBefore", "OtherTpSize", "NoImages"};

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
}

QList<RunRecord> historyOf()
{
    QFile file(historyPath());
    QList<RunRecord> records;
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray &line : file.readAll().split('\n'))
            if (const std::optional<RunRecord> record = fromJsonLine(line))
                records.append(*record);
    return records;
}

} // namespace

void TestStationRun::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    settingsPath = settingsDir.filePath("station.ini");
    qputenv("TPFW_STATION_SETTINGS", QFile::encodeName(settingsPath));
    writeFile(settingsPath, {});
    leaf = QCoreApplication::applicationDirPath() + "/FwBinFiles/7inch/High";
    writeFile(leaf + "/fw.bin", "image");
}

void TestStationRun::init()
{
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)).removeRecursively();
    QDir().mkpath(QFileInfo(updaterProgram()).path());
    // A check cancelled with its window may still read the updater: on
    // Windows it cannot be replaced until it is done.
    QTRY_VERIFY(!QFile::exists(updaterProgram()) || QFile::remove(updaterProgram()));
    QVERIFY(QFile::copy(TPFW_STANDIN, updaterProgram()));
}

void TestStationRun::cleanup()
{
    // A station that asks for nothing.
    writeFile(settingsPath, {});
    QTRY_VERIFY_WITH_TIMEOUT(!RunLock::current(), 10000);
}

void TestStationRun::aPressFromRequestToRecordedEnd_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<bool>("updatedBefore");
    QTest::addColumn<QString>("other");
    QTest::addColumn<int>("onDisk");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<std::optional<Refusal>>("refused");
    // The record's outcome, "" where nothing is recorded.
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QString>("detail");

    const QByteArray serials = "[unit]\nrequired=true\npattern=SN\\d{4}\n";
    const std::optional<Refusal> none;
    // onDisk: the images the leaf holds now (-1: the leaf never answers).
    QTest::newRow("a run followed to its end")
        << QByteArray() << "" << false << "" << 1 << true << QStringList() << none << "ok"
        << "";
    QTest::newRow("settings that cannot be used")
        << QByteArray("[unit]\nrequired=maybe\n") << "" << false << "" << 1 << true << QStringList()
        << std::optional(Refusal::SettingsFault) << ""
        << "";
    QTest::newRow("nobody signed in") << QByteArray("[operator]\nrequired=true\n") << "" << false << "" << 1
                                      << true << QStringList() << std::optional(Refusal::NoOperator) << ""
                                      << "";
    QTest::newRow("no serial") << serials << "" << false << "" << 1 << true << QStringList()
                               << std::optional(Refusal::NoSerial) << ""
                               << "";
    QTest::newRow("not a serial") << serials << "XX12" << false << "" << 1 << true << QStringList()
                                  << std::optional(Refusal::BadSerial) << ""
                                  << "";
    QTest::newRow("not released") << QByteArray("[order]\nname=WO-7\nleaves=7inch/Low\n") << "" << false << ""
                                  << 1 << true << QStringList() << std::optional(Refusal::NotReleased)
                                  << "notStarted"
                                  << "7inch/High is not released for order WO-7: nothing was started.";
    QTest::newRow("the list changed") << QByteArray() << "" << false << "" << 2 << true << QStringList()
                                      << std::optional(Refusal::ListChanged) << ""
                                      << "";
    QTest::newRow("the leaf never answers") << QByteArray() << "" << false << "" << -1 << true
                                            << QStringList() << std::optional(Refusal::LeafSilent) << ""
                                            << "";
    QTest::newRow("updated before, No")
        << serials << "SN0001" << true << "" << 1 << false << QStringList("UpdatedBefore") << none << ""
        << "";
    QTest::newRow("updated before, Yes")
        << serials << "SN0001" << true << "" << 1 << true << QStringList("UpdatedBefore") << none << "ok"
        << "";
    QTest::newRow("another TP size checked, No")
        << QByteArray() << "" << false << "10inch" << 1 << false << QStringList("OtherTpSize") << none << ""
        << "";
    QTest::newRow("another TP size checked, Yes")
        << QByteArray() << "" << false << "10inch" << 1 << true << QStringList("OtherTpSize") << none << "ok"
        << "";
    QTest::newRow("nothing listed, No")
        << QByteArray() << "" << false << "" << 0 << false << QStringList("NoImages") << none << ""
        << "";
    QTest::newRow("no updater") << QByteArray() << "" << false << "" << 1 << true << QStringList()
                                << std::optional(Refusal::UpdaterMissing) << "notStarted"
                                << "not found";
}

void TestStationRun::aPressFromRequestToRecordedEnd()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, serial);
    QFETCH(bool, updatedBefore);
    QFETCH(QString, other);
    QFETCH(int, onDisk);
    QFETCH(bool, yes);
    QFETCH(QStringList, asked);
    QFETCH(std::optional<Refusal>, refused);
    QFETCH(QString, outcome);
    QFETCH(QString, detail);
    if (!settings.isEmpty())
        writeFile(settingsPath, settings);
    if (updatedBefore) {
        RunRecord earlier = RunRecord::begun();
        earlier.started = QDateTime::currentDateTime().addDays(-1);
        earlier.tpSize = "7inch";
        earlier.sensitivity = "High";
        earlier.unit = serial;
        earlier.outcome = Outcome::Ok;
        earlier.exitCode = 0;
        earlier.images.append({leaf + "/fw.bin", 5, QByteArray(64, 'a'), {}, false});
        QString error;
        QVERIFY2(appendToHistory(historyPath(), earlier, &error), qPrintable(error));
    }
    if (detail == "not found")
        QFile::remove(updaterProgram());
    const QStringList listed = onDisk == 0 ? QStringList() : QStringList(leaf + "/fw.bin");
    const QStringList now = onDisk > 1 ? listed + QStringList(leaf + "/new.bin") : listed;
    StationRun run([&](const QString &) {
        return onDisk < 0 ? std::nullopt : std::optional(LeafNow {now, 0});
    });
    QStringList questions;
    QList<Refusal> refusals;
    std::optional<RunRecord> ended;
    bool recorded = false;
    connect(&run, &StationRun::asked, this, [&](StationRun::Question question) {
        questions.append(answerNames.at(int(question)));
        run.answer(yes);
    });
    connect(&run, &StationRun::refused, this,
            [&](const RunRefusal &refusal) { refusals.append(refusal.why); });
    connect(&run, &StationRun::notStarted, this,
            [&](const RunRefusal &refusal) { refusals.append(refusal.why); });
    connect(&run, &StationRun::ended, this, [&](const RunRecord &record) { ended = record; });
    connect(&run, &StationRun::recorded, this, [&] { recorded = true; });

    run.press({"7inch", "High", onDisk == 0 ? QString() : leaf, listed, serial, other});
    if (!outcome.isEmpty())
        QTRY_VERIFY_WITH_TIMEOUT(recorded, 20000);
    else if (refused == Refusal::LeafSilent) {
        QTRY_VERIFY_WITH_TIMEOUT(!refusals.isEmpty(), 10000);
        // Its answer, come after the press gave up, starts nothing.
        run.leafRead({listed, 0});
    }
    QTRY_COMPARE(questions, asked);
    QCOMPARE(refusals, refused ? QList<Refusal>({*refused}) : QList<Refusal>());
    QTRY_COMPARE(run.state(), StationRun::State::Idle);
    QList<RunRecord> records = historyOf();
    if (updatedBefore)
        records.removeFirst();
    QCOMPARE(records.size(), outcome.isEmpty() ? 0 : 1);
    if (outcome.isEmpty())
        return;
    QCOMPARE(outcomeName(*records.first().outcome), outcome);
    QCOMPARE(records.first().detail, detail);
    QCOMPARE(records.first().unit, serial);
    // Only a run that was started ends.
    QCOMPARE(bool(ended), outcome == "ok");
}

// Each refusal, and the rule that decides it from what it is given; a press
// cancelled by its window's end is recorded so.
void TestStationRun::everyRefusalHasItsRule()
{
    const Press press {"7inch", "High", leaf, {leaf + "/fw.bin"}, "SN1", {}};
    const Door open;
    const auto door = [](bool Door::*flag, bool release = false) {
        Door at;
        at.release = release;
        at.*flag = true;
        return at;
    };
    const QVector<FileFacts> changed {{leaf + "/fw.bin", 5, {}, {}, true}};
    const QString updater = QFileInfo(updaterProgram()).absoluteFilePath();
    const Launch launchable {{}, QFileInfo(updater), "run.log", {}, {}};
    const auto launch = [&](auto change) {
        Launch changedLaunch = launchable;
        change(changedLaunch);
        return launchRefusal(changedLaunch);
    };
    const auto mismatch = [&](ReleaseMismatch::Kind kind) {
        return releaseRefusal(door(&Door::release), ReleaseMismatch {kind, "fw.bin"}, "r1");
    };
    const QVector<std::pair<Refusal, std::optional<RunRefusal>>> rules {
        {Refusal::Busy, doorRefusal(door(&Door::busy))},
        {Refusal::SettingsFault, doorRefusal(door(&Door::faulty))},
        {Refusal::ReleaseReading, releaseRefusal(door(&Door::releaseReading, true), std::nullopt, "r1")},
        {Refusal::NoOperator, doorRefusal(door(&Door::operatorRequired))},
        {Refusal::NoSerial, serialRefusal(true, "", std::nullopt)},
        {Refusal::BadSerial, serialRefusal(true, "XX12", std::nullopt)},
        {Refusal::NotReleased, notReleasedRefusal(press, false, "WO-7")},
        {Refusal::LeafSilent, leafRefusal(press, std::nullopt)},
        {Refusal::Unlisted, leafRefusal(press, LeafNow {press.images, 2})},
        {Refusal::ListChanged, leafRefusal(press, LeafNow {{}, 0})},
        {Refusal::ImageNotReleased, mismatch(ReleaseMismatch::NotReleased)},
        {Refusal::ImageExtra, mismatch(ReleaseMismatch::Extra)},
        {Refusal::ImageMissing, mismatch(ReleaseMismatch::Missing)},
        {Refusal::ImageChanged, launch([&](Launch &l) { l.images = changed; })},
        {Refusal::UpdaterMissing, launch([&](Launch &l) { l.updater = QFileInfo(updater + ".gone"); })},
        {Refusal::UpdaterFolder, launch([&](Launch &l) { l.updater = QFileInfo(leaf); })},
#ifdef Q_OS_WIN
        // Windows runs a program whatever its permissions, and says so at its start.
        {Refusal::UpdaterNotExecutable, startRefusal(updater, notExecutable())},
#else
        {Refusal::UpdaterNotExecutable, launch([&](Launch &l) { l.updater = QFileInfo(leaf + "/fw.bin"); })},
#endif
        {Refusal::NoLog, launch([](Launch &l) { l.log.clear(); })},
        {Refusal::NoLock, launch([](Launch &l) { l.lockProblem = "Permission denied"; })},
        {Refusal::TooManyImages, startRefusal(updater, tooManyImages())},
        {Refusal::CannotStart, startRefusal(updater, "No such file or directory")},
        {Refusal::Unrecorded,
         refusalOf(*supervisorRefusal({RunEnd::Exited, supervisorUnrecordedCode, {}, false, 0}))},
    };
    // None refuses what a sound press brings.
    QVERIFY(!doorRefusal(open) && !serialRefusal(true, "SN1", QString("SN1"))
            && !notReleasedRefusal(press, true, {}) && !leafRefusal(press, LeafNow {press.images, 0})
            && !releaseRefusal(door(&Door::release), {}, "r1") && !launchRefusal(launchable));
    QSet<int> covered;
    for (const auto &[expected, found] : rules) {
        QVERIFY2(found && found->why == expected, qPrintable(refusalName(expected)));
        covered.insert(int(expected));
    }
    QCOMPARE(supervisorRefusal({RunEnd::Exited, supervisorBusyCode, {}, false, 0}), Refusal::Busy);
    {
        StationRun run([this](const QString &) { return std::optional(LeafNow {{leaf + "/fw.bin"}, 0}); });
        run.holdStart(true);
        run.press(press);
        QTRY_VERIFY(run.isChecking());
    }
    QTRY_COMPARE(historyOf().value(0).refusal, Refusal::Cancelled);
    covered.insert(int(Refusal::Cancelled));
    QCOMPARE(covered.size(), int(Refusal::Cancelled) + 1);
}

// A run this station cannot follow holds the machine: a press is refused
// while it does, and the station is free again once it has ended.
void TestStationRun::anotherRunHoldsTheMachine()
{
#ifdef Q_OS_WIN
    QSKIP("The lock is a mutex there, which the thread that holds it takes again: no other run to see");
#endif
    std::unique_ptr<RunLock> held = RunLock::take().lock;
    QVERIFY(held);
    held->setInfo({4242, 0, QString(), QDateTime::currentDateTime()});
    StationRun run([](const QString &) { return std::nullopt; });
    QList<bool> ours;
    connect(&run, &StationRun::heldBy, this, [&](const RunInfo &, bool own) { ours.append(own); });
    QList<Refusal> refusals;
    connect(&run, &StationRun::refused, this,
            [&](const RunRefusal &refusal) { refusals.append(refusal.why); });
    run.watch();
    QTRY_COMPARE(run.state(), StationRun::State::Foreign);
    QCOMPARE(ours.value(0), false);
    run.press({"7inch", "High", leaf, {leaf + "/fw.bin"}, {}, {}});
    QCOMPARE(refusals, QList<Refusal>({Refusal::Busy}));
    QCOMPARE(run.state(), StationRun::State::Foreign);
    held.reset();
    QTRY_COMPARE(run.state(), StationRun::State::Idle);
}

// Idleness is counted from the operator's last press, refused or not.
void TestStationRun::aPressKeepsTheOperatorSignedIn()
{
    writeFile(settingsPath,
              "[operator]\nrequired=true\nidleMinutes=1\n[order]\nname=WO-7\nleaves=7inch/Low\n");
    StationRun run([](const QString &) { return std::nullopt; });
    OperatorSession *session = run.policy().operatorSession();
    qint64 now = 0;
    session->setClock([&] { return now; });
    session->signIn("op7");
    now += 50000;
    run.press({"7inch", "High", leaf, {leaf + "/fw.bin"}, {}, {}});
    now += 50000;
    session->checkIdle();
    QCOMPARE(session->state(), OperatorSession::State::SignedIn);
    now += 11000;
    session->checkIdle();
    QCOMPARE(session->state(), OperatorSession::State::SignedOut);
    QTRY_VERIFY(!historyOf().isEmpty());
}

// Who may sign in is the station's list, inline or in a file of its own,
// read again when either changes; a run's operator alone stops it.
void TestStationRun::onlyTheListedSignInAndOnlyTheRunsOperatorStops()
{
    const QString listFile = settingsDir.filePath("operators.txt");
    writeFile(listFile, "\xEF\xBB\xBFop7\r\nop9\n\n");
    writeFile(settingsPath, "[operator]\nrequired=true\nids=op7; \uFF2F\uFF30\uFF18\n");
    StationRun run([this](const QString &) { return std::optional(LeafNow {{leaf + "/fw.bin"}, 0}); });
    OperatorSession *session = run.policy().operatorSession();
    QVERIFY(session->signIn("op9").notListed);
    QVERIFY(!session->signIn("OP8"));
    QCOMPARE(session->id(), QString("OP8"));
    writeFile(settingsPath, "[operator]\nrequired=true\nids=" + QFile::encodeName(listFile) + "\n");
    // No longer listed: signed out.
    QTRY_COMPARE(session->state(), OperatorSession::State::SignedOut);
    QVERIFY(!session->signIn("op9"));
    writeFile(listFile, "op7\n");
    QTRY_COMPARE(session->state(), OperatorSession::State::SignedOut);
    QVERIFY(!session->signIn("op7"));

    qputenv("TPFW_STANDIN_SECONDS", "60");
    std::optional<RunRecord> ended;
    connect(&run, &StationRun::ended, this, [&](const RunRecord &record) { ended = record; });
    run.watch();
    run.press({"7inch", "High", leaf, {leaf + "/fw.bin"}, {}, {}});
    QTRY_VERIFY_WITH_TIMEOUT(run.canStop(), 20000);
    qunsetenv("TPFW_STANDIN_SECONDS");
    // Another operator signed in since: the run's own still stops it.
    writeFile(listFile, "op7\nop9\n");
    QTRY_VERIFY(!session->signIn("op9"));
    QCOMPARE(run.stopOperator(), QString("op7"));
    for (const char *who : {"", "op9"}) {
        QVERIFY(!run.stop(who));
        QVERIFY(!run.isStopping());
    }
    QVERIFY(run.stop("\uFF4F\uFF50\uFF17"));
    QTRY_VERIFY_WITH_TIMEOUT(ended, 30000);
    QCOMPARE(outcomeName(*ended->outcome), QString("stopped"));
}

QTEST_GUILESS_MAIN(TestStationRun)
#include "tst_stationrun.moc"
