#include "RecordSupport.h"

#include "update/record/DataFolder.h"
#include "update/record/DayCounter.h"
#include "update/record/FileFacts.h"
#include "update/record/HistoryChain.h"
#include "update/record/HistoryReading.h"
#include "update/record/LineReader.h"
#include "update/record/PendingRun.h"
#include "update/record/RunHistory.h"
#include "update/run/LogLimit.h"
#include "update/run/RunLog.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

// The station's history and run logs as files, the core alone: lines whole
// or not at all, the day's counts, reading a long or odd history, and the
// images' hashes.
class TestHistoryFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void aCutLineIsLeftAndFollowed();
    void aHistoryThatIsNoFileIsNeverOpened();
    void countsTheRunsStartedToday_data();
    void countsTheRunsStartedToday();
    void aFailedWriteLeavesTheHistoryAsItWas();
    void runsStartedInOneMillisecondGetALogEach();
    void aRunLogHoldsAQuarterGibibyte();
    void pendingRecordsAreFiledAsTheirRunsEnded();
    void theLargestRecordIsReadBackWhereverItLies();
    void aLongHistoryIsReadWhole();
    void aPanelsLastOkRunIsFoundByItsSerial_data();
    void aPanelsLastOkRunIsFoundByItsSerial();
    void anExportStopsWhereTheHistoryChanged();
    void imagesAreHashedAsTheMachineDoes();
    void theDaysCountGrowsByWhatIsAppended();
    void theFooterNeverJoinsTheUpdatersLastLine();
    void aCheckNamesTheFirstBreak_data();
    void aCheckNamesTheFirstBreak();
};

void TestHistoryFiles::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestHistoryFiles::init()
{
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)).removeRecursively();
}

// A line cut short by a power loss is left, followed on a line of its own,
// and passed over by the chain: a record chains to the last whole one, an
// older record (schema 2) before the chain being none of it.
void TestHistoryFiles::aCutLineIsLeftAndFollowed()
{
    const QString path = historyPath();
    QDir().mkpath(QFileInfo(path).path());
    RunRecord record = aFlash();
    record.started = QDateTime::currentDateTime();
    record.ended = record.started;
    record.outcome = Outcome::Ok;
    record.schema = 2;
    const QByteArray older = toJsonLine(record);
    QFile file(path);
    const auto cut = [&] {
        QVERIFY(file.open(QIODevice::Append) && file.write("{\"started\":\"2026-") > 0);
        file.close();
    };
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(older + '\n') > 0);
    file.close();
    cut();
    record.schema = RunRecord::currentSchema;
    QString error;
    QVERIFY2(appendToHistory(path, record, &error), qPrintable(error));
    cut();
    QVERIFY2(appendToHistory(path, record, &error), qPrintable(error));
    // A pending record filed late takes the next place.
    QDir().mkpath(runsFolder());
    QVERIFY(writePending(runsFolder() + "/late.pending.json", record, &error));
    QCOMPARE(fileRecord(path, record, runsFolder() + "/late.pending.json", &error), Filing::Filed);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    file.close();
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines.at(0), older);
    QCOMPARE(lines.at(1), "{\"started\":\"2026-");
    QCOMPARE(lines.at(3), lines.at(1));
    QCOMPARE(lines.at(6), QByteArray());
    for (const auto &[at, seq, prev] :
         {std::tuple(2, 1, QByteArray(64, '0')), std::tuple(4, 2, HistoryChain::hashOf(lines.at(2))),
          std::tuple(5, 3, HistoryChain::hashOf(lines.at(4)))}) {
        record.seq = seq;
        record.prev = prev;
        QCOMPARE(lines.at(at), toJsonLine(record));
    }
    QCOMPARE(countDay(path, QDate::currentDate()).ok, 4);
}

void TestHistoryFiles::aHistoryThatIsNoFileIsNeverOpened()
{
#ifdef Q_OS_UNIX
    // Opened, a FIFO would wait for a writer for ever.
    QDir().mkpath(QFileInfo(historyPath()).path());
    QVERIFY(::mkfifo(QFile::encodeName(historyPath()).constData(), 0600) == 0);
    QCOMPARE(countDay(historyPath(), QDate::currentDate()).ok, 0);
    RunRecord record = aFlash();
    record.started = QDateTime::currentDateTime();
    record.ended = record.started;
    QString error;
    QVERIFY(!appendToHistory(historyPath(), record, &error));
    QCOMPARE(error, historyPath() + ": not a regular file");
    QVERIFY(!findRecord(historyPath(), record.runId));
#endif
}

void TestHistoryFiles::countsTheRunsStartedToday_data()
{
    QTest::addColumn<QStringList>("runs");
    QTest::addColumn<int>("ok");
    QTest::addColumn<int>("failed");
    QTest::addColumn<QString>("firstPass");
    // Each run: started and ended, in hours from today's midnight, its
    // outcome, its number of images and its panel's serial.
    QTest::newRow("none") << QStringList() << 0 << 0 << "0/0";
    QTest::newRow("a mix of today's") << QStringList({"9 9.1 ok", "10 10.2 failed", "11 11.1 crashed",
                                                      "12 12.1 ok", "13 13.1 notStarted", "14 14.1 unknown"})
                                      << 2 << 3 << "0/0";
    QTest::newRow("across midnight") << QStringList(
        {"-30 -29 ok", "-0.1 0.1 ok", "-0.05 0.2 failed", "0.5 0.6 ok"})
                                     << 1 << 0 << "0/0";
    QTest::newRow("a line cut short") << QStringList({"1 2 ok", "cut", "3 4 failed"}) << 1 << 1 << "0/0";
    QTest::newRow("a line whose times cannot be read")
        << QStringList({"1 2 ok", "garbage", "3 4 failed"}) << 1 << 1 << "0/0";
    QTest::newRow("a line over 16 MiB") << QStringList({"1 2 ok", "huge", "3 4 failed"}) << 1 << 1 << "0/0";
    QTest::newRow("runs sent no image")
        << QStringList({"9 9.1 ok 0", "10 10.1 failed 0", "11 11.1 crashed 0", "12 12.1 ok"}) << 1 << 1
        << "0/0";
    QTest::newRow("after the clock was set back")
        << QStringList({"1 1.1 ok", "-5 -4.9 failed", "2 2.1 ok"}) << 2 << 0 << "0/0";
    // A retry is no first pass, a refusal no run, and a run filed late (left
    // unfinished) may still be its panel's first.
    QTest::newRow("panels scanned") << QStringList({"9 9.1 ok 1 SN1", "10 10.1 failed 1 SN2",
                                                    "11 11.1 ok 1 SN2", "12 12.1 notStarted 1 SN3",
                                                    "13 13.1 ok 1 SN5", "12.5 14 unknown 1 SN5"})
                                    << 3 << 2 << "1/3";
    // Read back in 64 KiB pieces: lines cross their edges.
    const auto times = [](int count, const QString &run) {
        return QStringList(QVector<QString>(count, run).toList());
    };
    QTest::newRow("over 64 KiB") << QStringList(times(1000, "-1 -0.5 ok") + times(700, "1 1.1 ok")
                                                + times(301, "2 2.1 failed"))
                                 << 700 << 301 << "0/0";
}

void TestHistoryFiles::countsTheRunsStartedToday()
{
    QFETCH(QStringList, runs);
    QFETCH(int, ok);
    QFETCH(int, failed);
    QFETCH(QString, firstPass);
    const QDateTime midnight = QDate::currentDate().startOfDay();
    QFile file(historyPath());
    QDir().mkpath(QFileInfo(file).path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    for (const QString &run : runs) {
        const QStringList fields = run.split(' ');
        if (run == "cut" || run == "garbage") {
            file.write(run == "cut" ? QByteArray("{\"started\":\"20\n")
                                    : QByteArray("{\"started\":\"x\",\"ended\":\"y\",\"outcome\":\"ok\"}\n"));
            continue;
        }
        RunRecord record = aFlash();
        // A record of today, but no record is that long: passed over.
        if (run == "huge") {
            record.started = midnight.addSecs(3600);
            record.ended = record.started;
            record.outcome = Outcome::Ok;
            record.detail = QString(17 << 20, 'x');
            file.write(toJsonLine(record) + '\n');
            continue;
        }
        record.started = midnight.addSecs(qint64(fields.at(0).toDouble() * 3600));
        record.ended = midnight.addSecs(qint64(fields.at(1).toDouble() * 3600));
        record.outcome = outcomeNamed(fields.at(2));
        record.images = QVector<FileFacts>(fields.value(3, "1").toInt());
        record.unit = fields.value(4);
        file.write(toJsonLine(record) + '\n');
    }
    file.close();
    const DayCounts counts = countDay(historyPath(), QDate::currentDate());
    QCOMPARE(counts.ok, ok);
    QCOMPARE(counts.failed, failed);
    QCOMPARE(QString("%1/%2").arg(counts.firstPassOk()).arg(counts.firstRuns.size()), firstPass);
}

void TestHistoryFiles::aFailedWriteLeavesTheHistoryAsItWas()
{
#ifdef Q_OS_UNIX
    RunRecord record = aFlash();
    record.started = QDateTime::currentDateTime();
    record.ended = record.started;
    record.outcome = Outcome::Ok;
    QString error;
    QVERIFY(appendToHistory(historyPath(), record, &error));
    QFile file(historyPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    // Room for part of a long line only.
    for (int i = 0; i < 100; ++i)
        record.images.append({QString("/fw/image %1.bin").arg(i), 1, "00", {}});
    rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small {rlim_t(before.size() + 100), limit.rlim_max};
    const auto previous = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = appendToHistory(historyPath(), record, &error);
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, previous);
    QVERIFY(!written);
    QVERIFY2(error.endsWith("File too large"), qPrintable(error));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
#endif
}

void TestHistoryFiles::runsStartedInOneMillisecondGetALogEach()
{
    const QDateTime started = QDateTime::currentDateTime();
    QString error;
    const QString first = createRunLog(started, QUuid::createUuid(), &error);
    const QString second = createRunLog(started, QUuid::createUuid(), &error);
    QVERIFY(!first.isEmpty() && !second.isEmpty() && first != second);
    QVERIFY(QFile::exists(first) && QFile::exists(second));
}

// Long enough to be read in parts, one per core: every line once, in order
// of start, wherever the parts meet. The lines are all of one length, so
// that for any number of cores up to 8 the parts meet at a line's start;
// their times are of another zone than the station's.
// Unless a test asks for less.
void TestHistoryFiles::aRunLogHoldsAQuarterGibibyte()
{
    qunsetenv("TPFW_RUN_LOG_LIMIT");
    QCOMPARE(LogLimit::size(), qint64(256) * 1024 * 1024);
}

// Left behind by a run that ended (its history not writable then) and by
// one whose supervisor died first: each filed as it ended, or interrupted,
// and only the latter told.
void TestHistoryFiles::pendingRecordsAreFiledAsTheirRunsEnded()
{
    QDir().mkpath(runsFolder());
    RunRecord ended = aFlash();
    ended.started = QDateTime::currentDateTime();
    ended.ended = ended.started;
    ended.outcome = Outcome::Ok;
    ended.log = runsFolder() + "/ended.log";
    RunRecord unfinished = aFlash();
    unfinished.started = ended.started;
    unfinished.log = runsFolder() + "/unfinished.log";
    unfinished.unit = "SN5";
    unfinished.operatorId = "op1";
    unfinished.order = "WO-1";
    QString error;
    QVERIFY(writePending(pendingPathFor(ended.log), ended, &error));
    QVERIFY(writePending(pendingPathFor(unfinished.log), unfinished, &error));
    const AbandonedRuns found = fileAbandonedRuns();
    QCOMPARE(found.interrupted.size(), 1);
    QCOMPARE(found.interrupted.at(0).log, unfinished.log);
    QVERIFY(findRecord(historyPath(), ended.runId).value_or(RunRecord()).outcome == Outcome::Ok);
    const RunRecord filed = findRecord(historyPath(), unfinished.runId).value_or(RunRecord());
    QVERIFY(filed.outcome == Outcome::Interrupted && filed.detail.startsWith("found unfinished"));
    // Whose panel it was outlives the run; how long it ran nobody knows, only when it was found.
    QVERIFY(filed.unit == "SN5" && filed.operatorId == "op1" && filed.order == "WO-1");
    QVERIFY(!filed.ended && !filed.seconds && !filed.exitCode && filed.found);
}

// 4,000 images with paths of 255 characters, as rsyslog ships them: its
// pending record read back, and its run found in the history behind
// mebibytes of later records. A pending "record" that is no regular file (a
// FIFO, which would never answer; a link, even to a record) is set aside
// unread.
void TestHistoryFiles::theLargestRecordIsReadBackWhereverItLies()
{
    QDir().mkpath(runsFolder());
    RunRecord large = aFlash();
    large.started = QDateTime::currentDateTime();
    large.images = QVector<FileFacts>(4000, {"/" + QString(254, 'p'), 1, QByteArray(64, 'a'), {}, false});
    large.log = runsFolder() + "/large.log";
    QString error;
    QVERIFY(writePending(pendingPathFor(large.log), large, &error));
    QVERIFY(QFileInfo(pendingPathFor(large.log)).size() > 1300000);
    QCOMPARE(readPending(pendingPathFor(large.log)).value_or(RunRecord()).runId, large.runId);
    large.outcome = Outcome::Ok;
    QVERIFY(appendToHistory(historyPath(), large, &error));
    RunRecord later = large;
    for (int i = 0; i < 4; ++i) {
        later.runId = QUuid::createUuid();
        QVERIFY(appendToHistory(historyPath(), later, &error));
    }
    QCOMPARE(findRecord(historyPath(), large.runId).value_or(RunRecord()).images.size(), 4000);
    QCOMPARE(findRecord(historyPath(), later.runId).value_or(RunRecord()).runId, later.runId);
    // The search goes back 4 MiB at a time: a key across a block's edge is
    // found too.
    QFile edge(historyPath() + ".edge");
    QVERIFY(edge.open(QIODevice::WriteOnly));
    edge.write("first\nkey across\n" + QByteArray((4 << 20) - 9, 'y') + "\n");
    edge.close();
    QStringList found;
    forEachLineHoldingBackwards(edge.fileName(), "key across", [&](const QByteArray &line) {
        found.append(QString::fromLatin1(line));
        return true;
    });
    QCOMPARE(found, QStringList("key across"));
#ifdef Q_OS_UNIX
    const QString fifo = runsFolder() + "/fifo.pending.json";
    const QString linked = runsFolder() + "/linked.pending.json";
    QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    QVERIFY(QFile::rename(pendingPathFor(large.log), runsFolder() + "/large.json"));
    QVERIFY(QFile::link(runsFolder() + "/large.json", linked));
    QVERIFY(!readPending(fifo));
    QCOMPARE(fileAbandonedRuns().damaged, QStringList(linked + ".damaged"));
#endif
}

void TestHistoryFiles::aLongHistoryIsReadWhole()
{
    const QString path = historyPath();
    const QDateTime start = QDateTime::currentDateTime().toOffsetFromUtc(5 * 3600 + 1800);
    RunRecord record = aFlash();
    record.outcome = Outcome::Ok;
    record.images = QVector<FileFacts>(3, {QString(300, 'i'), 1, QByteArray(64, 'a'), {}});
    QString error;
    for (int i = 0; i < 3000; ++i) {
        record.started = start.addSecs(i);
        record.ended = record.started;
        QVERIFY(appendToHistory(path, record, &error));
    }
    QVERIFY(QFileInfo(path).size() > 2 * 1024 * 1024);
    QCOMPARE(forEachLine(path, 0, -1, [](const QByteArray &) { return true; }), QFileInfo(path).size());
    const QVector<HistoryRow> rows = readHistoryRows(path);
    QCOMPARE(rows.size(), 3000);
    for (int i = 0; i < rows.size(); ++i)
        QCOMPARE(rows.at(i).started, start.addSecs(2999 - i).toMSecsSinceEpoch());
}

void TestHistoryFiles::aPanelsLastOkRunIsFoundByItsSerial_data()
{
    QTest::addColumn<QString>("serial");
    // Each run: its serial, outcome, operator and KiB of detail, split by '|'.
    QTest::addColumn<QStringList>("runs");
    // The run found, -1 for none.
    QTest::addColumn<int>("found");
    QTest::newRow("its last OK run, others' around it")
        << "SN1" << QStringList({"SN2|ok|op", "SN1|ok|op", "SN1|ok|op", "SN1|failed|op", "SN3|ok|op"}) << 2;
    QTest::newRow("only its text elsewhere")
        << "SN1" << QStringList({"SN12|ok|op", "XSN1|ok|op", "SN2|ok|SN1", "SN1|crashed|op"}) << -1;
    QTest::newRow("quotes, backslashes, katakana")
        << R"(A"1\2シリアル)" << QStringList({R"(A"1\2シリアル|ok|op)"}) << 0;
    // Read in blocks of 4 MiB: the one OK run is the line across the first
    // block's edge.
    QStringList many;
    for (int i = 0; i < 20; ++i)
        many << (i == 13 ? "SN2|ok|op|300" : "SN2|failed|op|300");
    QTest::newRow("a line across blocks") << "SN2" << many << 13;
    QTest::newRow("after a line over 16 MiB")
        << "SN1" << QStringList({"SN1|ok|op|17000", "SN1|ok|op|1"}) << 1;
}

// Only a record whose serial is the panel's counts, whatever else holds
// the same text.
void TestHistoryFiles::aPanelsLastOkRunIsFoundByItsSerial()
{
    QFETCH(QString, serial);
    QFETCH(QStringList, runs);
    QFETCH(int, found);
    QVector<QUuid> ids;
    QString error;
    for (const QString &run : runs) {
        const QStringList fields = run.split('|');
        RunRecord record = aFlash();
        record.unit = fields.at(0);
        record.outcome = outcomeNamed(fields.at(1));
        record.operatorId = fields.at(2);
        record.detail = QString(fields.value(3).toInt() * 1024, 'x');
        record.sensitivity = "High";
        record.started = QDateTime::currentDateTime();
        ids.append(record.runId);
        QVERIFY2(appendToHistory(historyPath(), record, &error), qPrintable(error));
    }
    const std::optional<RunRecord> last = lastOkRunOf(historyPath(), serial);
    QCOMPARE(last.has_value(), found >= 0);
    if (last)
        QCOMPARE(last->runId, ids.at(found));
}

// The rows exported are read again by their places: a history replaced
// after it was listed stops the export with the words given, never writing
// another run's fields under a listed row.
void TestHistoryFiles::anExportStopsWhereTheHistoryChanged()
{
    RunRecord record = aFlash();
    record.outcome = Outcome::Ok;
    QString error;
    for (int i = 0; i < 2; ++i) {
        record.started = QDateTime::currentDateTime().addSecs(i);
        record.unit = QString("SN%1").arg(i);
        QVERIFY(appendToHistory(historyPath(), record, &error));
    }
    const QVector<HistoryRow> listed = readHistoryRows(historyPath());
    {
        // Let go before the history is replaced: Windows removes no open file.
        const CsvTable table = recordsTable(historyPath(), listed, "changed");
        QCOMPARE(table.rows, 2);
        QCOMPARE(table.fields(0, &error).at(csvColumns().indexOf("unit")), QString("SN1"));
        QVERIFY(error.isEmpty());
    }
    // Replaced by lines of the same length: the same places, other runs.
    QVERIFY(QFile::remove(historyPath()));
    record.started = QDateTime::currentDateTime().addDays(-1);
    QVERIFY(appendToHistory(historyPath(), record, &error));
    QVERIFY(appendToHistory(historyPath(), record, &error));
    QVERIFY(recordsTable(historyPath(), listed, "changed").fields(1, &error).isEmpty());
    QCOMPARE(error, QString("changed"));
    // Or cut short: no line where a listed one was.
    error.clear();
    QVERIFY(QFile::resize(historyPath(), 0));
    QVERIFY(recordsTable(historyPath(), listed, "changed").fields(0, &error).isEmpty());
    QCOMPARE(error, QString("changed"));
}

// Known vectors, and a random file across the read's 1 MiB chunks against
// another implementation (and, where there is one, the machine's own tool).
void TestHistoryFiles::imagesAreHashedAsTheMachineDoes()
{
    QTemporaryDir dir;
    const QList<QPair<QByteArray, QByteArray>> known
        = {{"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
           {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"}};
    for (const auto &[content, hash] : known) {
        QFile file(dir.filePath("known"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        QCOMPARE(factsOf(file.fileName()).sha256, hash);
    }
    // A folder is sent as it is, unread, and nothing is wrong with it.
    const FileFacts folder = factsOf(dir.path());
    QVERIFY(folder.bytes == -1 && folder.sha256.isEmpty() && folder.readError.isEmpty());
    QByteArray random(3 * 1024 * 1024 + 7, Qt::Uninitialized);
    for (char &byte : random)
        byte = char(QRandomGenerator::global()->generate());
    QFile file(dir.filePath("random.bin"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(random) == random.size());
    file.close();
    const FileFacts facts = factsOf(file.fileName());
    QCOMPARE(facts.bytes, random.size());
    QCOMPARE(facts.sha256, QCryptographicHash::hash(random, QCryptographicHash::Sha256).toHex());
    QProcess openssl;
    openssl.start("openssl", {"dgst", "-sha256", "-r", file.fileName()});
    if (openssl.waitForFinished())
        QCOMPARE(openssl.readAllStandardOutput().left(64), facts.sha256);
}

// After the first count only the bytes appended are read: a change made in
// place to an earlier line is not seen, a line still being written waits for
// its end, and lines that are not records, or whose times cannot be read,
// count for nothing. A history that shrank is read afresh.
void TestHistoryFiles::theDaysCountGrowsByWhatIsAppended()
{
    const QString path = historyPath();
    const QDate today = QDate::currentDate();
    RunRecord record = aFlash();
    record.started = QDateTime::currentDateTime();
    record.ended = record.started;
    QString error;
    for (const char *outcome : {"ok", "failed"}) {
        record.outcome = outcomeNamed(outcome);
        QVERIFY(appendToHistory(path, record, &error));
    }
    DayCounter counter(path);
    const auto counts = [&](const QDate &day) {
        const DayCounts counted = counter.count(day);
        return QPair<int, int>(counted.ok, counted.failed);
    };
    QCOMPARE(counts(today), qMakePair(1, 1));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray all = file.readAll();
    file.seek(0);
    file.write(all.replace("\"outcome\":\"ok\"", "\"outcome\":\"no\""));
    file.write("not a record\n{\"started\":\"garbage\",\"outcome\":\"ok\"}\n{\"started\":\"20");
    file.close();
    record.outcome = Outcome::Ok;
    QVERIFY(appendToHistory(path, record, &error));
    QCOMPARE(counts(today), qMakePair(2, 1));
    QVERIFY(file.open(QIODevice::Append));
    QByteArray line = toJsonLine(record);
    file.write(line.left(40));
    file.flush();
    QCOMPARE(counts(today), qMakePair(2, 1));
    file.write(line.mid(40) + "\n");
    file.close();
    QCOMPARE(counts(today), qMakePair(3, 1));
    // Another day is read afresh, the edit in place with it.
    QCOMPARE(counts(today.addDays(1)), qMakePair(0, 0));
    QCOMPARE(counts(today), qMakePair(2, 2));
    // Replaced by a shorter history (a restore, a rotation): read afresh.
    QVERIFY(QFile::remove(path));
    QVERIFY(appendToHistory(path, record, &error));
    QCOMPARE(counts(today), qMakePair(1, 0));
}

// An updater whose last words end without a newline: they stay its own
// line, and the station's footer its own.
void TestHistoryFiles::theFooterNeverJoinsTheUpdatersLastLine()
{
    QTemporaryDir dir;
    const QString log = dir.filePath("run.log");
    QFile file(log);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("writing\n100%") == 12);
    file.close();
    RunRecord record = aFlash();
    QString error;
    QVERIFY2(appendToLog(log, logFooter(record), &error), qPrintable(error));
    QCOMPARE(logTail(log, 5), QString("writing\n100%"));
}

void TestHistoryFiles::aCheckNamesTheFirstBreak_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("told");
    const QString edited
        = "chain broken at line 3, seq 3: a record edited (the next record's prev is not its hash)";
    QTest::newRow("as written") << "" << 0 << "6 records, chain intact (seq 1–6)";
    QTest::newRow("an outcome changed") << "outcome" << 1 << edited;
    // The same record to a JSON reader, other bytes: what was written is what counts.
    QTest::newRow("a space put in") << "space" << 1 << edited;
    QTest::newRow("a line deleted") << "delete" << 1
                                    << "chain broken at line 3: a record missing (seq 3 is not there)";
    QTest::newRow("a line copied in")
        << "copy" << 1
        << "chain broken at line 5, seq 2: a record inserted (it follows no record "
           "of the chain)";
    QTest::newRow("an older record put in")
        << "older" << 1 << "chain broken at line 4: a record inserted (it has no seq)";
    QTest::newRow("chained again from the middle")
        << "rechain" << 1 << "chain broken at line 4, seq 1: two records with one seq";
    QTest::newRow("a line cut short")
        << "cut" << 0
        << "6 records, chain intact (seq 1–6)\n1 line cut short (a power loss), "
           "passed over: the first is line 3";
}

// Anyone's check of a history, edited as someone might after the runs.
void TestHistoryFiles::aCheckNamesTheFirstBreak()
{
    QFETCH(QString, edit);
    QFETCH(int, exitCode);
    QFETCH(QString, told);
    RunRecord record = aFlash();
    record.started = QDateTime::currentDateTime();
    record.outcome = Outcome::Ok;
    QString error;
    for (int i = 0; i < 6; ++i)
        QVERIFY(appendToHistory(historyPath(), record, &error));
    QFile file(historyPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = file.readAll().split('\n');
    file.close();
    lines.removeLast();
    if (edit == "outcome")
        lines[2].replace("\"outcome\":\"ok\"", "\"outcome\":\"failed\"");
    else if (edit == "space")
        lines[2].replace("\"outcome\":", "\"outcome\": ");
    else if (edit == "delete")
        lines.removeAt(2);
    else if (edit == "copy")
        lines.insert(4, lines.at(1));
    else if (edit == "older")
        lines.insert(3, toJsonLine(aFlash()));
    else if (edit == "cut")
        lines.insert(2, lines.at(2).left(40));
    else if (edit == "rechain")
        for (int at = 3; at < lines.size(); ++at) {
            RunRecord again = fromJsonLine(lines.at(at)).value_or(RunRecord());
            again.seq = at - 2;
            again.prev = at == 3 ? QByteArray(64, '0') : HistoryChain::hashOf(lines.at(at - 1));
            lines[at] = toJsonLine(again);
        }
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(lines.join('\n') + '\n') > 0);
    file.close();
    QProcess check;
    check.start(TPFW_HISTORY_TOOL, {"verify", historyPath()});
    QVERIFY(check.waitForFinished(-1));
    // Lines end as text does where it runs.
    QCOMPARE(QString::fromUtf8(check.readAllStandardOutput()).replace("\r\n", "\n").trimmed(), told);
    QCOMPARE(check.exitCode(), exitCode);
}

QTEST_GUILESS_MAIN(TestHistoryFiles)
#include "tst_historyfiles.moc"
