#include "TestSupport.h"

#include "update/record/DataFolder.h"
#include "update/record/PendingRun.h"
#include "update/record/RunHistory.h"
#include "update/run/RunLock.h"
#include "update/run/RunLog.h"
#include "update/run/SupervisorProtocol.h"
#include "update/run/UpdaterCommand.h"
#include "window/MainWindow.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include <csignal>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

// The run belongs to the machine, not to the window that started it.
class TestSupervisor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void aSecondWindowFollowsTheRun();
    void anotherUsersRunHoldsTheMachine();
    void aForgedWordIsNotFollowed();
    void runsLeftUnfinishedAreFiledOnce();
    void stopAsksThenEndsTheUpdater();
    void anUpdaterThatEndedOnItsOwnKeepsItsOutcome();
    void aRunWhosePendingRecordIsGoneIsFiled();
    void sleepIsHeldOffDuringTheRun();

private:
    static QString status(MainWindow &window) { return window.statusBar()->currentMessage(); }
    static QPushButton *button(MainWindow &window, const char *name = nullptr)
    {
        return name ? window.findChild<QPushButton *>(name) : window.findChild<QPushButton *>();
    }
    void startSupervisor(QProcess &supervisor);
    // The stand-in's starts and ends, in order.
    QStringList spans() const { return fileLines(scratch.filePath("spans")); }

    QTemporaryDir scratch;
    // For notices that no window's button is watched for.
    QPushButton unrelated;
};

void TestSupervisor::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    placeUpdater(TPFW_STANDIN);
    qputenv("TPFW_STANDIN_SPANS", QFile::encodeName(scratch.filePath("spans")));
}

void TestSupervisor::init()
{
    // Windows keeps a file a reader left behind still has open: wait for it.
    QTRY_VERIFY(
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)).removeRecursively());
    clearFirmwareTree();
    QFile::remove(scratch.filePath("spans"));
}

void TestSupervisor::cleanup()
{
    for (const char *name : {"TPFW_STANDIN_SECONDS", "TPFW_STANDIN_EXIT", "TPFW_STANDIN_IGNORE_TERM"})
        qunsetenv(name);
    // Nothing a test started is left holding the machine.
    QTRY_VERIFY_WITH_TIMEOUT(!RunLock::current(), 15000);
}

void TestSupervisor::aSecondWindowFollowsTheRun()
{
    qputenv("TPFW_STANDIN_SECONDS", "1");
    qputenv("TPFW_STANDIN_EXIT", "3");
    NoticeWatch notices([&] { return &unrelated; });
    auto first = std::make_unique<MainWindow>();
    QVERIFY(chooseAnImage(first.get()));
    QMetaObject::invokeMethod(first.get(), "updateFw");
    QTRY_VERIFY(status(*first).startsWith("FW updater running (started "));
    // Closed mid-run, and opened again: it finds the run and follows it.
    first.reset();
    MainWindow second;
    QVERIFY(chooseAnImage(&second));
    QTRY_VERIFY(status(second).startsWith("FW updater running (started "));
    QVERIFY(!button(second)->isEnabled());
    QMetaObject::invokeMethod(&second, "updateFw");
    QTRY_VERIFY_WITH_TIMEOUT(status(second).startsWith("FW update failed: exit code 3 ("), 5000);
    QCOMPARE(notices.texts(),
             QStringList({"The FW updater is still running.", "FW update failed: exit code 3"}));
    QVERIFY(notices.seen.last().details.contains("PanelProg stand-in: failing with exit code 3"));
    QCOMPARE(spans(), QStringList({"start", "end"}));
    const QList<QJsonObject> lines = historyRecords();
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.at(0).value("outcome").toString(), QString("failed"));
    QTRY_VERIFY(button(second)->isEnabled());
}

void TestSupervisor::anotherUsersRunHoldsTheMachine()
{
    // Another user's data folder, and its own supervisor.
    const QString other = scratch.filePath("other");
    QDir().mkpath(other + "/runs");
    QFile(other + "/runs/1.log").open(QIODevice::WriteOnly);
    const QStringList arguments({other + "/history.jsonl", other + "/runs/1.pending.json",
                                 pressedRecord(other + "/runs/1.log"), QCoreApplication::applicationDirPath(),
                                 updaterProgram(), "-ba"});
    qputenv("TPFW_STANDIN_SECONDS", "1.5");
    QProcess theirs;
    theirs.start(supervisorProgram(), arguments);
    QVERIFY(theirs.waitForStarted());
    auto window = std::make_unique<MainWindow>();
    QTRY_VERIFY(QRegularExpression("^FW updater running \\(another tpfw's, started \\d\\d:\\d\\d:\\d\\d\\)$")
                    .match(status(*window))
                    .hasMatch());
    QVERIFY(!button(*window)->isEnabled());
    // Closed without a question: the run is none of this window's.
    NoticeWatch notices([&] { return button(*window); });
    QVERIFY(window->close());
    QVERIFY(notices.texts().isEmpty());
    window = std::make_unique<MainWindow>();
    // However it is asked, a second updater is refused while one runs.
    QCOMPARE(QProcess::execute(supervisorProgram(), arguments), 75);
    QVERIFY(theirs.waitForFinished(10000));
    QTRY_VERIFY_WITH_TIMEOUT(button(*window)->isEnabled(), 2500);
    QVERIFY(status(*window).isEmpty());
    QCOMPARE(historyRecords(other + "/history.jsonl").value(0).value("outcome").toString(), QString("ok"));

    QVERIFY(chooseAnImage(window.get()));
    QMetaObject::invokeMethod(window.get(), "updateFw");
    QTRY_COMPARE_WITH_TIMEOUT(notices.texts(), QStringList("Update FW OK !!!"), 5000);
    QCOMPARE(spans(), QStringList({"start", "end", "start", "end"}));
}

void TestSupervisor::aForgedWordIsNotFollowed()
{
    // The lock's file is everyone's to write: a word naming this user's runs
    // folder, but no pending record there, is nobody's run to follow or stop.
    // (Held here: on Windows the lock is a mutex, which this very thread
    // would find free.)
#ifdef Q_OS_UNIX
    const std::unique_ptr<RunLock> held = RunLock::take().lock;
    QVERIFY(held);
    QProcess bystander;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TPFW_STANDIN_SECONDS", "30");
    bystander.setProcessEnvironment(environment);
    bystander.start(updaterProgram(), {"-ba"});
    QVERIFY(bystander.waitForStarted());
    held->setInfo(
        {bystander.processId(), bystander.processId(),
         QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/runs/x.pending.json",
         QDateTime::currentDateTime()});
    MainWindow window;
    window.show();
    QTest::qWait(500);
    QVERIFY(!button(window)->isEnabled());
    QVERIFY(button(window, "stopButton")->isHidden());
    QVERIFY(!status(window).startsWith("FW updater running (started"));
    bystander.kill();
    bystander.waitForFinished();
#endif
}

void TestSupervisor::runsLeftUnfinishedAreFiledOnce()
{
#ifdef Q_OS_UNIX
    FirmwareTree tree({"7inch/High/a.bin"});
    qputenv("TPFW_STANDIN_SECONDS", "30");
    auto window = std::make_unique<MainWindow>();
    QVERIFY(chooseLeaf(window.get(), "7inch", "High"));
    NoticeWatch notices([&] { return &unrelated; });
    QMetaObject::invokeMethod(window.get(), "updateFw");
    QTRY_VERIFY(status(*window).startsWith("FW updater running"));
    window.reset();
    // A power cut, as far as the run can tell: the updater, its keeper
    // (whose group it is in) and its supervisor gone at once.
    const RunInfo run = RunLock::lastInfo();
    QVERIFY(run.supervisorPid > 0 && run.updaterPid > 0);
    ::kill(-::getpgid(pid_t(run.updaterPid)), SIGKILL);
    ::kill(pid_t(run.supervisorPid), SIGKILL);
    ::waitpid(pid_t(run.supervisorPid), nullptr, 0);

    MainWindow first;
    MainWindow second;
    QTRY_COMPARE(notices.seen.size(), 1);
    QTest::qWait(300);
    const QString started = historyRecords().value(0).value("started").toString();
    const QString when = QDateTime::fromString(started, Qt::ISODateWithMs).toString("yyyy-MM-dd HH:mm:ss");
    QCOMPARE(notices.texts(),
             QStringList("The FW update started " + when
                         + " on 7inch / High was interrupted; its result is unknown. Check the "
                           "panel before using it."));
    QCOMPARE(notices.seen.at(0).icon, QMessageBox::Warning);
    const QList<QJsonObject> lines = historyRecords();
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.at(0).value("outcome").toString(), QString("interrupted"));
    QVERIFY(button(first)->isEnabled() && button(second)->isEnabled());
    // Whoever comes second to a pending record files nothing.
    QString error;
    QCOMPARE(fileRecord(historyPath(), *fromJson(lines.at(0)),
                        pendingPathFor(lines.at(0).value("log").toString()), &error),
             Filing::FiledByAnother);
    QCOMPARE(historyRecords().size(), 1);
#endif
}

void TestSupervisor::stopAsksThenEndsTheUpdater()
{
    qputenv("TPFW_STANDIN_SECONDS", "60");
    qputenv("TPFW_STANDIN_IGNORE_TERM", "1");
    MainWindow window;
    window.show();
    QPushButton *stop = button(window, "stopButton");
    QVERIFY(stop->isHidden());
    NoticeWatch notices([&] { return button(window); });
    notices.answer = QMessageBox::No;
    QVERIFY(chooseAnImage(&window));
    QMetaObject::invokeMethod(&window, "updateFw");
    QTRY_VERIFY(stop->isVisible());
    QCOMPARE(stop->text(), QString("Stop updater"));
    const qint64 updater = RunLock::lastInfo().updaterPid;
    QTest::mouseClick(stop, Qt::LeftButton);
    QTRY_COMPARE(notices.texts(),
                 QStringList("Stopping the updater while it writes can leave the panel unusable. "
                             "Stop it anyway?"));
    QCOMPARE(notices.seen.at(0).defaultButton, QMessageBox::No);
    QTest::qWait(2000);
    QVERIFY(status(window).startsWith("FW updater running"));

    notices.answer = QMessageBox::Yes;
    QElapsedTimer asked;
    // Each countdown word, with when it came.
    QList<QPair<qint64, int>> countdown;
    connect(window.statusBar(), &QStatusBar::messageChanged, this, [&](const QString &message) {
        const QRegularExpressionMatch left
            = QRegularExpression("^Stopping the FW updater… forced in (\\d+) s$").match(message);
        if (left.hasMatch())
            countdown.append({asked.elapsed(), left.captured(1).toInt()});
    });
    QTest::mouseClick(stop, Qt::LeftButton);
    asked.start();
    // Answered at once, and not asked twice.
    QCOMPARE(status(window), QString("Stopping the FW updater…"));
    QCOMPARE(window.findChild<QLabel *>("stopLine")->text(), status(window));
    QVERIFY(stop->isVisible() && !stop->isEnabled());
#ifdef Q_OS_UNIX
    // SIGTERM is ignored: it takes the forced end, the grace time after Yes.
    QTest::qWait(2000);
    QVERIFY(!processGone(updater));
    const qint64 least = 9500;
#else
    // Windows ends the updater's job at once.
    const qint64 least = 0;
#endif
    QTRY_VERIFY_WITH_TIMEOUT(status(window).startsWith("FW update stopped ("), 15000);
    QVERIFY2(asked.elapsed() > least, qPrintable(QString::number(asked.elapsed())));
    QVERIFY(processGone(updater));
    QCOMPARE(historyRecords().value(0).value("outcome").toString(), QString("stopped"));
    // When the stop was asked for, and how it ended (notes on the station may follow).
    const QString detail = historyRecords().value(0).value("detail").toString();
#ifdef Q_OS_UNIX
    const QString how = "forced after 10 s";
#else
    const QString how = "ended when asked";
#endif
    QVERIFY2(QRegularExpression("^stop asked for at \\d{4}-\\d\\d-\\d\\dT[^;]+; " + how + "(;|$)")
                 .match(detail)
                 .hasMatch(),
             qPrintable(detail));
#ifdef Q_OS_UNIX
    // Counted down from half the grace time, second by second.
    QVERIFY(!countdown.isEmpty());
    QVERIFY2(countdown.first().first >= 4900, qPrintable(QString::number(countdown.first().first)));
    for (int i = 0; i < countdown.size(); ++i) {
        QVERIFY(countdown.at(i).second >= 1 && countdown.at(i).second <= 5);
        QVERIFY(i == 0 || countdown.at(i).second < countdown.at(i - 1).second);
    }
#endif
    QVERIFY(stop->isHidden());
    QTRY_VERIFY(button(window)->isEnabled());
}

// The supervisor stopped (a debugger, a frozen machine) while its updater
// exits 0, leaving a child, a stop asked for meanwhile: once it goes on,
// the stop ends what is left, and the run is OK.
void TestSupervisor::anUpdaterThatEndedOnItsOwnKeepsItsOutcome()
{
#ifdef Q_OS_UNIX
    qputenv("TPFW_STANDIN_SECONDS", "0.5");
    qputenv("TPFW_STANDIN_EXIT", "0");
    qputenv("TPFW_STANDIN_CHILD", "1");
    qputenv("TPFW_STANDIN_CHILD_SECONDS", "60");
    const auto cleanUp = qScopeGuard([] {
        qunsetenv("TPFW_STANDIN_CHILD");
        qunsetenv("TPFW_STANDIN_CHILD_SECONDS");
    });
    QProcess supervisor;
    startSupervisor(supervisor);
    const qint64 updater = RunLock::lastInfo().updaterPid;
    const pid_t running = pid_t(supervisor.processId());
    ::kill(running, SIGSTOP);
    // Ended (a zombie, or reaped where the supervisor is not its parent),
    // its supervisor not having run since. Waiting on the disk is no end.
    QTRY_VERIFY_WITH_TIMEOUT(QRegularExpression("^$|\\) [ZX] ")
                                 .match(fileLines(QString("/proc/%1/stat").arg(updater)).value(0))
                                 .hasMatch(),
                             10000);
    // As a window asks it: through a pidfd of the supervisor.
    const int pidfd = int(syscall(SYS_pidfd_open, running, 0));
    requestStop(pidfd);
    ::close(pidfd);
    ::kill(running, SIGCONT);
    QVERIFY(supervisor.waitForFinished(-1));
    QTRY_VERIFY(!RunLock::current());
    QCOMPARE(historyRecords().value(0).value("outcome").toString(), QString("ok"));
#else
    QSKIP("stopping a process is for Unix");
#endif
}

// A run's pending record gone while it runs (filed as interrupted by a
// window, or removed): the supervisor, which holds the whole record, files
// its true end all the same, and says so.
void TestSupervisor::aRunWhosePendingRecordIsGoneIsFiled()
{
    qputenv("TPFW_STANDIN_SECONDS", "1");
    qputenv("TPFW_STANDIN_EXIT", "0");
    QProcess supervisor;
    startSupervisor(supervisor);
    QVERIFY(QFile::remove(pendingPathFor(runsFolder() + "/1.log")));
    QVERIFY(supervisor.waitForFinished(-1));
    QTRY_VERIFY(!RunLock::current());
    const QJsonObject filed = historyRecords().value(0);
    QCOMPARE(filed.value("outcome").toString(), QString("ok"));
    QVERIFY2(filed.value("notes").toArray().contains("its pending record was gone when the run ended"),
             qPrintable(QJsonDocument(filed).toJson()));
}

// A run of one image of this data folder, started as a window starts it,
// once its run info is this run's.
void TestSupervisor::startSupervisor(QProcess &supervisor)
{
    QDir().mkpath(runsFolder());
    RunRecord record = RunRecord::begun();
    record.started = QDateTime::currentDateTime();
    record.tpSize = "7inch";
    record.sensitivity = "High";
    record.images = {{"/fw/a.bin", 1, QByteArray(64, 'a'), {}, false}};
    record.log = runsFolder() + "/1.log";
    supervisor.start(supervisorProgram(),
                     {historyPath(), pendingPathFor(record.log), QString::fromUtf8(toJsonLine(record)),
                      QCoreApplication::applicationDirPath(), updaterProgram(), "-ba"});
    QVERIFY(supervisor.waitForStarted());
    // The word this run writes, not one an earlier run left.
    QTRY_VERIFY(RunLock::lastInfo().supervisorPid == supervisor.processId()
                && RunLock::lastInfo().updaterPid > 0);
}

void TestSupervisor::sleepIsHeldOffDuringTheRun()
{
#ifdef Q_OS_UNIX
    // A private bus for the system's, with a logind that only keeps a list.
    QProcess bus;
    bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    QVERIFY2(bus.waitForReadyRead(5000), "dbus-daemon did not start");
    const QByteArray address = bus.readLine().trimmed();
    QProcess logind;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DBUS_SYSTEM_BUS_ADDRESS", address);
    logind.setProcessEnvironment(environment);
    logind.start("/usr/bin/python3", {"-m", "dbusmock", "--system", "--template", "logind"});
    QDBusConnection connection = QDBusConnection::connectToBus(QString::fromUtf8(address), "mock");
    QTRY_VERIFY_WITH_TIMEOUT(connection.interface()->isServiceRegistered("org.freedesktop.login1"), 10000);
    const auto inhibitors = [&] {
        const QDBusMessage reply = connection.call(
            QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
                                           "org.freedesktop.login1.Manager", "ListInhibitors"));
        QStringList held;
        const QDBusArgument list = reply.arguments().value(0).value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            QString what, who, why, mode;
            uint uid, pid;
            list.beginStructure();
            list >> what >> who >> why >> mode >> uid >> pid;
            list.endStructure();
            held.append(QStringList({what, who, why, mode}).join('|'));
        }
        list.endArray();
        return held;
    };

    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
    qputenv("TPFW_STANDIN_SECONDS", "3");
    MainWindow window;
    NoticeWatch notices([&] { return button(window); });
    QVERIFY(chooseAnImage(&window));
    QMetaObject::invokeMethod(&window, "updateFw");
    QTRY_VERIFY(status(window).startsWith("FW updater running"));
    const QStringList held("sleep:shutdown:idle|tpfw|Updating touch panel firmware|block");
    QCOMPARE(inhibitors(), held);
    // Held by the run, not by its supervisor: killed, it lets nothing go.
    killProcess(RunLock::lastInfo().supervisorPid);
    QTRY_VERIFY(status(window).startsWith("FW updater running (its supervisor is gone"));
    QCOMPARE(inhibitors(), held);
    QTRY_VERIFY_WITH_TIMEOUT(status(window).startsWith("FW update OK"), 10000);
    QTRY_COMPARE(inhibitors(), QStringList());
    QVERIFY(historyRecords().value(0).value("detail").isNull());
    qunsetenv("DBUS_SYSTEM_BUS_ADDRESS");
#endif
}

QTEST_MAIN(TestSupervisor)
#include "tst_supervisor.moc"
