#include "update/UpdaterRun.h"

#include <QCoreApplication>

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

QString tooManyImages()
{
    return QCoreApplication::translate("MainWindow", "too many images for one command line");
}
