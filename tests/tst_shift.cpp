#include "TestSupport.h"

#include "selection/DirGroup.h"
#include "update/run/RunLock.h"
#include "window/ElidedLabel.h"
#include "window/MainWindow.h"
#include "window/Translations.h"
#include "window/WrappingLabel.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include <memory>

// A shift at a configured station, in a real window on a small laptop's
// screen (1024×600), in English and in Japanese: each step is looked at as
// the technician sees it, a screenshot kept of it.
class TestShift : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void aShiftAtTheBench_data();
    void aShiftAtTheBench();

private:
    void step(const QString &name);
    void scan(const QString &serial);
    void answerOperator(QWidget *asker, const QString &id);
    QPushButton *button(const char *name) const;
    QLineEdit *serialField() const { return window->findChild<QLineEdit *>("unitSerial"); }
    QString resultShown() const;
    QString counts() const { return window->findChild<QLabel *>("todayCounts")->text(); }

    QTemporaryDir settingsDir;
    QString language;
    int steps = 0;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<NoticeWatch> notices;
};

void TestShift::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    const QString settings = settingsDir.filePath("station.ini");
    qputenv("TPFW_STATION_SETTINGS", QFile::encodeName(settings));
    QFile file(settings);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[station]\nname=Line 3\n[unit]\nrequired=true\npattern=SN\\d{4}\n[operator]\nrequired=true\n"
               "ids=op7;op9\n[order]\nname=WO-2291\nleaves=10.1inch/High;7inch/High\n");
    placeUpdater(TPFW_STANDIN);
}

void TestShift::cleanup()
{
    notices.reset();
    window.reset();
    QTRY_VERIFY_WITH_TIMEOUT(!RunLock::current(), 10000);
    qunsetenv("TPFW_STANDIN_EXIT");
    qunsetenv("TPFW_STANDIN_SECONDS");
}

// Where a step is left: the Station menu in sight in the bar, drawn where the
// bar says it is, and nothing that must be seen scrolled away.
void TestShift::step(const QString &name)
{
    auto *bar = window->findChild<QMenuBar *>();
    QAction *station = bar->actions().first();
    const QRect menu = bar->actionGeometry(station);
    QVERIFY2(bar->rect().contains(menu), qPrintable(name));
    QVERIFY2(bar->findChild<QToolButton *>("qt_menubar_ext_button")->isHidden(), qPrintable(name));
    // With room to spare, the order and operator read whole.
    const auto *line = window->findChild<ElidedLabel *>("stationLine");
    QCOMPARE(line->text(), line->fullText());
    for (QAbstractScrollArea *area : window->findChildren<QAbstractScrollArea *>())
        if (area->isVisible() && area->objectName() != "binListBrowser" && area->objectName() != "output")
            QVERIFY2(!area->verticalScrollBar()->isVisible() && !area->horizontalScrollBar()->isVisible(),
                     qPrintable(name + ": " + area->objectName() + " scrolls"));
    QApplication::processEvents();
    const QImage screen = window->screen()->grabWindow(0).toImage();
    QVERIFY(screen.save(QString("shift-%1-%2.png").arg(language).arg(++steps)));
    const QImage title = screen.copy(QRect(bar->mapToGlobal(menu.topLeft()), menu.size()));
    QSet<QRgb> colours;
    for (int y = 0; y < title.height(); ++y)
        for (int x = 0; x < title.width(); ++x)
            colours.insert(title.pixel(x, y));
    QVERIFY2(colours.size() > 2, qPrintable(name + ": no menu title drawn"));
}

void TestShift::scan(const QString &serial)
{
    QTRY_VERIFY(serialField()->isEnabled() && serialField()->text().isEmpty());
    serialField()->setFocus();
    QTest::keyClicks(serialField(), serial);
    QTest::keyClick(serialField(), Qt::Key_Return);
}

// Typed into the operator question the window has open now, then Enter.
void TestShift::answerOperator(QWidget *asker, const QString &id)
{
    QInputDialog *dialog = nullptr;
    QTRY_VERIFY((dialog = asker->findChild<QInputDialog *>()) && dialog->isVisible());
    // Wrapped to the screen, never cut, in every language.
    QVERIFY2(dialog->frameGeometry().width() <= dialog->screen()->availableGeometry().width(),
             qPrintable(QString::number(dialog->frameGeometry().width())));
    QTest::keyClicks(dialog->findChild<QLineEdit *>(), id);
    QTest::keyClick(dialog->findChild<QLineEdit *>(), Qt::Key_Return);
    QTRY_VERIFY(!asker->findChild<QInputDialog *>());
}

QPushButton *TestShift::button(const char *name) const
{
    for (QPushButton *each : window->findChildren<QPushButton *>())
        if (each->objectName() == name || each->text() == name)
            return each;
    return nullptr;
}

// The result as it reads now: empty where none is shown as current.
QString TestShift::resultShown() const
{
    const auto *banner = window->findChild<QWidget *>("resultBanner");
    if (!banner || !banner->isVisible())
        return {};
    return window->findChild<WrappingLabel *>("resultLine")->wholeText() + " | "
        + window->findChild<WrappingLabel *>("resultDetail")->wholeText();
}

void TestShift::aShiftAtTheBench_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("en") << "en_US";
    QTest::newRow("ja") << "ja_JP";
}

void TestShift::aShiftAtTheBench()
{
    QFETCH(QString, locale);
    language = QLocale(locale).name().left(2);
    steps = 0;
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)).removeRecursively();
    clearFirmwareTree();
    makeTree(FirmwareTree::root(),
             {"15.6inch/High/a.bin", "15.6inch/Normal/a.bin", "15.6inch/Low/a.bin",
              "10.1inch/High/TP101_H_v2.0.bin", "10.1inch/Normal/a.bin", "10.1inch/Low/a.bin",
              "7inch/High/a.bin", "7inch/Normal/a.bin", "7inch/Low/a.bin"});
    QLocale::setDefault(QLocale(locale));
    const std::unique_ptr<QTranslator> words = translatorFor(QLocale(locale));
    const std::unique_ptr<QTranslator> toolkit = toolkitTranslatorFor(QLocale(locale));
    for (QTranslator *translator : {words.get(), toolkit.get()})
        if (translator)
            QCoreApplication::installTranslator(translator);
    const auto today = [](int ok, int failed, int firstOk, int panels) {
        const QString runs
            = QCoreApplication::translate("HistoryStatus", "Today: %1 OK · %2 failed").arg(ok).arg(failed);
        return panels == 0 ? runs
                           : QCoreApplication::translate("HistoryStatus", "%1 · first pass %2 of %3")
                                 .arg(runs)
                                 .arg(firstOk)
                                 .arg(panels);
    };

    window = std::make_unique<MainWindow>();
    notices = std::make_unique<NoticeWatch>([this] { return button("UpdateFW"); });
    window->showMaximized();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));

    // Signed in with the keyboard alone.
    QTest::keyClick(window.get(), Qt::Key_I, Qt::ControlModifier);
    answerOperator(window.get(), "op7");
    QTRY_VERIFY(window->findChild<ElidedLabel *>("stationLine")->fullText().contains("op7"));
    step("signed in");

    // A scan that is no serial of this station is refused under the field.
    QVERIFY(chooseLeaf(window.get(), "10.1inch", "High"));
    scan("XX12");
    auto *problem = window->findChild<QLabel *>("unitProblem");
    QTRY_VERIFY(problem->isVisible() && problem->text().contains("XX12"));
    QCOMPARE(resultShown(), QString());
    step("a serial refused");

    // An unreleased leaf: refused, and no failed update.
    QVERIFY(clickChoice(groupTitled(window.get(), "Sensitivity"), "Low"));
    serialField()->clear();
    scan("SN0001");
    QTRY_COMPARE(historyRecords().size(), 1);
    QTRY_COMPARE(counts(), today(0, 0, 0, 0));
    step("a leaf not released");

    // The first panel: OK, and the result names it.
    QVERIFY(clickChoice(groupTitled(window.get(), "Sensitivity"), "High"));
    scan("SN0001");
    QTRY_VERIFY_WITH_TIMEOUT(historyRecords().size() == 2, 30000);
    QTRY_VERIFY(resultShown().contains("SN0001"));
    QTRY_COMPARE(counts(), today(1, 0, 1, 1));
    step("the first panel OK");

    // The next serial typed: the last panel's result is no longer current.
    QTest::keyClicks(serialField(), "SN00");
    QCOMPARE(resultShown(), QString());
    step("the next serial typed");

    // The second panel fails: its result names it, and reads as failed.
    qputenv("TPFW_STANDIN_EXIT", "3");
    QTest::keyClicks(serialField(), "02");
    QTest::keyClick(serialField(), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(historyRecords().size() == 3, 30000);
    QTRY_VERIFY(resultShown().contains("SN0002"));
    QVERIFY(!resultShown().contains("SN0001"));
    QVERIFY(window->findChild<QWidget *>("resultAdvice")->isVisible());
    QTRY_COMPARE(counts(), today(1, 1, 1, 2));
    step("the second panel failed");
    // Another leaf chosen: put away too.
    QVERIFY(clickChoice(groupTitled(window.get(), "Sensitivity"), "Low"));
    QCOMPARE(resultShown(), QString());
    QVERIFY(clickChoice(groupTitled(window.get(), "Sensitivity"), "High"));

    // Only the run's operator stops it.
    qunsetenv("TPFW_STANDIN_EXIT");
    qputenv("TPFW_STANDIN_SECONDS", "60");
    scan("SN0003");
    QTRY_VERIFY_WITH_TIMEOUT(button("stopButton")->isVisible(), 30000);
    QTest::mouseClick(button("stopButton"), Qt::LeftButton);
    answerOperator(window.get(), "op9");
    QTRY_VERIFY(notices->texts().last().contains("op9"));
    QVERIFY(button("stopButton")->isEnabled());
    step("a stop refused");
    // Another window follows the run from its record, nobody signed in
    // there: it names the panel, the leaf and the operator, and asks the
    // run's operator to stop it.
    MainWindow other;
    other.show();
    QLabel *sent = nullptr;
    QTRY_VERIFY((sent = other.findChild<QLabel *>("sentLine")) && sent->isVisible());
    for (const char *part : {"SN0003", "10.1inch / High", "op7"})
        QVERIFY2(sent->text().contains(part), qPrintable(sent->text()));
    QPushButton *stop = other.findChild<QPushButton *>("stopButton");
    QTRY_VERIFY(stop->isVisible());
    QTest::mouseClick(stop, Qt::LeftButton);
    answerOperator(&other, "op7");
    QTRY_VERIFY_WITH_TIMEOUT(historyRecords().size() == 4, 30000);
    QCOMPARE(historyRecords().last().value("outcome").toString(), QString("stopped"));
}

QTEST_MAIN(TestShift)
#include "tst_shift.moc"
