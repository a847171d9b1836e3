#include "TestSupport.h"

#include "update/record/DataFolder.h"
#include "update/record/PendingRun.h"
#include "update/record/RunHistory.h"
#include "update/run/RunLock.h"
#include "update/run/RunLog.h"
#include "update/run/RunSupervisor.h"
#include "update/run/SupervisorProtocol.h"
#include "update/run/UpdaterCommand.h"
#include "window/MainWindow.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

// Never two writers on a panel, never a run without a record: whatever dies,
// whatever lies at the lock's place or in its word.
class TestGuard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void oneLockForEveryUser();
    void theGuardOutlivesTheSupervisor_data();
    void theGuardOutlivesTheSupervisor();
    void aLockFileReplacedFreesNothing();
    void aFullDiskKeepsTheEnd();
    void theRunIsEveryProcessItMade_data();
    void theRunIsEveryProcessItMade();
    void noRecordNoRun_data();
    void noRecordNoRun();
    void theLockPlaceIsChecked_data();
    void theLockPlaceIsChecked();
    void forgedWordsAreNotFollowed_data();
    void forgedWordsAreNotFollowed();
    void aLockWithoutAWordFilesNothing();
    void damagedPendingRecordsAreSetAside_data();
    void damagedPendingRecordsAreSetAside();

private:
    static QString status(MainWindow &window) { return window.statusBar()->currentMessage(); }
    static QPushButton *button(MainWindow &window, const char *name = nullptr)
    {
        return name ? window.findChild<QPushButton *>(name) : window.findChild<QPushButton *>();
    }
    // A press of UpdateFW, its run on.
    static bool startRun(MainWindow &window)
    {
        if (!chooseAnImage(&window))
            return false;
        QMetaObject::invokeMethod(&window, "updateFw");
        return QTest::qWaitFor([&] { return status(window).startsWith("FW updater running (started "); });
    }
    static QString dataFolder()
    {
        return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    }
    // The stand-in's starts and ends, its children's too, in order.
    QStringList spans() const { return fileLines(scratch.filePath("spans")); }
    qint64 childPid() const { return spans().filter("child ").value(0).section(' ', 1).toLongLong(); }

    QTemporaryDir scratch;
    QPushButton unrelated;
};

void TestGuard::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    placeUpdater(TPFW_STANDIN);
    qputenv("TPFW_STANDIN_SPANS", QFile::encodeName(scratch.filePath("spans")));
}

void TestGuard::init()
{
    QDir(dataFolder()).removeRecursively();
    clearFirmwareTree();
    QFile::remove(scratch.filePath("spans"));
}

void TestGuard::cleanup()
{
    for (const char *name : {"TPFW_STANDIN_SECONDS", "TPFW_STANDIN_CHILD", "TPFW_STANDIN_CHILD_SECONDS",
                             "TPFW_STANDIN_IGNORE_TERM"})
        qunsetenv(name);
    QTRY_VERIFY_WITH_TIMEOUT(!RunLock::current(), 15000);
}

void TestGuard::theGuardOutlivesTheSupervisor_data()
{
    QTest::addColumn<QByteArray>("child");
    QTest::newRow("an updater that writes on") << QByteArray();
#ifdef Q_OS_UNIX
    QTest::newRow("an updater that closes what it inherits and leaves a daemon") << QByteArray("daemon");
#endif
}

void TestGuard::theGuardOutlivesTheSupervisor()
{
    QFETCH(QByteArray, child);
    qputenv("TPFW_STANDIN_SECONDS", child.isEmpty() ? "3" : "0.5");
    if (!child.isEmpty()) {
        qputenv("TPFW_STANDIN_CHILD", child);
        qputenv("TPFW_STANDIN_CHILD_SECONDS", "3");
    }
    NoticeWatch notices([&] { return &unrelated; });
    MainWindow first;
    QVERIFY(startRun(first));
    QTRY_VERIFY(child.isEmpty() || childPid() > 0);
    // The supervisor alone dies, as by the OOM killer; its updater writes on.
    killProcess(RunLock::lastInfo().supervisorPid);
    const QString gone = "FW updater running (its supervisor is gone; started ";
    QTRY_VERIFY(status(first).startsWith(gone));
    MainWindow second;
    QVERIFY(chooseAnImage(&second));
    QTRY_VERIFY(status(second).startsWith(gone));
    QVERIFY(!button(first)->isEnabled() && !button(second)->isEnabled());
    QMetaObject::invokeMethod(&second, "updateFw");
    QTRY_COMPARE(notices.texts(), QStringList("The FW updater is still running."));
    QVERIFY(historyRecords().isEmpty());

    // Filed once nothing of the run is left: on Unix by its keeper, with the
    // updater's own end, told as any run's end; on Windows, where the job
    // alone held the machine, as interrupted.
    QTRY_COMPARE_WITH_TIMEOUT(historyRecords().size(), 1, 10000);
    QVERIFY(spans().endsWith(child.isEmpty() ? "end" : "child end"));
#ifdef Q_OS_WIN
    QCOMPARE(historyRecords().at(0).value("outcome").toString(), QString("interrupted"));
    QTRY_COMPARE(notices.texts().filter("was interrupted").size(), 1);
#else
    QCOMPARE(historyRecords().at(0).value("outcome").toString(), QString("ok"));
    QVERIFY(historyRecords().at(0).value("notes").toArray().contains(
        "its supervisor ended during the run; the run's keeper filed it"));
    for (MainWindow *window : {&first, &second})
        QTRY_VERIFY(status(*window).startsWith("FW update OK ("));
    QVERIFY2(notices.texts().filter("interrupted").isEmpty(), qPrintable(notices.texts().join('|')));
#endif
    QTRY_VERIFY(button(second)->isEnabled());
    qputenv("TPFW_STANDIN_SECONDS", "0.2");
    qunsetenv("TPFW_STANDIN_CHILD");
    const int before = spans().size();
    QMetaObject::invokeMethod(&second, "updateFw");
    QTRY_COMPARE(historyRecords().size(), 2);
    QCOMPARE(spans().mid(before), QStringList({"start", "end"}));
}

// The lock's file removed and made anew during a run (by root, a cleaner,
// an upgrade): no second run starts, and the live run's record is its own.
void TestGuard::aLockFileReplacedFreesNothing()
{
#ifdef Q_OS_UNIX
    qputenv("TPFW_STANDIN_SECONDS", "3");
    NoticeWatch notices([&] { return &unrelated; });
    MainWindow first;
    QVERIFY(startRun(first));
    QVERIFY(QFile::remove(RunLock::path()));
    QVERIFY(RunLock::prepare().isEmpty());
    const QString other = scratch.filePath("other");
    QDir().mkpath(other);
    QFile(other + "/1.log").open(QIODevice::WriteOnly);
    QCOMPARE(QProcess::execute(supervisorProgram(),
                               {other + "/history.jsonl", other + "/1.pending.json",
                                pressedRecord(other + "/1.log"), QCoreApplication::applicationDirPath(),
                                updaterProgram(), "-ba"}),
             supervisorBusyCode);
    MainWindow second;
    QTRY_VERIFY(status(second).startsWith("FW updater running"));
    QVERIFY(historyRecords().isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(status(first).startsWith("FW update OK ("), 10000);
    QCOMPARE(spans(), QStringList({"start", "end"}));
    QCOMPARE(historyRecords().size(), 1);
    QCOMPARE(historyRecords().at(0).value("outcome").toString(), QString("ok"));
#else
    QSKIP("on Windows the lock is a named mutex, whatever becomes of its file");
#endif
}

// The data disk filled during a run: its end is written all the same, into
// room taken before it started, the window tells it as it was, and the run
// is filed as it ended once there is room again.
void TestGuard::aFullDiskKeepsTheEnd()
{
#ifdef Q_OS_LINUX
    const QByteArray data = QFile::encodeName(dataFolder());
    QDir().mkpath(dataFolder());
    if (::mount("tmpfs", data.constData(), "tmpfs", 0, "size=1m") != 0)
        QSKIP("no small tmpfs can be mounted here (root only)");
    const auto unmount = qScopeGuard([&] { ::umount(data.constData()); });
    qputenv("TPFW_STANDIN_SECONDS", "2");
    NoticeWatch notices([&] { return &unrelated; });
    auto window = std::make_unique<MainWindow>();
    QVERIFY(startRun(*window));
    QFile fill(dataFolder() + "/fill");
    QVERIFY(fill.open(QIODevice::WriteOnly));
    while (fill.write(QByteArray(4096, 'x')) > 0 && fill.flush())
        ;
    fill.close();
    QTRY_VERIFY_WITH_TIMEOUT(status(*window).startsWith("FW update OK ("), 10000);
    QVERIFY(!window->findChild<QWidget *>("historyProblem")->isHidden());
    const QStringList pending = QDir(dataFolder() + "/runs").entryList({"*.pending.json"});
    QCOMPARE(pending.size(), 1);
    const std::optional<RunRecord> kept = readPending(dataFolder() + "/runs/" + pending.at(0));
    QVERIFY(kept && kept->outcome == Outcome::Ok && !kept->historyProblem.isEmpty());
    window.reset();

    QVERIFY(fill.remove());
    MainWindow next;
    QTRY_COMPARE(historyRecords().value(0).value("outcome").toString(), QString("ok"));
    QCOMPARE(QDir(dataFolder() + "/runs").entryList({"*.pending.json*"}), QStringList());
#else
    QSKIP("a small file system is mounted the Linux way here");
#endif
}

void TestGuard::theRunIsEveryProcessItMade_data()
{
    QTest::addColumn<QByteArray>("child");
    QTest::addColumn<QString>("stop");
    QTest::newRow("a child left behind") << QByteArray("fork") << QString();
    QTest::newRow("a child in a session of its own") << QByteArray("setsid") << QString();
    QTest::newRow("stopped, with a child in a session of its own")
        << QByteArray("setsid") << QString("; ended when asked");
    QTest::newRow("stopped, with a child in a session of its own that ignores asking")
        << QByteArray("setsid") << QString("; forced after 10 s");
    // What it starts while it is forced goes too.
    QTest::newRow("stopped, with a helper that respawns its workers and ignores asking")
        << QByteArray("respawn") << QString("; forced after 10 s");
}

void TestGuard::theRunIsEveryProcessItMade()
{
#ifdef Q_OS_UNIX
    QFETCH(QByteArray, child);
    QFETCH(QString, stop);
    const bool stopped = !stop.isEmpty();
    if (stop.contains("forced"))
        qputenv("TPFW_STANDIN_IGNORE_TERM", "1");
    qputenv("TPFW_STANDIN_SECONDS", stopped ? "60" : "0.2");
    qputenv("TPFW_STANDIN_CHILD", child);
    qputenv("TPFW_STANDIN_CHILD_SECONDS", stopped ? "60" : "2");
    MainWindow window;
    window.show();
    NoticeWatch notices([&] { return button(window); });
    notices.answer = QMessageBox::Yes;
    QVERIFY(chooseAnImage(&window));
    QMetaObject::invokeMethod(&window, "updateFw");
    QTRY_VERIFY(childPid() > 0);
    if (stopped) {
        QTRY_VERIFY(button(window, "stopButton")->isVisible());
        QTest::mouseClick(button(window, "stopButton"), Qt::LeftButton);
    }
    const QString outcome = stopped ? "FW update stopped (" : "FW update OK (";
    QTRY_VERIFY_WITH_TIMEOUT(status(window).startsWith(outcome), 30000);
    // Nothing of the run is left once its end is told, and the machine is
    // free only then.
    QVERIFY(processGone(childPid()));
    QVERIFY(!RunLock::current());
    QCOMPARE(spans().contains("child end"), !stopped);
    QCOMPARE(historyRecords().value(0).value("outcome").toString(), QString(stopped ? "stopped" : "ok"));
    if (stopped)
        QVERIFY(historyRecords().value(0).value("detail").toString().endsWith(stop));
#else
    QSKIP("the stand-in leaves no child on Windows, where the run's job holds every process anyway");
#endif
}

void TestGuard::noRecordNoRun_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("a file where the runs folder belongs") << "runs file";
    QTest::newRow("a pending record the supervisor cannot write") << "supervisor";
    QTest::newRow("a run lock in a folder that is not there") << "lock";
    QTest::newRow("a full data disk") << "full disk";
}

void TestGuard::noRecordNoRun()
{
    QFETCH(QString, where);
    const QString runs = dataFolder() + "/runs";
    if (where == "runs file") {
        makeTree(dataFolder(), {"runs"});
        NoticeWatch notices([&] { return &unrelated; });
        MainWindow window;
        QVERIFY(chooseAnImage(&window));
        QMetaObject::invokeMethod(&window, "updateFw");
        QTRY_COMPARE(notices.texts(),
                     QStringList("This run cannot be recorded: cannot make the folder " + runs
                                 + ". Nothing was started."));
        QTRY_VERIFY(
            historyRecords().value(0).value("detail").toString().startsWith("cannot write the run's log: "));
        QCOMPARE(historyRecords().value(0).value("outcome").toString(), QString("notStarted"));
    } else if (where == "supervisor" || where == "lock") {
#ifdef Q_OS_WIN
        if (where == "lock")
            QSKIP("on Windows the lock is a named mutex, wherever its file is");
#endif
        // Started as tpfw starts it, with a pending record no folder holds,
        // or a lock no folder holds: never taken for another run's.
        const QString other = scratch.filePath(where);
        QDir().mkpath(other);
        QFile(other + "/1.log").open(QIODevice::WriteOnly);
        const QString pending = other + (where == "lock" ? "/1.pending.json" : "/missing/1.pending.json");
        const QByteArray lock = qgetenv("TPFW_RUN_LOCK");
        if (where == "lock")
            qputenv("TPFW_RUN_LOCK", QFile::encodeName(other + "/missing/run.lock"));
        const int code
            = QProcess::execute(supervisorProgram(),
                                {other + "/history.jsonl", pending, pressedRecord(other + "/1.log"),
                                 QCoreApplication::applicationDirPath(), updaterProgram(), "-ba"});
        qputenv("TPFW_RUN_LOCK", lock);
        QCOMPARE(code, supervisorUnrecordedCode);
        const QString reason = where == "lock"
            ? "cannot take the machine's run lock: " + other + "/missing/run.lock: "
            : "cannot write the run's record: " + pending + ": ";
        const QString detail = historyRecords(other + "/history.jsonl").value(0).value("detail").toString();
        QVERIFY2(detail.startsWith(reason), qPrintable(detail));
        QCOMPARE(QDir(other).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList("history.jsonl"));
    } else {
#ifdef Q_OS_UNIX
        // The log is an empty file, which a full disk still takes; the
        // pending record is not.
        QDir().mkpath(runs);
        if (::mount("tmpfs", QFile::encodeName(runs).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("no small tmpfs can be mounted here (root only)");
        const auto unmount = qScopeGuard([&] { ::umount(QFile::encodeName(runs).constData()); });
        QFile fill(runs + "/fill");
        QVERIFY(fill.open(QIODevice::WriteOnly));
        while (fill.write(QByteArray(4096, 'x')) > 0 && fill.flush())
            ;
        fill.close();
        NoticeWatch notices([&] { return &unrelated; });
        MainWindow window;
        QVERIFY(chooseAnImage(&window));
        QMetaObject::invokeMethod(&window, "updateFw");
        QTRY_COMPARE_WITH_TIMEOUT(notices.texts().size(), 1, 10000);
        QVERIFY2(notices.texts().at(0).startsWith(
                     "This run cannot be recorded: cannot write the run's record: " + runs),
                 qPrintable(notices.texts().at(0)));
        QVERIFY(notices.texts().at(0).endsWith(": No space left on device. Nothing was started."));
        QCOMPARE(QDir(runs).entryList(QDir::Files), QStringList("fill"));
        QTRY_COMPARE(historyRecords().value(0).value("outcome").toString(), QString("notStarted"));
#else
        QSKIP("no small file system to fill here");
#endif
    }
    QVERIFY(spans().isEmpty());
}

void TestGuard::theLockPlaceIsChecked_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("problem");
    QTest::newRow("a FIFO") << "fifo"
                            << "not a regular file";
    QTest::newRow("a folder") << "folder"
                              << "Is a directory";
    QTest::newRow("a symbolic link to a file of another mode") << "symlink"
                                                               << "a symbolic link";
    QTest::newRow("another user's file in a sticky folder") << "other user" << QString();
    QTest::newRow("none yet: made for every user") << "none" << QString();
}

void TestGuard::theLockPlaceIsChecked()
{
#ifdef Q_OS_UNIX
    QFETCH(QString, kind);
    QFETCH(QString, problem);
    const QByteArray previous = qgetenv("TPFW_RUN_LOCK");
    // Whoever's tpfw comes first, however strict its umask.
    const mode_t umask = ::umask(077);
    const auto restore = qScopeGuard([&] {
        qputenv("TPFW_RUN_LOCK", previous);
        ::umask(umask);
    });
    const QString sticky = scratch.filePath("lock-" + QString(kind).replace(' ', '-'));
    QDir().mkpath(sticky);
    ::chmod(QFile::encodeName(sticky).constData(), 01777);
    const QString lock = sticky + "/tpfw-run.lock";
    const QByteArray path = QFile::encodeName(lock);
    const QString target = scratch.filePath("target");
    QFile::Permissions targetMode;
    qputenv("TPFW_RUN_LOCK", path);
    if (kind == "fifo") {
        QCOMPARE(::mkfifo(path.constData(), 0666), 0);
    } else if (kind == "folder") {
        QDir().mkpath(lock);
    } else if (kind == "symlink") {
        makeTree(scratch.path(), {"target"});
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(QFile::link(target, lock));
        targetMode = QFile::permissions(target);
    } else if (kind == "other user") {
        // Where protected_regular is on (Debian's default), an O_CREAT open of
        // it is refused even to root.
        QFile protection(QStringLiteral("/proc/sys/fs/protected_regular"));
        if (::geteuid() != 0 || !protection.open(QIODevice::ReadOnly)
            || protection.readAll().trimmed() == "0")
            QSKIP("another user's file needs root here, and protected_regular on to matter");
        makeTree(sticky, {"tpfw-run.lock"});
        QCOMPARE(::chmod(path.constData(), 0666), 0);
        QCOMPARE(::chown(path.constData(), 65534, 65534), 0);
    }
    const QString expected = problem.isEmpty() ? QString() : lock + ": " + problem;
    QCOMPARE(RunLock::prepare(), expected);
    const RunLockAttempt taken = RunLock::take();
    QCOMPARE(taken.result,
             problem.isEmpty() ? RunLockAttempt::Result::Taken : RunLockAttempt::Result::Failed);
    QCOMPARE(taken.error, expected);
    QCOMPARE(bool(RunLock::current()), bool(taken.lock));
    if (kind == "symlink") {
        QCOMPARE(QFile::permissions(target), targetMode);
        QCOMPARE(QFileInfo(target).size(), qint64(6));
    }
    if (kind == "none")
        QVERIFY(QFile::permissions(lock) & QFile::WriteOther);
    if (problem.isEmpty())
        return;
    // The window opens all the same, says so, and starts nothing.
    NoticeWatch notices([&] { return &unrelated; });
    MainWindow window;
    QTRY_COMPARE(notices.texts(),
                 QStringList("The machine's run lock cannot be used: " + expected
                             + ". No FW update can be started until it is fixed."));
    QVERIFY(chooseAnImage(&window));
    QMetaObject::invokeMethod(&window, "updateFw");
    QTRY_COMPARE(notices.texts().value(1),
                 "This run cannot be recorded: " + expected + ". Nothing was started.");
    QTRY_COMPARE(historyRecords().value(0).value("outcome").toString(), QString("notStarted"));
    QVERIFY(spans().isEmpty());
#else
    QSKIP("on Windows the lock is a named mutex, and its file only holds the word");
#endif
}

void TestGuard::forgedWordsAreNotFollowed_data()
{
    QTest::addColumn<QString>("forgery");
    QTest::newRow("a pending record that is not there, a stand-in's pid") << "absent";
    QTest::newRow("this folder's pending record, pid 1") << "pid 1";
    QTest::newRow("another folder's run, reached by ..") << "dot dot";
    QTest::newRow("a word that cannot be read") << "unreadable";
}

void TestGuard::forgedWordsAreNotFollowed()
{
    QFETCH(QString, forgery);
    // A real run of another data folder holds the machine; then its word is
    // written over, as anyone may.
    const QString other = scratch.filePath("theirs");
    QDir(other).removeRecursively();
    QDir().mkpath(other + "/runs");
    QFile(other + "/runs/1.log").open(QIODevice::WriteOnly);
    const QJsonObject record {{"started", isoWithOffset(QDateTime::currentDateTime())},
                              {"tpSize", ""},
                              {"sensitivity", ""},
                              {"images", QJsonArray()},
                              {"log", other + "/runs/1.log"}};
    qputenv("TPFW_STANDIN_SECONDS", "30");
    QProcess theirs;
    theirs.start(supervisorProgram(),
                 {other + "/history.jsonl", other + "/runs/1.pending.json",
                  QJsonDocument(record).toJson(QJsonDocument::Compact),
                  QCoreApplication::applicationDirPath(), updaterProgram(), "-ba"});
    QVERIFY(theirs.waitForStarted());
    QTRY_VERIFY(RunLock::lastInfo().pending == other + "/runs/1.pending.json"
                && RunLock::lastInfo().updaterPid > 0);
    const RunInfo real = RunLock::lastInfo();
    // This folder's own record, for a word that names it.
    const QString ours = runsFolder() + "/1.pending.json";
    QString error;
    QDir().mkpath(runsFolder());
    if (forgery == "pid 1")
        QVERIFY(writePending(ours, *fromJson(record), &error));
    RunInfo forged = real;
    if (forgery == "absent")
        forged = {real.updaterPid, real.updaterPid, runsFolder() + "/x.pending.json", real.started};
    else if (forgery == "pid 1")
        forged = {1, real.updaterPid, ours, real.started};
    else
        forged.pending
            = runsFolder() + "/" + QDir(runsFolder()).relativeFilePath(other + "/runs/1.pending.json");
    QFile word(RunLock::path());
    QVERIFY(word.open(QIODevice::WriteOnly));
    word.write(forgery == "unreadable"
                   ? QByteArray("\x01 not a word")
                   : QJsonDocument(QJsonObject {{"supervisorPid", double(forged.supervisorPid)},
                                                {"updaterPid", double(forged.updaterPid)},
                                                {"pending", forged.pending},
                                                {"started", forged.started.toString(Qt::ISODateWithMs)}})
                         .toJson(QJsonDocument::Compact));
    word.close();

    MainWindow window;
    window.show();
    QTRY_VERIFY(status(window).startsWith("FW updater running ("));
    QTest::qWait(300);
    QVERIFY(!status(window).startsWith("FW updater running (started"));
    if (forgery == "unreadable")
        QCOMPARE(status(window), QString("FW updater running (unknown run)"));
    QVERIFY(!button(window)->isEnabled());
    QVERIFY(button(window, "stopButton")->isHidden());
    QFile::remove(ours);
    killProcess(real.updaterPid);
    QVERIFY(theirs.waitForFinished(10000));
    QTRY_VERIFY(button(window)->isEnabled());
    // Their run, filed by their supervisor; nothing of it here.
    QCOMPARE(historyRecords(other + "/history.jsonl").size(), 1);
    QCOMPARE(historyRecords().size(), 0);
}

// Whatever a user's own temporary folder, the machine has one lock: no user
// runs beside another. (Only its place is asked for, never the file used.)
void TestGuard::oneLockForEveryUser()
{
    const QByteArray chosen = qgetenv("TPFW_RUN_LOCK");
    const QByteArray temporary = qgetenv("TMPDIR");
    const auto restore = qScopeGuard([&] {
        qputenv("TPFW_RUN_LOCK", chosen);
        temporary.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", temporary);
    });
    qunsetenv("TPFW_RUN_LOCK");
    const QTemporaryDir userA(scratch.filePath("user-a"));
    const QTemporaryDir userB(scratch.filePath("user-b"));
    QStringList paths;
    for (const QTemporaryDir *own : {&userA, &userB}) {
        qputenv("TMPDIR", QFile::encodeName(own->path()));
        paths.append(RunLock::path());
    }
    QCOMPARE(paths.at(0), paths.at(1));
    QVERIFY2(!paths.at(0).isEmpty() && !paths.at(0).startsWith(scratch.path()), qPrintable(paths.at(0)));
}

void TestGuard::aLockWithoutAWordFilesNothing()
{
#ifdef Q_OS_UNIX
    // Held, its run info not yet written (or being written anew): the run on may
    // be any pending record, so none is filed until the lock is free.
    std::unique_ptr<RunLock> held = RunLock::take().lock;
    QVERIFY(held);
    held->setInfo({});
    QFile(RunLock::path()).resize(0);
    QDir().mkpath(runsFolder());
    RunRecord pending = RunRecord::begun();
    pending.started = QDateTime::currentDateTime();
    pending.tpSize = "7inch";
    pending.sensitivity = "High";
    QString error;
    QVERIFY(writePending(runsFolder() + "/1.pending.json", pending, &error));
    NoticeWatch notices([&] { return &unrelated; });
    MainWindow window;
    QTest::qWait(1500);
    QVERIFY(historyRecords().isEmpty());
    held.reset();
    QTRY_COMPARE_WITH_TIMEOUT(historyRecords().size(), 1, 5000);
    QCOMPARE(historyRecords().at(0).value("outcome").toString(), QString("interrupted"));
#else
    QSKIP("on Windows the lock is a mutex, which this very thread would find free");
#endif
}

void TestGuard::damagedPendingRecordsAreSetAside_data()
{
    QTest::addColumn<QByteArray>("content");
    const QByteArray whole = R"({"started":"2026-12-07T10:00:00.000+00:00","tpSize":"7inch",)"
                             R"("sensitivity":"High","images":[],"log":null})";
    QTest::newRow("cut short") << whole.left(40);
    QTest::newRow("not JSON") << QByteArray("\x01\x02garbage");
    QTest::newRow("an array") << QByteArray("[1,2,3]");
    QTest::newRow("no images") << QByteArray(whole).replace(R"("images":[],)", "");
    QTest::newRow("no start") << QByteArray(whole).replace("2026-12-07T10:00:00.000+00:00", "");
    QTest::newRow("over 4 MiB") << QByteArray(whole).replace(R"("log":null)",
                                                             R"("log":")" + QByteArray(4 << 20, 'x') + '"');
}

void TestGuard::damagedPendingRecordsAreSetAside()
{
    QFETCH(QByteArray, content);
    makeTree(runsFolder(), {"1.pending.json"});
    QFile pending(runsFolder() + "/1.pending.json");
    QVERIFY(pending.open(QIODevice::WriteOnly));
    pending.write(content);
    pending.close();
    NoticeWatch notices([&] { return &unrelated; });
    MainWindow window;
    const QString damaged = pending.fileName() + ".damaged";
    QTRY_COMPARE(
        notices.texts(),
        QStringList("A damaged record of a FW update was set aside: " + QDir::toNativeSeparators(damaged)
                    + ". Check the panel of the last update that was not recorded."));
    QVERIFY(!pending.exists());
    QCOMPARE(QFileInfo(damaged).size(), qint64(content.size()));
    QVERIFY(historyRecords().isEmpty());
    QVERIFY(fileAbandonedRuns().damaged.isEmpty());
}

QTEST_MAIN(TestGuard)
#include "tst_guard.moc"
