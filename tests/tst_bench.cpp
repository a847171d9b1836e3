#include "update/station/Bench.h"

#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(Bench::Scan)
Q_DECLARE_METATYPE(Bench::Stage)
Q_DECLARE_METATYPE(Bench::Fault)

// The bench, the core alone: what a scan is at each stage of a press, what
// puts the last panel's result away, and a next panel taking its place.
class TestBench : public QObject
{
    Q_OBJECT

private slots:
    void aScanIsThePanelOrTheNext_data();
    void aScanIsThePanelOrTheNext();
    void theResultIsPutAwayByTheNextPanelsNews_data();
    void theResultIsPutAwayByTheNextPanelsNews();
};

namespace {

// Plays the events of a bench in order: "scan:SN" (its answer dropped),
// "dialog" and "closed", "busy" and "idle" (the station run's), "fault:settings", "fault:release",
// "fault:none", or a step of the press.
void play(Bench &bench, const QString &events)
{
    for (const QString &event : events.split(' ', Qt::SkipEmptyParts)) {
        const QString arg = event.section(':', 1);
        if (event.startsWith("scan:"))
            bench.scan(arg);
        else if (event.startsWith("fault:"))
            bench.setFault(arg == "settings"      ? Bench::Fault::Settings
                               : arg == "release" ? Bench::Fault::Release
                                                  : Bench::Fault::None);
        else if (event == "dialog" || event == "closed")
            bench.setDialogOpen(event == "dialog");
        else if (event == "busy" || event == "idle")
            bench.setStationIdle(event == "idle");
        else if (!QMetaObject::invokeMethod(&bench, event.toLatin1().constData(), Qt::DirectConnection))
            QFAIL(qPrintable("no such event: " + event));
    }
}

} // namespace

void TestBench::aScanIsThePanelOrTheNext_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<Bench::Scan>("scan");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<Bench::Stage>("stage");

    using S = Bench::Stage;
    const auto press = Bench::Scan::Press;
    const auto next = Bench::Scan::Next;
    QTest::newRow("awaiting") << "" << press << "SN2" << S::Scanned;
    QTest::newRow("scanned") << "scan:SN1" << press << "SN2" << S::Scanned;
    QTest::newRow("refused") << "scan:SN1 refused" << press << "SN2" << S::Scanned;
    QTest::newRow("ended") << "scan:SN1 begun running ended told" << press << "SN2" << S::Scanned;
    QTest::newRow("asked") << "scan:SN1 asked" << next << "SN1" << S::Asked;
    QTest::newRow("asked, No") << "scan:SN1 asked declined" << press << "SN2" << S::Scanned;
    QTest::newRow("checking") << "scan:SN1 begun" << next << "SN1" << S::Checking;
    QTest::newRow("running") << "scan:SN1 begun running" << next << "SN1" << S::Running;
    QTest::newRow("start notice open") << "scan:SN1 begun running dialog" << next << "SN1" << S::Running;
    QTest::newRow("failure notice open")
        << "scan:SN1 begun running ended dialog" << next << "SN1" << S::Ended;
    QTest::newRow("notice closed again") << "scan:SN1 refused dialog closed" << press << "SN2" << S::Scanned;
    QTest::newRow("station busy") << "scan:SN1 busy" << next << "SN1" << S::Scanned;
    QTest::newRow("refused during a run") << "scan:SN1 begun running refused" << next << "SN1" << S::Running;
}

// A scan of the next panel never joins, nor becomes, the one in hand: it
// waits, and is the panel in front once the press is over and told.
void TestBench::aScanIsThePanelOrTheNext()
{
    QFETCH(QString, before);
    QFETCH(Bench::Scan, scan);
    QFETCH(QString, panel);
    QFETCH(Bench::Stage, stage);
    Bench bench;
    play(bench, before);
    QCOMPARE(bench.scan("SN2"), scan);
    QCOMPARE(bench.panel(), panel);
    QCOMPARE(bench.next(), scan == Bench::Scan::Next ? QString("SN2") : QString());
    QCOMPARE(bench.stage(), stage);
    play(bench, "ended closed idle told");
    QCOMPARE(bench.panel(), QString("SN2"));
    QVERIFY(bench.next().isEmpty());
}

void TestBench::theResultIsPutAwayByTheNextPanelsNews_data()
{
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("putAway");
    QTest::addColumn<Bench::Fault>("fault");

    using F = Bench::Fault;
    QTest::newRow("a scan") << "scan:SN2" << true << F::None;
    QTest::newRow("a scan while its notice is open") << "dialog scan:SN2" << true << F::None;
    QTest::newRow("typed by hand") << "typed" << true << F::None;
    QTest::newRow("another leaf") << "leafChosen" << true << F::None;
    QTest::newRow("a question") << "asked" << true << F::None;
    QTest::newRow("a refusal") << "refused" << true << F::None;
    QTest::newRow("settings fault") << "fault:settings" << true << F::Settings;
    QTest::newRow("release fault") << "fault:release" << true << F::Release;
    QTest::newRow("one fault for another") << "fault:settings fault:release" << true << F::Release;
    QTest::newRow("a next press begun") << "begun" << true << F::None;
    QTest::newRow("told") << "told" << false << F::None;
    QTest::newRow("a notice") << "dialog closed" << false << F::None;
    QTest::newRow("a fault fixed") << "fault:none" << false << F::None;
}

// The last panel's result stays until something of the next panel comes:
// then it goes at once, once.
void TestBench::theResultIsPutAwayByTheNextPanelsNews()
{
    QFETCH(QString, after);
    QFETCH(bool, putAway);
    QFETCH(Bench::Fault, fault);
    Bench bench;
    play(bench, "scan:SN1 begun running ended");
    QVERIFY(bench.showsResult());
    QSignalSpy putAwaySpy(&bench, &Bench::resultPutAway);
    play(bench, after);
    QCOMPARE(putAwaySpy.count(), putAway ? 1 : 0);
    QCOMPARE(bench.showsResult(), !putAway);
    QCOMPARE(bench.fault(), fault);
}

QTEST_GUILESS_MAIN(TestBench)
#include "tst_bench.moc"
