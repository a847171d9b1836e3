#include "TestSupport.h"

#include "selection/DirGroup.h"
#include "update/record/RunHistory.h"
#include "update/run/LogLimit.h"
#include "update/run/OutputTail.h"
#include "update/run/RunLock.h"
#include "update/run/UpdaterCommand.h"
#include "window/ElidedLabel.h"
#include "window/LogViewer.h"
#include "window/MainWindow.h"
#include "window/RunWords.h"
#include "window/Translations.h"
#include "window/WrappingLabel.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

class TestUpdater : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();
    void commandLineForTheLog();
    void sendsTheListedImagesByteForByte();
    void withNothingListedSendsOnlyTheSwitch_data();
    void withNothingListedSendsOnlyTheSwitch();
    void saysWhyTheUpdaterCannotStart_data();
    void saysWhyTheUpdaterCannotStart();
    void buttonWaitsForTheRunAndTheNotice_data();
    void buttonWaitsForTheRunAndTheNotice();
    void tellsHowTheRunEnded_data();
    void tellsHowTheRunEnded();
    void refusesASecondRun();
    void aListFromAnotherTpSizeAsksFirst();
    void closingDuringARunAsksFirst();
    void closingWhileTheImagesAreCheckedStartsNothing_data();
    void closingWhileTheImagesAreCheckedStartsNothing();
    void runsFromTheApplicationFolderIntoItsLog();
    void theRunPanelFollowsTheOutputAndShowsTheResult_data();
    void theRunPanelFollowsTheOutputAndShowsTheResult();
    void outputIsReadLineByLine();
    void outputNeverFreezesTheWindow_data();
    void outputNeverFreezesTheWindow();
    void aPressWaitsForASlowLeaf();
    void aRunsLogHasASize_data();
    void aRunsLogHasASize();

private:
    void press() { QTest::mouseClick(updateButton(), Qt::LeftButton); }
    void invoke(const char *slot) { QMetaObject::invokeMethod(window.get(), slot); }
    QList<QStringList> records() const;
    QPushButton *updateButton() { return window->findChild<QPushButton *>(); }
    QString status() { return window->statusBar()->currentMessage(); }
    bool runEnded() { return !status().startsWith("FW updater running"); }
    NoticeWatch *watchNotices()
    {
        notices = std::make_unique<NoticeWatch>([this] { return updateButton(); });
        return notices.get();
    }
    static QStringList runLogs();

    QTemporaryDir logDir;
    QString logPath;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<NoticeWatch> notices;
};

void TestUpdater::initTestCase()
{
#ifdef Q_OS_UNIX
    // Something other than the null device to inherit: the updater must not.
    int input[2];
    QVERIFY(::pipe(input) == 0 && ::dup2(input[0], STDIN_FILENO) == STDIN_FILENO);
#endif
    QStandardPaths::setTestModeEnabled(true);
    logPath = logDir.filePath("updater.log");
    qputenv("TPFW_UPDATER_LOG", QFile::encodeName(logPath));
}

void TestUpdater::init()
{
    QFile::remove(logPath);
    // On Windows a file still read by a window's work left behind cannot be
    // removed until that work is done.
    QTRY_VERIFY_WITH_TIMEOUT(
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)).removeRecursively(),
        15000);
    placeUpdater(TPFW_STANDIN);
    clearFirmwareTree();
    window = std::make_unique<MainWindow>();
}

void TestUpdater::cleanup()
{
    notices.reset();
    window.reset();
    // A run a test left going never holds up the next.
    QTRY_VERIFY_WITH_TIMEOUT(!RunLock::current(), 10000);
    qunsetenv("TPFW_STANDIN_SECONDS");
    qunsetenv("TPFW_STANDIN_EXIT");
}

void TestUpdater::cleanupTestCase()
{
    QDir(QFileInfo(updaterProgram()).path()).removeRecursively();
}

QList<QStringList> TestUpdater::records() const
{
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> fields = file.readAll().split('\0');
    QList<QStringList> records;
    for (int i = 0; i + 1 < fields.size(); i += fields.at(i).toInt() + 1) {
        QStringList arguments;
        for (int k = 1; k <= fields.at(i).toInt(); ++k)
#ifdef Q_OS_WIN
            arguments.append(QString::fromUtf8(fields.at(i + k)));
#else
            arguments.append(QFile::decodeName(fields.at(i + k)));
#endif
        records.append(arguments);
    }
    return records;
}

QStringList TestUpdater::runLogs()
{
    const QDir runs(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/runs");
    QStringList paths;
    for (const QString &name : runs.entryList(QDir::Files, QDir::Name))
        paths.append(runs.filePath(name));
    return paths;
}

void TestUpdater::commandLineForTheLog()
{
    QCOMPARE(updaterCommand("/opt/PanelProg", {"/fw/a b.bin", "/fw/c.bin"}),
             QString("/opt/PanelProg \"/fw/a b.bin\" \"/fw/c.bin\" -ba"));
#ifdef Q_OS_WIN
    QCOMPARE(updaterProgram(), QCoreApplication::applicationDirPath() + "/PanelProg/PanelProg.exe");
#else
    QCOMPARE(updaterProgram(), QCoreApplication::applicationDirPath() + "/PanelProg/PanelProg");
#endif
}

void TestUpdater::sendsTheListedImagesByteForByte()
{
    FirmwareTree tree({"10.1inch/Low/other.bin"});
#ifdef Q_OS_WIN
    // Quotes cannot be in a Windows name; what a command line or shell
    // might read as switches or variables can. 日本 is in no Western code page.
    const QStringList names(
        {"-erase.bin", "a -erase b.bin", "%PATH%.bin", "^&.bin", "Ünïcødé.bin", "日本.bin"});
#else
    const QStringList names({"-erase.bin", "a\" -erase \"b.bin", "fw v2.bin", "q\"uote.bin", "Ünïcødé.bin"});
#endif
    makeTree(FirmwareTree::root() + "/7inch/High", names);
    window = std::make_unique<MainWindow>();
    QVERIFY(chooseLeaf(window.get(), "7inch", "High"));
    const QStringList listed = window->binFiles();
    QCOMPARE(listed.size(), names.size());

    NoticeWatch *watch = watchNotices();
    press();
    QTRY_VERIFY_WITH_TIMEOUT(updateButton()->isEnabled(), runPatienceMs);
    // Another TP size without a sensitivity still sends the last leaf's
    // images, once the user says so.
    QVERIFY(clickChoice(groupTitled(window.get(), "TP Size"), "10.1inch"));
    watch->answer = QMessageBox::Yes;
    press();
    QTRY_VERIFY_WITH_TIMEOUT(updateButton()->isEnabled(), runPatienceMs);

    const QStringList sent = listed + QStringList("-ba");
    QCOMPARE(records(), QList<QStringList>({sent, sent}));
    QCOMPARE(window->binFiles(), listed);
    const Notice start = watch->seen.value(0);
    QCOMPARE(start.title, QString("Message Box"));
    QCOMPARE(start.text, QString("When updating FW, don't press \"UpdateFW\" button!!"));
    QCOMPARE(start.icon, QMessageBox::Information);
    QVERIFY(!start.buttonEnabledWhileOpen);
    QCOMPARE(watch->seen.size(), 3);
    // The record names where the images came from, not what is checked now.
    const QList<QJsonObject> history = historyRecords();
    QCOMPARE(history.size(), 2);
    const QJsonObject last = history.last();
    QCOMPARE(last.value("tpSize").toString() + "/" + last.value("sensitivity").toString(),
             QString("7inch/High"));
}

void TestUpdater::withNothingListedSendsOnlyTheSwitch_data()
{
    QTest::addColumn<QStringList>("tree");
    QTest::addColumn<QString>("tpSize");
    QTest::addColumn<QString>("exitCode");
    QTest::addColumn<bool>("yes");
    QTest::newRow("nothing chosen, No") << QStringList() << ""
                                        << "0" << false;
    QTest::newRow("nothing chosen, Yes") << QStringList() << ""
                                         << "0" << true;
    QTest::newRow("a TP size only, Yes, exit code 2") << QStringList("7inch/High/a.bin") << "7inch"
                                                      << "2" << true;
}

// Asked first, No the default; on Yes sent "-ba" alone, and never shown nor
// counted as OK: nothing was flashed.
void TestUpdater::withNothingListedSendsOnlyTheSwitch()
{
    QFETCH(QStringList, tree);
    QFETCH(QString, tpSize);
    QFETCH(QString, exitCode);
    QFETCH(bool, yes);
    FirmwareTree made(tree);
    qputenv("TPFW_STANDIN_EXIT", exitCode.toLatin1());
    window = std::make_unique<MainWindow>();
    window->show();
    if (!tpSize.isEmpty())
        QVERIFY(clickChoice(groupTitled(window.get(), "TP Size"), tpSize));
    DebugLog log;
    watchNotices()->answer = yes ? QMessageBox::Yes : QMessageBox::No;
    invoke("updateFw");
    const QString question = "No images are listed. Start the FW updater with no images anyway?";
    QTRY_COMPARE(notices->texts().value(0), question);
    QCOMPARE(notices->seen.at(0).defaultButton, QMessageBox::No);
    if (!yes) {
        QTRY_VERIFY_WITH_TIMEOUT(updateButton()->isEnabled(), runPatienceMs);
        QVERIFY(records().isEmpty());
        QVERIFY(historyRecords().isEmpty());
        return;
    }
    const QString result = "FW updater ended: no images were sent (exit code " + exitCode + ")";
    QTRY_COMPARE_WITH_TIMEOUT(notices->texts(), QStringList({question, result}), runPatienceMs);
    QCOMPARE(records(), QList<QStringList>({{"-ba"}}));
    QCOMPARE(log.lines.filter("commandStr"), QStringList("commandStr:  \"" + updaterProgram() + " -ba\""));
    QVERIFY(log.lines.filter("argumentStrList").isEmpty());
    QCOMPARE(window->findChild<WrappingLabel *>("resultLine")->wholeText(), result);
    const auto *banner = window->findChild<QFrame *>("resultBanner");
    QVERIFY(banner->styleSheet().contains("#5f6368"));
    QCOMPARE(banner->accessibleName(), QString("Result"));
    QTRY_COMPARE(window->findChild<QLabel *>("todayCounts")->text(), QString("Today: 0 OK · 0 failed"));
}

void TestUpdater::saysWhyTheUpdaterCannotStart_data()
{
    QTest::addColumn<QString>("updater");
    QTest::addColumn<int>("images");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("language");
    QTest::newRow("missing") << "none" << 0 << "not found"
                             << "";
    // The screen speaks the station's language, the record English.
    QTest::newRow("missing, in Japanese") << "none" << 0 << "not found"
                                          << "ja";
    // On Windows a file that is not a program; elsewhere one without the
    // permission to run.
    QTest::newRow("not a program") << "text" << 0 << "not executable"
                                   << "";
    QTest::newRow("a folder") << "folder" << 0 << "a folder"
                              << "";
    QTest::newRow("too many images") << "stand-in" << 20000 << "too many images for one command line"
                                     << "";
}

void TestUpdater::saysWhyTheUpdaterCannotStart()
{
    QFETCH(QString, updater);
    QFETCH(int, images);
    QFETCH(QString, reason);
    QFETCH(QString, language);
    const std::unique_ptr<QTranslator> translator = translatorFor(QLocale(language));
    if (translator)
        QCoreApplication::installTranslator(translator.get());
    if (updater != "stand-in")
        QFile::remove(updaterProgram());
    if (updater == "text")
        makeTree(QFileInfo(updaterProgram()).path(), {QFileInfo(updaterProgram()).fileName()});
    if (updater == "folder")
        QDir().mkpath(updaterProgram());
    // Too many for the supervisor's command line already.
    const QString expected = language == "ja"
        ? "FW アップデーターを起動できません：" + updaterProgram() + " (見つかりません)"
        : "Cannot start the FW updater: " + (images > 0 ? supervisorProgram() : updaterProgram()) + " ("
            + reason + ")";

    if (images > 0) {
        // A line per argument would use up the test log's lines for what
        // follows, the lines a later failure needs.
        static QtMessageHandler testLog = nullptr;
        testLog = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &context, const QString &text) {
                if (!text.startsWith("argumentStrList"))
                    testLog(type, context, text);
            });
        const auto restore = qScopeGuard([] { qInstallMessageHandler(testLog); });
        StationRun session([](const QString &) { return std::nullopt; });
        QStringList failed;
        connect(&session, &StationRun::notStarted, this, [&](const RunRefusal &refusal) {
            failed.append(RunWords::refusal(refusal, session.policy()));
        });
        session.press(
            {{},
             {},
             {},
             QVector<QString>(images, FirmwareTree::root() + "/7inch/High/" + QString(200, 'x')).toList(),
             {},
             {}});
        QTRY_COMPARE(failed, QStringList(expected));
        return;
    }
    NoticeWatch *watch = watchNotices();
    QVERIFY(chooseAnImage(window.get()));
    press();
    QVERIFY(!updateButton()->isEnabled());
    QTRY_COMPARE(watch->seen.size(), 1);
    const Notice notice = watch->seen.at(0);
    QCOMPARE(notice.icon, QMessageBox::Warning);
    // A warning carries the program's name; only the notices of a press say
    // "Message Box".
    QCOMPARE(notice.title, QCoreApplication::applicationName());
    QCOMPARE(notice.text, expected);
    QVERIFY(!notice.buttonEnabledWhileOpen);
    QTRY_VERIFY_WITH_TIMEOUT(updateButton()->isEnabled(), runPatienceMs);
    QVERIFY(status().isEmpty());
    QTRY_COMPARE(historyRecords().value(historyRecords().size() - 1).value("detail").toString(), reason);
    // In the banner whole, a long path wrapped where it must, never clipped.
    auto *line = window->findChild<WrappingLabel *>("resultLine");
    QCOMPARE(line->wholeText(), expected);
    QTRY_VERIFY(line->height() >= line->heightForWidth(line->width()));
    QVERIFY(line->fontMetrics().horizontalAdvance(expected) > line->width());
    QVERIFY(window->findChild<QFrame *>("resultBanner")->rect().contains(line->geometry()));
    QDir(updaterProgram()).removeRecursively();
}

void TestUpdater::buttonWaitsForTheRunAndTheNotice_data()
{
    QTest::addColumn<bool>("noticeClosedFirst");
    QTest::newRow("notice closed first") << true;
    QTest::newRow("updater done first") << false;
}

void TestUpdater::buttonWaitsForTheRunAndTheNotice()
{
    QFETCH(bool, noticeClosedFirst);
    qputenv("TPFW_STANDIN_SECONDS", "0.5");
    DebugLog log;
    NoticeWatch *watch = watchNotices();
    if (!noticeClosedFirst)
        watch->mayClose = [this] {
            return runEnded();
        };
    QVERIFY(chooseAnImage(window.get()));
    press();
    QVERIFY(!updateButton()->isEnabled());
    QTRY_COMPARE(watch->seen.size(), 1);
    QVERIFY(!watch->seen.at(0).buttonEnabledWhileOpen);
    if (noticeClosedFirst) {
        QVERIFY(status().startsWith("FW updater running"));
        // A menu looked at leaves it in place.
        QMenu *station = window->menuBar()->actions().value(0)->menu();
        station->popup(window->mapToGlobal(QPoint()));
        station->setActiveAction(station->actions().value(0));
        station->close();
        QVERIFY2(status().startsWith("FW updater running"), qPrintable(status()));
        QVERIFY(!updateButton()->isEnabled());
        QVERIFY(records().isEmpty());
#ifdef Q_OS_UNIX
        // In a session not tpfw's: a terminal closing on tpfw never reaches it.
        const pid_t pid = log.lines.filter("FW updater started, pid ").value(0).section(' ', -1).toInt();
        QVERIFY(pid > 0 && getsid(pid) > 0 && getsid(pid) != getsid(0));
#endif
        QTRY_VERIFY_WITH_TIMEOUT(updateButton()->isEnabled(), runPatienceMs);
    }
    QVERIFY(updateButton()->isEnabled());
    QCOMPARE(records().size(), 1);
    QVERIFY2(status().startsWith("FW update OK ("), qPrintable(status()));
}

void TestUpdater::tellsHowTheRunEnded_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<QByteArray>("exitWith");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("recorded");
    const QByteArray button("updateFw_Console");
    const QString start = "When updating FW, don't press \"UpdateFW\" button!!";
    const QString failed = "FW update failed: exit code 3";
    const QString crashed = "FW update failed: the updater crashed";
    QTest::newRow("button, exit 0") << button << QByteArray("0") << "FW update OK" << QStringList(start)
                                    << "ok";
    QTest::newRow("button, exit 3") << button << QByteArray("3") << failed << QStringList({start, failed})
                                    << "failed";
    QTest::newRow("button, crash") << button << QByteArray("crash") << crashed
                                   << QStringList({start, crashed}) << "crashed";
    QTest::newRow("button, crash with a core dump")
        << button << QByteArray("dump") << crashed << QStringList({start, crashed}) << "crashed";
    QTest::newRow("button, killed") << button << QByteArray("kill") << crashed
                                    << QStringList({start, crashed}) << "crashed";
    QTest::newRow("updateFw, exit 0") << QByteArray("updateFw") << QByteArray("0") << "FW update OK"
                                      << QStringList("Update FW OK !!!") << "ok";
}

void TestUpdater::tellsHowTheRunEnded()
{
    QFETCH(QByteArray, slot);
    QFETCH(QByteArray, exitWith);
    QFETCH(QString, outcome);
    QFETCH(QStringList, shown);
    QFETCH(QString, recorded);
    qputenv("TPFW_STANDIN_SECONDS", "0.3");
    qputenv("TPFW_STANDIN_EXIT", exitWith);
    // The start notice stays open past the end of the run: what follows must
    // wait for it to close.
    NoticeWatch *watch = watchNotices();
    watch->mayClose = [this] {
        return runEnded();
    };
    QVERIFY(chooseAnImage(window.get()));
    invoke(slot);
    QTRY_COMPARE_WITH_TIMEOUT(watch->texts(), shown, runPatienceMs);
    QCOMPARE(watch->maxOpen, 1);
    QVERIFY2(status().startsWith(outcome + " ("), qPrintable(status()));
    // The machine told free once more after the end (a keeper's run filed)
    // leaves the end's words.
    QMetaObject::invokeMethod(window->findChild<StationRun *>(), "freed");
    QVERIFY2(status().startsWith(outcome + " ("), qPrintable(status()));
    // The run's own duration, as recorded: the stand-in works 0.3 s.
    const double seconds = historyRecords().value(0).value("seconds").toDouble();
    QVERIFY2(seconds >= 0.3 && status().contains("(" + QString::number(seconds, 'f', 1) + " s"),
             qPrintable(status()));
    // The stand-in told no percentage: a bar still moving would say the run goes on.
    QVERIFY(window->findChild<QProgressBar *>("runProgress")->maximum() > 0);
    QCOMPARE(records().size(), exitWith.toInt() == 0 && exitWith != "0" ? 0 : 1);
    const QJsonObject record = historyRecords().value(0);
    QCOMPARE(record.value("outcome").toString(), recorded);
    if (recorded == "crashed")
        QVERIFY(record.value("exitCode").isNull());
    else
        QCOMPARE(record.value("exitCode").toInt(-1), exitWith.toInt());

    const Notice last = watch->seen.last();
    QVERIFY(!last.buttonEnabledWhileOpen);
    if (shown.last() == outcome) {
        QCOMPARE(last.icon, QMessageBox::Warning);
        QCOMPARE(last.title, QCoreApplication::applicationName());
        // The updater's own words first, what the station noted after them.
        QVERIFY2(last.details.startsWith("working folder: ")
                     && last.details.contains("PanelProg stand-in: would flash 1 image(s)"),
                 qPrintable(last.details));
        QVERIFY(last.details.endsWith("Run log: " + runLogs().value(0)));
#ifdef Q_OS_UNIX
        QVERIFY2(last.details.contains("stdin: the null device\n"), qPrintable(last.details));
#endif
        if (exitWith == "3")
            QVERIFY2(last.details.contains("PanelProg stand-in: failing with exit code 3"),
                     qPrintable(last.details));
    }
    QTRY_VERIFY_WITH_TIMEOUT(updateButton()->isEnabled(), runPatienceMs);
    QFile::remove(QCoreApplication::applicationDirPath() + "/core");
    if (slot != "updateFw")
        return;
    // The next run, another window's, ends here without a notice: the
    // success notice was this window's press's alone.
    const int noticesBefore = watch->seen.size();
    qputenv("TPFW_STANDIN_EXIT", "0");
    const QStringList images = window->binFiles();
    StationRun other([&images](const QString &) { return std::optional<LeafNow>(LeafNow {images, 0}); });
    other.press({"7inch", "High", FirmwareTree::root() + "/7inch/High", images, {}, {}});
    QTRY_VERIFY_WITH_TIMEOUT(historyRecords().size() == 2 && status().startsWith("FW update OK ("),
                             runPatienceMs);
    QCOMPARE(watch->seen.size(), noticesBefore);
}

void TestUpdater::refusesASecondRun()
{
    qputenv("TPFW_STANDIN_SECONDS", "0.5");
    NoticeWatch *watch = watchNotices();
    QVERIFY(chooseAnImage(window.get()));
    invoke("updateFw");
    QVERIFY(!updateButton()->isEnabled());
    invoke("updateFw");
    invoke("updateFw_Console");
    QTRY_COMPARE_WITH_TIMEOUT(watch->texts(),
                              QStringList({"The FW updater is still running.",
                                           "The FW updater is still running.", "Update FW OK !!!"}),
                              runPatienceMs);
    QCOMPARE(watch->seen.at(0).icon, QMessageBox::Warning);
    QCOMPARE(records().size(), 1);
}

void TestUpdater::aListFromAnotherTpSizeAsksFirst()
{
    FirmwareTree tree({"7inch/High/a.bin", "10.1inch/Low/"});
    window = std::make_unique<MainWindow>();
    QVERIFY(chooseLeaf(window.get(), "7inch", "High"));
    QVERIFY(clickChoice(groupTitled(window.get(), "TP Size"), "10.1inch"));
    QCOMPARE(window->findChild<WrappingLabel *>("leafLine")->wholeText(),
             QString("Images of 7inch / High, still: 10.1inch is checked, no sensitivity yet"));
    NoticeWatch *watch = watchNotices();
    watch->answer = QMessageBox::No;
    press();
    QCOMPARE(
        watch->texts(),
        QStringList("The listed images are from 7inch / High, but 10.1inch is checked. Update with the 7inch "
                    "/ High images?"));
    QCOMPARE(watch->seen.at(0).icon, QMessageBox::Question);
    QCOMPARE(watch->seen.at(0).defaultButton, QMessageBox::No);
    QVERIFY(updateButton()->isEnabled());
    QVERIFY(status().isEmpty());
}

void TestUpdater::closingDuringARunAsksFirst()
{
    qputenv("TPFW_STANDIN_SECONDS", "0.5");
    qputenv("TPFW_STANDIN_EXIT", "3");
    NoticeWatch *watch = watchNotices();
    window->show();
    QVERIFY(chooseAnImage(window.get()));
    press();
    QTRY_COMPARE(watch->seen.size(), 1);
    // The run ends while the question is open: its notice waits for the answer.
    watch->answer = QMessageBox::No;
    watch->mayClose = [this] {
        return runEnded();
    };
    QVERIFY(!window->close());
    QVERIFY(window->isVisible());
    const QString question
        = "The FW updater is still running. Close anyway? The update goes on without this window.";
    QCOMPARE(watch->texts(),
             QStringList({"When updating FW, don't press \"UpdateFW\" button!!", question,
                          "FW update failed: exit code 3"}));
    QCOMPARE(watch->maxOpen, 1);
    QCOMPARE(watch->seen.at(1).title, QCoreApplication::applicationName());
    QCOMPARE(watch->seen.at(1).icon, QMessageBox::Question);
    QCOMPARE(watch->seen.at(1).defaultButton, QMessageBox::No);

    watch->answer = QMessageBox::Yes;
    watch->mayClose = [] {
        return true;
    };
    press();
    QTRY_VERIFY(status().startsWith("FW updater running"));
    QVERIFY(window->close());
    window.reset();
    QCOMPARE(records().size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(records().size(), 2, 5000);
}

void TestUpdater::closingWhileTheImagesAreCheckedStartsNothing_data()
{
    QTest::addColumn<qint64>("bigImage");
    QTest::addColumn<int>("answerAfter");
    QTest::addColumn<bool>("closes");
#ifdef Q_OS_WIN
    // Wine's SHA-256 is slow, and Windows keeps a file that is read.
    QTest::newRow("the check still going") << (qint64(1) << 30) << 0 << true;
#else
    QTest::newRow("the check still going") << (qint64(8) << 30) << 0 << true;
#endif
    QTest::newRow("the check done while asked") << (qint64(256) << 20) << 2000 << true;
    QTest::newRow("No: the run starts as pressed") << (qint64(256) << 20) << 0 << false;
    QTest::newRow("No once the check is done: the run starts") << (qint64(256) << 20) << 2000 << false;
}

// Closed while its images are checked, the window asks; on Yes it goes at
// once, whatever the check is doing, starts nothing and records the press,
// even where the check ends while the question is open. On No the press
// goes on.
void TestUpdater::closingWhileTheImagesAreCheckedStartsNothing()
{
    QFETCH(qint64, bigImage);
    QFETCH(int, answerAfter);
    QFETCH(bool, closes);
    FirmwareTree tree({"7inch/High/a.bin"});
    const QString big = FirmwareTree::root() + "/7inch/High/big.bin";
    {
        QFile file(big);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(bigImage));
    }
    window = std::make_unique<MainWindow>();
    QVERIFY(chooseLeaf(window.get(), "7inch", "High"));
    NoticeWatch *watch = watchNotices();
    watch->answer = closes ? QMessageBox::Yes : QMessageBox::No;
    QElapsedTimer clock;
    watch->mayClose = [&] {
#ifdef Q_OS_LINUX
        // And the check has let go of the big image, however busy the machine.
        if (answerAfter > 0 && heldOpen(big))
            return false;
#endif
        return clock.elapsed() >= answerAfter;
    };
    press();
    QVERIFY2(status().startsWith("Checking the images: "), qPrintable(status()));
    clock.start();
    QCOMPARE(window->close(), closes);
    QCOMPARE(watch->texts().value(0),
             QString("The images are still being checked. Close anyway? Nothing will be started."));
    QCOMPARE(watch->seen.at(0).defaultButton, QMessageBox::No);
    if (!closes) {
        QTRY_COMPARE_WITH_TIMEOUT(records().size(), 1, runPatienceMs);
        QTRY_VERIFY_WITH_TIMEOUT(runEnded(), runPatienceMs);
        return;
    }
    window.reset();
#ifdef Q_OS_LINUX
    // Gone without waiting for the check, which reads on.
    if (answerAfter == 0)
        QVERIFY(heldOpen(big));
#endif
    const QJsonObject record = historyRecords().value(0);
    QCOMPARE(record.value("outcome").toString(), QString("notStarted"));
    QCOMPARE(record.value("detail").toString(),
             QString("cancelled: the window was closed while the images were checked"));
    QCOMPARE(record.value("images").toArray().size(), 2);
    // Once the check left behind is done (Windows keeps an open file).
    QTRY_VERIFY_WITH_TIMEOUT(QFile::remove(big) || !QFile::exists(big), 60000);
    QVERIFY(records().isEmpty());
    QCOMPARE(historyRecords().size(), 1);
}

void TestUpdater::runsFromTheApplicationFolderIntoItsLog()
{
    QTemporaryDir elsewhere;
    const QString started = QDir::currentPath();
    DebugLog log;
    watchNotices();
    QVERIFY(chooseAnImage(window.get()));
    QDir::setCurrent(elsewhere.path());
    invoke("updateFw");
    QDir::setCurrent(started);
    QTRY_VERIFY2(notices->texts() == QStringList("Update FW OK !!!"), qPrintable(notices->texts().join("|")));

    const QStringList logs = runLogs();
    QCOMPARE(logs.size(), 1);
    QFile runLog(logs.at(0));
    QVERIFY(runLog.open(QIODevice::ReadOnly));
    const QString whole = QString::fromUtf8(runLog.readAll());
    // Read on its own, the log names its run first and its end last.
    QStringList lines = whole.split('\n');
    QVERIFY(lines.takeLast().isEmpty());
    const QString footer = lines.takeLast();
    QVERIFY2(footer.contains(QRegularExpression(
                 "^tpfw: ended \\d{4}-\\d\\d-\\d\\dT[\\d:.]+[+-]\\d\\d:\\d\\d, outcome ok, exit code 0$")),
             qPrintable(footer));
    QMap<QString, QStringList> header;
    while (lines.first().startsWith("tpfw: ")) {
        const QString line = lines.takeFirst().mid(6);
        header[line.section(' ', 0, 0)].append(line.section(' ', 1));
    }
    const RunRecord record = *fromJson(historyRecords().constLast());
    QCOMPARE(header.value("run"), QStringList(runIdText(record.runId)));
    QCOMPARE(header.value("unit"), QStringList("-"));
    QCOMPARE(header.value("station"), QStringList(record.station));
    QCOMPARE(header.value("leaf"), QStringList("7inch/High"));
    QCOMPARE(header.value("image").size(), record.images.size());
    QCOMPARE(header.value("image").first(),
             record.images.first().path + "  " + QString::number(record.images.first().bytes) + "  "
                 + record.images.first().sha256);
    QCOMPARE(header.value("updater"), QStringList(record.updater.path + "  " + record.updater.sha256));
    QCOMPARE(header.value("started"), QStringList(isoWithOffset(record.started)));
    QVERIFY(header.value("command").value(0).endsWith(" -ba"));
    const QString output = lines.join('\n');
    QVERIFY2(output.startsWith("working folder: "
                               + QDir::toNativeSeparators(QCoreApplication::applicationDirPath())),
             qPrintable(output));
    QVERIFY(output.contains(QRegularExpression("\nswitch: -ba\r?(\n|$)")));

    // Followed to its end and reaped: nothing of it is left behind.
    const QStringList startedLine = log.lines.filter("FW updater started, pid ");
    QCOMPARE(startedLine.size(), 1);
    QCOMPARE(log.lines.filter("FW updater ended: ").value(0), QString("FW updater ended: exit code 0"));
    QTRY_VERIFY(processGone(startedLine.at(0).section(' ', -1).toLongLong()));
}

void TestUpdater::theRunPanelFollowsTheOutputAndShowsTheResult_data()
{
    QTest::addColumn<QByteArray>("exitWith");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("colour");
    QTest::newRow("OK") << QByteArray("0") << "FW update OK"
                        << "#1e7d32";
    QTest::newRow("exit 3") << QByteArray("3") << "FW update failed: exit code 3"
                            << "#b3261e";
}

void TestUpdater::theRunPanelFollowsTheOutputAndShowsTheResult()
{
    QFETCH(QByteArray, exitWith);
    QFETCH(QString, result);
    QFETCH(QString, colour);
    FirmwareTree tree({"7inch/High/a.bin", "7inch/High/b.bin", "7inch/Low/c.bin"});
    window = std::make_unique<MainWindow>();
    auto *panel = window->findChild<QWidget *>("runPanel");
    QVERIFY(panel->isHidden());
    QVERIFY(chooseLeaf(window.get(), "7inch", "High"));
    qputenv("TPFW_STANDIN_SECONDS", "2.4");
    qputenv("TPFW_STANDIN_TICKS", "4");
    qputenv("TPFW_STANDIN_EXIT", exitWith);
    const auto cleanUp = qScopeGuard([] { qunsetenv("TPFW_STANDIN_TICKS"); });
    watchNotices();
    // Room for the groups' whole height, and for the list beyond its least,
    // that the panel could take.
    window->resize(400, 420);
    const auto buttonsPlace = [this] {
        return updateButton()->mapTo(window.get(), QPoint());
    };
    QPoint running;
    // Once the leaf is read: a click on a button still off starts nothing.
    QTRY_VERIFY_WITH_TIMEOUT(updateButton()->isEnabled(), runPatienceMs);
    press();
    // The panel names what was sent, whatever is chosen meanwhile.
    QVERIFY(clickChoice(groupTitled(window.get(), "Sensitivity"), "Low"));
    auto *sent = window->findChild<QLabel *>("sentLine");
    auto *latest = window->findChild<ElidedLabel *>("latestLine");
    auto *progress = window->findChild<QProgressBar *>("runProgress");
    auto *elapsed = window->findChild<QLabel *>("elapsed");
    QVERIFY(panel->isVisible());
    QCOMPARE(sent->text(), QString("7inch / High · 2 images"));
    // Each tick within a second of its write, the bar at its percentage.
    auto *banner = window->findChild<QFrame *>("resultBanner");
    QStringList ticks;
    QStringList times;
    for (QDeadlineTimer limit(runPatienceMs); !banner->isVisible() && !limit.hasExpired();) {
        // Where the buttons are while it runs: the last place seen, once
        // the panel's own layout has long settled.
        running = buttonsPlace();
        const QString line = latest->fullText();
        if (line.startsWith("writing block") && !ticks.contains(line)) {
            ticks.append(line);
            QCOMPARE(progress->value(), percentIn({line}));
        }
        if (!times.contains(elapsed->text()))
            times.append(elapsed->text());
        QTest::qWait(20);
    }
    // The last tick is followed at once by the updater's last words.
    QCOMPARE(ticks,
             QStringList({"writing block 1/4 (25%)", "writing block 2/4 (50%)", "writing block 3/4 (75%)"}));
    QCOMPARE(progress->value(), 100);
    times.append(elapsed->text());
    times.removeDuplicates();
    // The clock goes on from 0:00, second by second; a loaded machine may
    // show a second late, and so skip one.
    QStringList inOrder = times;
    std::sort(inOrder.begin(), inOrder.end());
    QVERIFY2(times.value(0) == "0:00" && times == inOrder && times.contains("0:02"),
             qPrintable(times.join(' ')));

    QVERIFY(banner->isVisible());
    QCOMPARE(window->findChild<WrappingLabel *>("resultLine")->wholeText(), result);
    const QString detail = window->findChild<WrappingLabel *>("resultDetail")->wholeText();
    QVERIFY2(QRegularExpression("^7inch / High · 2 images · 2\\.\\d s$").match(detail).hasMatch(),
             qPrintable(detail));
    QVERIFY(banner->styleSheet().contains(colour));
    // A failure says what to do with the panel, its bar no success's.
    QCOMPARE(window->findChild<WrappingLabel *>("resultAdvice")->isVisible(), exitWith != "0");
    QCOMPARE(progress->styleSheet().contains(colour), exitWith != "0");
    QVERIFY(window->findChild<QLabel *>("resultLine")->font().bold());
    // The window made room for the panel: the choices are all still in view.
    for (const QString title : {"TP Size", "Sensitivity"})
        QTRY_COMPARE(groupTitled(window.get(), title)->hiddenHeight(), 0);
    // It grew with the banner: the buttons stayed where they were.
    QTRY_COMPARE(buttonsPlace(), running);

    // The whole output, on demand.
    auto *output = window->findChild<QPlainTextEdit *>("output");
    QVERIFY(output->isHidden());
    QTest::mouseClick(window->findChild<QPushButton *>("outputButton"), Qt::LeftButton);
    QVERIFY(output->isVisible());
    QVERIFY(output->isReadOnly());
    const QString text = output->toPlainText();
    QVERIFY2(text.contains("writing block 1/4 (25%)\nwriting block 2/4 (50%)\n") && text.contains("switch: "),
             qPrintable(text));
    // The log's own lines of the run are no output of the updater.
    QVERIFY2(!text.contains("tpfw: "), qPrintable(text));
    // Until the next press.
    QTRY_VERIFY_WITH_TIMEOUT(updateButton()->isEnabled(), runPatienceMs);
    qputenv("TPFW_STANDIN_SECONDS", "0.5");
    press();
    QVERIFY(banner->isHidden());
    QCOMPARE(sent->text(), QString("7inch / Low · 1 image"));
    QTRY_VERIFY(banner->isVisible());
    // On a wide screen the result grows: what to do with the panel as
    // large as what was sent.
    window->resize(1920, 420);
    const auto pointSize = [this](const char *name) {
        return window->findChild<WrappingLabel *>(name)->font().pointSizeF();
    };
    QTRY_VERIFY(pointSize("resultDetail") > window->font().pointSizeF());
    QCOMPARE(pointSize("resultAdvice"), pointSize("resultDetail"));
}

void TestUpdater::outputIsReadLineByLine()
{
    QTemporaryDir dir;
    QFile log(dir.filePath("run.log"));
    QVERIFY(log.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    // Only the end of a long log is read: its first line there is cut.
    log.write(QByteArray(300 * 1024, 'x') + "\nbefore\n");
    OutputTail tail;
    QStringList lines;
    connect(&tail, &OutputTail::lines, [&](const QStringList &more) { lines += more; });
    tail.follow(log.fileName());
    QTRY_COMPARE(lines, QStringList("before"));
    // A carriage return ends a line, "\r\n" only one; a line unfinished waits.
    log.write("10%\r20%\r\nwindows\r\nhalf");
    QTRY_COMPARE_WITH_TIMEOUT(lines, QStringList({"before", "10%", "20%", "windows"}), 1500);
    log.write(" a line\n");
    QTRY_COMPARE_WITH_TIMEOUT(lines.last(), QString("half a line"), 1500);

    // As shown: cut at what can be shown, whatever is not text replaced.
    TailState state;
    QFile raw(dir.filePath("raw.log"));
    QVERIFY(raw.open(QIODevice::WriteOnly));
    raw.write(QByteArray(3 * displayedLineBytes, 'x') + "\nbell\a, nul" + QByteArray(1, '\0') + ", \xff\n");
    raw.close();
    QCOMPARE(readAppended(raw.fileName(), state, OutputTail::backlog, OutputTail::keptLines),
             QStringList({QString(displayedLineBytes, 'x') + QChar(0x2026),
#ifdef Q_OS_WIN
                          // The local code page (1252) reads 0xFF as a letter.
                          QString("bell\uFFFD, nul\uFFFD, \u00FF")}));
#else
                          QString("bell\uFFFD, nul\uFFFD, \uFFFD")}));
#endif
    // A long line written slowly is held no longer than it is shown.
    QVERIFY(raw.open(QIODevice::Append));
    for (int k = 0; k < 20; ++k) {
        raw.write(QByteArray(100 * 1024, 'y'));
        raw.flush();
        QVERIFY(readAppended(raw.fileName(), state, OutputTail::backlog, OutputTail::keptLines).isEmpty());
        QVERIFY(state.partial.size() <= displayedLineBytes);
    }
    // Of many lines at once, only the last ones are told.
    raw.write("\n" + QByteArray("line\n").repeated(5000));
    raw.close();
    const QStringList last = readAppended(raw.fileName(), state, OutputTail::backlog, OutputTail::keptLines);
    QCOMPARE(last.size(), OutputTail::keptLines);
    QCOMPARE(last.last(), QString("line"));
}

void TestUpdater::outputNeverFreezesTheWindow_data()
{
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<int>("percent");
    // Sizes for a test; the README's figures are of 150 MB and 50 MB.
    const int megabytes = qEnvironmentVariableIntValue("TPFW_TEST_FLOOD_MB");
    const int flood = (megabytes > 0 ? megabytes : 20) << 20;
    QByteArray lines;
    lines.reserve(flood);
    int k = 0;
    for (; lines.size() < flood; ++k)
        lines += QByteArray::number(k).rightJustified(10, '0') + " writing... " + QByteArray::number(k % 100)
            + "%\n";
    QTest::newRow("a flood of lines") << lines << (k - 1) % 100;
    QTest::newRow("one long line") << QByteArray(flood / 2, 'x') + "\n" << -1;
    QByteArray binary;
    for (int b = 0; b < (1 << 20); ++b)
        binary += char(unsigned(b) * 7919u % 251u);
    QTest::newRow("bytes that are not text") << binary + "\n" << -1;
    QByteArray progress;
    for (int percent = 0; percent <= 100; ++percent)
        progress += "\rwriting " + QByteArray::number(percent) + "%";
    QTest::newRow("progress by carriage returns") << progress + "\n" << 100;
}

// Whatever the updater prints, the window answers all along, holds little,
// and shows what matters: the last lines, each cut to what can be shown.
void TestUpdater::outputNeverFreezesTheWindow()
{
    QFETCH(QByteArray, output);
    QFETCH(int, percent);
    QFile file(logDir.filePath("output"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(output) == output.size());
    file.close();
    output.clear();
    qputenv("TPFW_STANDIN_OUTPUT", QFile::encodeName(file.fileName()));
    // Failed: the bar keeps the last percentage told.
    qputenv("TPFW_STANDIN_EXIT", "3");
    const auto cleanUp = qScopeGuard([] { qunsetenv("TPFW_STANDIN_OUTPUT"); });
    window->show();
    watchNotices();
    // What the window holds besides this test's own data.
    const qint64 before = residentMiB();
    QVERIFY(chooseAnImage(window.get()));
    invoke("updateFw");
    auto *banner = window->findChild<QFrame *>("resultBanner");
    QTRY_VERIFY_WITH_TIMEOUT(banner->isVisible(), runPatienceMs);
    const qint64 grown = residentMiB() - before;
    qInfo("%lld MiB more resident", grown);
#ifndef __SANITIZE_ADDRESS__
    QVERIFY2(grown < 100, qPrintable(QString::number(grown)));
#endif
    const QStringList shown
        = window->findChild<QPlainTextEdit *>("output")->toPlainText().split('\n', Qt::SkipEmptyParts);
    QVERIFY(shown.size() <= OutputTail::keptLines);
    for (const QString &line : shown) {
        QVERIFY(line.size() <= displayedLineBytes + 1);
        for (const QChar c : line)
            QVERIFY(c.unicode() >= 0x20 || c == '\t');
    }
    QVERIFY(shown.join('\n').contains("PanelProg stand-in: would flash 1 image(s)"));
    if (QByteArray(QTest::currentDataTag()) == "bytes that are not text")
        QVERIFY(shown.join(' ').contains(QChar::ReplacementCharacter));
    if (percent >= 0)
        QCOMPARE(window->findChild<QProgressBar *>("runProgress")->value(), percent);

    // The whole log, on demand: its end, read and shown the same way.
    LogViewer::open(runLogs().value(0), window.get());
    QPlainTextEdit *view = nullptr;
    QTRY_VERIFY((view = window->findChild<QPlainTextEdit *>("logText")));
    QTRY_VERIFY(view->toPlainText().contains("PanelProg stand-in: would flash 1 image(s)"));
    for (const QString &line : view->toPlainText().split('\n'))
        QVERIFY(line.size() <= displayedLineBytes + 1);
}

// A leaf that takes its time to answer (a share, a folder of many entries):
// the press waits for it, the window answering meanwhile, and starts.
void TestUpdater::aPressWaitsForASlowLeaf()
{
#ifdef Q_OS_LINUX
    if (!QFileInfo::exists("/dev/fuse") || !QFileInfo::exists("/usr/bin/fusermount3"))
        QSKIP("no FUSE here (/dev/fuse or fusermount3 missing)");
    FirmwareTree tree({"9inch/"});
    const QString share = FirmwareTree::root() + "/9inch";
    QProcess fs;
    fs.start(TPFW_HANG_FS, {share, "0.3", "list"});
    const auto unmount = qScopeGuard([&] {
        QProcess::execute("fusermount3", {"-u", "-z", share});
        fs.kill();
        fs.waitForFinished();
    });
    QTRY_VERIFY([&] {
        QFile mounts("/proc/mounts");
        return mounts.open(QIODevice::ReadOnly) && mounts.readAll().contains(" " + share.toUtf8() + " fuse");
    }());
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(clickChoice(groupTitled(window.get(), "TP Size"), "9inch"));
    QVERIFY(clickChoice(groupTitled(window.get(), "Sensitivity"), "High"));
    QTRY_VERIFY_WITH_TIMEOUT(updateButton()->isEnabled(), runPatienceMs);
    // An empty leaf: sent nothing, on purpose.
    watchNotices()->answer = QMessageBox::Yes;
    press();
    QCOMPARE(status(), QString("Reading 9inch/High…"));
    QVERIFY(!updateButton()->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(status().startsWith("FW updater ended: no images were sent (exit code 0) ("),
                             10000);
    QCOMPARE(records().size(), 1);
#else
    QSKIP("FUSE is for Linux");
#endif
}

// An updater that prints far more than a log may hold (a smaller limit for
// the test): its first and last output stay, the middle is given back to the
// disk, and the log and the record say how much. The limit holds at every
// read of the output, whether tpfw-run lives or not.
void TestUpdater::aRunsLogHasASize_data()
{
    QTest::addColumn<bool>("supervisorKilled");
    QTest::newRow("with its supervisor") << false;
    QTest::newRow("its supervisor killed during the flood") << true;
}

void TestUpdater::aRunsLogHasASize()
{
#ifdef Q_OS_LINUX
    QFETCH(bool, supervisorKilled);
    const qint64 limit = 4 << 20;
    QByteArray output;
    for (int k = 0; output.size() < 40 << 20; ++k)
        output += "line " + QByteArray::number(k).rightJustified(10, '0') + " of a chatty updater\n";
    // Fed through a FIFO, so that the flood is on while the test looks.
    const QByteArray fifo = QFile::encodeName(logDir.filePath("output"));
    QFile::remove(fifo);
    QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
    qputenv("TPFW_STANDIN_OUTPUT", fifo);
    qputenv("TPFW_RUN_LOG_LIMIT", QByteArray::number(limit));
    const auto cleanUp = qScopeGuard([] {
        qunsetenv("TPFW_STANDIN_OUTPUT");
        qunsetenv("TPFW_RUN_LOG_LIMIT");
    });
    watchNotices();
    QVERIFY(chooseAnImage(window.get()));
    invoke("updateFw");
    QTRY_VERIFY(status().startsWith("FW updater running"));
    QFile flood(fifo);
    QVERIFY(flood.open(QIODevice::WriteOnly));
    qint64 peak = 0;
    for (int at = 0; at < output.size(); at += 1 << 20) {
        QVERIFY(flood.write(output.mid(at, 1 << 20)) > 0 && flood.flush());
        if (supervisorKilled && at == 8 << 20)
            killProcess(RunLock::lastInfo().supervisorPid);
        peak = qMax(peak, diskUse(runLogs().value(0)));
    }
    flood.close();
    // Over by one read of the output at most, and the file system's blocks.
    QVERIFY2(peak <= limit + (128 << 10), qPrintable(QString::number(peak)));
    QTRY_VERIFY_WITH_TIMEOUT(status().startsWith("FW update OK ("), runPatienceMs);
    const QString log = runLogs().value(0);
    QVERIFY2(diskUse(log) <= limit, qPrintable(QString::number(diskUse(log))));
    QFile kept(log);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QByteArray head = kept.read(limit / 4);
    while (head.startsWith("tpfw: "))
        head = head.mid(head.indexOf('\n') + 1);
    QCOMPARE(head, output.left(head.size()));
    kept.seek(kept.size() - 4096);
    const QByteArray end = kept.readAll();
    QVERIFY2(end.contains("PanelProg stand-in: would flash 1 image(s)"), end.constData());
    const QRegularExpression note(
        "\ntpfw: ((\\d+) bytes of the updater's output were dropped from the middle "
        "of the run log, to keep it within 4194304 bytes)\ntpfw: ended [^\n]*\n$");
    const QRegularExpressionMatch told = note.match(QString::fromUtf8(end));
    QVERIFY2(told.hasMatch(), end.constData());
    QVERIFY(told.captured(2).toLongLong() > output.size() - 3 * limit);
    QVERIFY(historyRecords().value(0).value("notes").toArray().contains(told.captured(1)));
#else
    QSKIP("holes are punched and measured the Linux way here");
#endif
}

QTEST_MAIN(TestUpdater)
#include "tst_updater.moc"
