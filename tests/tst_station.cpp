#include "TestSupport.h"

#include "update/record/DataFolder.h"
#include "update/run/RunLock.h"
#include "update/station/StationPolicy.h"
#include "update/station/StationRun.h"
#include "window/ElidedLabel.h"
#include "window/MainWindow.h"
#include "window/RunWords.h"
#include "window/WrappingLabel.h"

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <memory>

// A station whose line engineer asks for the panel's serial, the operator
// and the released firmware: what the window allows, and what the records
// then say.
class TestStation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void aScanStartsTheRunOfThatPanel();
    void settingsThatCannotBeUsedRefuseEveryStart();
    void aSignedReleaseDecidesTheBytesFlashed();

private:
    void writeSettings(const QByteArray &text);
    QPushButton *updateButton() const;
    QLineEdit *serialField() const { return window->findChild<QLineEdit *>("unitSerial"); }
    QString corner() const { return window->findChild<ElidedLabel *>("stationLine")->fullText(); }
    void scan(const QString &serial);
    void signIn(const QString &id);
    void signInRefused(const QString &id, const QString &why);
    void pressRefused(const QString &why, bool recorded);
    // As a scanner's Enter presses, once the last press is over, whether or
    // not the button is enabled.
    void pressWithoutTheButton();

    QTemporaryDir settingsDir;
    QString settingsPath;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<NoticeWatch> notices;
};

void TestStation::initTestCase()
{
    settingsPath = settingsDir.filePath("station.ini");
    qputenv("TPFW_STATION_SETTINGS", QFile::encodeName(settingsPath));
    placeUpdater(TPFW_STANDIN);
}

void TestStation::init()
{
    QTRY_VERIFY_WITH_TIMEOUT(
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)).removeRecursively(),
        15000);
    clearFirmwareTree();
    makeTree(FirmwareTree::root(), {"7inch/High/fw.bin", "7inch/Low/fw.bin"});
}

void TestStation::cleanup()
{
    notices.reset();
    window.reset();
    QTRY_VERIFY_WITH_TIMEOUT(!RunLock::current(), 10000);
}

void TestStation::writeSettings(const QByteArray &text)
{
    QFile file(settingsPath + ".new");
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    file.close();
    // As an editor saves: a new file in place of the old.
    QFile::remove(settingsPath);
    QVERIFY(file.rename(settingsPath));
}

QPushButton *TestStation::updateButton() const
{
    for (QPushButton *button : window->findChildren<QPushButton *>())
        if (button->text() == "UpdateFW")
            return button;
    return nullptr;
}

// As a hand-held scanner sends it: the characters, then Enter.
void TestStation::scan(const QString &serial)
{
    // As a window manager does once a notice closes; the offscreen platform
    // may leave no window active.
    if (!QApplication::activeWindow()) {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    QTRY_VERIFY(serialField()->hasFocus());
    QTest::keyClicks(serialField(), serial);
    QTest::keyClick(serialField(), Qt::Key_Return);
}

void TestStation::signIn(const QString &id)
{
    for (QAction *action : window->findChild<QMenuBar *>()->actions().first()->menu()->actions())
        if (action->text() == "Sign &in…")
            action->trigger();
    QInputDialog *dialog = nullptr;
    QTRY_VERIFY((dialog = window->findChild<QInputDialog *>()) && dialog->isVisible());
    auto *field = dialog->findChild<QLineEdit *>();
    QCOMPARE(field->accessibleName(), QString("Operator"));
    QTest::keyClicks(field, id);
    QTest::keyClick(field, Qt::Key_Return);
    QTRY_VERIFY(!window->findChild<QInputDialog *>());
}

// With the keyboard's shortcut, as pasted: a line break and all.
void TestStation::signInRefused(const QString &id, const QString &why)
{
    if (!QApplication::activeWindow()) {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_I, Qt::ControlModifier);
    QInputDialog *dialog = nullptr;
    QTRY_VERIFY((dialog = window->findChild<QInputDialog *>()) && dialog->isVisible());
    dialog->findChild<QLineEdit *>()->setText(id);
    QTest::keyClick(dialog->findChild<QLineEdit *>(), Qt::Key_Return);
    // Asked again, saying why.
    QTRY_VERIFY((dialog = window->findChild<QInputDialog *>()) && dialog->isVisible());
    QCOMPARE(dialog->labelText(), why + "\nOperator ID (type or scan):");
    dialog->reject();
    QTRY_VERIFY(!window->findChild<QInputDialog *>());
}

void TestStation::aScanStartsTheRunOfThatPanel()
{
    writeSettings("[station]\nname=Line 3\n[unit]\nrequired=true\npattern=SN\\d{4}\n"
                  "[operator]\nrequired=true\nidleMinutes=5\n[order]\nname=WO-7\nleaves=7inch/High\n");
    window = std::make_unique<MainWindow>();
    notices = std::make_unique<NoticeWatch>([this] { return updateButton(); });
    notices->answer = QMessageBox::No;
    QVERIFY(chooseLeaf(window.get(), "7inch", "High"));
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QVERIFY(serialField()->isVisible());
    QCOMPARE(serialField()->accessibleName(), QString("Panel serial"));
    QCOMPARE(corner(), QString("Order: WO-7  Not signed in"));

    // Nobody signed in: nothing starts.
    scan("SN1234");
    QTRY_COMPARE(notices->texts(), QStringList("Sign in first: Station > Sign in…"));
    // An ID that would forge a line of the run log signs nobody in.
    signInRefused("op7\ntpfw: ended, outcome ok",
                  "\"op7\u240Atpfw: ended, outcome ok\" is not an operator ID: it "
                  "holds a character that cannot be seen (a control, format or "
                  "separator character).");
    QCOMPARE(corner(), QString("Order: WO-7  Not signed in"));
    signIn("op7");
    QTRY_COMPARE(corner(), QString("Order: WO-7  Operator: op7"));

    // A serial that does not match, or hides a character that cannot be
    // seen (pasted, as no key types one), is refused in place, naming what
    // was read.
    serialField()->clear();
    scan("SN12");
    auto *problem = window->findChild<QLabel *>("unitProblem");
    QTRY_VERIFY(problem->isVisible());
    QCOMPARE(problem->text(),
             QString("\"SN12\" is not a panel serial of this station: nothing was started."));
    for (const char *hidden : {"\u200B", "\u202E", "\u2028"}) {
        serialField()->setText("SN12" + QString::fromUtf8(hidden) + "34");
        QTest::keyClick(serialField(), Qt::Key_Return);
        const QString escaped = QString::asprintf("\\u%04X", QString::fromUtf8(hidden).at(0).unicode());
        QTRY_COMPARE(problem->text(),
                     "\"SN12" + escaped
                         + "34\" is not a panel serial of this station: nothing "
                           "was started.");
    }
    QVERIFY(historyRecords().isEmpty());

    // A leaf not released for the order says so, and is refused on record.
    QVERIFY(clickChoice(groupTitled(window.get(), "Sensitivity"), "Low"));
    const QString unreleased = "7inch/Low is not released for order WO-7: nothing was started.";
    QTRY_COMPARE(window->findChild<WrappingLabel *>("leafLine")->wholeText(),
                 QString("Images of 7inch / Low, not released for order WO-7: UpdateFW will not start them"));
    scan("SN1234");
    QTRY_COMPARE(notices->texts().size(), 2);
    QCOMPARE(notices->texts().last(), unreleased);
    QTRY_COMPARE(historyRecords().size(), 1);
    QCOMPARE(historyRecords().first().value("outcome").toString(), QString("notStarted"));
    QCOMPARE(historyRecords().first().value("detail").toString(), unreleased);
    QTRY_VERIFY(serialField()->text().isEmpty());

    // The released one runs, for that panel, by that operator, on record.
    QVERIFY(clickChoice(groupTitled(window.get(), "Sensitivity"), "High"));
    scan("SN1234");
    QTRY_VERIFY_WITH_TIMEOUT(historyRecords().size() == 2, runPatienceMs);
    const QJsonObject record = historyRecords().last();
    QCOMPARE(record.value("outcome").toString(), QString("ok"));
    for (const auto &[key, value] : QList<std::pair<QString, QString>> {
             {"station", "Line 3"}, {"unit", "SN1234"}, {"operator", "op7"}, {"order", "WO-7"}})
        QCOMPARE(record.value(key).toString(), value);
    // Ready for the next panel.
    QTRY_VERIFY(serialField()->text().isEmpty() && window->focusWidget() == serialField());
    // The result names its panel, and is put away once the next is scanned.
    // (Shown once the run's record is read back.)
    auto *detail = window->findChild<WrappingLabel *>("resultDetail");
    QTRY_VERIFY(!detail->wholeText().isEmpty());
    const QString result = detail->wholeText();
    QVERIFY2(result.startsWith("Panel SN1234 · 7inch / High · operator op7 · 1 image · "),
             qPrintable(result));
    QTest::keyClicks(serialField(), "S");
    QVERIFY(!window->findChild<QWidget *>("runPanel")->isVisible());
    serialField()->clear();

    // The same panel again, typed full-width through an input method, is
    // asked about; No starts nothing.
    QTRY_VERIFY_WITH_TIMEOUT(updateButton()->isEnabled(), runPatienceMs);
    const int seen = notices->texts().size();
    serialField()->setText("\uFF33\uFF2E\uFF11\uFF12\uFF13\uFF14");
    QTest::keyClick(serialField(), Qt::Key_Return);
    QTRY_COMPARE(notices->texts().size(), seen + 1);
    QVERIFY2(notices->texts().last().startsWith("Panel SN1234 was already updated OK on "),
             qPrintable(notices->texts().last()));
    QVERIFY(notices->texts().last().endsWith(" at Line 3. Update it again?"));
    QCOMPARE(notices->seen.last().defaultButton, QMessageBox::No);
    // Asked of the next panel, nothing of the last one's is left in sight.
    QCOMPARE(window->statusBar()->currentMessage(), QString());
    QVERIFY(!window->findChild<QWidget *>("runPanel")->isVisible());
    QTRY_VERIFY(updateButton()->isEnabled() && serialField()->text().isEmpty());
    QCOMPARE(historyRecords().size(), 2);
    // Yes updates it again.
    notices->answer = QMessageBox::Yes;
    scan("SN1234");
    QTRY_VERIFY_WITH_TIMEOUT(historyRecords().size() == 3, runPatienceMs);
    QCOMPARE(historyRecords().last().value("unit").toString(), QString("SN1234"));

    // A look-up that takes longer than a moment (a gibibyte of history
    // ahead of it) says what the press waits for, until it is done.
    QStringList shown;
    connect(window->statusBar(), &QStatusBar::messageChanged, this,
            [&](const QString &text) { shown << text; });
    auto *run = window->findChild<StationRun *>();
    QElapsedTimer lookingUp;
    qint64 lookedFor = -1;
    connect(run, &StationRun::stateChanged, this, [&] {
        if (run->state() == StationRun::State::LookingUp)
            lookingUp.start();
        else if (lookingUp.isValid() && lookedFor < 0)
            lookedFor = lookingUp.elapsed();
    });
    QTRY_VERIFY_WITH_TIMEOUT(updateButton()->isEnabled(), runPatienceMs);
    QVERIFY(QFile(historyPath()).resize(QFileInfo(historyPath()).size() + (1LL << 30)));
    scan("SN5678");
    QTRY_VERIFY_WITH_TIMEOUT(lookedFor >= 0, 120000);
    const QString looking = "Looking up SN5678 in the history…";
    // Timed only to know which of the two it must be: never a limit.
    if (lookedFor > 1000)
        QVERIFY2(shown.contains(looking), qPrintable(shown.join('|')));
    else if (lookedFor < 400)
        QVERIFY(!shown.contains(looking));
    // Then the run goes on, and ends.
    QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty() && shown.last().startsWith("FW update OK"), runPatienceMs);

    // Idle for the minutes set, the operator is signed out.
    auto *session = window->findChild<OperatorSession *>();
    session->checkIdle();
    QCOMPARE(corner(), QString("Order: WO-7  Operator: op7"));
    session->setClock([] { return QDeadlineTimer::current().deadline() + 5 * 60 * 1000; });
    session->checkIdle();
    QCOMPARE(corner(), QString("Order: WO-7  Not signed in"));
    QCOMPARE(window->statusBar()->currentMessage(),
             QString("Signed out: no press for 5 min. Station > Sign in… (Ctrl+I)"));
}
// Never a wider door: a file the window cannot use refuses every start with
// the words of its warning, until it is fixed.
void TestStation::settingsThatCannotBeUsedRefuseEveryStart()
{
    writeSettings("[unit]\nrequired=maybe\n");
    window = std::make_unique<MainWindow>();
    notices = std::make_unique<NoticeWatch>([this] { return updateButton(); });
    const QString warning = "Station settings " + QDir::toNativeSeparators(settingsPath)
        + ": unit/required: \"maybe\" is neither true nor false. No FW update can be started until the file "
          "is fixed.";
    QTRY_COMPARE(notices->texts(), QStringList(warning));
    // In sight after its notice, until it is fixed.
    auto *standing = window->findChild<QLabel *>("warningLine");
    QVERIFY(!standing->isHidden() && standing->text() == warning);
    QVERIFY(chooseAnImage(window.get()));
    QVERIFY(!updateButton()->isEnabled());
    pressWithoutTheButton();
    QTRY_COMPARE(notices->texts(), QStringList({warning, warning}));

    // Fixed while the window is open: the door opens as the file says.
    writeSettings("[unit]\nrequired=false\n");
    QTRY_VERIFY(!window->findChild<StationPolicy *>()->isFaulty());
    QTRY_VERIFY_WITH_TIMEOUT(updateButton()->isEnabled(), runPatienceMs);
    QTest::mouseClick(updateButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(notices->texts().contains("When updating FW, don't press \"UpdateFW\" button!!"),
                             runPatienceMs);
    QTRY_VERIFY_WITH_TIMEOUT(historyRecords().size() == 1, runPatienceMs);
    QVERIFY(historyRecords().first().value("unit").isNull());

    // Gone while the window is open, its folder too (a mount lost): shut
    // again, until it is back.
    QVERIFY(QDir(settingsDir.path()).removeRecursively());
    const QString gone = "Station settings " + QDir::toNativeSeparators(settingsPath)
        + ": there is no such file (a station that asks for nothing keeps it, without keys). No FW update "
          "can "
          "be started until the file is fixed.";
    QTRY_COMPARE(notices->texts().last(), gone);
    QVERIFY(!standing->isHidden() && standing->text() == gone);
    QVERIFY(!updateButton()->isEnabled());
    pressWithoutTheButton();
    QTRY_COMPARE(notices->texts().filter(gone).size(), 2);
    QVERIFY(QDir().mkpath(settingsDir.path()));
    writeSettings("");
    QTRY_VERIFY(!window->findChild<StationPolicy *>()->isFaulty());
    QVERIFY(standing->isHidden());
    QCOMPARE(historyRecords().size(), 1);

    // Serials asked for from now on: the field comes, in its place on the
    // way from the list to UpdateFW.
    writeSettings("[unit]\nrequired=true\n");
    QTRY_VERIFY(serialField() && serialField()->isVisible());
    QCOMPARE(nextTabStop(window->findChild<QTextBrowser *>()), serialField());
    QCOMPARE(nextTabStop(serialField()), updateButton());
}

void TestStation::pressWithoutTheButton()
{
    QTRY_COMPARE(window->findChild<StationRun *>()->state(), StationRun::State::Idle);
    QMetaObject::invokeMethod(window.get(), "updateFw_Console", Qt::QueuedConnection);
}

// A press refused for its images is recorded; one refused at the door, by a
// fault that stands until it is fixed, is not, and its button shows that it
// will not start (a scanner's Enter still presses).
void TestStation::pressRefused(const QString &why, bool recorded)
{
    const int records = historyRecords().size();
    QTRY_COMPARE(updateButton()->isEnabled(), recorded);
    pressWithoutTheButton();
    QTRY_VERIFY2(notices->texts().endsWith(why), qPrintable(notices->texts().join('|')));
    QTRY_COMPARE(historyRecords().size(), records + int(recorded));
    if (recorded) {
        QCOMPARE(historyRecords().last().value("outcome").toString(), QString("notStarted"));
        QCOMPARE(historyRecords().last().value("detail").toString(), why);
    }
    // Nothing ran: no progress, time or output of a run is shown.
    if (const auto *progress = window->findChild<QProgressBar *>("runProgress"))
        QVERIFY(!progress->isVisibleTo(window.get())
                && !window->findChild<QPushButton *>("outputButton")->isVisibleTo(window.get()));
}

namespace {

// Runs a program to its end; its standard output, if it ended with 0.
std::optional<QByteArray> run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

} // namespace

// As a release engineer makes one (a key made with openssl, the manifest
// with tpfw-release, signed with openssl) and a technician meets it: only
// the released bytes run; anything else starts nothing, saying why.
void TestStation::aSignedReleaseDecidesTheBytesFlashed()
{
    const QString openssl = QStandardPaths::findExecutable("openssl");
    if (openssl.isEmpty())
        QSKIP("openssl is not on the path");
    const QString folder = settingsDir.path();
    const QString manifest = folder + "/WO-7.json";
    for (const char *key : {"trusted", "other"}) {
        QVERIFY(run(
            openssl,
            {"ecparam", "-name", "prime256v1", "-genkey", "-noout", "-out", folder + "/" + key + ".key"}));
        QVERIFY(
            run(openssl,
                {"ec", "-in", folder + "/" + key + ".key", "-pubout", "-out", folder + "/" + key + ".pem"}));
    }
    const auto release = [&](const QString &name, const char *key) {
        const std::optional<QByteArray> made = run(
            TPFW_RELEASE_TOOL,
            {"make", "--order", "WO-7", "--release", name, "--root", FirmwareTree::root(), "7inch/High"});
        QVERIFY(made);
        writeFile(manifest, *made);
        QVERIFY(run(
            openssl,
            {"dgst", "-sha256", "-sign", folder + "/" + key + ".key", "-out", manifest + ".sig", manifest}));
    };
    makeTree(FirmwareTree::root(), {"7inch/High/b.bin"});
    release("WO-7 r1", "trusted");
    writeSettings("[release]\nmanifest=WO-7.json\nkeys=other.pem; trusted.pem\n");
    window = std::make_unique<MainWindow>();
    notices = std::make_unique<NoticeWatch>([this] { return updateButton(); });
    QVERIFY(chooseLeaf(window.get(), "7inch", "High"));
    auto *leafLine = window->findChild<WrappingLabel *>("leafLine");
    QTRY_COMPARE(leafLine->wholeText(), QString("Images of 7inch / High, release WO-7 r1"));
    QCOMPARE(corner(), QString("Order: WO-7"));

    // Each image as released, and one more, or one fewer: nothing starts.
    const QString fw = FirmwareTree::root() + "/7inch/High/fw.bin";
    const QString extra = FirmwareTree::root() + "/7inch/High/extra.bin";
    writeFile(fw, "7inch/High/fw.biN");
    pressRefused("fw.bin is not the image released in WO-7 r1: nothing was started.", true);
    writeFile(fw, "7inch/High/fw.bin");
    writeFile(extra, "x");
    auto *list = window->findChild<QTextBrowser *>();
    QTRY_VERIFY(list->toPlainText().contains("extra.bin"));
    pressRefused("extra.bin is not in release WO-7 r1: nothing was started.", true);
    // The release engineer's check says the same of the share.
    QProcess check;
    check.start(TPFW_RELEASE_TOOL,
                {"check", manifest, "--keys", folder + "/trusted.pem", "--root", FirmwareTree::root()});
    QVERIFY(check.waitForFinished(-1));
    QCOMPARE(check.exitCode(), 1);
    QCOMPARE(check.readAllStandardError(), QByteArray("7inch/High/extra.bin is not in the release\n"));
    QVERIFY(QFile::remove(extra) && QFile::remove(fw));
    QTRY_VERIFY(!list->toPlainText().contains("fw.bin"));
    pressRefused("fw.bin of release WO-7 r1 is missing: nothing was started.", true);
    writeFile(fw, "7inch/High/fw.bin");
    QTRY_VERIFY(list->toPlainText().contains("fw.bin"));

    // Released bytes run, and the record says by which release and key.
    notices->answer = QMessageBox::Ok;
    const auto runs = [this] {
        const int records = historyRecords().size();
        QTRY_VERIFY_WITH_TIMEOUT(updateButton()->isEnabled(), runPatienceMs);
        QTest::mouseClick(updateButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(historyRecords().size() == records + 1, runPatienceMs);
        QCOMPARE(historyRecords().last().value("outcome").toString(), QString("ok"));
    };
    runs();
    const QJsonObject ran = historyRecords().last();
    QCOMPARE(ran.value("order").toString(), QString("WO-7"));
    const QJsonObject facts = ran.value("release").toObject();
    QCOMPARE(facts.value("name").toString(), QString("WO-7 r1"));
    QFile manifestFile(manifest);
    QVERIFY(manifestFile.open(QIODevice::ReadOnly));
    QCOMPARE(facts.value("sha256").toString(),
             QString(QCryptographicHash::hash(manifestFile.readAll(), QCryptographicHash::Sha256).toHex()));
    QCOMPARE(facts.value("key").toString().size(), 64);
    manifestFile.close();

    // A manifest edited after signing, signed by a key not trusted, for
    // another order than the station's, or without its signature: every
    // start refused, naming the file.
    auto *policy = window->findChild<StationPolicy *>();
    // The leaf line says what is wrong with the release, by its name.
    const auto shut = [&](const QString &problem, const QString &leafWords) {
        const QString words = "Release " + QDir::toNativeSeparators(manifest) + ": " + problem
            + ". No FW update can be started until it is fixed.";
        // The files' change seen, then read: the press meets the new words.
        QCoreApplication::processEvents();
        QTRY_VERIFY(policy->release().state() == ReleaseWatch::State::Read
                    && RunWords::settingsFault(*policy) == words);
        QCOMPARE(leafLine->wholeText(),
                 "Images of 7inch / High: release " + leafWords + ": UpdateFW will not start them");
        pressRefused(words, false);
    };
    const QString notSigned = "is not signed by a key this station trusts";
    QVERIFY(manifestFile.open(QIODevice::Append | QIODevice::WriteOnly) && manifestFile.write(" ") == 1);
    manifestFile.close();
    // An untrusted release is named by its file: nothing it says is taken.
    const QString untrusted = "WO-7.json cannot be trusted";
    shut(notSigned, untrusted);
    writeSettings("[release]\nmanifest=WO-7.json\nkeys=trusted.pem\n");
    release("WO-7 r1", "other");
    shut(notSigned, untrusted);
    release("WO-7 r1", "trusted");
    writeSettings("[order]\nname=WO-8\n[release]\nmanifest=WO-7.json\nkeys=trusted.pem\n");
    shut("is for order WO-7, not for order WO-8 as the station's settings say",
         "WO-7 r1 is for order WO-7, not WO-8");
    writeSettings("[release]\nmanifest=WO-7.json\nkeys=trusted.pem\n");
    QVERIFY(QFile::remove(manifest + ".sig"));
    shut("has no signature beside it (" + QDir::toNativeSeparators(manifest + ".sig") + ")", untrusted);

    // A new release written while the window is open is the next press's:
    // a press while it is read waits for it. Another order's manifest
    // published beside it is no change of its own.
    writeFile(fw, "new bytes");
    release("WO-7 r2", "trusted");
    QCoreApplication::processEvents();
    QVERIFY(policy->release().isReading());
    runs();
    QCOMPARE(leafLine->wholeText(), QString("Images of 7inch / High, release WO-7 r2"));
    writeFile(folder + "/WO-9.json", "{}");
    QCoreApplication::processEvents();
    QVERIFY(!policy->release().isReading());
    QCOMPARE(historyRecords().last().value("release").toObject().value("name").toString(),
             QString("WO-7 r2"));
    // The signature alone rewritten in place, by a key not trusted.
    QVERIFY(run(openssl,
                {"dgst", "-sha256", "-sign", folder + "/other.key", "-out", manifest + ".sig", manifest}));
    shut(notSigned, untrusted);
}

QTEST_MAIN(TestStation)
#include "tst_station.moc"
