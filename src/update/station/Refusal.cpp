#include "update/station/Refusal.h"

#include <algorithm>
#include <iterator>

namespace {

// The reasons a start is refused for, as records give them.
struct StartReason
{
    Refusal why;
    const char *detail;
};

constexpr StartReason startReasons[] = {
    {Refusal::UpdaterMissing, "not found"},
    {Refusal::UpdaterFolder, "a folder"},
    {Refusal::UpdaterNotExecutable, "not executable"},
    {Refusal::TooManyImages, "too many images for one command line"},
};

} // namespace

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
    for (const StartReason &reason : startReasons)
        if (reason.why == refusal.why)
            return QString::fromLatin1(reason.detail);
    switch (refusal.why) {
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
    case Refusal::UpdaterMissing:
    case Refusal::UpdaterFolder:
    case Refusal::UpdaterNotExecutable:
    case Refusal::TooManyImages:
    case Refusal::CannotStart:
    case Refusal::Unrecorded:
        break;
    }
    return refusal.system;
}

RunRefusal startRefusal(const QString &program, const QString &detail)
{
    RunRefusal refusal;
    refusal.name = program;
    refusal.system = detail;
    const auto known
        = std::find_if(std::begin(startReasons), std::end(startReasons),
                       [&](const StartReason &reason) { return detail == QLatin1String(reason.detail); });
    if (known != std::end(startReasons)) {
        refusal.why = known->why;
        refusal.system.clear();
    }
    return refusal;
}
