#include "window/MainWindow.h"

#include "selection/DirGroup.h"
#include "selection/DirListing.h"
#include "selection/FolderReader.h"
#include "selection/NameDisplay.h"
#include "selection/TreeWatcher.h"
#include "update/run/Background.h"
#include "update/record/HistoryReading.h"
#include "update/record/RunHistory.h"
#include "window/HistoryDialog.h"
#include "window/HistoryStatus.h"
#include "window/MainWindowForm.h"
#include "window/MenuCorner.h"
#include "window/NoticeQueue.h"
#include "window/RunPanel.h"
#include "window/SerialField.h"
#include "window/ShutdownGuard.h"
#include "window/StationGate.h"
#include "window/TreeFit.h"
#include "window/UpdaterSession.h"
#include "window/WrappingLabel.h"

#include <QCloseEvent>
#include <QDebug>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>

namespace {

// How long a press waits for its reading of the leaf before it gives up.
constexpr int pressPatienceMs = 2000;

QString unlistedWarning(int count, const QString &path)
{
    return count == 1 ? MainWindow::tr("1 entry of %1 has a name that is not valid UTF-8 and is not listed: "
                                       "rename it")
                            .arg(placeOf(path))
                      : MainWindow::tr("%1 entries of %2 have names that are not valid UTF-8 and are not "
                                       "listed: rename them")
                            .arg(count)
                            .arg(placeOf(path));
}

// Where a leaf's images are from, as the window names it: "7inch / High".
QString leafTitle(const Leaf &leaf)
{
    return displayName(leaf.tpSize) + " / " + displayName(leaf.sensitivity);
}

QStringList pathsIn(const QString &dir, const QStringList &names)
{
    QStringList paths;
    for (const QString &name : names)
        paths.append(dir + QLatin1Char('/') + name);
    return paths;
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , form(std::make_unique<MainWindowForm>())
{
    form->setupForm(this);

    tpSizeGroup = new DirGroup(QStringLiteral("TP Size"));
    tpSizeGroup->listAllDir(firmwareRoot());
    sensitivityGroup = new DirGroup(QStringLiteral("Sensitivity"));
    binListBrowser = new QTextBrowser;
    leafReader = new FolderReader(this);
    pressReader = new FolderReader(this);
    pressPatience = new QTimer(this);
    pressPatience->setSingleShot(true);
    pressPatience->setInterval(pressPatienceMs);
    connect(pressReader, &FolderReader::answered, this, [this](const FolderRead &now) {
        if (!waitingPress)
            return;
        pressPatience->stop();
        form->statusBar->clearMessage();
        checkAndStart(*std::exchange(waitingPress, std::nullopt), now);
    });
    connect(pressPatience, &QTimer::timeout, this, [this] {
        waitingPress.reset();
        form->statusBar->clearMessage();
        notices->show(QMessageBox::Warning,
                      tr("%1 is not answering: nothing was started.").arg(placeOf(listedLeafPath)));
        updateButtonState();
    });
    connect(leafReader, &FolderReader::answered, this, &MainWindow::showLeaf);
    connect(leafReader, &FolderReader::waiting, binListBrowser, &QTextBrowser::setPlaceholderText);
    // The choices come first: the list takes what room they leave, never
    // less than a few lines.
    binListBrowser->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    binListBrowser->setMinimumHeight(binListBrowser->fontMetrics().lineSpacing() * 4
                                     + 2 * binListBrowser->frameWidth() + 8);
    updateFwButton = new QPushButton(QStringLiteral("UpdateFW"));
    stopButton = new QPushButton(tr("Stop updater"));
    stopButton->setObjectName(QStringLiteral("stopButton"));
    stopButton->hide();
    warningLine = new QLabel;
    warningLine->setObjectName(QStringLiteral("warningLine"));
    warningLine->setTextFormat(Qt::PlainText);
    warningLine->setWordWrap(true);
    warningLine->setStyleSheet(QStringLiteral("color: #b00000"));
    warningLine->hide();
    // Wrapped, never cut: the names checked are always whole.
    leafLine = new WrappingLabel;
    leafLine->setObjectName(QStringLiteral("leafLine"));
    leafLine->hide();
    runPanel = new RunPanel;
    gate = new StationGate(this);
    serialField = new SerialField;
    tpSizeGroup->setAccessibleName(tpSizeGroup->title());
    sensitivityGroup->setAccessibleName(sensitivityGroup->title());
    binListBrowser->setAccessibleName(tr("Images to send"));

    auto *grid = new QGridLayout;
    grid->addWidget(tpSizeGroup, 0, 0, 1, 1);
    grid->addWidget(sensitivityGroup, 0, 1, 1, 1);
    grid->addWidget(warningLine, 1, 0, 1, 2);
    grid->addWidget(leafLine, 2, 0, 1, 2);
    grid->addWidget(binListBrowser, 3, 0, 1, 2);
    grid->addWidget(serialField, 4, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(updateFwButton, 1);
    buttons->addWidget(stopButton);
    grid->addLayout(buttons, 5, 0, 1, 2);
    grid->addWidget(runPanel, 6, 0, 1, 2);
    // The choices take what they need to show every entry, the list the rest.
    grid->setRowStretch(3, 1);
    form->centralWidget->setLayout(grid);
    treeFit = new TreeFit(this, {tpSizeGroup, sensitivityGroup}, binListBrowser);

    connect(tpSizeGroup, SIGNAL(passDirName(QString)), sensitivityGroup, SLOT(listSubDir(QString)));
    connect(sensitivityGroup, SIGNAL(passFullDirName(QString)), this, SLOT(setBinListText(QString)));
    connect(updateFwButton, SIGNAL(clicked()), this, SLOT(updateFw_Console()));

    // What is shown follows the disk.
    watcher = new TreeWatcher(this);
    connect(tpSizeGroup, &DirGroup::passDirName, this, &MainWindow::showWhereListsAreFrom);
    // A folder that answered late brings its own word on names it cannot
    // list, and may need more room.
    connect(tpSizeGroup, &DirGroup::listed, this, &MainWindow::showWhereListsAreFrom);
    connect(sensitivityGroup, &DirGroup::listed, this, &MainWindow::showWhereListsAreFrom);
    connect(tpSizeGroup, &DirGroup::listed, this, &MainWindow::orderTabs);
    connect(sensitivityGroup, &DirGroup::listed, this, &MainWindow::orderTabs);
    connect(watcher, &TreeWatcher::rootChanged, tpSizeGroup, &DirGroup::relist);
    connect(watcher, &TreeWatcher::tpSizeChanged, sensitivityGroup, &DirGroup::relist);
    connect(watcher, &TreeWatcher::leafChanged, this, [this] { setBinListText(listedLeafPath); });
    showWhereListsAreFrom();

    updater = new UpdaterSession(this);
    shutdownGuard = new ShutdownGuard(this);
    notices = new NoticeQueue(this);
    connect(updater, &UpdaterSession::running, form->statusBar,
            [this](const QString &status) { form->statusBar->showMessage(status); });
    connect(updater, &UpdaterSession::started, this, &MainWindow::tellStarted);
    connect(updater, &UpdaterSession::notStarted, this, &MainWindow::tellNotStarted);
    connect(updater, &UpdaterSession::ended, this, &MainWindow::reportRun);
    connect(updater, &UpdaterSession::interrupted, this, [this](const QString &warning) {
        form->statusBar->showMessage(tr("FW update interrupted: result unknown"));
        if (runPanel->isOn()) {
            RunReport unknown;
            unknown.known = false;
            unknown.outcome = form->statusBar->currentMessage();
            runPanel->finish(unknown);
        }
        notices->show(QMessageBox::Warning, warning);
    });
    connect(updater, &UpdaterSession::warned, this,
            [this](const QString &warning) { notices->show(QMessageBox::Warning, warning); });
    connect(updater, &UpdaterSession::busyChanged, this, &MainWindow::updateButtonState);
    connect(notices, &NoticeQueue::allClosed, this, &MainWindow::updateButtonState);
    connect(stopButton, &QPushButton::clicked, this, &MainWindow::stopUpdater);
    connect(runPanel, &RunPanel::stopStatus, form->statusBar,
            [this](const QString &status) { form->statusBar->showMessage(status); });
    connect(updater, &UpdaterSession::following, this, [this](const RunView &run) {
        runPanel->follow(leafTitle({run.tpSize, run.sensitivity}), run);
    });
    // Beside the menus, where it leaves the status bar's messages whole.
    form->menuBar->setNativeMenuBar(false);
    QMenu *station = form->menuBar->addMenu(tr("&Station"));
    QAction *showHistory = station->addAction(tr("&History…"), this, &MainWindow::showHistory);
    showHistory->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    signInAction = station->addAction(tr("Sign &in…"), this, &MainWindow::signIn);
    signOutAction = station->addAction(tr("Sign &out"), gate->operatorSession(), &OperatorSession::signOut);
    history = new HistoryStatus;
    stationLine = new QLabel;
    stationLine->setObjectName(QStringLiteral("stationLine"));
    stationLine->setTextFormat(Qt::PlainText);
    form->menuBar->setCornerWidget(new MenuCorner({stationLine, history}));
    // A scanner's Enter presses UpdateFW; a panel's serial is asked for
    // whenever a leaf is chosen.
    connect(serialField, &SerialField::entered, this, &MainWindow::updateFw_Console);
    connect(sensitivityGroup, &DirGroup::passFullDirName, this, &MainWindow::readyForNextPanel);
    connect(gate, &StationGate::changed, this, &MainWindow::showStation);
    connect(gate, &StationGate::faulted, this,
            [this](const QString &warning) { notices->show(QMessageBox::Warning, warning); });
    showStation();
    connect(updater, &UpdaterSession::recorded, history, &HistoryStatus::refresh);
    // A station whose records stopped must notice, not only in small print.
    connect(updater, &UpdaterSession::recorded, this, [this](const QString &problem) {
        if (!problem.isEmpty())
            notices->show(
                QMessageBox::Warning,
                tr("The station history could not be written: %1. This run is not recorded.").arg(problem));
    });
    orderTabs();
    // Once the window listens: runs left unfinished, a run on now, and
    // settings it cannot use.
    QTimer::singleShot(0, updater, &UpdaterSession::look);
    QTimer::singleShot(0, this, [this] {
        if (const QString fault = gate->fault(); !fault.isEmpty())
            notices->show(QMessageBox::Warning, fault);
    });
}

MainWindow::~MainWindow() = default;

void MainWindow::setBinListText(QString dstDirPath)
{
    qDebug() << dstDirPath;
    listedLeafPath = dstDirPath;
    if (const std::optional<FolderRead> read = leafReader->read(dstDirPath))
        return showLeaf(*read);
    // Nothing of another leaf stays on offer meanwhile.
    binFileList.clear();
    leafUnlisted = 0;
    binListBrowser->clear();
    showWhereListsAreFrom();
    updateButtonState();
}

void MainWindow::showLeaf(const FolderRead &read)
{
    const QStringList names = choicesOf(read, true);
    binFileList = pathsIn(read.path, names);
    leafUnlisted = read.unlisted;
    QStringList shown;
    for (const QString &name : names)
        shown.append(displayName(name));
    // Plain text, never markup, one line a name: the names shown must be
    // the files sent.
    binListBrowser->setPlaceholderText(QString());
    binListBrowser->setPlainText(shown.join(QLatin1Char('\n')));
    showWhereListsAreFrom();
    updateButtonState();
}

void MainWindow::showWhereListsAreFrom()
{
    const QString root = firmwareRoot();
    QStringList warnings;
    for (const auto &[count, path] :
         {qMakePair(tpSizeGroup->unlistedCount(), root),
          qMakePair(sensitivityGroup->unlistedCount(), sensitivityGroup->listedPath()),
          qMakePair(leafUnlisted, listedLeafPath)})
        if (count)
            warnings.append(unlistedWarning(count, path));
    warningLine->setText(warnings.join(QLatin1Char('\n')));
    warningLine->setVisible(!warnings.isEmpty());

    const QString leaf = leafTitle(leafOf(listedLeafPath));
    const QString other = otherCheckedTpSize();
    leafLine->setVisible(!listedLeafPath.isEmpty());
    if (listedLeafPath.isEmpty())
        leafLine->setWholeText(QString());
    else if (!gate->releases(leafOf(listedLeafPath)))
        leafLine->setWholeText(tr("Images of %1, not released for order %2: UpdateFW will not start them")
                                   .arg(leaf, gate->settings().orderName));
    else if (other.isEmpty())
        leafLine->setWholeText(tr("Images of %1").arg(leaf));
    else
        leafLine->setWholeText(
            tr("Images of %1, still: %2 is checked, no sensitivity yet").arg(leaf, displayName(other)));
    watcher->follow(root, sensitivityGroup->listedPath(), listedLeafPath);
    treeFit->fitSoon();
}

// Tab goes as the eye reads, whichever group was listed last.
void MainWindow::orderTabs()
{
    QWidgetList stops;
    for (const DirGroup *group : {tpSizeGroup, sensitivityGroup})
        for (QRadioButton *button : group->radioButtons())
            stops.append(button);
    stops << binListBrowser << serialField->tabStop() << updateFwButton << stopButton << runPanel->tabStops();
    for (int i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops.at(i - 1), stops.at(i));
}

// Whether the listed images may go to the updater as they are; says why not,
// or asks, where they may not.
bool MainWindow::listedImagesHold(const FolderRead &now)
{
    if (now.unlisted) {
        notices->show(QMessageBox::Warning, unlistedWarning(now.unlisted, listedLeafPath));
        return false;
    }
    if (pathsIn(listedLeafPath, choicesOf(now, false)) != binFileList) {
        setBinListText(listedLeafPath);
        notices->show(QMessageBox::Warning,
                      tr("The images of %1 changed on disk: check the list and press UpdateFW again.")
                          .arg(placeOf(listedLeafPath)));
        return false;
    }
    const QString other = otherCheckedTpSize();
    return other.isEmpty()
        || notices->ask(tr("The listed images are from %1, but %2 is checked. Update with the %1 images?")
                            .arg(leafTitle(leafOf(listedLeafPath)), displayName(other)));
}

// The TP size checked now, where it is not the one the list is from.
QString MainWindow::otherCheckedTpSize() const
{
    const QString checked = tpSizeGroup->checkedName();
    return listedLeafPath.isEmpty() || checked == leafOf(listedLeafPath).tpSize ? QString() : checked;
}

void MainWindow::updateFw()
{
    launchUpdater(Notify::OnSuccess);
}

void MainWindow::updateFw_Console()
{
    launchUpdater(Notify::AtStart);
}

// One run at a time: the button stays off from the press until the run has
// ended and the notice is closed, and a second start is refused.
void MainWindow::launchUpdater(Notify how)
{
    if (updater->isBusy()) {
        notices->show(QMessageBox::Warning, tr("The FW updater is still running."));
        return;
    }
    if (waitingPress || lookingForUnit || !stationAllows(leafOf(listedLeafPath)))
        return;
    updateFwButton->setEnabled(false);
    if (gate->settings().unitRequired)
        return checkUnitThenRead(how);
    readLeafThenStart(how);
}

bool MainWindow::stationAllows(const Leaf &leaf)
{
    if (const QString refusal = gate->refusal(); !refusal.isEmpty()) {
        notices->show(QMessageBox::Warning, refusal);
        return false;
    }
    pressSerial = serialField->serial();
    if (const QString refusal = gate->serialRefusal(pressSerial); !refusal.isEmpty()) {
        serialField->refuse(refusal);
        return false;
    }
    gate->operatorSession()->pressed();
    if (gate->releases(leaf))
        return true;
    updater->refuseAtPress(binFileList, leaf, gate->runFor(pressSerial), gate->unreleased(leaf, false),
                           gate->unreleased(leaf, true));
    return false;
}

// The history is read off the GUI thread: it may hold a hundred thousand runs.
void MainWindow::checkUnitThenRead(Notify how)
{
    lookingForUnit = true;
    inBackground(
        this, [unit = pressSerial] { return lastOkRunOf(historyPath(), unit); },
        [this, how](const std::optional<RunRecord> &earlier) {
            lookingForUnit = false;
            if (earlier
                && !notices->ask(tr("Panel %1 was already updated OK on %2 at %3. Update it again?")
                                     .arg(displayName(pressSerial),
                                          earlier->started.toLocalTime().toString("yyyy-MM-dd HH:mm"),
                                          earlier->station.isEmpty() ? earlier->host : earlier->station))) {
                readyForNextPanel();
                return updateButtonState();
            }
            readLeafThenStart(how);
        });
}

void MainWindow::readLeafThenStart(Notify how)
{
    if (listedLeafPath.isEmpty())
        return startUpdater(how);
    // The leaf is read again off the GUI thread, the window answering while
    // a slow share or a leaf of many entries takes its time.
    if (const std::optional<FolderRead> now = pressReader->read(listedLeafPath))
        return checkAndStart(how, *now);
    waitingPress = how;
    form->statusBar->showMessage(tr("Reading %1…").arg(placeOf(listedLeafPath)));
    pressPatience->start();
}

void MainWindow::checkAndStart(Notify how, const FolderRead &now)
{
    if (!listedImagesHold(now))
        return updateButtonState();
    startUpdater(how);
}

void MainWindow::startUpdater(Notify how)
{
    // A run that sends nothing flashes nothing: only on purpose.
    if (binFileList.isEmpty()
        && !notices->ask(tr("No images are listed. Start the FW updater with no images anyway?"))) {
        updateButtonState();
        return;
    }
    notify = how;
    runPanel->begin(listedLeafPath.isEmpty() ? tr("No images listed") : leafTitle(leafOf(listedLeafPath)),
                    binFileList.size());
    updater->start(binFileList, leafOf(listedLeafPath), gate->runFor(pressSerial));
    // Notices shown meanwhile may have given the button back.
    updateButtonState();
}

void MainWindow::tellStarted()
{
    if (notify == Notify::AtStart)
        notices->show(QMessageBox::Information, tr("When updating FW, don't press \"UpdateFW\" button!!"));
}

void MainWindow::tellNotStarted(const QString &error)
{
    notify = Notify::AtStart;
    form->statusBar->clearMessage();
    if (runPanel->isOn()) {
        RunReport refused;
        refused.outcome = error;
        runPanel->finish(refused);
    }
    notices->show(QMessageBox::Warning, error);
    updateButtonState();
    readyForNextPanel();
}

void MainWindow::reportRun(const RunReport &report)
{
    form->statusBar->showMessage(report.outcome + QStringLiteral(" (") + report.duration + QLatin1Char(')'));
    runPanel->finish(report);
    if (!report.ok)
        notices->show(QMessageBox::Warning, report.outcome, report.details);
    else if (notify == Notify::OnSuccess)
        notices->show(QMessageBox::Information, tr("Update FW OK !!!"));
    // A run this window did not start tells nothing on success.
    notify = Notify::AtStart;
    updateButtonState();
    readyForNextPanel();
}

void MainWindow::updateButtonState()
{
    shutdownGuard->hold(updater->isBusy());
    updateFwButton->setEnabled(!updater->isBusy() && !notices->isOpen() && !leafReader->isReading()
                               && !waitingPress && !lookingForUnit);
    stopButton->setVisible(updater->canStop());
    stopButton->setEnabled(!updater->isStopping());
}

void MainWindow::stopUpdater()
{
    if (!notices->ask(
            tr("Stopping the updater while it writes can leave the panel unusable. Stop it anyway?")))
        return;
    updater->stop();
    runPanel->stopping(RunProcess::stopGraceMs / 1000);
    updateButtonState();
}

void MainWindow::showStation()
{
    const StationSettings &settings = gate->settings();
    serialField->setVisible(settings.unitRequired);
    signInAction->setVisible(settings.operatorRequired);
    signOutAction->setVisible(settings.operatorRequired);
    signOutAction->setEnabled(gate->operatorSession()->state() == OperatorSession::State::SignedIn);
    stationLine->setText(gate->cornerText());
    stationLine->setVisible(!stationLine->text().isEmpty());
    showWhereListsAreFrom();
}

void MainWindow::signIn()
{
    auto *dialog = new QInputDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(tr("Sign in"));
    dialog->setLabelText(tr("Operator ID (type or scan):"));
    dialog->setInputMode(QInputDialog::TextInput);
    dialog->findChild<QLineEdit *>()->setAccessibleName(tr("Operator"));
    connect(dialog, &QInputDialog::textValueSelected, gate->operatorSession(), [this](const QString &id) {
        if (!id.trimmed().isEmpty())
            gate->operatorSession()->signIn(id.trimmed());
    });
    dialog->open();
}

// The serial field is cleared and focused for the next panel: once a run has
// ended or was not started, and whenever a leaf is chosen.
void MainWindow::readyForNextPanel()
{
    if (gate->settings().unitRequired)
        serialField->ready();
}

void MainWindow::showHistory()
{
    if (!historyDialog)
        historyDialog = new HistoryDialog(this);
    historyDialog->reload();
    historyDialog->show();
    historyDialog->raise();
    historyDialog->activateWindow();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Before the window reaches the screen, so that it opens at its size.
    if (!event->spontaneous())
        treeFit->fit();
}

bool MainWindow::event(QEvent *event)
{
    // No action has a status tip: the empty one a menu sends when looked at
    // would only wipe the run's status.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (updater->isChecking()) {
        // Nothing starts while the question is open, nor after a Yes: the
        // window's end cancels the check.
        updater->holdStart(true);
        event->setAccepted(
            notices->ask(tr("The images are still being checked. Close anyway? Nothing will be started.")));
        if (!event->isAccepted())
            updater->holdStart(false);
        return;
    }
    // Another tpfw's run is none of this window's to ask about.
    event->setAccepted(!updater->isFollowing()
                       || notices->ask(tr("The FW updater is still running. Close anyway? "
                                          "The update goes on without this window.")));
}
