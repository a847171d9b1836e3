#include "window/RunNews.h"

#include "selection/DirListing.h"
#include "window/NoticeQueue.h"
#include "window/RunPanel.h"
#include "window/RunWords.h"

#include <QDebug>
#include <QStatusBar>

RunNews::RunNews(StationRun *stationRun, RunPanel *runPanel, QStatusBar *statusBar, NoticeQueue *queue,
                 QObject *parent)
    : QObject(parent)
    , run(stationRun)
    , panel(runPanel)
    , status(statusBar)
    , notices(queue)
{
    lookupPatience.setSingleShot(true);
    lookupPatience.setInterval(500);
    connect(&lookupPatience, &QTimer::timeout, this, &RunNews::showWaiting);
    connect(run, &StationRun::stateChanged, this, [this] {
        if (run->state() == StationRun::State::LookingUp)
            lookupPatience.start();
        showWaiting();
    });
    connect(run, &StationRun::begun, this, &RunNews::tellBegun);
    connect(run, &StationRun::checking, this,
            [this](int done, int total) { status->showMessage(RunWords::checking(done, total)); });
    connect(run, &StationRun::following, this, [this](const RunInfo &info, const RunRecord &record) {
        status->showMessage(RunWords::running(info));
        // From the run's own record: a run another window started names the
        // panel, the leaf and the operator it was started for.
        panel->follow(RunWords::runTitle(RunWords::leafTitle(record.tpSize, record.sensitivity), record.unit,
                                         record.operatorId),
                      record);
    });
    connect(run, &StationRun::started, this, &RunNews::tellStarted);
    connect(run, &StationRun::heldBy, this, [this](const RunInfo &on, bool ours) {
        heldShown = RunWords::heldBy(on, ours);
        status->showMessage(heldShown);
    });
    // The machine may be told free again after a run's end is shown: only
    // what said it was held goes.
    connect(run, &StationRun::freed, this, [this] {
        if (status->currentMessage() == heldShown)
            status->clearMessage();
    });
    // Said where the technician looks for what the station does.
    connect(run->policy().operatorSession(), &OperatorSession::signedOutIdle, this,
            [this](int minutes) { status->showMessage(RunWords::signedOutIdle(minutes)); });
    connect(panel, &RunPanel::stopStatus, status, [this](const QString &stop) { status->showMessage(stop); });
    connect(run, &StationRun::notStarted, this,
            [this](const RunRefusal &refusal) { tellNotStarted(RunWords::refusal(refusal, run->policy())); });
    connect(run, &StationRun::ended, this, [this](const RunRecord &record, const QString &logProblem) {
        report(RunWords::report(record, logProblem));
    });
    connect(run, &StationRun::interrupted, this,
            [this](const RunRecord &record) { tellInterrupted(RunWords::interrupted(record)); });
    connect(run, &StationRun::damaged, this, [this](const QString &path) { warn(RunWords::damaged(path)); });
    connect(run, &StationRun::lockUnusable, this,
            [this](const QString &problem) { warn(RunWords::lockUnusable(problem)); });
    // A station whose records stopped must notice, not only in small print.
    connect(run, &StationRun::recorded, this, [this](const QString &problem) {
        if (!problem.isEmpty())
            warn(RunWords::historyNotWritten(problem));
    });
}

// The images of the press are being checked: its run is shown from now on.
void RunNews::tellBegun()
{
    notify = pressNotify;
    const Press &press = run->lastPress();
    panel->begin(RunWords::runTitle(press.leafPath.isEmpty()
                                        ? tr("No images listed")
                                        : RunWords::leafTitle(press.tpSize, press.sensitivity),
                                    press.serial),
                 press.images.size());
}

void RunNews::tellStarted()
{
    if (notify == Notify::AtStart)
        notices->show(
            QMessageBox::Information,
            QCoreApplication::translate("MainWindow", "When updating FW, don't press \"UpdateFW\" button!!"));
}

void RunNews::tellNotStarted(const QString &error)
{
    qDebug().noquote() << error;
    notify = Notify::AtStart;
    status->clearMessage();
    if (panel->isOn()) {
        RunReport refused;
        refused.outcome = error;
        refused.ran = false;
        panel->finish(refused);
    } else {
        panel->putAwayResult();
    }
    warn(error);
    emit told();
}

void RunNews::tellInterrupted(const QString &warning)
{
    status->showMessage(RunWords::interruptedStatus());
    if (panel->isOn()) {
        RunReport unknown;
        unknown.known = false;
        unknown.outcome = status->currentMessage();
        panel->finish(unknown);
    }
    warn(warning);
}

void RunNews::report(const RunReport &report)
{
    status->showMessage(report.outcome + QStringLiteral(" (") + report.duration + QLatin1Char(')'));
    panel->finish(report);
    if (!report.ok)
        notices->show(QMessageBox::Warning, report.outcome, report.details);
    else if (notify == Notify::OnSuccess)
        notices->show(QMessageBox::Information,
                      QCoreApplication::translate("MainWindow", "Update FW OK !!!"));
    // A run this window did not start tells nothing on success.
    notify = Notify::AtStart;
    emit told();
}

// A press whose leaf, or whose panel's earlier runs, take their time says
// so while it waits.
void RunNews::showWaiting()
{
    const QString waiting = waitingText();
    if (waiting == std::exchange(waitingShown, waiting))
        return;
    if (waiting.isEmpty())
        status->clearMessage();
    else
        status->showMessage(waiting);
}

QString RunNews::waitingText() const
{
    switch (run->state()) {
    case StationRun::State::ReadingLeaf:
        return tr("Reading %1…").arg(placeOf(run->lastPress().leafPath));
    case StationRun::State::LookingUp:
        // Most look-ups end before anyone could read this.
        return lookupPatience.isActive() ? QString()
                                         : tr("Looking up %1 in the history…").arg(run->lastPress().serial);
    case StationRun::State::AwaitingRelease:
        return tr("Reading the release…");
    case StationRun::State::Idle:
    case StationRun::State::Asking:
    case StationRun::State::Checking:
    case StationRun::State::Launching:
    case StationRun::State::Following:
    case StationRun::State::Foreign:
    case StationRun::State::Orphaned:
    case StationRun::State::Ending:
        break;
    }
    return {};
}

void RunNews::warn(const QString &warning)
{
    notices->show(QMessageBox::Warning, warning);
}
