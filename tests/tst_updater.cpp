#include "TestSupport.h"

#include "selection/DirGroup.h"
#include "window/MainWindow.h"
#include "window/UpdaterCommand.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

struct Notice
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool buttonEnabledWhileOpen = false;
};

} // namespace

class TestUpdater : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void commandLineForTheLog();
    void sendsTheListedImagesByteForByte();
    void withNothingListedSendsOnlyTheSwitch();
    void reportsAnUpdaterThatCannotStart();

private:
    // Runs action, closes the notice it opens with a click on Ok, and tells
    // what the notice said.
    Notice closeNotice(const std::function<void()> &action);
    Notice press()
    {
        return closeNotice([this] { QTest::mouseClick(updateButton(), Qt::LeftButton); });
    }
    QList<QStringList> records() const;
    QPushButton *updateButton() { return window->findChild<QPushButton *>(); }

    QTemporaryDir logDir;
    QString logPath;
    std::unique_ptr<MainWindow> window;
};

void TestUpdater::initTestCase()
{
    logPath = logDir.filePath("updater.log");
    qputenv("TPFW_UPDATER_LOG", QFile::encodeName(logPath));
}

void TestUpdater::init()
{
    QFile::remove(logPath);
    QDir().mkpath(QFileInfo(updaterProgram()).path());
    QFile::remove(updaterProgram());
    QVERIFY(QFile::copy(TPFW_STANDIN, updaterProgram()));
}

void TestUpdater::cleanupTestCase()
{
    window.reset();
    QDir(QFileInfo(updaterProgram()).path()).removeRecursively();
}

Notice TestUpdater::closeNotice(const std::function<void()> &action)
{
    Notice notice;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        notice = {box->windowTitle(), box->text(), box->icon(), updateButton()->isEnabled()};
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    poll.start(10);
    action();
    return notice;
}

QList<QStringList> TestUpdater::records() const
{
    QFile file(logPath);
    file.open(QIODevice::ReadOnly);
    const QList<QByteArray> fields = file.readAll().split('\0');
    QList<QStringList> records;
    for (int i = 0; i + 1 < fields.size(); i += fields.at(i).toInt() + 1) {
        QStringList arguments;
        for (int k = 1; k <= fields.at(i).toInt(); ++k)
            arguments.append(QFile::decodeName(fields.at(i + k)));
        records.append(arguments);
    }
    return records;
}

void TestUpdater::commandLineForTheLog()
{
    QCOMPARE(updaterCommand("/opt/PanelProg", {"/fw/a b.bin", "/fw/c.bin"}),
             QString("/opt/PanelProg \"/fw/a b.bin\" \"/fw/c.bin\" -ba"));
    QCOMPARE(updaterProgram(), QCoreApplication::applicationDirPath() + "/PanelProg/PanelProg");
}

void TestUpdater::sendsTheListedImagesByteForByte()
{
    FirmwareTree tree({"10.1inch/Low/other.bin"});
    makeTree(FirmwareTree::root() + "/7inch/High",
             {"-erase.bin", "a\" -erase \"b.bin", "fw v2.bin", "q\"uote.bin", "Ünïcødé.bin"});
    window = std::make_unique<MainWindow>();
    QVERIFY(chooseLeaf(window.get(), "7inch", "High"));
    const QStringList listed = window->binFiles();
    QCOMPARE(listed.size(), 5);

    const Notice notice = press();
    QCOMPARE(notice.title, QString("Message Box"));
    QCOMPARE(notice.text, QString("When updating FW, don't press \"UpdateFW\" button!!"));
    QCOMPARE(notice.icon, QMessageBox::Information);
    QVERIFY(!notice.buttonEnabledWhileOpen);
    QVERIFY(updateButton()->isEnabled());
    press();
    // Another TP size without a sensitivity still sends the last leaf's images.
    QVERIFY(clickChoice(groupTitled(window.get(), "TP Size"), "10.1inch"));
    press();

    const QStringList sent = listed + QStringList("-ba");
    QTRY_COMPARE(records(), QList<QStringList>({sent, sent, sent}));
    QCOMPARE(window->binFiles(), listed);
}

void TestUpdater::withNothingListedSendsOnlyTheSwitch()
{
    window = std::make_unique<MainWindow>();
    DebugLog log;
    const Notice notice = closeNotice([this] { QMetaObject::invokeMethod(window.get(), "updateFw"); });
    QCOMPARE(notice.text, QString("Update FW OK !!!"));
    QVERIFY(notice.buttonEnabledWhileOpen);
    QTRY_COMPARE(records(), QList<QStringList>({{"-ba"}}));
    QCOMPARE(log.lines, QStringList("commandStr:  \"" + updaterProgram() + " -ba\""));
}

void TestUpdater::reportsAnUpdaterThatCannotStart()
{
    window = std::make_unique<MainWindow>();
    const QString cannotStart = "Cannot start the FW updater: " + updaterProgram();
    QFile::setPermissions(updaterProgram(), QFile::ReadOwner | QFile::WriteOwner);
    Notice notice = press();
    QCOMPARE(notice.icon, QMessageBox::Warning);
    QCOMPARE(notice.title, QString("Message Box"));
    QCOMPARE(notice.text, cannotStart);
    QVERIFY(!notice.buttonEnabledWhileOpen);
    QVERIFY(updateButton()->isEnabled());

    QFile::remove(updaterProgram());
    notice = closeNotice([this] { QMetaObject::invokeMethod(window.get(), "updateFw"); });
    QCOMPARE(notice.text, cannotStart);
    QTest::qWait(200);
    QVERIFY(!QFile::exists(logPath));
}

QTEST_MAIN(TestUpdater)
#include "tst_updater.moc"
