#include "update/UpdaterRun.h"

#include <utility>

UpdaterRun::UpdaterRun(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<RunEnd>();
    forceTimer.setSingleShot(true);
    forceTimer.setInterval(stopGraceMs);
    connect(&forceTimer, &QTimer::timeout, this, [this] {
        forced = true;
        forceStop();
        checkRemains();
    });
    remainsCheck.setInterval(100);
    connect(&remainsCheck, &QTimer::timeout, this, &UpdaterRun::checkRemains);
}

UpdaterRun::~UpdaterRun() = default;

bool UpdaterRun::isRunning() const
{
    return watch != nullptr || heldEnd;
}

void UpdaterRun::stop()
{
    if (!isRunning() || forceTimer.isActive() || forced)
        return;
    forceTimer.start();
    askToEnd();
}

void UpdaterRun::end(const RunEnd &how)
{
    watch.reset();
    heldEnd = how;
    checkRemains();
}

void UpdaterRun::checkRemains()
{
    if (!heldEnd)
        return;
    if (anythingLeft()) {
        // Whatever a forced stop's processes started meanwhile goes too.
        if (forced)
            forceStop();
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
    return QStringLiteral("too many images for one command line");
}
