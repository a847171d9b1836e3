#include "update/record/Refusal.h"

#include "update/record/RunRecord.h"

#include <utility>

namespace {

// Each refusal as a record names it: never renamed, for whoever reads the
// records keeps to these names.
constexpr std::pair<Refusal, const char *> names[] = {
    {Refusal::SettingsFault, "settingsFault"},
    {Refusal::NoOperator, "noOperator"},
    {Refusal::NoSerial, "noSerial"},
    {Refusal::BadSerial, "badSerial"},
    {Refusal::Busy, "busy"},
    {Refusal::Unlisted, "unlisted"},
    {Refusal::LeafSilent, "leafSilent"},
    {Refusal::ListChanged, "listChanged"},
    {Refusal::ReleaseReading, "releaseReading"},
    {Refusal::NotReleased, "notReleased"},
    {Refusal::ImageNotReleased, "imageNotReleased"},
    {Refusal::ImageExtra, "imageExtra"},
    {Refusal::ImageMissing, "imageMissing"},
    {Refusal::ImageChanged, "imageChanged"},
    {Refusal::UpdaterMissing, "updaterMissing"},
    {Refusal::UpdaterFolder, "updaterFolder"},
    {Refusal::UpdaterNotExecutable, "updaterNotExecutable"},
    {Refusal::TooManyImages, "tooManyImages"},
    {Refusal::CannotStart, "cannotStart"},
    {Refusal::NoLog, "noLog"},
    {Refusal::NoLock, "noLock"},
    {Refusal::Unrecorded, "unrecorded"},
    {Refusal::Cancelled, "cancelled"},
};

} // namespace

QString refusalName(Refusal why)
{
    for (const auto &[refusal, name] : names)
        if (refusal == why)
            return QString::fromLatin1(name);
    return {};
}

std::optional<Refusal> refusalNamed(const QString &name)
{
    for (const auto &[refusal, known] : names)
        if (name == QLatin1String(known))
            return refusal;
    return std::nullopt;
}

RunRefusal refusalOf(Refusal why, const QString &name, const QString &system)
{
    RunRefusal refusal;
    refusal.why = why;
    refusal.name = name;
    refusal.system = system;
    return refusal;
}

QString detailOf(const RunRefusal &refusal)
{
    switch (refusal.why) {
    case Refusal::UpdaterMissing:
        return QStringLiteral("not found");
    case Refusal::UpdaterFolder:
        return QStringLiteral("a folder");
    case Refusal::UpdaterNotExecutable:
        return QStringLiteral("not executable");
    case Refusal::TooManyImages:
        return QStringLiteral("too many images for one command line");
    case Refusal::NotReleased:
        return QStringLiteral("%1/%2 is not released for order %3: nothing was started.")
            .arg(refusal.tpSize, refusal.sensitivity, refusal.order);
    case Refusal::ImageChanged:
        return refusal.name + QStringLiteral(": changed while it was checked");
    case Refusal::ImageNotReleased:
        return QStringLiteral("%1 is not the image released in %2: nothing was started.")
            .arg(refusal.name, refusal.order);
    case Refusal::ImageExtra:
        return QStringLiteral("%1 is not in release %2: nothing was started.")
            .arg(refusal.name, refusal.order);
    case Refusal::ImageMissing:
        return QStringLiteral("%1 of release %2 is missing: nothing was started.")
            .arg(refusal.name, refusal.order);
    case Refusal::ReleaseReading:
        return QStringLiteral("the release was being read again: nothing was started.");
    case Refusal::SettingsFault:
        return QStringLiteral("the station's settings or release cannot be used: nothing was started.");
    case Refusal::NoLog:
        return QStringLiteral("cannot write the run's log: ") + refusal.system;
    case Refusal::NoLock:
        return QStringLiteral("cannot take the machine's run lock: ") + refusal.system;
    case Refusal::Cancelled:
        return QStringLiteral("cancelled: the window was closed while the images were checked");
    case Refusal::NoOperator:
    case Refusal::NoSerial:
    case Refusal::BadSerial:
    case Refusal::Busy:
    case Refusal::Unlisted:
    case Refusal::LeafSilent:
    case Refusal::ListChanged:
    case Refusal::CannotStart:
    case Refusal::Unrecorded:
        break;
    }
    return refusal.system;
}

RunRefusal recordedRefusal(const RunRecord &record)
{
    return refusalOf(record.refusal.value_or(Refusal::CannotStart), record.updater.path, record.detail);
}
