#include "RecordSupport.h"
#include "TestSupport.h"

#include "update/record/ChainCheck.h"
#include "update/record/CsvExport.h"
#include "update/record/DataFolder.h"
#include "update/record/FileFacts.h"
#include "update/record/HistoryReading.h"
#include "update/record/PendingRun.h"
#include "update/record/RunHistory.h"
#include "update/run/LogRetention.h"
#include "update/run/RunLog.h"
#include "update/run/UpdaterCommand.h"
#include "window/HistoryDialog.h"
#include "window/HistoryModel.h"
#include "window/HistoryStatus.h"
#include "window/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <ctime>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#ifdef Q_OS_LINUX
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>
#endif

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void recordsEachRunWithWhatWasFlashed();
    void linesStayWholeWithTwoWriters();
    void imagesThatAreNoFilesAreSentUnread();
    void anUnwritableHistoryNeverStopsTheUpdate();
    void theHistoryNeverHoldsTheWindow();
    void aClockSetBackDuringARunChangesNotItsLength();
    void exportingManyRowsNeverHoldsTheWindow();
    void aWindowThatGoesLeavesItsReadingBehind();
    void recordsInTheStationsTimeZone_data();
    void recordsInTheStationsTimeZone();
    void aWindowLeftOpenOvernightCountsTheNewDay();
    void theHistoryDialogListsFiltersAndExports();
    void anImageThatChangesWhileCheckedIsRefused();
    void runLogsAreKeptWithinBounds();

private:
    static void showHistory(MainWindow &window);
    // Runs the updater through updateFw and waits for its notice.
    static void runUpdate(MainWindow &window, const QString &expectedNotice);
};

void TestHistory::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestHistory::init()
{
    QVERIFY(QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)).removeRecursively());
    clearFirmwareTree();
    placeUpdater(TPFW_STANDIN);
    qunsetenv("TPFW_STANDIN_EXIT");
}

void TestHistory::runUpdate(MainWindow &window, const QString &expectedNotice)
{
    NoticeWatch watch([&] { return window.findChild<QPushButton *>(); });
    if (window.binFiles().isEmpty())
        QVERIFY(chooseAnImage(&window));
    // Once the leaf is read and the last run told: a press before that
    // sends a list the window has not finished reading.
    QTRY_VERIFY_WITH_TIMEOUT(window.findChild<QPushButton *>()->isEnabled(), runPatienceMs);
    QMetaObject::invokeMethod(&window, "updateFw");
    QTRY_COMPARE_WITH_TIMEOUT(watch.texts().value(0).left(expectedNotice.size()), expectedNotice,
                              runPatienceMs);
}

void TestHistory::recordsEachRunWithWhatWasFlashed()
{
#ifdef Q_OS_WIN
    const QStringList odd({"a, b.bin", "x|y.bin", "Ünï 日本.bin"});
#else
    const QStringList odd({"a, b.bin", "say \"hi\".bin", "two\nlines.bin", "x|y.bin", "Ünï 日本.bin"});
#endif
    FirmwareTree tree;
    makeTree(FirmwareTree::root() + "/7inch/High", odd);
    QFile abc(FirmwareTree::root() + "/7inch/High/abc.bin");
    QVERIFY(abc.open(QIODevice::WriteOnly) && abc.write("abc") == 3);
    abc.close();
    // Past the size read at once, and nothing at all.
    QByteArray bigContent;
    for (int i = 0; bigContent.size() < (1 << 20) + 17; ++i)
        bigContent += QByteArray::number(i);
    QFile big(FirmwareTree::root() + "/7inch/High/big.bin");
    QVERIFY(big.open(QIODevice::WriteOnly) && big.write(bigContent) == bigContent.size());
    big.close();
    makeTree(FirmwareTree::root(), {"7inch/High/empty.bin"});
    QFile(FirmwareTree::root() + "/7inch/High/empty.bin").resize(0);
    MainWindow window;
    QVERIFY(chooseLeaf(&window, "7inch", "High"));
    const QStringList images = window.binFiles();

    runUpdate(window, "Update FW OK !!!");
    qputenv("TPFW_STANDIN_EXIT", "3");
    runUpdate(window, "FW update failed: exit code 3");
    QFile::remove(updaterProgram());
    runUpdate(window, "Cannot start the FW updater: ");

    QTRY_COMPARE(historyRecords().size(), 3);
    const QList<QJsonObject> lines = historyRecords();
    QFile standIn(TPFW_STANDIN);
    QVERIFY(standIn.open(QIODevice::ReadOnly));
    const QString standInHash
        = QCryptographicHash::hash(standIn.readAll(), QCryptographicHash::Sha256).toHex();
    const QRegularExpression isoWithOffset(
        "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d$");
    for (const QJsonObject &line : lines) {
        QCOMPARE(line.value("tpSize").toString(), QString("7inch"));
        QCOMPARE(line.value("tpfwVersion").toString(), QString(TPFW_VERSION));
        QCOMPARE(line.value("sensitivity").toString(), QString("High"));
        QCOMPARE(line.value("updater").toString(), updaterProgram());
        QVERIFY(isoWithOffset.match(line.value("started").toString()).hasMatch());
        QVERIFY(isoWithOffset.match(line.value("ended").toString()).hasMatch());
        QVERIFY(line.value("seconds").toDouble() >= 0);
        QVERIFY(!line.value("user").toString().isEmpty());
        // A station without settings is named by its host and asks for no one.
        QCOMPARE(line.value("station"), line.value("host"));
        QVERIFY(line.value("unit").isNull() && line.value("operator").isNull()
                && line.value("order").isNull());
        const QJsonArray sent = line.value("images").toArray();
        QCOMPARE(sent.size(), images.size());
        for (int i = 0; i < images.size(); ++i)
            QCOMPARE(sent.at(i).toObject().value("path").toString(), images.at(i));
        const auto facts = [&](const QString &name) {
            const QJsonObject image
                = sent.at(images.indexOf(FirmwareTree::root() + "/7inch/High/" + name)).toObject();
            return image.value("bytes").toVariant().toString() + " " + image.value("sha256").toString();
        };
        QCOMPARE(facts("abc.bin"),
                 QString("3 ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
        QCOMPARE(facts("empty.bin"),
                 QString("0 e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"));
        QCOMPARE(facts("big.bin"),
                 QString::number(bigContent.size()) + " "
                     + QCryptographicHash::hash(bigContent, QCryptographicHash::Sha256).toHex());
    }
    QCOMPARE(lines.at(0).value("outcome").toString(), QString("ok"));
    QCOMPARE(lines.at(0).value("exitCode").toInt(-1), 0);
    QCOMPARE(lines.at(0).value("updaterSha256").toString(), standInHash);
    // Where this machine has no logind, the run says so and goes on.
    const QJsonValue detail = lines.at(0).value("detail");
    QVERIFY2(detail.isNull() || detail.toString().startsWith("sleep and shutdown not held off: "),
             qPrintable(detail.toString()));
    QVERIFY(QFile::exists(lines.at(0).value("log").toString()));
    QCOMPARE(lines.at(1).value("outcome").toString(), QString("failed"));
    QCOMPARE(lines.at(1).value("exitCode").toInt(), 3);
    QCOMPARE(lines.at(2).value("outcome").toString(), QString("notStarted"));
    QVERIFY(lines.at(2).value("exitCode").isNull());
    QVERIFY(lines.at(2).value("log").isNull());
    QVERIFY(lines.at(2).value("updaterSha256").isNull());
    QVERIFY(!lines.at(2).value("detail").toString().isEmpty());
    // The press refused is no run: not counted as failed.
    QTRY_COMPARE(window.findChild<QLabel *>("todayCounts")->text(), QString("Today: 1 OK · 1 failed"));
}

void TestHistory::linesStayWholeWithTwoWriters()
{
    const QString path = historyPath();
    QDir().mkpath(QFileInfo(path).path());
    // Held here first: the writers must wait for it.
    QLockFile lock(path + ".lock");
    QVERIFY(lock.lock());
    QList<QProcess *> writers;
    for (int i = 0; i < 2; ++i) {
        writers.append(new QProcess(this));
        writers.last()->start(TPFW_HISTORY_WRITER, {path, "150"});
    }
    QTest::qWait(1000);
    QVERIFY(historyRecords().isEmpty());
    lock.unlock();
    for (QProcess *writer : writers) {
        QVERIFY(writer->waitForFinished(60000));
        QCOMPARE(writer->exitCode(), 0);
    }
    const QList<QJsonObject> lines = historyRecords();
    QCOMPARE(lines.size(), 300);
    for (const QJsonObject &line : lines)
        QCOMPARE(line.value("images").toArray().size(), 50);
    // One chain: each writer took its place under the lock.
    const ChainCheck chain = ChainCheck::ofFile(path);
    QVERIFY(!chain.firstBreak());
    QCOMPARE(chain.lastSeq(), 300);
}

void TestHistory::imagesThatAreNoFilesAreSentUnread()
{
#ifdef Q_OS_UNIX
    // A FIFO is not listed, but a link to one is; opened, it would keep the
    // press waiting for ever.
    FirmwareTree tree({"7inch/High/a.bin"});
    const QString leaf = FirmwareTree::root() + "/7inch/High";
    QVERIFY(::mkfifo(QFile::encodeName(FirmwareTree::root() + "/pipe").constData(), 0600) == 0);
    QVERIFY(QFile::link(FirmwareTree::root() + "/pipe", leaf + "/link.bin"));
    MainWindow window;
    QVERIFY(chooseLeaf(&window, "7inch", "High"));
    QCOMPARE(window.binFiles(), QStringList({leaf + "/a.bin", leaf + "/link.bin"}));
    // The stand-in finds no file there either.
    runUpdate(window, "FW update failed: exit code 1");
    const QJsonObject line = historyRecords().value(0);
    const QJsonObject unread = line.value("images").toArray().at(1).toObject();
    QVERIFY(unread.value("bytes").isNull() && unread.value("sha256").isNull());
    QCOMPARE(line.value("notes").toArray().at(0).toString(), QString("link.bin: not a regular file"));
#endif
}

void TestHistory::anUnwritableHistoryNeverStopsTheUpdate()
{
    // A folder where the file should be: as unwritable to root as to anyone.
    QVERIFY(QDir().mkpath(historyPath()));
    MainWindow window;
    window.show();
    QLabel *problem = window.findChild<QLabel *>("historyProblem");
    QVERIFY(problem->isHidden());
    NoticeWatch watch([&] { return window.findChild<QPushButton *>(); });
    QVERIFY(chooseAnImage(&window));
    QMetaObject::invokeMethod(&window, "updateFw");
    QTRY_COMPARE_WITH_TIMEOUT(watch.texts(),
                              QStringList({"The station history could not be written: " + historyPath()
                                               + ": not a regular file. This run is not recorded.",
                                           "Update FW OK !!!"}),
                              runPatienceMs);
    QCOMPARE(watch.seen.at(0).icon, QMessageBox::Warning);
    QVERIFY(problem->isVisible());
    QCOMPARE(problem->text(), QString("History not written"));
    QVERIFY(problem->toolTip().contains(historyPath() + ": not a regular file"));
    QTRY_COMPARE(window.findChild<QLabel *>("todayCounts")->text(), QString("Today: 0 OK · 0 failed"));
}

void TestHistory::recordsInTheStationsTimeZone_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("offset");
    // POSIX zones: no time zone data needed. Their sign is west of UTC.
    QTest::newRow("east, half hour") << QByteArray("XST-5:30") << "+05:30";
    QTest::newRow("west") << QByteArray("XST+3") << "-03:00";
    QTest::newRow("far east: midnight is yesterday in UTC") << QByteArray("XST-14") << "+14:00";
    // "+00:00", never RFC 3339's "-00:00" (offset unknown).
    QTest::newRow("UTC") << QByteArray("UTC0") << "+00:00";
}

void TestHistory::recordsInTheStationsTimeZone()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, offset);
    const QByteArray utc = qgetenv("TZ");
    qputenv("TZ", zone);
    tzset();
    RunRecord record = aFlash();
    record.started = QDate::currentDate().startOfDay().addSecs(30 * 60);
    record.ended = record.started.addSecs(60);
    record.outcome = Outcome::Ok;
    QString error;
    const bool written = appendToHistory(historyPath(), record, &error);
    const DayCounts today = countDay(historyPath(), QDate::currentDate());
    const DayCounts yesterday = countDay(historyPath(), QDate::currentDate().addDays(-1));
    const QString day = record.started.toString("yyyy-MM-dd");
    const qint64 instant = record.started.toMSecsSinceEpoch();
    qputenv("TZ", utc);
    tzset();
    QVERIFY2(written, qPrintable(error));
    const QString started = historyRecords().value(0).value("started").toString();
    QCOMPARE(started, day + "T00:30:00.000" + offset);
    QCOMPARE(QDateTime::fromString(started, Qt::ISODateWithMs).toMSecsSinceEpoch(), instant);
    QCOMPARE(today.ok, 1);
    QCOMPARE(yesterday.ok, 0);
}

void TestHistory::aWindowLeftOpenOvernightCountsTheNewDay()
{
    const QDateTime midnight = QDate::currentDate().startOfDay();
    RunRecord record = aFlash();
    QString error;
    for (const int hour : {-2, 1, 2}) {
        record.started = midnight.addSecs(hour * 3600);
        record.ended = record.started;
        record.outcome = hour < 0 ? Outcome::Ok : Outcome::Failed;
        QVERIFY(appendToHistory(historyPath(), record, &error));
    }
    QDateTime now = midnight.addMSecs(-300);
    HistoryStatus status([&] { return now; });
    status.refresh();
    auto *counts = status.findChild<QLabel *>("todayCounts");
    QTRY_COMPARE(counts->text(), QString("Today: 1 OK · 0 failed"));
    now = midnight.addMSecs(1);
    QTRY_COMPARE_WITH_TIMEOUT(counts->text(), QString("Today: 0 OK · 2 failed"), 2000);
}

// A made-up history: runs of today and yesterday, a line cut short among
// them, a name that needs quoting in CSV and a run whose log is gone.
void TestHistory::theHistoryDialogListsFiltersAndExports()
{
    // Today's noon, not now: "3 hours ago" is yesterday before 3 o'clock.
    const QDateTime now = QDate::currentDate().startOfDay().addSecs(12 * 3600);
    const QString path = historyPath();
    QDir().mkpath(QFileInfo(path).path());
    QTemporaryDir dir;
    QFile log(dir.filePath("kept.log"));
    QVERIFY(log.open(QIODevice::WriteOnly) && log.write("writing block 1/1 (100%)\n") > 0);
    log.close();
    struct Run
    {
        int secondsAgo;
        QString tpSize;
        QString outcome;
        std::optional<int> exitCode;
        QString log;
        QString unit;
        QString operatorId;
        QString image;
    };
    const QList<Run> runs
        = {{3 * 3600, "7inch", "ok", 0, log.fileName(), "SN-001", "op1", "a.bin"},
           {86400 + 60, "10.1inch", "failed", 2, "", "SN-002", "op1", "a.bin"},
           {60, "15.6\"inch, big", "failed", 3, dir.filePath("gone.log"), "=SN3", "op9", "=cmd.bin"},
           {30, "7inch", "notStarted", {}, "", "", "", "a.bin"}};
    QString error;
    for (const Run &run : runs) {
        RunRecord record = aFlash();
        record.started = now.addSecs(-run.secondsAgo);
        record.ended = record.started.addMSecs(2500);
        record.seconds = 2.5;
        record.tpSize = run.tpSize;
        record.sensitivity = "High";
        record.images = {FileFacts {"/fw/" + run.image, 33, QByteArray(64, 'a'), {}, false},
                         FileFacts {"/fw/unread.bin", -1, {}, {}, false}};
        record.station = "Line 2";
        record.unit = run.unit;
        record.operatorId = run.operatorId;
        if (run.unit == "SN-001") {
            record.order = "WO-7";
            record.release = ReleaseFacts {"WO-7 r1", QByteArray(64, 'c'), QByteArray(64, 'd')};
        }
        record.outcome = outcomeNamed(run.outcome);
        record.exitCode = run.exitCode;
        record.log = run.log;
        QVERIFY2(appendToHistory(path, record, &error), qPrintable(error));
        if (run.secondsAgo == 86400 + 60) {
            QFile cut(path);
            QVERIFY(cut.open(QIODevice::Append) && cut.write("{\"started\":\"20") > 0);
        }
    }
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_H, Qt::ControlModifier);
    auto *dialog = window.findChild<HistoryDialog *>();
    QVERIFY(dialog && dialog->windowTitle() == "History");
    QCOMPARE(dialog->focusWidget(), dialog->findChild<QTableView *>("historyTable"));
    QAbstractItemModel *model = dialog->findChild<QTableView *>("historyTable")->model();
    const auto column = [&](int c) {
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            texts.append(model->index(row, c).data().toString());
        return texts;
    };
    // Newest first; the cut line left out.
    QTRY_COMPARE(column(HistoryModel::Leaf),
                 QStringList({"7inch / High", "15.6\"inch, big / High", "7inch / High", "10.1inch / High"}));
    QCOMPARE(column(HistoryModel::Outcome), QStringList({"not started", "failed", "OK", "failed"}));
    QCOMPARE(column(HistoryModel::ExitCode), QStringList({"", "3", "0", "2"}));
    QCOMPARE(column(HistoryModel::Images), QStringList({"2", "2", "2", "2"}));
    QCOMPARE(column(HistoryModel::Duration).first(), QString("2.5 s"));
    QCOMPARE(column(HistoryModel::Started).first(), now.addSecs(-30).toString("yyyy-MM-dd HH:mm:ss"));
    QCOMPARE(column(HistoryModel::Unit), QStringList({"", "=SN3", "SN-001", "SN-002"}));
    QCOMPARE(column(HistoryModel::Operator), QStringList({"", "op9", "op1", "op1"}));
    QCOMPARE(column(HistoryModel::Order), QStringList({"", "", "WO-7", ""}));
    QCOMPARE(column(HistoryModel::Release), QStringList({"", "", "WO-7 r1", ""}));
    QCOMPARE(column(HistoryModel::Station), QStringList({"Line 2", "Line 2", "Line 2", "Line 2"}));

    const auto check = [&](const QString &text, bool on) {
        for (QCheckBox *box : dialog->findChildren<QCheckBox *>())
            if (box->text() == text)
                box->setChecked(on);
    };
    const auto shown = [&] {
        for (QLabel *label : dialog->findChildren<QLabel *>())
            if (label->text().endsWith(" shown"))
                return label->text();
        return QString();
    };
    QCOMPARE(shown(), QString("4 runs shown"));
    check("&Failures only", true);
    QCOMPARE(column(HistoryModel::Outcome), QStringList({"not started", "failed", "failed"}));
    QCOMPARE(shown(), QString("3 runs shown"));
    check("&Today", true);
    QCOMPARE(column(HistoryModel::ExitCode), QStringList({"", "3"}));
    QCOMPARE(shown(), QString("2 runs shown"));
    // Today's runs, as the counter counts them.
    check("&Failures only", false);
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(shown(), QString("3 runs shown"));
    // A search as one types: units, operators, stations, leaves, images.
    QLineEdit *search = nullptr;
    for (QLineEdit *edit : dialog->findChildren<QLineEdit *>())
        if (edit->accessibleName() == "Search")
            search = edit;
    QVERIFY(search);
    for (const auto &[text, found] :
         QList<std::pair<QString, QStringList>> {{"sn-00", {"SN-001"}},
                                                 {"OP9", {"=SN3"}},
                                                 {"big", {"=SN3"}},
                                                 {"=cmd", {"=SN3"}},
                                                 {"wo-7", {"SN-001"}},
                                                 {"line 2", {"", "=SN3", "SN-001"}},
                                                 {"7inch", {"", "SN-001"}},
                                                 {"nothing", {}}}) {
        search->clear();
        QTest::keyClicks(search, text);
        QCOMPARE(column(HistoryModel::Unit), found);
    }
    search->clear();
    QCOMPARE(model->rowCount(), 3);

    // The rows shown, in the order shown, each with every field of its record.
    const QString csv = dir.filePath("history.csv");
    QSignalSpy exported(dialog, &HistoryDialog::exported);
    dialog->exportTo(csv);
    QTRY_COMPARE(exported.size(), 1);
    QVERIFY(exported.at(0).at(0).toBool());
    QByteArray written = "\xEF\xBB\xBF" + csvRecord(csvColumns());
    for (const QString &unit : QStringList {"", "=SN3", "SN-001"})
        for (const QJsonObject &line : historyRecords())
            if (line.contains("outcome") && line.value("unit").toString() == unit)
                written += csvRecord(csvFields(*fromJson(line)));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), written);

    // A run's log on Enter, or word that it is gone.
    auto *table = dialog->findChild<QTableView *>("historyTable");
    NoticeWatch watch([&] { return window.findChild<QPushButton *>(); });
    table->setCurrentIndex(model->index(1, 0));
    QTest::keyClick(table, Qt::Key_Return);
    QTRY_COMPARE(watch.texts(), QStringList("The run log is gone: " + dir.filePath("gone.log")));
    table->setCurrentIndex(model->index(2, 0));
    QTest::keyClick(table, Qt::Key_Return);
    QPointer<QPlainTextEdit> logText;
    QTRY_VERIFY((logText = dialog->findChild<QPlainTextEdit *>("logText")));
    QTRY_COMPARE(logText->toPlainText(), QString("writing block 1/1 (100%)\n"));
    QVERIFY(logText->isReadOnly());
    // Enter opened the log and left the dialog open.
    QVERIFY(dialog->isVisible());

    // Whole, its cut line passed over: nothing said of the chain. A run's
    // outcome changed after it was written: where, in the station's words.
    auto *chain = dialog->findChild<QLabel *>("chainLine");
    QVERIFY(chain->isHidden());
    QFile history(path);
    QVERIFY(history.open(QIODevice::ReadOnly));
    QByteArray lines = history.readAll();
    history.close();
    lines.replace(lines.indexOf("\"outcome\":\"failed\""), 18, "\"outcome\":\"ok\"    ");
    QVERIFY(history.open(QIODevice::WriteOnly) && history.write(lines) == lines.size());
    history.close();
    dialog->reload();
    QTRY_VERIFY(chain->isVisible());
    QCOMPARE(
        chain->text(),
        QString("The history was changed after it was written: the record at line 2 (No. 2) was edited."));
}

// An image written to while it is checked is read once more, then refused:
// nothing starts, and the press is recorded as not started. The check says
// how far it is meanwhile.
void TestHistory::anImageThatChangesWhileCheckedIsRefused()
{
    FirmwareTree tree({"7inch/High/a.bin", "7inch/High/b.bin"});
    const QString leaf = FirmwareTree::root() + "/7inch/High";
    {
        QFile big(leaf + "/big.bin");
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(64 * 1024 * 1024));
    }
#ifdef Q_OS_LINUX
    {
        // A copy finishing while its first reading goes on (grown by a byte
        // as that reading begins) is read again, and taken as it is then.
        QFile once(leaf + "/once.bin");
        QVERIFY(once.open(QIODevice::WriteOnly) && once.resize(128 * 1024 * 1024));
        const int watch = inotify_init1(IN_CLOEXEC);
        QVERIFY(inotify_add_watch(watch, QFile::encodeName(once.fileName()).constData(), IN_ACCESS) >= 0);
        QScopedPointer<QThread> finisher(QThread::create([&] {
            pollfd read {watch, POLLIN, 0};
            if (::poll(&read, 1, 10000) == 1)
                once.seek(once.size()) && once.write("x") && once.flush();
        }));
        finisher->start();
        const FileFacts facts = factsOf(once.fileName());
        finisher->wait();
        ::close(watch);
        QVERIFY(!facts.changedWhileRead);
        QCOMPARE(facts.bytes, 128 * 1024 * 1024 + 1);
        once.remove();
    }
#endif
    QAtomicInt writing(1);
    QScopedPointer<QThread> writer(QThread::create([&] {
        QFile big(leaf + "/big.bin");
        big.open(QIODevice::Append | QIODevice::Unbuffered);
        while (writing.loadRelaxed())
            big.write("x");
    }));
    writer->start();
    QVERIFY(factsOf(leaf + "/big.bin").changedWhileRead);
    QVERIFY(!factsOf(leaf + "/a.bin").changedWhileRead);

    MainWindow window;
    QVERIFY(chooseLeaf(&window, "7inch", "High"));
    QSignalSpy statuses(window.statusBar(), &QStatusBar::messageChanged);
    runUpdate(window, "big.bin changed while it was checked: nothing was started.");
    writing.storeRelaxed(0);
    writer->wait();
    // The progress as it was seen, which a busy machine may thin out.
    QStringList counted;
    for (const QList<QVariant> &status : statuses)
        if (const QString text = status.value(0).toString(); text.startsWith("Checking the images: "))
            counted.append(text.mid(21));
    QVERIFY2(std::is_sorted(counted.cbegin(), counted.cend())
                 && counted.value(counted.size() - 1) == "3 of 3",
             qPrintable(counted.join(", ")));
    QTRY_COMPARE(historyRecords().size(), 1);
    const QJsonObject record = historyRecords().value(0);
    QCOMPARE(record.value("outcome").toString(), QString("notStarted"));
    QCOMPARE(record.value("detail").toString(), QString("big.bin: changed while it was checked"));
}

// Beyond the newest runs, too old, or too much together: removed oldest
// first, unless its run is still pending.
void TestHistory::runLogsAreKeptWithinBounds()
{
    QTemporaryDir runs;
    const QDateTime now = QDateTime::currentDateTime();
    // Each log: when its run started, from now, and its size. Its file's time
    // says nothing: the name does.
    const QList<std::pair<qint64, int>> logs
        = {{-200 * 86400, 100}, {-190 * 86400, 100}, {-10 * 86400, 100}, {-9 * 86400, 100},
           {-8 * 86400, 100},   {-7 * 86400, 1000},  {-60, 100},         {365 * 86400, 100}};
    QStringList names;
    for (const auto &[seconds, bytes] : logs) {
        names.append(now.addSecs(seconds).toString("yyyy-MM-dd_HH-mm-ss-zzz") + ".log");
        QFile log(runs.filePath(names.last()));
        QVERIFY(log.open(QIODevice::WriteOnly) && log.write(QByteArray(bytes, 'x')) == bytes && log.flush());
        QVERIFY(log.setFileTime(now.addDays(-400), QFileDevice::FileModificationTime));
    }
    makeTree(runs.path(), {pendingPathFor(names.at(2))});
    // A record of the last days names the second.
    const QSet<QString> kept({names.at(1)});
    LogLimits limits;
    limits.runs = 5;
    // The count alone: the newest five stay, and the kept and pending.
    limits.bytes = qint64(1) << 40;
    QCOMPARE(pruneRunLogs(runs.path(), now, kept, limits), QStringList({names.at(0)}));
    limits.bytes = 1500;
    QCOMPARE(pruneRunLogs(runs.path(), now, kept, limits), QStringList({names.at(3)}));
    limits.bytes = 1200;
    QCOMPARE(pruneRunLogs(runs.path(), now, kept, limits), QStringList({names.at(4), names.at(5)}));
    // Within the bounds now: nothing more goes, even to a clock a year ahead.
    QVERIFY(pruneRunLogs(runs.path(), now, kept, limits).isEmpty());
    QCOMPARE(pruneRunLogs(runs.path(), now.addDays(365), kept + QSet<QString>({names.at(6)}), limits),
             QStringList());

    // The records of the history's last 180 days, whatever the clock says.
    RunRecord record = aFlash();
    QString error;
    for (const qint64 days : {-400, -1, 0}) {
        record.started = now.addDays(days);
        record.ended = record.started;
        record.log = runs.filePath(QString::number(days) + ".log");
        QVERIFY(appendToHistory(historyPath(), record, &error));
    }
    QCOMPARE(logsOfRecentRuns(historyPath(), 180), QSet<QString>({"-1.log", "0.log"}));
}

void TestHistory::showHistory(MainWindow &window)
{
    for (QAction *action : window.findChildren<QAction *>())
        if (action->text() == "&History…")
            action->trigger();
}

// Another tpfw holds the history's lock, a run was left unfinished, and the
// history holds a line of 100 MB: the window answers all along, and every
// record is counted and listed once it can be.
void TestHistory::theHistoryNeverHoldsTheWindow()
{
    QDir().mkpath(runsFolder());
    QFile history(historyPath());
    QVERIFY(history.open(QIODevice::WriteOnly));
    RunRecord record = aFlash();
    record.started = QDateTime::currentDateTime();
    record.ended = record.started;
    record.outcome = Outcome::Ok;
    history.write(toJsonLine(record) + '\n' + QByteArray(100 << 20, 'x') + '\n');
    record.outcome = Outcome::Failed;
    history.write(toJsonLine(record) + '\n');
    history.close();
    RunRecord unfinished = record;
    unfinished.ended.reset();
    unfinished.seconds.reset();
    unfinished.outcome.reset();
    QString error;
    QVERIFY(writePending(runsFolder() + "/1.pending.json", unfinished, &error));
    QLockFile held(historyPath() + ".lock");
    QVERIFY(held.lock());
    QFile::remove(updaterProgram());

    QPushButton unrelated;
    NoticeWatch notices([&] { return &unrelated; });
    MainWindow window;
    window.show();
    auto *counts = window.findChild<QLabel *>("todayCounts");
    // Counted off the window's thread: not yet.
    QVERIFY(counts->text() != "Today: 1 OK · 1 failed");
    QTRY_COMPARE(counts->text(), QString("Today: 1 OK · 1 failed"));
    // A press refused meanwhile says so at once.
    QVERIFY(chooseAnImage(&window));
    QMetaObject::invokeMethod(&window, "updateFw");
    QTRY_VERIFY(notices.texts().value(0).startsWith("Cannot start the FW updater: "));
    held.unlock();
    QTRY_COMPARE_WITH_TIMEOUT(counts->text(), QString("Today: 1 OK · 2 failed"), 5000);
    // The refused press, not counted, is recorded all the same.
    const auto written = [] {
        QFile file(historyPath());
        return file.open(QIODevice::ReadOnly) && file.seek(qMax<qint64>(0, file.size() - 65536))
            && file.readAll().contains(R"("outcome":"notStarted")");
    };
    QTRY_VERIFY(written());
    showHistory(window);
    HistoryDialog *dialog = nullptr;
    QTRY_VERIFY((dialog = window.findChild<HistoryDialog *>()));
    QTRY_COMPARE(dialog->findChild<QTableView *>("historyTable")->model()->rowCount(), 4);
    placeUpdater(TPFW_STANDIN);
}

// The station's clock set back a day while the updater writes (libfaketime
// in the supervisor, its offset read anew at every call): the run's length
// is its own, its end as the clock said.
void TestHistory::aClockSetBackDuringARunChangesNotItsLength()
{
#ifdef Q_OS_LINUX
    const QString faketime = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";
    if (!QFileInfo::exists(faketime))
        QSKIP("libfaketime is not installed");
    QTemporaryDir dir;
    QFile offset(dir.filePath("offset"));
    QVERIFY(offset.open(QIODevice::WriteOnly) && offset.write("+0\n") && offset.flush());
    const QByteArray asan = qgetenv("ASAN_OPTIONS");
    const QList<std::pair<const char *, QByteArray>> clock
        = {{"LD_PRELOAD", QFile::encodeName(faketime)},
           {"FAKETIME_TIMESTAMP_FILE", QFile::encodeName(offset.fileName())},
           {"FAKETIME_NO_CACHE", "1"},
           {"FAKETIME_DONT_FAKE_MONOTONIC", "1"},
           // libfaketime comes before the sanitizers' runtime then.
           {"ASAN_OPTIONS", asan + ":verify_asan_link_order=0"},
           {"TPFW_STANDIN_SECONDS", "1.5"}};
    for (const auto &[name, value] : clock)
        qputenv(name, value);
    const auto restore = qScopeGuard([&] {
        for (const auto &[name, value] : clock)
            qunsetenv(name);
        if (!asan.isEmpty())
            qputenv("ASAN_OPTIONS", asan);
    });
    MainWindow window;
    NoticeWatch notices([&] { return window.findChild<QPushButton *>(); });
    QVERIFY(chooseAnImage(&window));
    QMetaObject::invokeMethod(&window, "updateFw");
    QTRY_VERIFY(window.statusBar()->currentMessage().startsWith("FW updater running"));
    QVERIFY(offset.seek(0) && offset.write("-1d\n") && offset.flush());
    QTRY_VERIFY_WITH_TIMEOUT(window.statusBar()->currentMessage().startsWith("FW update OK ("), 10000);
    const QJsonObject record = historyRecords().value(0);
    const double seconds = record.value("seconds").toDouble();
    QVERIFY2(seconds >= 1.5, qPrintable(QString::number(seconds)));
    QVERIFY(QDateTime::fromString(record.value("ended").toString(), Qt::ISODateWithMs)
            < QDateTime::fromString(record.value("started").toString(), Qt::ISODateWithMs));
    QVERIFY2(window.statusBar()->currentMessage().contains(QString::number(seconds, 'f', 1) + " s"),
             qPrintable(window.statusBar()->currentMessage()));
#else
    QSKIP("libfaketime is for Linux");
#endif
}

// Written off the GUI thread, with a way out that leaves no file.
void TestHistory::exportingManyRowsNeverHoldsTheWindow()
{
    QDir().mkpath(QFileInfo(historyPath()).path());
    QFile history(historyPath());
    QVERIFY(history.open(QIODevice::WriteOnly));
    RunRecord record = aFlash();
    record.started = QDateTime::currentDateTime();
    record.ended = record.started;
    record.outcome = Outcome::Ok;
    // Enough that a cancel comes before the last row; how long the window
    // waits meanwhile is the benchmark's to measure.
    const int rows = 10000;
    for (int k = 0; k < rows; ++k)
        history.write(toJsonLine(record) + '\n');
    history.close();
    MainWindow window;
    window.show();
    showHistory(window);
    HistoryDialog *dialog = nullptr;
    QTRY_VERIFY((dialog = window.findChild<HistoryDialog *>()));
    QSignalSpy loaded(dialog, &HistoryDialog::loaded);
    QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 1, 60000);
    QTemporaryDir dir;
    QSignalSpy exported(dialog, &HistoryDialog::exported);
    dialog->exportTo(dir.filePath("all.csv"));
    QVERIFY(exported.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(exported.size(), 1, 60000);
    QVERIFY(exported.at(0).at(0).toBool());
    QFile csv(dir.filePath("all.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll().count("\r\n"), rows + 1);
    dialog->exportTo(dir.filePath("none.csv"));
    // As its Cancel button does.
    QVERIFY(QMetaObject::invokeMethod(dialog->findChild<QProgressDialog *>(), "canceled"));
    QTRY_COMPARE(exported.size(), 2);
    QVERIFY(!exported.at(1).at(0).toBool());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList("all.csv"));
}

// A history that takes long to read (a sparse file of 8 GiB): the window
// closed while its dialog reads is gone at once, and the reading it leaves
// behind ends without it (the sanitized build sees any of it outliving what
// it writes to).
void TestHistory::aWindowThatGoesLeavesItsReadingBehind()
{
    QDir().mkpath(QFileInfo(historyPath()).path());
    QFile history(historyPath());
    QVERIFY(history.open(QIODevice::WriteOnly) && history.resize(qint64(8) << 30));
    history.close();
    auto window = std::make_unique<MainWindow>();
    window->show();
    showHistory(*window);
    QTRY_VERIFY(window->findChild<HistoryDialog *>());
#ifdef Q_OS_LINUX
    // Closed while the reading has the file, not before it began: on a busy
    // machine that may be a while. Whether it still has it once the window
    // is gone is the disk's race, not the window's.
    QTRY_VERIFY_WITH_TIMEOUT(heldOpen(historyPath()), runPatienceMs);
#endif
    window.reset();
    // What it left behind ends with the file emptied. On Windows it holds
    // the file until then, and the next case could neither remove it nor
    // start from an empty history: it starts once the file is gone.
    QVERIFY(QFile::resize(historyPath(), 0));
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(historyPath()) || QFile::remove(historyPath()), runPatienceMs);
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
