#include "TestSupport.h"

#include "selection/DirGroup.h"
#include "selection/DirListing.h"
#include "selection/FolderReader.h"
#include "selection/NameDisplay.h"
#include "selection/NameFit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

class TestDirGroup : public QObject
{
    Q_OBJECT

private slots:
    void listingRule();
    void relistingKeepsOnlyTheNewButtons();
    void reportsOnlyTheNewlyCheckedEntry();
    void oneChoiceAcrossALongList();
    void relistKeepsExactlyTheCheckedEntry_data();
    void relistKeepsExactlyTheCheckedEntry();
    void aFolderReadAgainAsItWasKeepsItsButtons();
    void ignoresCallsNotFromItsButtons();
    void unlistedGroupFreesItsLayout();
    void aFolderThatDoesNotAnswerNeverStopsTheWindow();
    void aFolderReadAheadIsReadOnceForItsOwnListing();
    void namesStayApartAtEveryWidth_data();
    void namesStayApartAtEveryWidth();
};

void TestDirGroup::listingRule()
{
    QTemporaryDir dir;
    // Names that sort before "." and ".." make sure those two are dropped by
    // name, not as the first two entries.
    makeTree(dir.path(),
             {"9/", "10/", "ABD/", "abc", "Readme.TXT", "empty/", " lead", "!bang", "+plus/", "-dash"});
    makeHidden(dir.path(), {"hidden", "cfg/"});
    QCOMPARE(
        choicesOf(readFolder(dir.path()), true),
        QStringList({" lead", "!bang", "+plus", "-dash", "10", "9", "abc", "ABD", "empty", "Readme.TXT"}));
    QCOMPARE(choicesOf(readFolder(dir.path() + "/abc"), true), QStringList());
    DebugLog log;
    QCOMPARE(choicesOf(readFolder(dir.path() + "/missing"), true), QStringList());
    QCOMPARE(choicesOf(readFolder(dir.path() + "/empty"), true), QStringList());
    QCOMPARE(log.lines, QStringList({"\".\"", "\"..\""}));
}

void TestDirGroup::relistingKeepsOnlyTheNewButtons()
{
    QTemporaryDir dir;
    makeTree(dir.path(), {"one/a", "one/b", "one/c", "two/x/", "two/Y"});
    QWidget window;
    auto *group = new DirGroup("TP Size");
    (new QVBoxLayout(&window))->addWidget(group);
    window.show();
    group->listAllDir(dir.path() + "/one");
    QVERIFY(clickChoice(group, "b"));
    group->listAllDir(dir.path() + "/two");

    QVERIFY(group->isVisible());
    QCOMPARE(buttonNames(group), QStringList({"x", "Y"}));
    QCOMPARE(group->findChildren<QRadioButton *>().size(), 2);
    for (const QRadioButton *button : group->radioButtons())
        QVERIFY(button->isVisible() && !button->isChecked());
    QLayout *column = group->findChild<QScrollArea *>()->widget()->layout();
    QCOMPARE(column->count(), 2);
    QVERIFY(column->itemAt(1)->spacerItem());

    group->hide();
    group->listAllDir(dir.path() + "/missing");
    QVERIFY(!group->isVisible());
    QVERIFY(group->radioButtons().isEmpty());
    QCOMPARE(column->count(), 1);
}

void TestDirGroup::reportsOnlyTheNewlyCheckedEntry()
{
    FirmwareTree tree({"7inch/High/", "7inch/Low/", "7inch/notes.txt"});
    DirGroup group("Sensitivity");
    group.listSubDir("7inch");
    group.show();
    QSignalSpy names(&group, SIGNAL(passDirName(QString)));
    QSignalSpy paths(&group, SIGNAL(passFullDirName(QString)));

    QVERIFY(clickChoice(&group, "Low"));
    QVERIFY(clickChoice(&group, "notes.txt"));
    QVERIFY(clickChoice(&group, "notes.txt"));

    QCOMPARE(names.size(), 2);
    QCOMPARE(names.at(1).at(0).toString(), QString("notes.txt"));
    QCOMPARE(paths.size(), 2);
    QCOMPARE(paths.at(0).at(0).toString(), FirmwareTree::root() + "/7inch/Low");
    QCOMPARE(paths.at(1).at(0).toString(), FirmwareTree::root() + "/7inch/notes.txt");
}

// However the column is built, a long listing is one choice, and the
// arrow keys walk all of it: Down from the 100th checks the 101st alone.
void TestDirGroup::oneChoiceAcrossALongList()
{
    QStringList entries;
    for (int i = 0; i < 250; ++i)
        entries << QString("fw%1.bin").arg(i, 3, 10, QLatin1Char('0'));
    QTemporaryDir dir;
    makeTree(dir.path(), entries);
    DirGroup group("Sensitivity");
    group.listAllDir(dir.path());
    group.show();
    QSignalSpy names(&group, SIGNAL(passDirName(QString)));
    QApplication::setActiveWindow(&group);
    QVERIFY(clickChoice(&group, "fw099.bin"));
    group.findChild<QRadioButton *>("fw099.bin")->setFocus();
    QTest::keyClick(group.findChild<QRadioButton *>("fw099.bin"), Qt::Key_Down);
    QCOMPARE(group.checkedName(), QString("fw100.bin"));
    QCOMPARE(names.last().at(0).toString(), QString("fw100.bin"));
}

void TestDirGroup::relistKeepsExactlyTheCheckedEntry_data()
{
    QTest::addColumn<QString>("checked");
    QTest::newRow("none checked") << QString();
    QTest::newRow("a later entry checked") << "b";
}

void TestDirGroup::relistKeepsExactlyTheCheckedEntry()
{
    QFETCH(QString, checked);
    QTemporaryDir dir;
    makeTree(dir.path(), {"a/", "b/", "c/"});
    DirGroup group("TP Size");
    group.listAllDir(dir.path());
    group.show();
    if (!checked.isEmpty())
        QVERIFY(clickChoice(&group, checked));
    QSignalSpy names(&group, SIGNAL(passDirName(QString)));
    // A new first entry: the checked one moves down the column.
    makeTree(dir.path(), {"0/"});
    group.relist();
    QCOMPARE(buttonNames(&group), QStringList({"0", "a", "b", "c"}));
    QCOMPARE(group.checkedName(), checked);
    QCOMPARE(names.size(), 0);
}

// A folder read again as it was changes nothing and says nothing; read
// again changed, it is listed anew, the checked entry kept.
void TestDirGroup::aFolderReadAgainAsItWasKeepsItsButtons()
{
    QTemporaryDir dir;
    makeTree(dir.path(), {"a/", "b/"});
    DirGroup group("TP Size");
    group.recheck();
    QVERIFY(group.radioButtons().isEmpty());
    group.listAllDir(dir.path());
    group.show();
    QVERIFY(clickChoice(&group, "b"));
    const QList<QRadioButton *> before = group.radioButtons();
    QSignalSpy listed(&group, &DirGroup::listed);
    DebugLog log;
    group.recheck();
    QCOMPARE(log.lines, QStringList());
    QCOMPARE(group.radioButtons(), before);
    makeTree(dir.path(), {"0/"});
    group.recheck();
    QCOMPARE(buttonNames(&group), QStringList({"0", "a", "b"}));
    QCOMPARE(group.checkedName(), QString("b"));
    QCOMPARE(listed.size(), 1);
}

void TestDirGroup::ignoresCallsNotFromItsButtons()
{
    DirGroup group("TP Size");
    QSignalSpy names(&group, SIGNAL(passDirName(QString)));
    QVERIFY(QMetaObject::invokeMethod(&group, "pickDirName", Q_ARG(bool, true)));
    QPushButton toggle("not a radio button");
    toggle.setCheckable(true);
    connect(&toggle, SIGNAL(toggled(bool)), &group, SLOT(pickDirName(bool)));
    toggle.setChecked(true);
    QCOMPARE(names.size(), 0);
}

void TestDirGroup::unlistedGroupFreesItsLayout()
{
    // Under the sanitizer build a leaked layout fails the run at exit.
    auto *group = new DirGroup("Sensitivity");
    const QTemporaryDir empty;
    group->listAllDir(empty.path());
    // Nothing to list: no column to scroll.
    QVERIFY(!group->findChild<QScrollArea *>());
    delete group;
}

// With a reading that blocks until released: the caller goes on within a
// moment, is told the folder is slow, then not answering; an answer
// overtaken by a newer reading is dropped; a late answer of the latest comes.
void TestDirGroup::aFolderThatDoesNotAnswerNeverStopsTheWindow()
{
    QSemaphore release;
    FolderReader reader(nullptr, [&release](const QString &path) {
        if (path.endsWith("slow"))
            release.acquire();
        return FolderRead {path, {".", "..", "a.bin"}, 0};
    });
    QSignalSpy answers(&reader, &FolderReader::answered);
    QSignalSpy waits(&reader, &FolderReader::waiting);
    const QString root = firmwareRoot();
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!reader.read(root + "/7inch/slow"));
    QVERIFY(reader.isReading());
    QVERIFY(waits.wait(2000));
    QCOMPARE(waits.last().at(0).toString(), QString("Reading 7inch/slow…"));
    QVERIFY(waits.wait(6000));
    QCOMPARE(waits.last().at(0).toString(), QString("7inch/slow is not answering"));
    QVERIFY2(clock.elapsed() >= 5000, qPrintable(QString::number(clock.elapsed())));

    // Another folder meanwhile: at once; the first one's answer goes nowhere.
    const std::optional<FolderRead> fast = reader.read(root + "/7inch/High");
    QVERIFY(fast && fast->path == root + "/7inch/High");
    QVERIFY(!reader.isReading());
    release.release();
    QTest::qWait(200);
    QVERIFY(answers.isEmpty());

    QVERIFY(!reader.read(root + "/10inch/slow"));
    release.release();
    QVERIFY(answers.wait(2000));
    QCOMPARE(answers.at(0).at(0).value<FolderRead>().path, root + "/10inch/slow");
    QCOMPARE(choicesOf(answers.at(0).at(0).value<FolderRead>(), false), QStringList("a.bin"));
    QVERIFY(!reader.isReading());
    QCOMPARE(waits.size(), 2);
}

// The listing of the folder read ahead takes that reading's answer; the
// listing of another folder reads its own.
void TestDirGroup::aFolderReadAheadIsReadOnceForItsOwnListing()
{
    // Shared with the reading threads, which may outlive this function.
    const auto readings = std::make_shared<QAtomicInt>();
    const FolderReader::Reading counted = [readings](const QString &path) {
        readings->ref();
        return FolderRead {path, {"a.bin"}, 0};
    };
    FolderReader reader(nullptr, counted);
    // Read at once, or answered later on a busy machine: the same reading.
    const auto readPath = [&reader](const QString &path) {
        QSignalSpy answered(&reader, &FolderReader::answered);
        if (const std::optional<FolderRead> read = reader.read(path))
            return read->path;
        return answered.wait(30000) ? answered.first().first().value<FolderRead>().path : QString();
    };
    reader.readAhead(FolderReader::begin("/fw/7inch", counted));
    QCOMPARE(readPath("/fw/7inch"), QString("/fw/7inch"));
    QCOMPARE(readings->loadAcquire(), 1);
    reader.readAhead(FolderReader::begin("/fw/10inch", counted));
    QCOMPARE(readPath("/fw/7inch"), QString("/fw/7inch"));
    QTRY_COMPARE(readings->loadAcquire(), 3);
}

void TestDirGroup::namesStayApartAtEveryWidth_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::newRow("customers, apart in the middle") << QStringList(
        {"Panel_CustomerA_7inch_Rev2_Glass_v1.2", "Panel_CustomerB_7inch_Rev2_Glass_v1.2", "7inch"});
    QTest::newRow("apart at the end")
        << QStringList({"Panel_Customer_7inch_Rev2_Glass_v1.2", "Panel_Customer_7inch_Rev2_Glass_v1.3"});
    QTest::newRow("apart at the start")
        << QStringList({"A_Panel_Customer_7inch_Rev2_Glass_v1.2", "B_Panel_Customer_7inch_Rev2_Glass_v1.2"});
    QTest::newRow("three, two of them apart late")
        << QStringList({"Panel_CustomerA_7inch_Rev2_Glass_v1.2", "Panel_CustomerA_7inch_Rev3_Glass_v1.2",
                        "Panel_CustomerB_7inch_Rev2_Glass_v1.2"});
}

// From a column of a few characters up and back: each name within the
// width, whole where it fits, never shown as another is; a width fits again
// exactly the names it changes, as a fit made afresh at that width shows them.
void TestDirGroup::namesStayApartAtEveryWidth()
{
    QFETCH(QStringList, names);
    names << "7inch_short"
          << "10inch_short";
    const QFontMetrics metrics(QApplication::font());
    NameFit fit(names, metrics);
    QStringList before;
    QVector<int> widths;
    for (int width = metrics.horizontalAdvance("Panel_Cu"); width < 600; width += 7)
        widths << width;
    for (int k = widths.size() - 2; k >= 0; --k)
        widths << widths.at(k) + 1 << widths.at(k);
    for (const int width : qAsConst(widths)) {
        const QVector<int> changed = fit.fitTo(width);
        NameFit afresh(names, metrics);
        afresh.fitTo(width);
        QStringList shown;
        for (int i = 0; i < names.size(); ++i) {
            shown << fit.shown(i);
            QCOMPARE(shown.at(i), afresh.shown(i));
            QVERIFY2(metrics.horizontalAdvance(shown.at(i)) <= width, qPrintable(shown.at(i)));
            if (metrics.horizontalAdvance(names.at(i)) <= width)
                QCOMPARE(shown.at(i), names.at(i));
            QVERIFY2(shown.count(shown.at(i)) == 1,
                     qPrintable(QString("%1 at %2").arg(shown.at(i)).arg(width)));
            if (!before.isEmpty())
                QCOMPARE(changed.contains(i), shown.at(i) != before.at(i));
        }
        before = shown;
    }
    QVERIFY(fit.fitTo(widths.last()).isEmpty());
}

QTEST_MAIN(TestDirGroup)
#include "tst_dirgroup.moc"
