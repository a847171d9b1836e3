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
#include <QMessageBox>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QTranslator>

#include <memory>
#include <vector>

// A shift at a configured station, in a real window on a small laptop's
// screen (1024×600), in English and in Japanese: each step is looked at as
// the technician sees it, a screenshot kept of it.
class TestShift : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void aShiftAtTheBench_data();
    void aShiftAtTheBench();
    void theSeamsBetweenPanels_data();
    void theSeamsBetweenPanels();

private:
    void open(const QString &locale);
    void signIn();
    void scanKeys(const QString &serial);
    QString nextPanelShown() const;
    // Where the stand-in looks for the word to end its run.
    QString runEnd() const { return settingsDir.filePath("run-end"); }
    void endRun() { QFile(runEnd()).open(QIODevice::WriteOnly); }
    // The window given the keyboard back, as a window manager may not once
    // a dialog has closed.
    void activate();
    void aReleaseAtTheBench();
    void writeSettings(const QByteArray &lines) const;

    // A line's station: serials and operators asked for, an order of two
    // leaves.
    const QByteArray settingsLines = "[station]\nname=Line 3\n[unit]\nrequired=true\npattern=SN\\d{4}\n"
                                     "[operator]\nrequired=true\nids=op7;op9\n";
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
    std::vector<std::unique_ptr<QTranslator>> translators;
};

void TestShift::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    qputenv("TPFW_STATION_SETTINGS", QFile::encodeName(settingsDir.filePath("station.ini")));
    placeUpdater(TPFW_STANDIN);
}

void TestShift::init()
{
    writeSettings(settingsLines + "[order]\nname=WO-2291\nleaves=10.1inch/High;7inch/High\n");
}

void TestShift::writeSettings(const QByteArray &lines) const
{
    QFile file(settingsDir.filePath("station.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(lines) == lines.size());
}

void TestShift::cleanup()
{
    notices.reset();
    window.reset();
    translators.clear();
    endRun();
    qunsetenv("TPFW_STANDIN_UNTIL");
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
    QTRY_COMPARE(line->text(), line->fullText());
    for (QAbstractScrollArea *area : window->findChildren<QAbstractScrollArea *>())
        if (area->isVisible() && area->objectName() != "binListBrowser" && area->objectName() != "output")
            QVERIFY2(!area->verticalScrollBar()->isVisible() && !area->horizontalScrollBar()->isVisible(),
                     qPrintable(name + ": " + area->objectName() + " scrolls"));
    // Every dialog open fits the screen: wrapped, never cut.
    if (QWidget *dialog = QApplication::activeModalWidget())
        QVERIFY2(dialog->screen()->availableGeometry().contains(dialog->frameGeometry()),
                 qPrintable(name + ": a dialog beyond the screen"));
    QApplication::processEvents();
    const QImage screen = window->screen()->grabWindow(0).toImage();
    QVERIFY(screen.save(QString("%1-%2-%3.png").arg(QTest::currentTestFunction(), language).arg(++steps)));
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

// As a hand-held scanner sends a serial: its keys in quick succession, then
// Enter, through the X server to whatever has the keyboard.
void TestShift::scanKeys(const QString &serial)
{
    QCOMPARE(QProcess::execute("xdotool", {"type", "--delay", "5", serial}), 0);
    QCOMPARE(QProcess::execute("xdotool", {"key", "Return"}), 0);
}

void TestShift::activate()
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

QString TestShift::nextPanelShown() const
{
    const auto *line = window->findChild<QLabel *>("nextPanel");
    return line && line->isVisible() ? line->text() : QString();
}

void TestShift::open(const QString &locale)
{
    language = QLocale(locale).name().left(2);
    steps = 0;
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)).removeRecursively();
    QLocale::setDefault(QLocale(locale));
    translators.push_back(translatorFor(QLocale(locale)));
    translators.push_back(toolkitTranslatorFor(QLocale(locale)));
    for (const auto &translator : translators)
        if (translator)
            QCoreApplication::installTranslator(translator.get());
    window = std::make_unique<MainWindow>();
    notices = std::make_unique<NoticeWatch>([this] { return button("UpdateFW"); });
    window->showMaximized();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

// Signed in with the keyboard alone.
void TestShift::signIn()
{
    activate();
    QTest::keyClick(window.get(), Qt::Key_I, Qt::ControlModifier);
    answerOperator(window.get(), "op7");
    QTRY_VERIFY(window->findChild<ElidedLabel *>("stationLine")->fullText().contains("op7"));
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
    clearFirmwareTree();
    makeTree(FirmwareTree::root(),
             {"15.6inch/High/a.bin", "15.6inch/Normal/a.bin", "15.6inch/Low/a.bin",
              "10.1inch/High/TP101_H_v2.0.bin", "10.1inch/Normal/a.bin", "10.1inch/Low/a.bin",
              "7inch/High/a.bin", "7inch/Normal/a.bin", "7inch/Low/a.bin"});
    const auto today = [](int ok, int failed, int firstOk, int panels) {
        const QString runs
            = QCoreApplication::translate("HistoryStatus", "Today: %1 OK · %2 failed").arg(ok).arg(failed);
        return panels == 0 ? runs
                           : QCoreApplication::translate("HistoryStatus", "%1 · first pass %2 of %3")
                                 .arg(runs)
                                 .arg(firstOk)
                                 .arg(panels);
    };

    open(locale);
    signIn();
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
    QTRY_VERIFY_WITH_TIMEOUT(historyRecords().size() == 2, runPatienceMs);
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
    QTRY_VERIFY_WITH_TIMEOUT(historyRecords().size() == 3, runPatienceMs);
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
    QTRY_VERIFY_WITH_TIMEOUT(button("stopButton")->isVisible(), runPatienceMs);
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
    QTRY_VERIFY_WITH_TIMEOUT(historyRecords().size() == 4, runPatienceMs);
    QCOMPARE(historyRecords().last().value("outcome").toString(), QString("stopped"));
}

void TestShift::theSeamsBetweenPanels_data()
{
    aShiftAtTheBench_data();
}

// From one panel to the next with a scanner's keys, four TP sizes on the
// small screen: a scan while the start notice is open and one during the
// run are the next panel's, never an answer nor a part of the running
// panel's serial; the settings lost mid-shift stand in sight, UpdateFW off,
// the last result put away, until they are back.
void TestShift::theSeamsBetweenPanels()
{
    QFETCH(QString, locale);
    clearFirmwareTree();
    QStringList tree;
    for (const char *size : {"15.6inch", "10.1inch", "7inch", "5inch"})
        for (const char *sensitivity : {"High", "Normal", "Low"})
            tree.append(QString("%1/%2/a.bin").arg(size, sensitivity));
    makeTree(FirmwareTree::root(), tree);
    QFile::remove(runEnd());
    qputenv("TPFW_STANDIN_UNTIL", QFile::encodeName(runEnd()));
    open(locale);
    signIn();
    QVERIFY(chooseLeaf(window.get(), "10.1inch", "High"));
    // The start notice open, with the keys: the next panel is scanned, and
    // looked at, before it is closed.
    bool scanned = false;
    QString fieldWhileOpen;
    notices->mayClose = [&] {
        if (notices->seen.size() > 1 || !fieldWhileOpen.isNull())
            return true;
        if (!qobject_cast<QMessageBox *>(QApplication::activeWindow()))
            return false;
        if (!std::exchange(scanned, true))
            scanKeys("SN0002");
        if (!nextPanelShown().contains("SN0002"))
            return false;
        fieldWhileOpen = serialField()->text();
        step("a scan while the start notice is open");
        return false;
    };
    activate();
    QTRY_VERIFY(serialField()->hasFocus());
    scanKeys("SN0001");
    QTRY_VERIFY_WITH_TIMEOUT(notices->seen.size() == 1 && !QApplication::activeModalWidget(), runPatienceMs);
    QCOMPARE(fieldWhileOpen, QString("SN0002"));
    QCOMPARE(
        notices->texts().first(),
        QCoreApplication::translate("MainWindow", "When updating FW, don't press \"UpdateFW\" button!!"));
    QVERIFY(window->findChild<QLabel *>("sentLine")->text().contains("SN0001"));

    activate();
    QTRY_VERIFY(serialField()->hasFocus());
    // Not a serial of this station: refused under the field, and replaced by
    // the next scan.
    scanKeys("SN12");
    QTRY_VERIFY(window->findChild<QLabel *>("unitProblem")->isVisible());
    scanKeys("SN0003");
    QTRY_VERIFY(nextPanelShown().contains("SN0003"));
    QCOMPARE(serialField()->text(), QString("SN0003"));
    step("a scan during the run");
    endRun();
    QTRY_VERIFY_WITH_TIMEOUT(resultShown().contains("SN0001"), runPatienceMs);
    QTRY_VERIFY(button("UpdateFW")->isEnabled());
    QCOMPARE(serialField()->text(), QString("SN0003"));
    QCOMPARE(historyRecords().size(), 1);
    step("the run ended, the next panel ready");

    // A failed panel's red result beside every TP size in view.
    qputenv("TPFW_STANDIN_EXIT", "3");
    QTest::keyClick(serialField(), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(resultShown().contains("SN0003") && historyRecords().size() == 2, runPatienceMs);
    for (QRadioButton *size : groupTitled(window.get(), "TP Size")->radioButtons())
        QVERIFY2(!size->visibleRegion().isEmpty(), qPrintable(size->text()));
    step("a failed panel beside four TP sizes");

    // The settings lost mid-shift (a mount gone), then back.
    const QString settings = qEnvironmentVariable("TPFW_STATION_SETTINGS");
    const QString away = settingsDir.filePath("away.ini");
    QVERIFY(QFile::rename(settings, away));
    auto *standing = window->findChild<QLabel *>("warningLine");
    QTRY_VERIFY(standing->isVisible() && standing->text().contains(QDir::toNativeSeparators(settings)));
    QCOMPARE(resultShown(), QString());
    QVERIFY(!button("UpdateFW")->isEnabled());
    step("the settings lost");
    QVERIFY(QFile::rename(away, settings));
    QTRY_VERIFY(!standing->isVisible() && button("UpdateFW")->isEnabled());
    // Whom the lost settings named is signed in no longer.
    QTRY_VERIFY(!window->findChild<ElidedLabel *>("stationLine")->fullText().contains("op7"));
    signIn();
    step("the settings back");
    qunsetenv("TPFW_STANDIN_EXIT");
    aReleaseAtTheBench();
}

// A signed release for the order: a press right after another order's
// manifest appears beside it runs; the release edited after signing is
// named for what it is, and UpdateFW stays off until it is fixed.
void TestShift::aReleaseAtTheBench()
{
    const QString manifest = settingsDir.filePath("WO-7.json");
    for (const auto &[from, to] :
         {std::pair("WO-7.json", manifest), std::pair("WO-7.json.ec.sig", manifest + ".sig"),
          std::pair("ec-p256.pem", settingsDir.filePath("ec-p256.pem"))}) {
        QFile::remove(to);
        QVERIFY(QFile::copy(QString(TPFW_RELEASE_FIXTURES) + "/" + from, to));
    }
    QVERIFY(QFile::remove(FirmwareTree::root() + "/7inch/High/a.bin"));
    QFile image(FirmwareTree::root() + "/7inch/High/fw.bin");
    QVERIFY(image.open(QIODevice::WriteOnly) && image.write("image") == 5);
    image.close();
    writeSettings(settingsLines + "[release]\nmanifest=WO-7.json\nkeys=ec-p256.pem\n");
    auto *leafLine = window->findChild<WrappingLabel *>("leafLine");
    QVERIFY(chooseLeaf(window.get(), "7inch", "High"));
    QTRY_VERIFY(leafLine->wholeText().contains("WO-7 r1") && button("UpdateFW")->isEnabled());
    const int records = historyRecords().size();
    QFile beside(settingsDir.filePath("WO-9.json"));
    QVERIFY(beside.open(QIODevice::WriteOnly) && beside.write("{}") == 2);
    beside.close();
    activate();
    serialField()->setFocus();
    scanKeys("SN0005");
    QTRY_VERIFY_WITH_TIMEOUT(historyRecords().size() == records + 1, runPatienceMs);
    QCOMPARE(historyRecords().last().value("outcome").toString(), QString("ok"));
    QTRY_VERIFY(resultShown().contains("SN0005"));
    step("a press as a manifest appears beside the release");

    QFile edited(manifest);
    QVERIFY(edited.open(QIODevice::Append) && edited.write(" ") == 1);
    edited.close();
    QTRY_VERIFY(leafLine->wholeText().contains("WO-7.json") && !button("UpdateFW")->isEnabled());
    QVERIFY(window->findChild<QLabel *>("warningLine")->isVisible());
    QCOMPARE(resultShown(), QString());
    step("the release edited after signing");
}

QTEST_MAIN(TestShift)
#include "tst_shift.moc"
