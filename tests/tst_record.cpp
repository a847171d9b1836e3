#include "update/record/CsvExport.h"
#include "update/record/RunRecord.h"
#include "update/run/OutputTail.h"
#include "update/run/RunSupervisor.h"
#include "update/station/StationSettings.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

// The record and what carries it, read and written without a window or a
// process: the station's contract with whoever reads its history; and the
// progress read off the updater's output.
class TestRecord : public QObject
{
    Q_OBJECT

private slots:
    void aRecordReadsBackAsWritten_data();
    void aRecordReadsBackAsWritten();
    void linesOfEarlierVersionsAndOthers_data();
    void linesOfEarlierVersionsAndOthers();
    void theSupervisorGetsTheRunAsGiven();
    void timesReadAsTheToolkitReadsThem_data();
    void timesReadAsTheToolkitReadsThem();
    void theLatestPercentOfTheOutput_data();
    void theLatestPercentOfTheOutput();
    void csvFieldsAreQuotedOnlyWhereNeeded_data();
    void csvFieldsAreQuotedOnlyWhereNeeded();
    void aSpreadsheetRunsNoFieldAndKeepsEveryDigit();
    void stationSettingsAsWritten_data();
    void stationSettingsAsWritten();
};

namespace {

RunRecord aRun()
{
    RunRecord record = RunRecord::begun();
    record.started = QDateTime::fromString("2026-12-07T10:35:53.291+09:00", Qt::ISODateWithMs);
    record.tpSize = "7inch";
    record.sensitivity = "High \"quoted\"\n日本";
    record.images = {{"/fw/a.bin", 33, QByteArray(64, 'a'), {}, false}, {"/fw/dir", -1, {}, {}, false}};
    record.updater = {"/opt/tpfw/PanelProg/PanelProg", 100, QByteArray(64, 'b'), {}, false};
    record.log = "/runs/1.log";
    return record;
}

} // namespace

void TestRecord::aRecordReadsBackAsWritten_data()
{
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("written");
    QTest::newRow("pending") << -1 << QString();
    const QStringList names {"ok", "failed", "crashed", "stopped", "interrupted", "notStarted", "unknown"};
    for (int i = 0; i < names.size(); ++i)
        QTest::newRow(qPrintable(names.at(i))) << i << names.at(i);
}

void TestRecord::aRecordReadsBackAsWritten()
{
    QFETCH(int, outcome);
    QFETCH(QString, written);
    RunRecord record = aRun();
    if (outcome >= 0) {
        record.outcome = Outcome(outcome);
        record.detail = "why";
        record.unit = "SN-0042";
        record.operatorId = "op7";
        record.order = "WO-1";
        record.notes = QStringList {"sleep and shutdown not held off: no bus", "b.bin: not a regular file"};
        if (record.outcome == Outcome::Interrupted) {
            record.found = record.started.addDays(3);
        } else {
            record.ended = record.started.addMSecs(1500);
            record.seconds = 1.5;
            record.exitCode = 3;
        }
    }
    const QJsonObject json = toJson(record);
    QCOMPARE(json.value("outcome").toString(), written);
    QCOMPARE(json.contains("outcome"), outcome >= 0);
    QCOMPARE(json.value("schema").toInt(), 2);
    QCOMPARE(json.value("runId").toString(), record.runId.toString(QUuid::WithoutBraces));
    QCOMPARE(json.value("started").toString(), QString("2026-12-07T10:35:53.291+09:00"));
    // Who and what for: null where the station did not ask.
    QCOMPARE(json.value("station").toString(), record.host);
    for (const char *key : {"unit", "operator", "order"})
        QCOMPARE(json.value(key).isNull(), outcome < 0);
    // An interrupted run's end, and length, are not known: not the moment it was found.
    QCOMPARE(json.value("ended").isNull(), !record.ended.has_value());
    QCOMPARE(json.value("seconds").isNull(), !record.seconds.has_value());
    const std::optional<RunRecord> read = fromJsonLine(toJsonLine(record));
    QVERIFY(read);
    QCOMPARE(toJsonLine(*read), toJsonLine(record));
    QCOMPARE(read->runId, record.runId);
    QCOMPARE(read->images.at(1).bytes, qint64(-1));
    QCOMPARE(read->outcome.has_value(), outcome >= 0);
}

void TestRecord::linesOfEarlierVersionsAndOthers_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("isRecord");
    QTest::newRow("1.0.0, ok") << QByteArray(
        R"({"detail":null,"ended":"2026-12-07T10:35:53.328+00:00","exitCode":0,"host":"vm",)"
        R"("images":[{"bytes":33,"path":"/a.bin","sha256":"4e13"}],"log":"/r/1.log","outcome":"ok",)"
        R"("seconds":0.037,"sensitivity":"High","started":"2026-12-07T10:35:53.291+00:00",)"
        R"("tpSize":"10.1inch","updater":"/p","updaterSha256":null,"user":"line"})")
                               << true;
    QTest::newRow("cut short") << QByteArray(R"({"started":"2026-12-07T10:35:53.291+00:00","tpSi)") << false;
    QTest::newRow("no start") << QByteArray(R"({"tpSize":"7inch","sensitivity":"High","images":[]})")
                              << false;
    QTest::newRow("no images") << QByteArray(
        R"({"started":"2026-12-07T10:35:53.291+00:00","tpSize":"7","sensitivity":"H"})")
                               << false;
    QTest::newRow("a start that is none") << QByteArray(
        R"({"started":"2026-02-30T10:00:00.000+00:00","tpSize":"7","sensitivity":"H","images":[]})")
                                          << false;
}

void TestRecord::linesOfEarlierVersionsAndOthers()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, isRecord);
    const std::optional<RunRecord> record = fromJsonLine(line);
    QCOMPARE(record.has_value(), isRecord);
    if (!record)
        return;
    QCOMPARE(record->schema, 1);
    QVERIFY(record->runId.isNull());
    QCOMPARE(record->outcome, std::optional<Outcome>(Outcome::Ok));
    QCOMPARE(record->seconds, std::optional<double>(0.037));
    QCOMPARE(record->exitCode, std::optional<int>(0));
    QCOMPARE(record->images.at(0).sha256, QByteArray("4e13"));
    QVERIFY(record->isOk() && record->notes.isEmpty() && record->detail.isEmpty());
}

void TestRecord::theSupervisorGetsTheRunAsGiven()
{
    SupervisedRun run {"/h/history.jsonl",
                       "/h/runs/1.pending.json",
                       aRun(),
                       "/opt/tpfw",
                       "/opt/tpfw/PanelProg",
                       QStringList {"/fw/a b.bin", "\"quoted\"", "日本.bin", "-ba"}};
    const std::optional<SupervisedRun> parsed = parseSupervisorArguments(supervisorArguments(run));
    QVERIFY(parsed);
    QCOMPARE(QStringList({parsed->history, parsed->pending, parsed->workingDir, parsed->program}),
             QStringList({run.history, run.pending, run.workingDir, run.program}));
    QCOMPARE(parsed->arguments, run.arguments);
    QCOMPARE(toJsonLine(parsed->record), toJsonLine(run.record));
    QVERIFY(!parseSupervisorArguments({"/h", "/p", "not json", "/w", "/u"}));
}

void TestRecord::timesReadAsTheToolkitReadsThem_data()
{
    QTest::addColumn<QString>("text");
    for (const char *text :
         {"2026-12-07T16:24:03.512+09:00", "2026-12-07T16:24:03.512-03:30", "2026-12-07T16:24:03.512+00:00",
          "2026-12-07T16:24:03Z", "2026-02-30T16:24:03.512+00:00", "2026-12-07T24:24:03.512+00:00",
          "yesterday", ""})
        QTest::newRow(text) << QString(text);
}

void TestRecord::timesReadAsTheToolkitReadsThem()
{
    QFETCH(QString, text);
    const QDateTime expected = QDateTime::fromString(text, Qt::ISODateWithMs);
    const std::optional<QDateTime> read = recordTime(text);
    QCOMPARE(read.has_value(), expected.isValid());
    if (!read)
        return;
    QCOMPARE(read->toMSecsSinceEpoch(), expected.toMSecsSinceEpoch());
    QCOMPARE(read->offsetFromUtc(), expected.offsetFromUtc());
    // Written back as it was, the offset whatever it is.
    if (text.contains('.'))
        QCOMPARE(isoWithOffset(*read), text);
}

void TestRecord::theLatestPercentOfTheOutput_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("percent");
    QTest::newRow("in a line") << QStringList {"writing block 3/8 (37%)"} << 37;
    QTest::newRow("a space before %") << QStringList {"45 %"} << 45;
    QTest::newRow("the last of a line") << QStringList {"1% then 2%"} << 2;
    QTest::newRow("a fraction") << QStringList {"3.5%"} << 3;
    QTest::newRow("past 100") << QStringList {"150%"} << -1;
    QTest::newRow("the last line that has one") << QStringList {"10%", "20%", "verifying"} << 20;
    QTest::newRow("none") << QStringList {"none"} << -1;
}

void TestRecord::theLatestPercentOfTheOutput()
{
    QFETCH(QStringList, lines);
    QFETCH(int, percent);
    QCOMPARE(percentIn(lines), percent);
}

void TestRecord::csvFieldsAreQuotedOnlyWhereNeeded_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("plain") << QStringList {"a", "7inch", ""} << QByteArray("a,7inch,\r\n");
    QTest::newRow("a comma") << QStringList {"a,b"} << QByteArray("\"a,b\"\r\n");
    QTest::newRow("quotes doubled") << QStringList {"say \"hi\""} << QByteArray("\"say \"\"hi\"\"\"\r\n");
    QTest::newRow("line breaks") << QStringList {"a\nb", "c\rd"} << QByteArray("\"a\nb\",\"c\rd\"\r\n");
    QTest::newRow("UTF-8") << QStringList {"日本"} << QString("日本\r\n").toUtf8();
    QTest::newRow("no fields") << QStringList {} << QByteArray("\r\n");
}

void TestRecord::csvFieldsAreQuotedOnlyWhereNeeded()
{
    QFETCH(QStringList, fields);
    QFETCH(QByteArray, line);
    QCOMPARE(csvRecord(fields), line);
}

// What a spreadsheet would take for a formula is shown as text, whatever
// field it is in; a run's seconds keep their milliseconds.
void TestRecord::aSpreadsheetRunsNoFieldAndKeepsEveryDigit()
{
    for (const QString &formula : QStringList {"=1+1", "+SUM(1", "-1", "@SUM(A1)", "\t=1", "\r=1"})
        QCOMPARE(csvText(formula), "'" + formula);
    QCOMPARE(csvText("SN-1 =1"), QString("SN-1 =1"));
    RunRecord record = aRun();
    record.seconds = 1234.567;
    record.unit = "=HYPERLINK(\"x\")";
    const QStringList fields = csvFields(record);
    QCOMPARE(fields.at(csvColumns().indexOf("seconds")), QString("1234.567"));
    QCOMPARE(fields.at(csvColumns().indexOf("unit")), "'" + record.unit);
    QCOMPARE(fields.at(csvColumns().indexOf("images")),
             "/fw/a.bin  33  " + QString(64, 'a') + "\n/fw/dir    ");
}

void TestRecord::stationSettingsAsWritten_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("leaf");
    QTest::addColumn<bool>("released");
    const QString long64(64, 'x');
    QTest::newRow("absent") << QString() << 0 << "" << long64 << true << "any/leaf" << true;
    QTest::newRow("comments and blanks") << "; a station\n\n# more\n[unit]\nrequired = TRUE\n"
                                         << 0 << "" << long64 + "x" << false << "any/leaf" << true;
    QTest::newRow("a pattern as written") << "[unit]\npattern=SN\\d{2,4}\n"
                                          << 0 << ""
                                          << "SN123" << true << "" << true;
    QTest::newRow("matched whole") << "[unit]\npattern=SN\\d{2,4}\n"
                                   << 0 << ""
                                   << "SN12345" << false << "" << true;
    QTest::newRow("no control characters") << "" << 0 << ""
                                           << "SN1\t" << false << "" << true;
    QTest::newRow("leaves with semicolons") << "[order]\nname=WO-1\nleaves=7inch/High; 10.1inch/Low;\n"
                                            << 0 << ""
                                            << "a" << true << "10.1inch/Low" << true;
    QTest::newRow("a leaf not released") << "[order]\nname=WO-1\nleaves=7inch/High\n"
                                         << 0 << ""
                                         << "a" << true << "7inch/Low" << false;
    const auto bad = [](const char *row, const QString &file, SettingsFault::Kind kind, const QString &key) {
        QTest::newRow(row) << file << int(kind) << key << "a" << true << "" << true;
    };
    bad("unknown key", "[unit]\nrequire=true\n", SettingsFault::UnknownKey, "unit/require");
    bad("a key with no section", "name=a\n", SettingsFault::UnknownKey, "/name");
    bad("required=maybe", "[operator]\nrequired=maybe\n", SettingsFault::NotTrueOrFalse, "operator/required");
    bad("a pattern that does not compile", "[unit]\npattern=SN(\n", SettingsFault::BadPattern,
        "unit/pattern");
    bad("minutes below zero", "[operator]\nidleMinutes=-1\n", SettingsFault::NotMinutes,
        "operator/idleMinutes");
    // A day at most: no idle limit overflows.
    bad("more minutes than a day", "[operator]\nidleMinutes=1441\n", SettingsFault::TooManyMinutes,
        "operator/idleMinutes");
    bad("a leaf without its sensitivity", "[order]\nname=W\nleaves=7inch\n", SettingsFault::BadLeaf,
        "order/leaves");
    bad("leaves of no order", "[order]\nleaves=7inch/High\n", SettingsFault::NoOrderName, "order/name");
    bad("a folder in its place", "<folder>", SettingsFault::Unreadable, "");
    bad("a line that is no key", "[unit]\nrequired\n", SettingsFault::NotAKeyLine, "2");
}

// A station's rules as its file states them: anything the file gets wrong
// is a fault the window refuses every start for, never a rule left out.
void TestRecord::stationSettingsAsWritten()
{
    QFETCH(QString, file);
    QFETCH(int, fault);
    QFETCH(QString, key);
    QTemporaryDir dir;
    const QString path = dir.filePath("station.ini");
    if (file == "<folder>")
        QVERIFY(QDir(dir.path()).mkdir("station.ini"));
    else if (!file.isNull()) {
        QFile ini(path);
        QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write(file.toUtf8()) == file.toUtf8().size());
    }
    const StationSettings settings = StationSettings::read(path);
    QCOMPARE(int(settings.fault.kind), fault);
    QCOMPARE(settings.fault.key, key);
    if (fault)
        return;
    QFETCH(QString, serial);
    QFETCH(bool, accepted);
    QFETCH(QString, leaf);
    QFETCH(bool, released);
    QCOMPARE(settings.acceptsSerial(serial), accepted);
    QCOMPARE(settings.releases(leaf.section('/', 0, 0), leaf.section('/', 1)), released);
}

QTEST_GUILESS_MAIN(TestRecord)
#include "tst_record.moc"
