#include "TestSupport.h"

#include "selection/DirGroup.h"
#include "window/MainWindow.h"

#include <QFile>
#include <QMenuBar>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QXmlStreamReader>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void frameWithoutFirmwareTree();
    void choosingTpSizeThenSensitivityListsTheLeaf();
    void plainFilesAreOfferedAtEveryLevel();
    void namesAreShownLiterally();
    void manifestAsksForAdministrator();

private:
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
    QVERIFY(window.findChild<QMenuBar *>("menuBar")->actions().isEmpty());
    auto *toolBar = window.findChild<QToolBar *>("mainToolBar");
    QVERIFY(toolBar->actions().isEmpty());
    QCOMPARE(window.toolBarArea(toolBar), Qt::TopToolBarArea);
    QCOMPARE(window.centralWidget()->objectName(), QString("centralWidget"));
    QVERIFY(window.findChild<QStatusBar *>("statusBar")->currentMessage().isEmpty());
    QVERIFY(groupTitled(&window, "TP Size")->radioButtons().isEmpty());
    QVERIFY(groupTitled(&window, "Sensitivity")->radioButtons().isEmpty());
    QVERIFY(shownNames(window).isEmpty());
    QVERIFY(window.binFiles().isEmpty());
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
    QCOMPARE(log.lines,
             QStringList({'"' + leaf + '"', "\".\"", "\"..\"", "\"A.bin\"", "\"b.bin\"", "\"sub\""}));
    QCOMPARE(shownNames(window), QStringList({"A.bin", "b.bin", "sub"}));
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

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
