#include "update/record/CsvExport.h"
#include "update/record/RunRecord.h"
#include "update/record/TextRule.h"
#include "update/run/OutputTail.h"
#include "update/run/RunSupervisor.h"
#include "update/station/StationSettings.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>
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
    void everyPlaceNamesTheRecordsOwnKeys();
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
    void textAsPeopleReadIt_data();
    void textAsPeopleReadIt();
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
        // As no entry lets one in, and the record keeps out.
        record.operatorId = "op\n7";
        record.order = "WO-1";
        record.notes = QStringList {"sleep and shutdown not held off: no bus", "b.bin: not a regular file"};
        if (record.outcome == Outcome::NotStarted)
            record.refusal = Refusal::TooManyImages;
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
    QCOMPARE(json.value("schema").toInt(), 3);
    QCOMPARE(json.value("runId").toString(), record.runId.toString(QUuid::WithoutBraces));
    QCOMPARE(json.value("started").toString(), QString("2026-12-07T10:35:53.291+09:00"));
    // Who and what for: null where the station did not ask.
    QCOMPARE(json.value("station").toString(), record.host);
    for (const char *key : {"unit", "operator", "order"})
        QCOMPARE(json.value(key).isNull(), outcome < 0);
    if (outcome >= 0)
        QCOMPARE(json.value("operator").toString(), QString("op\\u000A7"));
    // An interrupted run's end, and length, are not known: not the moment it was found.
    QCOMPARE(json.value("ended").isNull(), !record.ended.has_value());
    QCOMPARE(json.value("seconds").isNull(), !record.seconds.has_value());
    const std::optional<RunRecord> read = fromJsonLine(toJsonLine(record));
    QVERIFY(read);
    QCOMPARE(toJsonLine(*read), toJsonLine(record));
    QCOMPARE(read->runId, record.runId);
    QCOMPARE(read->images.at(1).bytes, qint64(-1));
    QCOMPARE(read->outcome.has_value(), outcome >= 0);
    QCOMPARE(json.value("refusal").toString(),
             QString(outcome == int(Outcome::NotStarted) ? "tooManyImages" : ""));
}

// The record's keys, pinned here; what else names them (the CSV, the plant's
// SQL, the documented column list and jq recipe) names only those.
void TestRecord::everyPlaceNamesTheRecordsOwnKeys()
{
    RunRecord record = aRun();
    record.outcome = Outcome::Ok;
    const QStringList keys {"detail", "ended",       "exitCode", "found",       "host",          "images",
                            "log",    "notes",       "operator", "order",       "outcome",       "release",
                            "runId",  "schema",      "seconds",  "sensitivity", "started",       "station",
                            "tpSize", "tpfwVersion", "unit",     "updater",     "updaterSha256", "user"};
    QCOMPARE(toJson(record).keys(), keys);
    record.outcome = Outcome::NotStarted;
    QSet<QString> names;
    for (int value = 0; value <= int(Refusal::Cancelled); ++value) {
        record.refusal = Refusal(value);
        names.insert(toJson(record).value("refusal").toString());
        QCOMPARE(fromJsonLine(toJsonLine(record))->refusal, record.refusal);
    }
    QCOMPARE(names.size(), int(Refusal::Cancelled) + 1);
    QCOMPARE(toJson(record).keys().size(), keys.size() + 1);

    for (const QString &column : csvColumns())
        QVERIFY2(keys.contains(column), qPrintable(column));
    const auto read = [](const char *path) {
        QFile file(QStringLiteral(TPFW_SOURCE_DIR "/") + path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    const QString sql = read("deploy/postgresql/tpfw.sql");
    QRegularExpressionMatchIterator used = QRegularExpression("record->>?'(\\w+)'").globalMatch(sql);
    QVERIFY(used.hasNext());
    while (used.hasNext()) {
        const QString key = used.next().captured(1);
        QVERIFY2(keys.contains(key), qPrintable(key));
    }
    const QString listed = QRegularExpression("one column per key in this order: `([^`]*)`")
                               .match(read("docs/technician.md"))
                               .captured(1);
    QCOMPARE(listed.simplified().split(", "), csvColumns());
    const QString recipe = QRegularExpression("fromjson\\? \\| \\[(.*)\\] \\| map\\(")
                               .match(read("docs/line-engineer.md"))
                               .captured(1);
    QStringList recipeColumns;
    QRegularExpressionMatchIterator fields = QRegularExpression("(?:^|, )\\(*\\.(\\w+)").globalMatch(recipe);
    while (fields.hasNext())
        recipeColumns.append(fields.next().captured(1));
    QCOMPARE(recipeColumns, csvColumns());
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
    record.release = ReleaseFacts {"=WO-7", "c", "d"};
    const QStringList fields = csvFields(record);
    QCOMPARE(fields.at(csvColumns().indexOf("release")), QString("'=WO-7  sha256:c  key:d"));
    QCOMPARE(fields.at(csvColumns().indexOf("seconds")), QString("1234.567"));
    QCOMPARE(fields.at(csvColumns().indexOf("unit")), "'" + record.unit);
    QCOMPARE(fields.at(csvColumns().indexOf("images")),
             "/fw/a.bin  33  " + QString(64, 'a') + "\n/fw/dir    ");
}

void TestRecord::stationSettingsAsWritten_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("serial");
    // The serial as taken; null where it is refused.
    QTest::addColumn<QString>("taken");
    QTest::addColumn<QString>("leaf");
    QTest::addColumn<bool>("released");
    const QString long64(64, 'x');
    const QByteArray pattern = "[unit]\npattern=SN\\d{2,4}\n";
    const auto serial
        = [&](const char *row, const QByteArray &file, const QString &read, const QString &taken) {
              QTest::newRow(row) << file << 0 << "" << read << taken << "" << true;
          };
    QTest::newRow("no keys") << QByteArray("; a station\n\n# more\n") << 0 << "" << long64 << long64
                             << "any/leaf" << true;
    serial("longer than the rule", "[unit]\nrequired = TRUE\n", long64 + "x", {});
    serial("longer, as set", "\xEF\xBB\xBF[unit]\nmaxLength=65\n", long64 + "x", long64 + "x");
    serial("a pattern as written", pattern, "SN123", "SN123");
    serial("matched whole", pattern, "SN12345", {});
    serial("full-width is the same panel", pattern, "\uFF33\uFF2E\uFF11\uFF12\uFF13", "SN123");
    serial("a pattern never widens the rule", "[unit]\npattern=.+\n", long64 + "x", {});
    for (const char *hidden : {"\t", "\u200B", "\u202E", "\u2028"})
        serial(hidden, pattern, "SN1" + QString::fromUtf8(hidden) + "2", {});
    QTest::newRow("leaves with semicolons")
        << QByteArray("[order]\nname=WO-1\nleaves=7inch/High; 10.1inch/Low;\n") << 0 << ""
        << "a"
        << "a"
        << "10.1inch/Low" << true;
    QTest::newRow("a leaf not released") << QByteArray("[order]\nname=WO-1\nleaves=7inch/High\n") << 0 << ""
                                         << "a"
                                         << "a"
                                         << "7inch/Low" << false;
    const auto bad
        = [](const char *row, const QByteArray &file, SettingsFault::Kind kind, const QString &key) {
              QTest::newRow(row) << file << int(kind) << key << "a"
                                 << "a"
                                 << "" << true;
          };
    bad("absent", {}, SettingsFault::Missing, "");
    bad("unknown key", "[unit]\nrequire=true\n", SettingsFault::UnknownKey, "unit/require");
    bad("a key with no section", "name=a\n", SettingsFault::UnknownKey, "/name");
    bad("required=maybe", "[operator]\nrequired=maybe\n", SettingsFault::NotTrueOrFalse, "operator/required");
    bad("a pattern that does not compile", "[unit]\npattern=SN(\n", SettingsFault::BadPattern,
        "unit/pattern");
    bad("a length past the most", "[unit]\nmaxLength=257\n", SettingsFault::BadLength, "unit/maxLength");
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
    bad("Latin-1",
        "[station]\nname=Linie Pr\xFC"
        "fung 3\n",
        SettingsFault::NotUtf8, "2");
    bad("a NUL in a name", QByteArray("[station]\nname=Line\0 3\n", 22), SettingsFault::BadText,
        "station/name");
    bad("a name too long for a file", "[station]\nname=" + QByteArray(300, 'L'), SettingsFault::BadText,
        "station/name");
    bad("a release without keys", "[release]\nmanifest=r.json\n", SettingsFault::NoKeys, "release/keys");
    bad("leaves beside a release", "[order]\nleaves=a/b\n[release]\nmanifest=r.json\nkeys=k.pem\n",
        SettingsFault::LeavesBesideRelease, "order/leaves");
    bad("a bidi override in an order", "[order]\nname=WO\u202E1\n", SettingsFault::BadText, "order/name");
    bad("an operator ID hiding a character", "[operator]\nids=op7;op\u200B8\n", SettingsFault::BadText,
        "operator/ids");
    // Emptied by mistake, a list would let anyone in.
    bad("a list of operators naming nobody", "[operator]\nids= ; \n", SettingsFault::NoOperators,
        "operator/ids");
    bad("a list of operators not there", "[operator]\nids=/nonexistent/tpfw-operators\n",
        SettingsFault::OperatorsUnreadable, "operator/ids");
}

// A station's rules as its file states them: anything the file gets wrong
// is a fault the window refuses every start for, never a rule left out.
void TestRecord::stationSettingsAsWritten()
{
    QFETCH(QByteArray, file);
    QFETCH(int, fault);
    QFETCH(QString, key);
    QTemporaryDir dir;
    const QString path = dir.filePath("station.ini");
    if (file == "<folder>")
        QVERIFY(QDir(dir.path()).mkdir("station.ini"));
    else if (!file.isNull()) {
        QFile ini(path);
        QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write(file) == file.size());
    }
    const StationSettings settings = StationSettings::read(path);
    QCOMPARE(int(settings.fault.kind), fault);
    QCOMPARE(settings.fault.key, key);
    if (fault)
        return;
    QFETCH(QString, serial);
    QFETCH(QString, taken);
    QFETCH(QString, leaf);
    QFETCH(bool, released);
    QCOMPARE(settings.serialOf(serial).value_or(QString()), taken);
    QCOMPARE(settings.releases(leaf.section('/', 0, 0), leaf.section('/', 1)), released);
}

void TestRecord::textAsPeopleReadIt_data()
{
    QTest::addColumn<QString>("read");
    QTest::addColumn<int>("form");
    QTest::addColumn<int>("fault");
    // As a record holds it.
    QTest::addColumn<QString>("recorded");
    const int scanned = int(TextRule::Form::Scanned);
    const int named = int(TextRule::Form::Named);
    const QString accent = QString(3, QChar(0x301));
    QTest::newRow("full-width, with an ideographic space")
        << "\u3000\uFF53\uFF4E\uFF17" << scanned << 0 << "sn7";
    QTest::newRow("a name keeps its characters")
        << "\uFF2C\u30E9\u30A4\u30F3 3" << named << 0 << "\uFF2C\u30E9\u30A4\u30F3 3";
    QTest::newRow("composed") << "Pru\u0308fung" << named << 0 << "Pr\u00FCfung";
    QTest::newRow("a pasted line break")
        << "op7\ntpfw: ended" << scanned << int(TextRule::Fault::Unseen) << "op7\\u000Atpfw: ended";
    QTest::newRow("NUL") << QString("Line") + QChar(0) + " 3" << named << int(TextRule::Fault::Unseen)
                         << "Line\\u0000 3";
    QTest::newRow("three marks are enough") << "x" + accent << named << 0 << "x" + accent;
    QTest::newRow("a fourth") << "x" + accent + QChar(0x301) << named << int(TextRule::Fault::Marks)
                              << "x" + accent + "\\u0301";
    QTest::newRow("a mark on nothing")
        << QString(QChar(0x301)) + "a" << scanned << int(TextRule::Fault::Marks) << "\\u0301a";
    QTest::newRow("the longest a record holds")
        << QString(300, 'x') << scanned << int(TextRule::Fault::TooLong) << QString(TextRule::maxLength, 'x');
    QTest::newRow("only spaces") << " \u3000 " << scanned << int(TextRule::Fault::Empty) << "";
}

// One rule for what people scan, type and name: the form it is taken in,
// what it refuses, and what a record holds where a value got past it.
void TestRecord::textAsPeopleReadIt()
{
    QFETCH(QString, read);
    QFETCH(int, form);
    QFETCH(int, fault);
    QFETCH(QString, recorded);
    QCOMPARE(int(TextRule::check(read, TextRule::Form(form)).fault), fault);
    QCOMPARE(TextRule::recordable(read, TextRule::Form(form)), recorded);
    QCOMPARE(TextRule::recordable(recorded, TextRule::Form(form)), recorded);
}

QTEST_GUILESS_MAIN(TestRecord)
#include "tst_record.moc"
