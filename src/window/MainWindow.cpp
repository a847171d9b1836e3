#include "window/MainWindow.h"

#include "selection/DirGroup.h"
#include "selection/DirListing.h"
#include "selection/FolderReader.h"
#include "selection/NameDisplay.h"
#include "selection/TreeWatcher.h"
#include "update/station/Bench.h"
#include "window/FirstFrame.h"
#include "window/MainWindowForm.h"
#include "window/NoticeQueue.h"
#include "window/RunNews.h"
#include "window/RunPanel.h"
#include "window/RunWords.h"
#include "window/SerialField.h"
#include "window/ShutdownGuard.h"
#include "window/StationMenu.h"
#include "window/TreeFit.h"
#include "window/WarningLabel.h"
#include "window/WrappingLabel.h"

#include <QCloseEvent>
#include <QDebug>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextBrowser>

namespace {

QStringList pathsIn(const QString &dir, const QStringList &names)
{
    QStringList paths;
    for (const QString &name : names)
        paths.append(dir + QLatin1Char('/') + name);
    return paths;
}

// The leaf as a press finds it on disk.
LeafNow leafNow(const FolderRead &read)
{
    return {pathsIn(read.path, choicesOf(read, false)), read.unlisted};
}

} // namespace

// The firmware root is read from the first moment, while the window is built.
MainWindow::MainWindow(QWidget *parent)
    : MainWindow(FolderReader::begin(firmwareRoot()), parent)
{ }

MainWindow::MainWindow(FolderReader::Begun rootReading, QWidget *parent)
    : QMainWindow(parent)
    , form(std::make_unique<MainWindowForm>())
{
    tpSizeGroup = new DirGroup(QStringLiteral("TP Size"));
    tpSizeGroup->readAhead(std::move(rootReading));
    form->setupForm(this);
    createChoices();
    createRunControls();
    layOut();
    menu = new StationMenu(this, form->menuBar, run->policy());
    connectChoices();
    connectRun();
    showStation();
    connect(new FirstFrame(this), &FirstFrame::reached, this, &MainWindow::startBehindFrame);
}

// What the first frame does not show: the icon, the watching of the folders
// listed, runs left unfinished, a run on now, today's counts and settings
// the window cannot use.
void MainWindow::startBehindFrame()
{
    form->setIcon(this);
    // What changed before the folders were watched is found by reading them
    // again.
    watcher->start();
    tpSizeGroup->recheck();
    sensitivityGroup->recheck();
    recheckLeaf();
    run->watch();
    menu->countToday();
    if (run->policy().isFaulty())
        warn(RunWords::settingsFault(run->policy()));
}

void MainWindow::createChoices()
{
    tpSizeGroup->listAllDir(firmwareRoot());
    sensitivityGroup = new DirGroup(QStringLiteral("Sensitivity"));
    binListBrowser = new QTextBrowser;
    leafReader = new FolderReader(this);
    // The choices come first: the list takes what room they leave, never
    // less than a few lines.
    binListBrowser->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    binListBrowser->setMinimumHeight(binListBrowser->fontMetrics().lineSpacing() * 4
                                     + 2 * binListBrowser->frameWidth() + 8);
    warningLine = new WarningLabel;
    warningLine->setObjectName(QStringLiteral("warningLine"));
    warningLine->setWordWrap(true);
    warningLine->hide();
    // Wrapped, never cut: the names checked are always whole.
    leafLine = new WrappingLabel;
    leafLine->setObjectName(QStringLiteral("leafLine"));
    leafLine->hide();
    tpSizeGroup->setAccessibleName(tpSizeGroup->title());
    sensitivityGroup->setAccessibleName(sensitivityGroup->title());
    binListBrowser->setAccessibleName(tr("Images to send"));
    watcher = new TreeWatcher(this);
}

void MainWindow::createRunControls()
{
    pressReader = new FolderReader(this);
    run = new StationRun(
        [this](const QString &leafPath) -> std::optional<LeafNow> {
            const std::optional<FolderRead> read = pressReader->read(leafPath);
            return read ? std::optional<LeafNow>(leafNow(*read)) : std::nullopt;
        },
        this);
    updateFwButton = new QPushButton(QStringLiteral("UpdateFW"));
    stopButton = new QPushButton(tr("Stop updater"));
    stopButton->setObjectName(QStringLiteral("stopButton"));
    stopButton->hide();
    runPanel = new RunPanel;
    serialField = new SerialField;
    shutdownGuard = new ShutdownGuard(this);
    notices = new NoticeQueue(this);
    bench = new Bench(this);
    bench->follow(run);
    news = new RunNews(run, runPanel, form->statusBar, notices, this);
}

void MainWindow::layOut()
{
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
}

void MainWindow::connectChoices()
{
    connect(tpSizeGroup, SIGNAL(passDirName(QString)), sensitivityGroup, SLOT(listSubDir(QString)));
    connect(sensitivityGroup, SIGNAL(passFullDirName(QString)), this, SLOT(setBinListText(QString)));
    connect(updateFwButton, SIGNAL(clicked()), this, SLOT(updateFw_Console()));
    connect(leafReader, &FolderReader::answered, this, &MainWindow::showLeaf);
    connect(leafReader, &FolderReader::waiting, binListBrowser, &QTextBrowser::setPlaceholderText);
    // What is shown follows the disk.
    connect(tpSizeGroup, &DirGroup::passDirName, this, &MainWindow::showWhereListsAreFrom);
    // A folder that answered late brings its own word on names it cannot
    // list, and may need more room.
    for (DirGroup *group : {tpSizeGroup, sensitivityGroup}) {
        connect(group, &DirGroup::listed, this, &MainWindow::showWhereListsAreFrom);
        connect(group, &DirGroup::listed, this, &MainWindow::orderTabs);
    }
    connect(watcher, &TreeWatcher::rootChanged, tpSizeGroup, &DirGroup::relist);
    connect(watcher, &TreeWatcher::tpSizeChanged, sensitivityGroup, &DirGroup::relist);
    connect(watcher, &TreeWatcher::leafChanged, this, [this] { setBinListText(listedLeafPath); });
    // A scanner's Enter presses UpdateFW, or names the next panel; a
    // panel's serial is asked for whenever a leaf is chosen.
    connect(serialField, &SerialField::entered, this, [this] { scanned(serialField->serial()); });
    connect(notices, &NoticeQueue::scanned, this, &MainWindow::scanned);
    connect(serialField, &SerialField::typed, bench, &Bench::typed);
    connect(tpSizeGroup, &DirGroup::passDirName, bench, &Bench::leafChosen);
    connect(sensitivityGroup, &DirGroup::passFullDirName, bench, &Bench::leafChosen);
    connect(sensitivityGroup, &DirGroup::passFullDirName, this, &MainWindow::readyForNextPanel);
    connect(&run->policy(), &StationPolicy::changed, this, &MainWindow::showStation);
    connect(&run->policy(), &StationPolicy::faulted, this,
            [this] { warn(RunWords::settingsFault(run->policy())); });
}

// A press as the station run takes it, what it asks, and what is told of it.
void MainWindow::connectRun()
{
    connect(pressReader, &FolderReader::answered, run,
            [this](const FolderRead &read) { run->leafRead(leafNow(read)); });
    connect(run, &StationRun::stateChanged, this, &MainWindow::updateButtonState);
    connect(run, &StationRun::asked, this, &MainWindow::answer);
    connect(run, &StationRun::refused, this, &MainWindow::tellRefused);
    // The panel being run is named by the run panel: the field is the next's.
    connect(run, &StationRun::begun, this, &MainWindow::readyForNextPanel);
    connect(run, &StationRun::recorded, menu, &StationMenu::recorded);
    connect(news, &RunNews::told, this, &MainWindow::updateButtonState);
    connect(news, &RunNews::told, this, &MainWindow::readyForNextPanel);
    connect(news, &RunNews::told, bench, &Bench::told);
    connect(notices, &NoticeQueue::openChanged, bench, &Bench::setDialogOpen);
    connect(notices, &NoticeQueue::allClosed, this, &MainWindow::updateButtonState);
    connect(bench, &Bench::faultChanged, this, &MainWindow::updateButtonState);
    connect(bench, &Bench::resultPutAway, runPanel, &RunPanel::putAwayResult);
    connect(bench, &Bench::resultPutAway, form->statusBar, &QStatusBar::clearMessage);
    connect(stopButton, &QPushButton::clicked, this, &MainWindow::stopUpdater);
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

// As DirGroup::recheck: the list stays, and is not logged again, unless the
// leaf changed.
void MainWindow::recheckLeaf()
{
    if (listedLeafPath.isEmpty() || leafReader->isReading())
        return;
    if (const std::optional<FolderRead> read = leafReader->read(listedLeafPath)) {
        const LeafNow now = leafNow(*read);
        if (now.images != binFileList || now.unlisted != leafUnlisted)
            showLeaf(*read);
    }
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
    // A station that cannot start anything says so until it is fixed, not
    // only in the notice that told it first.
    QStringList warnings {RunWords::settingsFault(run->policy())};
    warnings.removeAll(QString());
    for (const auto &[count, path] :
         {qMakePair(tpSizeGroup->unlistedCount(), root),
          qMakePair(sensitivityGroup->unlistedCount(), sensitivityGroup->listedPath()),
          qMakePair(leafUnlisted, listedLeafPath)})
        if (count)
            warnings.append(RunWords::unlisted(count, path));
    warningLine->setText(warnings.join(QLatin1Char('\n')));
    warningLine->setVisible(!warnings.isEmpty());

    const Leaf leaf = leafOf(listedLeafPath);
    leafLine->setVisible(!listedLeafPath.isEmpty());
    leafLine->setWholeText(
        listedLeafPath.isEmpty()
            ? QString()
            : RunWords::leafLine(leaf.tpSize, leaf.sensitivity, otherCheckedTpSize(), run->policy()));
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
    stops << binListBrowser << serialField->tabStops() << updateFwButton << stopButton
          << runPanel->tabStops();
    for (int i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops.at(i - 1), stops.at(i));
}

// The TP size checked now, where it is not the one the list is from.
QString MainWindow::otherCheckedTpSize() const
{
    const QString checked = tpSizeGroup->checkedName();
    return listedLeafPath.isEmpty() || checked == leafOf(listedLeafPath).tpSize ? QString() : checked;
}

// A serial scanned during a press is the next panel's: checked and kept,
// never sent into the press in hand. Scans come only where serials are asked
// for.
void MainWindow::scanned(const QString &read)
{
    if (bench->scan(read) == Bench::Scan::Press)
        return updateFw_Console();
    serialField->setSerial(read);
    const std::optional<QString> serial = run->policy().settings().serialOf(read);
    if (const std::optional<RunRefusal> refusal = serialRefusal(true, read, serial))
        return serialField->refuse(RunWords::refusal(*refusal, run->policy()));
    serialField->holdNext(RunWords::nextPanel(serial.value_or(read)));
}

void MainWindow::updateFw()
{
    press(RunNews::Notify::OnSuccess);
}

void MainWindow::updateFw_Console()
{
    press(RunNews::Notify::AtStart);
}

// The button stays off while the press is asked about or refused.
void MainWindow::press(RunNews::Notify how)
{
    news->pressed(how);
    updateFwButton->setEnabled(false);
    const Leaf leaf = leafOf(listedLeafPath);
    run->press({leaf.tpSize, leaf.sensitivity, listedLeafPath, binFileList, serialField->serial(),
                otherCheckedTpSize()});
    updateButtonState();
}

void MainWindow::answer(StationRun::Question question)
{
    const bool yes = notices->ask(RunWords::question(question, *run));
    if (!yes && question == StationRun::Question::UpdatedBefore)
        readyForNextPanel();
    run->answer(yes);
}

void MainWindow::tellRefused(const RunRefusal &refusal)
{
    const QString words = RunWords::refusal(refusal, run->policy());
    if (refusal.why == Refusal::NoSerial || refusal.why == Refusal::BadSerial)
        return serialField->refuse(words);
    if (refusal.why == Refusal::ListChanged)
        setBinListText(listedLeafPath);
    warn(words);
}

// One run at a time: the button stays off from the press until the run has
// ended and the notice is closed.
void MainWindow::updateButtonState()
{
    shutdownGuard->hold(run->isBusy());
    updateFwButton->setEnabled(run->state() == StationRun::State::Idle && !notices->isOpen()
                               && !leafReader->isReading() && bench->fault() == Bench::Fault::None);
    stopButton->setVisible(run->canStop());
    stopButton->setEnabled(!run->isStopping());
}

// Where the station asks for an operator, only the run's operator stops it.
void MainWindow::stopUpdater()
{
    if (!run->stopOperator().isEmpty())
        return menu->askStopper([this](const QString &id) { stopAs(id); });
    if (notices->ask(
            tr("Stopping the updater while it writes can leave the panel unusable. Stop it anyway?")))
        stopAs(QString());
}

void MainWindow::stopAs(const QString &id)
{
    // The run may have ended while the question was open.
    if (!run->canStop())
        return;
    if (!run->stop(id))
        return warn(RunWords::notTheStopper(id));
    runPanel->stopping(RunProcess::stopGraceMs / 1000);
    updateButtonState();
}

void MainWindow::warn(const QString &warning)
{
    notices->show(QMessageBox::Warning, warning);
}

void MainWindow::showStation()
{
    serialField->setVisible(run->policy().settings().unitRequired);
    menu->showStation();
    showWhereListsAreFrom();
    // A serial field asked for anew was built just now.
    orderTabs();
}

// The serial field made ready for the next panel: as a press begins and ends, and as a leaf is chosen.
void MainWindow::readyForNextPanel()
{
    if (run->policy().settings().unitRequired)
        serialField->ready();
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
    if (run->isChecking()) {
        // Nothing starts while the question is open, nor after a Yes: the
        // window's end cancels the check.
        run->holdStart(true);
        event->setAccepted(
            notices->ask(tr("The images are still being checked. Close anyway? Nothing will be started.")));
        if (!event->isAccepted())
            run->holdStart(false);
        return;
    }
    // Another tpfw's run is none of this window's to ask about.
    event->setAccepted(!run->isFollowing()
                       || notices->ask(tr("The FW updater is still running. Close anyway? "
                                          "The update goes on without this window.")));
}
