#include "TestSupport.h"

#include "selection/DirGroup.h"
#include "selection/NameDisplay.h"
#include "window/ElidedLabel.h"
#include "window/HistoryStatus.h"
#include "window/MainWindow.h"
#include "window/RunPanel.h"
#include "window/Translations.h"
#include "window/WrappingLabel.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QXmlStreamReader>

#include <memory>

#ifdef Q_OS_UNIX
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void frameWithoutFirmwareTree();
    void choosingTpSizeThenSensitivityListsTheLeaf();
    void plainFilesAreOfferedAtEveryLevel();
    void namesAreShownLiterally();
    void anElidedLineFollowsItsWidthAndReadsPlainly();
    void manifestAsksForAdministrator();
    void windowFitsAnyTree();
    void theWholeTreeIsInView_data();
    void theWholeTreeIsInView();
    void onlyNamesTooLongForALineBreakAnywhere();
    void statusBarMessagesShowWhole();
    void aShareThatHangsNeverStopsTheWindow_data();
    void aShareThatHangsNeverStopsTheWindow();
    void namesReadAsTheyAre_data();
    void namesReadAsTheyAre();
    void namesNotValidUtf8AreNamed();
    void listsFollowTheDisk();
    void aLeafListedBeforeTheWatchIsReadAgain();
    void everyTextIsTranslated_data();
    void everyTextIsTranslated();
    void tabGoesThroughTheWindowInOrder();
    void theOutputFollowsItsEndUnlessScrolledUp();
    void theResultGrowsWithItsRoom();

private:
    // A desktop's usual 10 points, not the larger font of the headless platform.
    static auto usualFont()
    {
        QApplication::setFont(QFont(QApplication::font().family(), 10));
        return qScopeGuard([] { QApplication::setFont(QFont()); });
    }
    static QStringList shownNames(MainWindow &window)
    {
        const QString text = window.findChild<QTextBrowser *>()->toPlainText();
        return text.isEmpty() ? QStringList() : text.split('\n');
    }
};

void TestMainWindow::frameWithoutFirmwareTree()
{
    MainWindow window;
    QCOMPARE(window.objectName(), QString("MainWindow"));
    QCOMPARE(window.windowTitle(), QString("MainWindow"));
    QCOMPARE(window.size(), QSize(400, 300));
    // The icon comes once the window is on screen.
    QVERIFY(window.windowIcon().isNull());
    const QList<QAction *> menus = window.findChild<QMenuBar *>("menuBar")->actions();
    QCOMPARE(menus.size(), 1);
    QCOMPARE(menus.first()->text(), QString("&Station"));
    QCOMPARE(menus.first()->menu()->actions().first()->shortcut(), QKeySequence("Ctrl+H"));
    auto *toolBar = window.findChild<QToolBar *>("mainToolBar");
    QVERIFY(toolBar->actions().isEmpty());
    QCOMPARE(window.toolBarArea(toolBar), Qt::TopToolBarArea);
    QCOMPARE(window.centralWidget()->objectName(), QString("centralWidget"));
    QVERIFY(window.findChild<QStatusBar *>("statusBar")->currentMessage().isEmpty());
    QVERIFY(groupTitled(&window, "TP Size")->radioButtons().isEmpty());
    QVERIFY(groupTitled(&window, "Sensitivity")->radioButtons().isEmpty());
    QVERIFY(shownNames(window).isEmpty());
    QVERIFY(window.binFiles().isEmpty());
    // Opened as it was made: nothing needs more room.
    const auto restore = usualFont();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    QCOMPARE(window.size(), QSize(400, 300));
    QTRY_COMPARE(window.windowIcon().availableSizes().size(), 7);
    QCOMPARE(window.windowIcon().availableSizes().constFirst(), QSize(16, 16));
}

void TestMainWindow::choosingTpSizeThenSensitivityListsTheLeaf()
{
    FirmwareTree tree({"7inch/High/b.bin", "7inch/High/A.bin", "7inch/High/sub/", "7inch/Low/",
                       "10.1inch/Low/", "10.1inch/Normal/only/", "10.1inch/Normal/folders/"});
    MainWindow window;
    window.show();
    DirGroup *tpSize = groupTitled(&window, "TP Size");
    DirGroup *sensitivity = groupTitled(&window, "Sensitivity");
    QCOMPARE(buttonNames(tpSize), QStringList({"10.1inch", "7inch"}));

    QVERIFY(clickChoice(tpSize, "7inch"));
    QCOMPARE(buttonNames(sensitivity), QStringList({"High", "Low"}));
    QVERIFY(shownNames(window).isEmpty());
    DebugLog log;
    QVERIFY(clickChoice(sensitivity, "High"));
    const QString leaf = FirmwareTree::root() + "/7inch/High";
    // The leaf is listed as soon as it is read, at once on a quiet disk.
    QTRY_COMPARE(shownNames(window), QStringList({"A.bin", "b.bin", "sub"}));
    QCOMPARE(log.lines,
             QStringList({'"' + leaf + '"', "\".\"", "\"..\"", "\"A.bin\"", "\"b.bin\"", "\"sub\""}));
    QCOMPARE(window.binFiles(), QStringList({leaf + "/A.bin", leaf + "/b.bin", leaf + "/sub"}));

    // Another TP size re-lists the sensitivities but keeps the last leaf.
    QVERIFY(clickChoice(tpSize, "10.1inch"));
    QCOMPARE(buttonNames(sensitivity), QStringList({"Low", "Normal"}));
    for (const QRadioButton *button : sensitivity->radioButtons())
        QVERIFY(!button->isChecked());
    QCOMPARE(shownNames(window), QStringList({"A.bin", "b.bin", "sub"}));
    QCOMPARE(window.binFiles().size(), 3);

    QVERIFY(clickChoice(sensitivity, "Normal"));
    const QString other = FirmwareTree::root() + "/10.1inch/Normal";
    QCOMPARE(window.binFiles(), QStringList({other + "/folders", other + "/only"}));
    QVERIFY(clickChoice(sensitivity, "Low"));
    QVERIFY(shownNames(window).isEmpty());
    QVERIFY(window.binFiles().isEmpty());
}

void TestMainWindow::plainFilesAreOfferedAtEveryLevel()
{
    FirmwareTree tree({"readme.txt", "7inch/notes.txt", "7inch/High/a.bin"});
    MainWindow window;
    QVERIFY(chooseLeaf(&window, "7inch", "High"));
    QCOMPARE(window.binFiles().size(), 1);
    DirGroup *tpSize = groupTitled(&window, "TP Size");
    DirGroup *sensitivity = groupTitled(&window, "Sensitivity");
    QCOMPARE(buttonNames(tpSize), QStringList({"7inch", "readme.txt"}));
    QVERIFY(clickChoice(sensitivity, "notes.txt"));
    QVERIFY(window.binFiles().isEmpty());
    QVERIFY(shownNames(window).isEmpty());
    QVERIFY(clickChoice(tpSize, "readme.txt"));
    QVERIFY(sensitivity->radioButtons().isEmpty());
}

void TestMainWindow::namesAreShownLiterally()
{
#ifdef Q_OS_WIN
    // "<", ">" and '"' cannot be in a Windows name.
    const QStringList names({"%PATH%.bin", "a &amp; b.bin", "x  y.bin", "Über fw.bin", "日本.bin"});
#else
    const QStringList names({"<b>fw<i>.bin", "<br>x.bin", "a &amp; b.bin", "x  y.bin", "Über fw.bin"});
#endif
    FirmwareTree tree;
    makeTree(FirmwareTree::root() + "/7inch/High", names);
    MainWindow window;
    QVERIFY(chooseLeaf(&window, "7inch", "High"));
    QCOMPARE(shownNames(window), names);
}

// Cut anew at every width, whole where it fits; its tooltip is the text as
// it is, whatever markup it looks like.
void TestMainWindow::anElidedLineFollowsItsWidthAndReadsPlainly()
{
    const QString text = "Images of <b>7inch</b> &amp; more / High";
    ElidedLabel label(Qt::ElideMiddle);
    label.setFullText(text);
    label.show();
    label.resize(label.fontMetrics().horizontalAdvance(text) / 2, label.height());
    QVERIFY(label.text().contains(QChar(0x2026)));
    label.resize(label.fontMetrics().horizontalAdvance(text) + 20, label.height());
    QCOMPARE(label.text(), text);
    QTextDocument tip;
    tip.setHtml(label.toolTip());
    QCOMPARE(tip.toPlainText(), text);
}

void TestMainWindow::manifestAsksForAdministrator()
{
    QFile file(TPFW_MANIFEST);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QMap<QString, QXmlStreamAttributes> elements;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement)
            elements.insert(xml.name().toString(), xml.attributes());
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    const auto attribute = [&](const char *element, const char *name) {
        return elements.value(element).value(name).toString();
    };
    QCOMPARE(attribute("requestedExecutionLevel", "level"), QString("requireAdministrator"));
    QCOMPARE(attribute("requestedExecutionLevel", "uiAccess"), QString("false"));
    QCOMPARE(attribute("assemblyIdentity", "name"), QString("Microsoft.Windows.Common-Controls"));
    QCOMPARE(attribute("assemblyIdentity", "version"), QString("6.0.0.0"));
}

void TestMainWindow::windowFitsAnyTree()
{
    QStringList sizes;
    for (int i = 0; i < 10000; ++i)
        sizes.append(QString("%1inch/").arg(i, 5, 10, QLatin1Char('0')));
    const QString longName = QString(255, 'L');
    FirmwareTree tree(sizes << longName + "/");
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // As tall as the screen allows, and as wide as it allows for a name: so
    // long a listing may come late, under a sanitizer.
    QTRY_COMPARE(window.width(), window.screen()->availableGeometry().width() * 2 / 3);
    QTRY_COMPARE(window.frameGeometry().height(), window.screen()->availableGeometry().height());
    auto *button = window.findChild<QPushButton *>();
    QVERIFY(window.rect().contains(QRect(button->mapTo(&window, QPoint()), button->size())));

    DirGroup *tpSize = groupTitled(&window, "TP Size");
    QRadioButton *last = tpSize->radioButtons().last();
    QCOMPARE(last->objectName(), longName);
    QVERIFY(last->text().contains(QChar(0x2026)) && last->text().size() < 100);
    QVERIFY(last->toolTip().contains(longName));
    // Focus moved to the last button brings it into view.
    QApplication::setActiveWindow(&window);
    last->setFocus(Qt::TabFocusReason);
    auto *area = tpSize->findChild<QScrollArea *>();
    QTRY_VERIFY(area->verticalScrollBar()->value() > 0);
    QVERIFY(area->viewport()->rect().contains(last->mapTo(area->viewport(), QPoint())));
}

void TestMainWindow::theWholeTreeIsInView_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<QString>("name");
    QTest::newRow("3 short") << 3 << "10inch";
    QTest::newRow("12") << 12 << "10inch";
    QTest::newRow("8, a 200-character name") << 8 << QString(200, 'N');
}

void TestMainWindow::theWholeTreeIsInView()
{
    const auto restore = usualFont();
    QFETCH(int, entries);
    QFETCH(QString, name);
    QStringList paths;
    for (int i = 1; i < entries; ++i)
        paths << QString("%1inch/").arg(i) << QString("%1/level %2/").arg(name).arg(i);
    FirmwareTree tree(paths << name + "/High/a.bin");
    MainWindow window;
    QVERIFY(chooseLeaf(&window, name, "High"));
    QCoreApplication::processEvents();
    const auto allInView = [&](const QString &title) {
        const DirGroup *group = groupTitled(&window, title);
        const QWidget *viewport = group->findChild<QScrollArea *>()->viewport();
        for (QRadioButton *button : group->radioButtons()) {
            // Across, a long name is cut to fit: up and down is what counts.
            const int top = button->mapTo(viewport, QPoint()).y();
            if (top < 0 || top + button->height() > viewport->height())
                return false;
        }
        return true;
    };
    QTRY_VERIFY(allInView("TP Size"));
    QTRY_VERIFY(allInView("Sensitivity"));
    // Wider for a long name, as far as two thirds of the screen.
    QCOMPARE(window.width(), name.size() > 100 ? window.screen()->availableGeometry().width() * 2 / 3 : 400);
    QVERIFY(window.height() >= 300);
    QVERIFY(window.frameGeometry().height() <= window.screen()->availableGeometry().height());
    // The leaf line whole, wrapped within the window.
    auto *leaf = window.findChild<WrappingLabel *>("leafLine");
    QCOMPARE(leaf->wholeText(), "Images of " + name + " / High");
    QCOMPARE(QString(leaf->text()).remove(QChar(0x200B)), leaf->wholeText());
    QVERIFY(leaf->width() < window.width());
    QTRY_VERIFY(leaf->height() >= leaf->heightForWidth(leaf->width()));
}

// The program's words wrap at spaces; only a name too long for a line
// breaks inside, and it alone carries the invisible breaks.
void TestMainWindow::onlyNamesTooLongForALineBreakAnywhere()
{
    const auto fitsTwelve = [](const QString &word) {
        return word.size() <= 12;
    };
    QCOMPARE(WrappingLabel::breakable("no sensitivity yet", fitsTwelve), QString("no sensitivity yet"));
    const QString path = "/srv/firmware/10.1inch";
    const QString broken = WrappingLabel::breakable("Images of " + path + " / High", fitsTwelve);
    QCOMPARE(broken.left(10), QString("Images of "));
    QCOMPARE(broken.count(QChar(0x200B)), path.size());
    QCOMPARE(QString(broken).remove(QChar(0x200B)), "Images of " + path + " / High");
}

// Every status message at the default width, beside nothing that cuts it;
// today's counts and a history problem, beside the menus, cut nothing either.
void TestMainWindow::statusBarMessagesShowWhole()
{
    const auto restore = usualFont();
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QStatusBar *bar = window.statusBar();
    QVERIFY(bar->findChildren<QLabel *>().isEmpty());
    for (const QString message :
         {"FW update failed: the updater crashed (1234.5 s)", "FW update failed: exit code 255 (1234.5 s)",
          "FW updater running (started 12:34:56)", "FW update interrupted: result unknown"})
        QVERIFY2(bar->fontMetrics().horizontalAdvance(message) < bar->width() - 24, qPrintable(message));
    auto *menus = window.findChild<QMenuBar *>("menuBar");
    QWidget *corner = menus->cornerWidget();
    // The counts come after the menu bar was laid out; they get their room.
    QTRY_VERIFY(!corner->findChild<QLabel *>("todayCounts")->text().isEmpty());
    QTRY_VERIFY(corner->width() >= corner->sizeHint().width());
    QMetaObject::invokeMethod(corner->findChild<HistoryStatus *>(), "refresh",
                              Q_ARG(QString, "No space left on device"));
    QCoreApplication::processEvents();
    QVERIFY(corner->findChild<QLabel *>("historyProblem")->isVisible());
    QTRY_VERIFY(corner->width() >= corner->sizeHint().width());
    QVERIFY(menus->actionGeometry(menus->actions().first()).right() < corner->x());
    // The order and operator whole where they fit; too long for the bar,
    // they are cut, never the menu, and the order before the operator.
    QMetaObject::invokeMethod(corner->findChild<HistoryStatus *>(), "refresh", Q_ARG(QString, QString()));
    auto *line = corner->findChild<ElidedLabel *>("stationLine");
    line->setFullText("Order: WO-7");
    line->show();
    QTRY_COMPARE(line->text(), QString("Order: WO-7"));
    const QString station = "Order: WO-2291-" + QString(80, 'x') + "  Operator: op7";
    line->setFullText(station);
    QTRY_VERIFY(line->text().startsWith(QChar(0x2026)) && line->text().endsWith("x  Operator: op7"));
    QVERIFY(!menus->findChild<QToolButton *>("qt_menubar_ext_button")->isVisible());
    QVERIFY(menus->actionGeometry(menus->actions().first()).right() < corner->x());
    QVERIFY(corner->geometry().right() <= menus->width());
    QVERIFY(line->toolTip().contains(station));
    // The menus in a larger font: the corner gives way.
    QFont larger = menus->font();
    larger.setPointSizeF(larger.pointSizeF() * 2);
    menus->setFont(larger);
    QTRY_VERIFY(menus->actionGeometry(menus->actions().first()).right() < corner->x());
    // What a screen reader names.
    QCOMPARE(groupTitled(&window, "TP Size")->accessibleName(), QString("TP Size"));
    QCOMPARE(window.findChild<QTextBrowser *>()->accessibleName(), QString("Images to send"));
    QCOMPARE(window.findChild<QWidget *>("runPanel")->accessibleName(), QString("FW update run"));
}

void TestMainWindow::aShareThatHangsNeverStopsTheWindow_data()
{
    QTest::addColumn<QString>("hangs");
    QTest::newRow("its listings") << "list";
    QTest::newRow("its listings and looking it up") << "look";
}

// A TP size on a share (a FUSE file system) whose listings, and even the
// lookup of the folder, hang 8 s: the window never stalls, says what it
// waits for, and the rest stays usable.
void TestMainWindow::aShareThatHangsNeverStopsTheWindow()
{
#ifdef Q_OS_LINUX
    if (!QFileInfo::exists("/dev/fuse") || !QFileInfo::exists("/usr/bin/fusermount3"))
        QSKIP("no FUSE here (/dev/fuse or fusermount3 missing)");
    QFETCH(QString, hangs);
    FirmwareTree tree({"7inch/High/a.bin", "9inch/"});
    const QString share = FirmwareTree::root() + "/9inch";
    QProcess fs;
    fs.start(TPFW_HANG_FS, {share, "8", hangs});
    const auto unmount = qScopeGuard([&] {
        QProcess::execute("fusermount3", {"-u", "-z", share});
        fs.kill();
        fs.waitForFinished();
    });
    const auto mounted = [&] {
        QFile mounts("/proc/mounts");
        return mounts.open(QIODevice::ReadOnly) && mounts.readAll().contains(" " + share.toUtf8() + " fuse");
    };
    QTRY_VERIFY2(mounted(), qPrintable(fs.readAllStandardError()));
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Until looking the share up hangs too, and what the system knew of it
    // has gone stale.
    if (hangs == "look")
        QTest::qWait(3500);
    DirGroup *tpSize = groupTitled(&window, "TP Size");
    DirGroup *sensitivity = groupTitled(&window, "Sensitivity");
    // 7inch's sensitivities are not offered for 9inch.
    QVERIFY(clickChoice(tpSize, "7inch"));
    QTRY_COMPARE(buttonNames(sensitivity), QStringList("High"));
    QVERIFY(clickChoice(tpSize, "9inch"));
    auto *waiting = sensitivity->findChild<QLabel *>("waitingLine");
    QTRY_COMPARE_WITH_TIMEOUT(waiting->text(), QString("Reading 9inch…"), 2000);
    QVERIFY(sensitivity->radioButtons().isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(waiting->text(), QString("9inch is not answering"), 6000);
    QVERIFY(clickChoice(tpSize, "7inch"));
    QVERIFY(clickChoice(sensitivity, "High"));
    QTRY_COMPARE(window.binFiles(), QStringList(FirmwareTree::root() + "/7inch/High/a.bin"));
#else
    QSKIP("FUSE is for Linux");
#endif
}

void TestMainWindow::namesReadAsTheyAre_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << "TP7_H_v1.3 (β).bin"
                           << "TP7_H_v1.3 (β).bin";
    QTest::newRow("ampersand") << "Hi&Lo"
                               << "Hi&Lo";
    QTest::newRow("newline") << "two\nlines.bin"
                             << "two␊lines.bin";
    QTest::newRow("tab and other controls") << QString("a\tb\x01"
                                                       "c\x7F")
                                            << "a␉b␁c␡";
    QTest::newRow("C1 controls, both ends") << QString("x") + QChar(0x80) + QChar(0x9F) + QChar(0xA1) + "~"
                                            << QString("x\\u0080\\u009F") + QChar(0xA1) + "~";
    QTest::newRow("right-to-left override") << QString(QChar(0x202E)) + "gnp.nib10"
                                            << "\\u202Egnp.nib10";
    // Every invisible or line-breaking character, at both ends of each
    // range, and the visible ones just outside them.
    const QVector<uint> unseen({0xAD,   0x600,  0x605,  0x61C,  0x180E,  0x200B, 0x200F,
                                0x2028, 0x2029, 0x202A, 0x202E, 0x2060,  0x2064, 0x2066,
                                0x206F, 0xFEFF, 0xFFF9, 0xFFFB, 0xE0001, 0xE007F});
    for (int row = 0; row < unseen.size(); row += 4) {
        QString name;
        QString shown;
        for (const uint c : unseen.mid(row, 4)) {
            // Not fromUcs4, which takes U+FEFF for a byte order mark.
            name += (c > 0xFFFF ? QString(QChar(QChar::highSurrogate(c))) + QChar(QChar::lowSurrogate(c))
                                : QString(QChar(c)))
                + "-";
            shown += (c > 0xFFFF ? QString::asprintf("\\U%08X", c) : QString::asprintf("\\u%04X", c)) + "-";
        }
        QTest::addRow("format characters and separators, from U+%04X", unseen.at(row)) << name << shown;
    }
    const QString seen
        = QString::fromUcs4(QVector<uint>({0xAC, 0x5FF, 0x606, 0x2027, 0x202F, 0xFFFC}).constData(), 6);
    QTest::newRow("their visible neighbours") << seen << seen;
}

void TestMainWindow::namesReadAsTheyAre()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    QCOMPARE(displayName(name), shown);
#ifdef Q_OS_WIN
    // Control characters cannot be in a Windows name.
    if (name.contains(QRegularExpression("[\\x00-\\x1F]")))
        return;
#endif
    FirmwareTree tree({name + "/High/" + name, "plain/"});
    MainWindow window;
    window.resize(900, 300);
    QVERIFY(chooseLeaf(&window, name, "High"));
    auto *button = groupTitled(&window, "TP Size")->findChild<QRadioButton *>(name);
    QCOMPARE(button->text(), QString(shown).replace("&", "&&"));
    QCOMPARE(shownNames(window), QStringList(shown));
    QCOMPARE(window.binFiles(), QStringList(FirmwareTree::root() + "/" + name + "/High/" + name));
}

void TestMainWindow::namesNotValidUtf8AreNamed()
{
#ifdef Q_OS_UNIX
    FirmwareTree tree({"7inch/High/good.bin"});
    // A hidden one is not listed anyway.
    const QList<QByteArray> bad(
        {"/7inch/High/caf\xe9.bin", "/7inch/High/\xff\xfe.bin", "/\xe9t\xe9", "/7inch/High/.\xe9.bin"});
    for (const QByteArray &name : bad) {
        const QByteArray path = QFile::encodeName(FirmwareTree::root()) + name;
        QVERIFY(name.endsWith("bin") ? ::close(::open(path, O_CREAT | O_WRONLY, 0644)) == 0
                                     : ::mkdir(path, 0755) == 0);
    }
    // The toolkit cannot remove what it cannot name.
    const auto removeBad = qScopeGuard([&] {
        for (const QByteArray &name : bad)
            ::remove(QFile::encodeName(FirmwareTree::root()) + name);
    });
    MainWindow window;
    QVERIFY(chooseLeaf(&window, "7inch", "High"));
    QCOMPARE(window.binFiles().size(), 1);
    auto *warning = window.findChild<QLabel *>("warningLine");
    QVERIFY(warning->isVisible());
    const QString leafWarning
        = "2 entries of 7inch/High have names that are not valid UTF-8 and are not listed: rename them";
    QCOMPARE(warning->text(),
             "1 entry of FwBinFiles has a name that is not valid UTF-8 and is not listed: rename it\n"
                 + leafWarning);

    NoticeWatch watch([&] { return window.findChild<QPushButton *>(); });
    QTest::mouseClick(window.findChild<QPushButton *>(), Qt::LeftButton);
    QTRY_COMPARE(watch.texts(), QStringList(leafWarning));
    QCOMPARE(watch.seen.at(0).icon, QMessageBox::Warning);
    QVERIFY(window.statusBar()->currentMessage().isEmpty());
#endif
}

// Listed before the window watches it, the leaf is read again once
// watched: listed anew where it changed meanwhile, left be where not.
void TestMainWindow::aLeafListedBeforeTheWatchIsReadAgain()
{
    FirmwareTree tree({"7inch/High/a.bin", "7inch/High/b.bin"});
    const QString leaf = FirmwareTree::root() + "/7inch/High";
    DebugLog log;
    auto window = std::make_unique<MainWindow>();
    window->setBinListText(leaf);
    QTRY_COMPARE(window->binFiles().size(), 2);
    QCoreApplication::processEvents();
    QCOMPARE(log.lines.count("\"a.bin\""), 1);
    window = std::make_unique<MainWindow>();
    window->setBinListText(leaf);
    QVERIFY(QFile::remove(leaf + "/a.bin"));
    QTRY_COMPARE(window->binFiles(), QStringList(leaf + "/b.bin"));
}

void TestMainWindow::listsFollowTheDisk()
{
    FirmwareTree tree({"7inch/High/a.bin", "7inch/High/b.bin", "7inch/Low/"});
    MainWindow window;
    // Made once the root was listed, before the window watches it.
    makeTree(FirmwareTree::root(), {"10.1inch/"});
    QVERIFY(chooseLeaf(&window, "7inch", "High"));
    DirGroup *tpSize = groupTitled(&window, "TP Size");
    QTRY_COMPARE(buttonNames(tpSize), QStringList({"10.1inch", "7inch"}));
    const QString leaf = FirmwareTree::root() + "/7inch/High";
    QCOMPARE(window.findChild<WrappingLabel *>("leafLine")->wholeText(), QString("Images of 7inch / High"));

    QFile::remove(leaf + "/a.bin");
    makeTree(leaf, {"c.bin"});
    QTRY_COMPARE(window.binFiles(), QStringList({leaf + "/b.bin", leaf + "/c.bin"}));
    makeTree(FirmwareTree::root(), {"15.6inch/", "7inch/Normal/"});
    DirGroup *sensitivity = groupTitled(&window, "Sensitivity");
    QTRY_COMPARE(buttonNames(tpSize), QStringList({"10.1inch", "15.6inch", "7inch"}));
    QTRY_COMPARE(buttonNames(sensitivity), QStringList({"High", "Low", "Normal"}));
    QCOMPARE(tpSize->checkedName(), QString("7inch"));
    QCOMPARE(sensitivity->checkedName(), QString("High"));

    // A change the window has not heard of yet is caught at the press.
    QFile::remove(leaf + "/b.bin");
    NoticeWatch watch([&] { return window.findChild<QPushButton *>(); });
    QTest::mouseClick(window.findChild<QPushButton *>(), Qt::LeftButton);
    QTRY_COMPARE(
        watch.texts(),
        QStringList("The images of 7inch/High changed on disk: check the list and press UpdateFW again."));
    QCOMPARE(window.binFiles(), QStringList(leaf + "/c.bin"));
    QCOMPARE(shownNames(window), QStringList("c.bin"));
}

void TestMainWindow::everyTextIsTranslated_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("Simplified Chinese") << "zh_CN";
    QTest::newRow("Traditional Chinese") << "zh_TW";
    QTest::newRow("Japanese") << "ja_JP";
}

void TestMainWindow::everyTextIsTranslated()
{
    QFETCH(QString, locale);
    const std::unique_ptr<QTranslator> translator = translatorFor(QLocale(locale));
    QVERIFY(translator);
    QFile sources(TPFW_SOURCES_TS);
    QVERIFY(sources.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&sources);
    int texts = 0;
    QByteArray context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText().toUtf8();
        if (xml.name() == QLatin1String("source")) {
            const QByteArray text = xml.readElementText().toUtf8();
            QVERIFY2(!translator->translate(context, text).isEmpty(), context + ": " + text);
            ++texts;
        }
    }
    QVERIFY(texts > 20);
    // The window's own title stays as it is.
    QCOMPARE(translator->translate("MainWindow", "MainWindow"), QString("MainWindow"));
#ifndef Q_OS_WIN
    // The toolkit's words too (on Windows from the station folder, which the
    // install checks): the Yes and No of every question.
    const std::unique_ptr<QTranslator> toolkit = toolkitTranslatorFor(QLocale(locale));
    QVERIFY(toolkit);
    QVERIFY(!toolkit->translate("QPlatformTheme", "&Yes").isEmpty());
#endif
}
// From the TP size on, each stop in reading order, every one of them a
// widget that shows its focus; Stop and Show output, once there, follow
// UpdateFW.
void TestMainWindow::tabGoesThroughTheWindowInOrder()
{
    FirmwareTree tree({"7inch/High/a.bin", "10inch/High/b.bin"});
    MainWindow window;
    QVERIFY(chooseLeaf(&window, "7inch", "High"));
    // UpdateFW is a stop once the leaf is read: at once on a quiet disk.
    QTRY_VERIFY(window.findChild<QPushButton *>()->isEnabled());
    QApplication::setActiveWindow(&window);
    groupTitled(&window, "TP Size")->findChild<QRadioButton *>("7inch")->setFocus(Qt::TabFocusReason);
    QStringList stops;
    for (int i = 0; i < 5; ++i) {
        QWidget *focus = QApplication::focusWidget();
        stops.append(QString(focus->metaObject()->className()) + " " + focus->objectName());
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(stops,
             QStringList({"QRadioButton 7inch", "QRadioButton High", "QTextBrowser ", "QPushButton ",
                          "QRadioButton 7inch"}));
    auto *stop = window.findChild<QPushButton *>("stopButton");
    QCOMPARE(nextTabStop(window.findChild<QPushButton *>()), stop);
    QVERIFY(!window.findChild<QPushButton *>("outputButton"));
    window.findChild<RunPanel *>()->begin("7inch / High", 1);
    QCOMPARE(nextTabStop(stop), window.findChild<QPushButton *>("outputButton"));
}

// At its end, wrapped lines included, as lines come, as it narrows and as
// the result is told above it; where the technician scrolled up, it stays.
void TestMainWindow::theOutputFollowsItsEndUnlessScrolledUp()
{
    QTemporaryDir dir;
    QFile log(dir.filePath("run.log"));
    QVERIFY(log.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    int written = 0;
    const auto write = [&](int lines) {
        for (const int end = written + lines; written < end; ++written)
            log.write("line " + QByteArray::number(written) + " " + QByteArray(200, 'w') + " end\n");
    };
    RunPanel panel;
    panel.resize(600, 400);
    RunRecord run = RunRecord::begun();
    run.images.append({"fw.bin", 1, {}, {}, false});
    run.log = log.fileName();
    run.started = QDateTime::currentDateTime();
    panel.follow("7inch / High", run);
    auto *output = panel.findChild<QPlainTextEdit *>("output");
    QScrollBar *bar = output->verticalScrollBar();
    const auto shown = [&] {
        return output->toPlainText().contains(QString("line %1 ").arg(written - 1));
    };
    const auto topLine = [&] {
        return output->cursorForPosition(QPoint(0, 0)).block().text().section(' ', 0, 1);
    };
    // Read while hidden, shown at its end.
    write(100);
    QTRY_VERIFY(shown());
    QTest::mouseClick(panel.findChild<QPushButton *>("outputButton"), Qt::LeftButton);
    QVERIFY(bar->maximum() > 0);
    QTRY_COMPARE(bar->value(), bar->maximum());
    write(100);
    QTRY_VERIFY(shown());
    QTRY_COMPARE(bar->value(), bar->maximum());
    panel.resize(300, 400);
    QTRY_COMPARE(bar->value(), bar->maximum());

    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    const QString reading = topLine();
    write(100);
    QTRY_VERIFY(shown());
    QCOMPARE(topLine(), reading);

    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    const int heightBefore = output->height();
    RunReport ok;
    ok.ok = true;
    ok.outcome = "FW update OK";
    panel.finish(ok);
    QTRY_VERIFY(output->height() < heightBefore);
    QTRY_COMPARE(bar->value(), bar->maximum());
}

// Read from a step away at a large screen: the headline at least twice the
// body text there, and no larger than the window's first size allows.
void TestMainWindow::theResultGrowsWithItsRoom()
{
    RunPanel panel;
    panel.begin("7inch / High", 1);
    panel.finish({true, true, "FW update OK", "1.0 s", {}, {}});
    const auto *headline = panel.findChild<QWidget *>("resultLine");
    const qreal body = panel.font().pointSizeF();
    panel.resize(1900, 600);
    panel.show();
    QTRY_VERIFY(headline->font().pointSizeF() >= 2 * body);
    panel.resize(380, 200);
    QTRY_COMPARE(headline->font().pointSizeF(), 1.5 * body);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
