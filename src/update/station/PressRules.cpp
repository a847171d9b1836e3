#include "update/station/PressRules.h"

#include "update/run/RunProcess.h"

std::optional<RunRefusal> doorRefusal(const Door &door)
{
    // One run at a time, and one press.
    if (door.busy)
        return refusalOf(Refusal::Busy);
    if (door.faulty)
        return refusalOf(Refusal::SettingsFault);
    if (door.releaseReading)
        return refusalOf(Refusal::ReleaseReading);
    if (door.operatorRequired && !door.signedIn)
        return refusalOf(Refusal::NoOperator);
    return std::nullopt;
}

std::optional<RunRefusal> serialRefusal(bool required, const QString &read,
                                        const std::optional<QString> &serial)
{
    if (!required || serial)
        return std::nullopt;
    return read.isEmpty() ? refusalOf(Refusal::NoSerial) : refusalOf(Refusal::BadSerial, read);
}

std::optional<RunRefusal> notReleasedRefusal(const Press &press, bool released, const QString &order)
{
    if (released)
        return std::nullopt;
    return RunRefusal {Refusal::NotReleased, press.tpSize, press.sensitivity, order, {}, {}, 0};
}

// The listed images may go to the updater only as they are on disk now.
std::optional<RunRefusal> leafRefusal(const Press &press, const std::optional<LeafNow> &now)
{
    if (!now)
        return refusalOf(Refusal::LeafSilent, press.leafPath);
    if (now->unlisted)
        return RunRefusal {Refusal::Unlisted, {}, {}, {}, press.leafPath, {}, now->unlisted};
    if (now->images != press.images)
        return refusalOf(Refusal::ListChanged, press.leafPath);
    return std::nullopt;
}

// The images as checked are exactly the release's, or nothing starts: the
// bytes compared are those hashed into the record, read once.
std::optional<RunRefusal> releaseRefusal(const Door &door, const std::optional<ReleaseMismatch> &mismatch,
                                         const QString &release)
{
    if (!door.release)
        return std::nullopt;
    if (door.faulty)
        return refusalOf(Refusal::SettingsFault);
    if (door.releaseReading)
        return refusalOf(Refusal::ReleaseReading);
    if (!mismatch)
        return std::nullopt;
    constexpr Refusal why[] = {Refusal::ImageNotReleased, Refusal::ImageExtra, Refusal::ImageMissing};
    RunRefusal refusal = refusalOf(why[mismatch->kind], mismatch->image);
    refusal.order = release;
    return refusal;
}

std::optional<RunRefusal> launchRefusal(const Launch &launch)
{
    // What is sent must be what was checked.
    for (const FileFacts &image : launch.images)
        if (image.changedWhileRead)
            return refusalOf(Refusal::ImageChanged, QFileInfo(image.path).fileName());
    const QString program = launch.updater.filePath();
    if (!launch.updater.exists())
        return refusalOf(Refusal::UpdaterMissing, program);
    if (launch.updater.isDir())
        return refusalOf(Refusal::UpdaterFolder, program);
#ifndef Q_OS_WIN
    // Windows runs a program whatever its permissions.
    if (!launch.updater.isExecutable())
        return refusalOf(Refusal::UpdaterNotExecutable, program);
#endif
    // Never a run that a crash would leave without a trace.
    if (launch.log.isEmpty())
        return refusalOf(Refusal::NoLog, {}, launch.logProblem);
    if (!launch.lockProblem.isEmpty())
        return refusalOf(Refusal::NoLock, {}, launch.lockProblem);
    return std::nullopt;
}

RunRefusal startRefusal(const QString &program, const QString &error)
{
    return refusalOf(startFailure(error), program, error);
}
