#include "update/UpdaterRun.h"

UpdaterRun::UpdaterRun(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<RunEnd>();
}

UpdaterRun::~UpdaterRun() = default;

bool UpdaterRun::isRunning() const
{
    return watch != nullptr;
}

void UpdaterRun::end(const RunEnd &how)
{
    watch.reset();
    emit finished(how);
}
