// Every value the station can give the window has words of its own, in
// every language shipped: the switches name each value, and this checks that
// none is worded empty or as another is. No window is opened.

#include "window/FaultWords.h"
#include "window/RunPanel.h"
#include "window/RunWords.h"
#include "window/Translations.h"

#include <QCoreApplication>
#include <QSet>
#include <QtTest>

#include <functional>

namespace {

// The words of values 0 to last, each non-empty and none another's.
void checkDistinct(const char *kind, int last, const std::function<QString(int)> &wordsOf,
                   const QSet<int> &alike = {})
{
    QHash<QString, int> seen;
    for (int value = 0; value <= last; ++value) {
        const QString words = wordsOf(value);
        QVERIFY2(!words.trimmed().isEmpty(),
                 qPrintable(QStringLiteral("%1 %2 has no words").arg(kind).arg(value)));
        if (alike.contains(value))
            continue;
        QVERIFY2(!seen.contains(words),
                 qPrintable(QStringLiteral("%1 %2 is worded as %1 %3: %4")
                                .arg(kind)
                                .arg(value)
                                .arg(seen.value(words))
                                .arg(words)));
        seen.insert(words, value);
    }
}

} // namespace

Q_DECLARE_METATYPE(Outcome)

class TestWords : public QObject
{
    Q_OBJECT

private slots:
    void everyValueHasWordsOfItsOwn_data()
    {
        QTest::addColumn<QString>("locale");
        for (const char *locale : {"en", "ja", "zh_CN", "zh_TW"})
            QTest::newRow(locale) << locale;
    }

    void everyValueHasWordsOfItsOwn()
    {
        QFETCH(QString, locale);
        const std::unique_ptr<QTranslator> translator = translatorFor(QLocale(locale));
        QCOMPARE(translator != nullptr, locale != QLatin1String("en"));
        if (translator)
            QCoreApplication::installTranslator(translator.get());

        // A station whose settings are gone: the refusal at its door has words.
        QTemporaryDir home;
        qputenv("TPFW_STATION_SETTINGS", home.filePath(QStringLiteral("gone.ini")).toUtf8());
        StationRun run([](const QString &) { return std::nullopt; });
        checkDistinct("refusal", int(Refusal::Cancelled),
                      [&](int value) {
                          RunRefusal refusal = refusalOf(Refusal(value), QStringLiteral("image.bin"),
                                                         QStringLiteral("the system's words"));
                          refusal.tpSize = QStringLiteral("7inch");
                          refusal.sensitivity = QStringLiteral("High");
                          refusal.order = QStringLiteral("WO-1");
                          refusal.unlisted = 2;
                          return RunWords::refusal(refusal, run.policy());
                      }, // Worded as NoLog on purpose: the system's words shown say which.
                      {int(Refusal::NoLock), int(Refusal::Unrecorded)});
        checkDistinct("settings fault", int(SettingsFault::NoOperators), [](int value) {
            if (value == SettingsFault::None)
                return QStringLiteral("(none)");
            return FaultWords::settings({SettingsFault::Kind(value), QStringLiteral("unit/key"),
                                         QStringLiteral("value"), TextRule::Fault::Marks});
        });
        checkDistinct("outcome", int(Outcome::Unknown),
                      [](int value) {
                          RunRecord record;
                          record.outcome = Outcome(value);
                          record.exitCode = 2;
                          record.images.append({QStringLiteral("image.bin"), 1, {}, {}, false});
                          return RunWords::outcome(record);
                      }, // A record of a press that never ran reads as of unknown result.
                      {int(Outcome::NotStarted)});
        checkDistinct("question", int(StationRun::Question::NoImages),
                      [&](int value) { return RunWords::question(StationRun::Question(value), run); });
        checkDistinct("text fault", int(TextRule::Fault::TooLong), [](int value) {
            return value ? RunWords::textFault(TextRule::Fault(value), 8) : QStringLiteral("(none)");
        });
        if (translator)
            QCoreApplication::removeTranslator(translator.get());
    }

    void aResultReadsAsWhatBecameOfThePanel_data()
    {
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<bool>("sentImages");
        // ok, failed (set the panel aside), or neither: what is shown.
        QTest::addColumn<QString>("reads");
        QTest::newRow("ok") << Outcome::Ok << true << "ok";
        QTest::newRow("ok, nothing sent") << Outcome::Ok << false << "neither";
        QTest::newRow("failed") << Outcome::Failed << true << "failed";
        QTest::newRow("failed, nothing sent") << Outcome::Failed << false << "neither";
        QTest::newRow("crashed") << Outcome::Crashed << true << "failed";
        // Written part way: the panel is no more usable than a failed one's.
        QTest::newRow("stopped") << Outcome::Stopped << true << "failed";
        QTest::newRow("interrupted") << Outcome::Interrupted << true << "neither";
        QTest::newRow("unknown") << Outcome::Unknown << true << "neither";
    }

    void aResultReadsAsWhatBecameOfThePanel()
    {
        QFETCH(Outcome, outcome);
        QFETCH(bool, sentImages);
        QFETCH(QString, reads);
        RunRecord record;
        record.outcome = outcome;
        record.exitCode = 0;
        if (sentImages)
            record.images.append({QStringLiteral("image.bin"), 1, {}, {}, false});
        const RunReport report = RunWords::report(record, QString());
        QCOMPARE(report.ok, reads == "ok");
        QCOMPARE(report.known, reads != "neither");
        QCOMPARE(report.advice.isEmpty(), reads != "failed");
    }
};

QTEST_GUILESS_MAIN(TestWords)
#include "tst_words.moc"
