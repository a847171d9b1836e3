#include "TestSupport.h"

#include "update/RunHistory.h"
#include "update/UpdaterCommand.h"
#include "window/MainWindow.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLockFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void recordsEachRunWithWhatWasFlashed();
    void linesStayWholeWithTwoWriters();
    void aCutLineIsLeftAndFollowed();
    void anUnwritableHistoryNeverStopsTheUpdate();
    void countsTheRunsStartedToday_data();
    void countsTheRunsStartedToday();

private:
    static QList<QJsonObject> records();
    // Runs the updater through updateFw and waits for its notice.
    static void runUpdate(MainWindow &window, const QString &expectedNotice);
};

void TestHistory::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestHistory::init()
{
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)).removeRecursively();
    placeUpdater(TPFW_STANDIN);
    qunsetenv("TPFW_STANDIN_EXIT");
}

QList<QJsonObject> TestHistory::records()
{
    QFile file(historyPath());
    QList<QJsonObject> result;
    if (!file.open(QIODevice::ReadOnly))
        return result;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (!line.isEmpty())
            result.append(QJsonDocument::fromJson(line).object());
    return result;
}

void TestHistory::runUpdate(MainWindow &window, const QString &expectedNotice)
{
    NoticeWatch watch([&] { return window.findChild<QPushButton *>(); });
    QMetaObject::invokeMethod(&window, "updateFw");
    QTRY_COMPARE(watch.texts().value(0).left(expectedNotice.size()), expectedNotice);
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
    MainWindow window;
    QVERIFY(chooseLeaf(&window, "7inch", "High"));
    const QStringList images = window.binFiles();

    runUpdate(window, "Update FW OK !!!");
    qputenv("TPFW_STANDIN_EXIT", "3");
    runUpdate(window, "FW update failed: exit code 3");
    QFile::remove(updaterProgram());
    runUpdate(window, "Cannot start the FW updater: ");

    const QList<QJsonObject> lines = records();
    QCOMPARE(lines.size(), 3);
    const QStringList keys({"detail", "ended", "exitCode", "host", "images", "log", "outcome", "seconds",
                            "sensitivity", "started", "tpSize", "updater", "updaterSha256", "user"});
    QFile standIn(TPFW_STANDIN);
    QVERIFY(standIn.open(QIODevice::ReadOnly));
    const QString standInHash
        = QCryptographicHash::hash(standIn.readAll(), QCryptographicHash::Sha256).toHex();
    const QRegularExpression isoWithOffset(
        "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d$");
    for (const QJsonObject &line : lines) {
        QCOMPARE(QStringList(line.keys()), keys);
        QCOMPARE(line.value("tpSize").toString(), QString("7inch"));
        QCOMPARE(line.value("sensitivity").toString(), QString("High"));
        QCOMPARE(line.value("updater").toString(), updaterProgram());
        QVERIFY(isoWithOffset.match(line.value("started").toString()).hasMatch());
        QVERIFY(isoWithOffset.match(line.value("ended").toString()).hasMatch());
        QVERIFY(line.value("seconds").toDouble() >= 0);
        QVERIFY(!line.value("user").toString().isEmpty());
        const QJsonArray sent = line.value("images").toArray();
        QCOMPARE(sent.size(), images.size());
        for (int i = 0; i < images.size(); ++i)
            QCOMPARE(sent.at(i).toObject().value("path").toString(), images.at(i));
        const QJsonObject abcFacts = sent.at(images.indexOf(abc.fileName())).toObject();
        QCOMPARE(abcFacts.value("bytes").toInt(), 3);
        QCOMPARE(abcFacts.value("sha256").toString(),
                 QString("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
    }
    QCOMPARE(lines.at(0).value("outcome").toString(), QString("ok"));
    QCOMPARE(lines.at(0).value("exitCode").toInt(-1), 0);
    QCOMPARE(lines.at(0).value("updaterSha256").toString(), standInHash);
    QVERIFY(lines.at(0).value("detail").isNull());
    QVERIFY(QFile::exists(lines.at(0).value("log").toString()));
    QCOMPARE(lines.at(1).value("outcome").toString(), QString("failed"));
    QCOMPARE(lines.at(1).value("exitCode").toInt(), 3);
    QCOMPARE(lines.at(2).value("outcome").toString(), QString("notStarted"));
    QVERIFY(lines.at(2).value("exitCode").isNull());
    QVERIFY(lines.at(2).value("log").isNull());
    QVERIFY(lines.at(2).value("updaterSha256").isNull());
    QVERIFY(!lines.at(2).value("detail").toString().isEmpty());
    QCOMPARE(window.findChild<QLabel *>("todayCounts")->text(), QString("Today: 1 OK · 2 failed"));
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
    QVERIFY(records().isEmpty());
    lock.unlock();
    for (QProcess *writer : writers) {
        QVERIFY(writer->waitForFinished(60000));
        QCOMPARE(writer->exitCode(), 0);
    }
    const QList<QJsonObject> lines = records();
    QCOMPARE(lines.size(), 300);
    for (const QJsonObject &line : lines)
        QCOMPARE(line.value("images").toArray().size(), 50);
}

void TestHistory::aCutLineIsLeftAndFollowed()
{
    const QString path = historyPath();
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\"started\":\"2026-");
    file.close();
    RunRecord record;
    record.started = record.ended = QDateTime::currentDateTime();
    record.outcome = "ok";
    QString error;
    QVERIFY2(appendToHistory(path, record, &error), qPrintable(error));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), "{\"started\":\"2026-\n" + toJsonLine(record) + "\n");
    QCOMPARE(countDay(path, QDate::currentDate()).ok, 1);
}

void TestHistory::anUnwritableHistoryNeverStopsTheUpdate()
{
    // A folder where the file should be: as unwritable to root as to anyone.
    QVERIFY(QDir().mkpath(historyPath()));
    MainWindow window;
    window.show();
    QLabel *problem = window.findChild<QLabel *>("historyProblem");
    QVERIFY(problem->isHidden());
    runUpdate(window, "Update FW OK !!!");
    QVERIFY(problem->isVisible());
    QVERIFY2(problem->text().startsWith("History not written: "), qPrintable(problem->text()));
    QCOMPARE(window.findChild<QLabel *>("todayCounts")->text(), QString("Today: 0 OK · 0 failed"));
}

void TestHistory::countsTheRunsStartedToday_data()
{
    QTest::addColumn<QStringList>("runs");
    QTest::addColumn<int>("ok");
    QTest::addColumn<int>("failed");
    // Each run: started and ended, in hours from today's midnight, and its outcome.
    QTest::newRow("none") << QStringList() << 0 << 0;
    QTest::newRow("a mix of today's") << QStringList({"9 9.1 ok", "10 10.2 failed", "11 11.1 crashed",
                                                      "12 12.1 ok", "13 13.1 notStarted", "14 14.1 unknown"})
                                      << 2 << 4;
    QTest::newRow("across midnight") << QStringList(
        {"-30 -29 ok", "-0.1 0.1 ok", "-0.05 0.2 failed", "0.5 0.6 ok"})
                                     << 1 << 0;
    QTest::newRow("a line cut short") << QStringList({"1 2 ok", "cut", "3 4 failed"}) << 1 << 1;
}

void TestHistory::countsTheRunsStartedToday()
{
    QFETCH(QStringList, runs);
    QFETCH(int, ok);
    QFETCH(int, failed);
    const QDateTime midnight = QDate::currentDate().startOfDay();
    QFile file(historyPath());
    QDir().mkpath(QFileInfo(file).path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    for (const QString &run : runs) {
        const QStringList fields = run.split(' ');
        if (fields.size() < 3) {
            file.write("{\"started\":\"20\n");
            continue;
        }
        RunRecord record;
        record.started = midnight.addSecs(qint64(fields.at(0).toDouble() * 3600));
        record.ended = midnight.addSecs(qint64(fields.at(1).toDouble() * 3600));
        record.outcome = fields.at(2);
        file.write(toJsonLine(record) + '\n');
    }
    file.close();
    const DayCounts counts = countDay(historyPath(), QDate::currentDate());
    QCOMPARE(counts.ok, ok);
    QCOMPARE(counts.failed, failed);
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
