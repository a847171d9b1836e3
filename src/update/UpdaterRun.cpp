#include "update/UpdaterRun.h"

#include <QCoreApplication>

#include <utility>

UpdaterRun::UpdaterRun(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<RunEnd>();
    forceTimer.setSingleShot(true);
    forceTimer.setInterval(stopGraceMs);
    connect(&forceTimer, &QTimer::timeout, this, [this] {
        forceStop();
        if (heldEnd)
            emit finished(*std::exchange(heldEnd, std::nullopt));
    });
}

UpdaterRun::~UpdaterRun() = default;

bool UpdaterRun::isRunning() const
{
    return watch != nullptr || heldEnd;
}

void UpdaterRun::stop()
{
    if (!watch || forceTimer.isActive())
        return;
    forceTimer.start();
    askToEnd();
}

void UpdaterRun::end(const RunEnd &how)
{
    watch.reset();
    if (forceTimer.isActive() && anythingLeft()) {
        heldEnd = how;
        return;
    }
    forceTimer.stop();
    emit finished(how);
}

QString tooManyImages()
{
    return QCoreApplication::translate("MainWindow", "too many images for one command line");
}
