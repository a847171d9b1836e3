#include "update/run/RunProcess.h"

#include <utility>

RunProcess::RunProcess(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<RunEnd>();
    forceTimer.setSingleShot(true);
    forceTimer.setInterval(stopGraceMs);
    connect(&forceTimer, &QTimer::timeout, this, [this] {
        forced = true;
        remainsCheck.start();
        checkRemains();
    });
    remainsCheck.setInterval(100);
    connect(&remainsCheck, &QTimer::timeout, this, &RunProcess::checkRemains);
}

RunProcess::~RunProcess() = default;

bool RunProcess::isRunning() const
{
    return watch != nullptr || heldEnd;
}

void RunProcess::stop()
{
    if (!isRunning() || forceTimer.isActive() || forced)
        return;
    forceTimer.start();
    askToEnd();
}

void RunProcess::end(const RunEnd &how)
{
    watch.reset();
    heldEnd = how;
    checkRemains();
}

// A forced stop goes on until nothing of the run is left: whatever its
// processes start meanwhile goes too, before the end is told as after it
// (the keeper tells it only once all it holds has gone).
void RunProcess::checkRemains()
{
    if (forced)
        forceStop();
    if (!heldEnd)
        return;
    if (anythingLeft()) {
        remainsCheck.start();
        return;
    }
    remainsCheck.stop();
    forceTimer.stop();
    RunEnd how = *std::exchange(heldEnd, std::nullopt);
    how.forced = std::exchange(forced, false);
    emit finished(how);
}

QString tooManyImages()
{
    return detailOf(refusalOf(Refusal::TooManyImages));
}

QString notExecutable()
{
    return detailOf(refusalOf(Refusal::UpdaterNotExecutable));
}

Refusal startFailure(const QString &error)
{
    if (error == tooManyImages())
        return Refusal::TooManyImages;
    return error == notExecutable() ? Refusal::UpdaterNotExecutable : Refusal::CannotStart;
}
