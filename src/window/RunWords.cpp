#include "window/RunWords.h"

#include "selection/DirListing.h"
#include "selection/NameDisplay.h"
#include "update/run/RunLog.h"
#include "window/FaultWords.h"
#include "window/RunPanel.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString timeOf(const QDateTime &time)
{
    return time.toLocalTime().toString(QStringLiteral("HH:mm:ss"));
}

// Why the updater could not be started: tpfw's own reasons translated, the
// system's shown as it gave them.
QString startReason(const RunRefusal &refusal)
{
    static const std::pair<Refusal, const char *> own[] = {
        {Refusal::UpdaterMissing, QT_TRANSLATE_NOOP("RunWords", "not found")},
        {Refusal::UpdaterFolder, QT_TRANSLATE_NOOP("RunWords", "a folder")},
        {Refusal::UpdaterNotExecutable, QT_TRANSLATE_NOOP("RunWords", "not executable")},
        {Refusal::TooManyImages, QT_TRANSLATE_NOOP("RunWords", "too many images for one command line")},
    };
    for (const auto &[why, words] : own)
        if (why == refusal.why)
            return RunWords::tr(words);
    return refusal.system;
}

QString unrecordable(const QString &reason)
{
    return RunWords::tr("This run cannot be recorded: %1. Nothing was started.").arg(reason);
}

// What a press is refused for before anything of it is begun; nothing for
// the refusals of a press that got further.
QString doorRefusal(const RunRefusal &refusal, const StationPolicy &station)
{
    switch (refusal.why) {
    case Refusal::SettingsFault:
        return RunWords::settingsFault(station);
    case Refusal::NoOperator:
        return RunWords::tr("Sign in first: Station > Sign in…");
    case Refusal::NoSerial:
        return RunWords::tr("Scan or type the panel's serial first.");
    case Refusal::BadSerial:
        return RunWords::tr("\"%1\" is not a panel serial of this station: nothing was started.")
            .arg(displayName(refusal.name));
    case Refusal::Unlisted:
        return RunWords::unlisted(refusal.unlisted, refusal.name);
    case Refusal::LeafSilent:
        return RunWords::tr("%1 is not answering: nothing was started.").arg(placeOf(refusal.name));
    case Refusal::ListChanged:
        return RunWords::tr("The images of %1 changed on disk: check the list and press UpdateFW again.")
            .arg(placeOf(refusal.name));
    case Refusal::Busy:
        return RunWords::tr("The FW updater is still running.");
    case Refusal::ReleaseReading:
        return RunWords::tr("The release is being read again: press UpdateFW again in a moment.");
    case Refusal::NotReleased:
    case Refusal::ImageNotReleased:
    case Refusal::ImageExtra:
    case Refusal::ImageMissing:
    case Refusal::ImageChanged:
    case Refusal::UpdaterMissing:
    case Refusal::UpdaterFolder:
    case Refusal::UpdaterNotExecutable:
    case Refusal::TooManyImages:
    case Refusal::CannotStart:
    case Refusal::NoLog:
    case Refusal::NoLock:
    case Refusal::Unrecorded:
    case Refusal::Cancelled:
        break;
    }
    return {};
}

} // namespace

QString RunWords::refusal(const RunRefusal &refusal, const StationPolicy &station)
{
    switch (refusal.why) {
    case Refusal::NotReleased:
        return tr("%1/%2 is not released for order %3: nothing was started.")
            .arg(displayName(refusal.tpSize), displayName(refusal.sensitivity), refusal.order);
    case Refusal::ImageChanged:
        return tr("%1 changed while it was checked: nothing was started. Make sure nothing writes to the "
                  "images, then press UpdateFW again.")
            .arg(displayName(refusal.name));
    case Refusal::ImageNotReleased:
        return tr("%1 is not the image released in %2: nothing was started.")
            .arg(displayName(refusal.name), refusal.order);
    case Refusal::ImageExtra:
        return tr("%1 is not in release %2: nothing was started.")
            .arg(displayName(refusal.name), refusal.order);
    case Refusal::ImageMissing:
        return tr("%1 of release %2 is missing: nothing was started.")
            .arg(displayName(refusal.name), refusal.order);
    case Refusal::UpdaterMissing:
    case Refusal::UpdaterFolder:
    case Refusal::UpdaterNotExecutable:
    case Refusal::TooManyImages:
    case Refusal::CannotStart:
        return tr("Cannot start the FW updater: ") + refusal.name + QStringLiteral(" (")
            + startReason(refusal) + QLatin1Char(')');
    case Refusal::NoLog:
    case Refusal::NoLock:
        return unrecordable(refusal.system);
    case Refusal::Unrecorded:
        return unrecordable(refusal.system.isEmpty() ? tr("its supervisor could not write a record")
                                                     : refusal.system);
    case Refusal::Cancelled:
        // Told to nobody: its window is gone.
        return detailOf(refusal);
    case Refusal::SettingsFault:
    case Refusal::NoOperator:
    case Refusal::NoSerial:
    case Refusal::BadSerial:
    case Refusal::Busy:
    case Refusal::Unlisted:
    case Refusal::LeafSilent:
    case Refusal::ListChanged:
    case Refusal::ReleaseReading:
        break;
    }
    return doorRefusal(refusal, station);
}

QString RunWords::question(StationRun::Question question, const StationRun &run)
{
    const Press &press = run.lastPress();
    switch (question) {
    case StationRun::Question::UpdatedBefore: {
        const RunRecord earlier = run.earlier().value_or(RunRecord());
        return tr("Panel %1 was already updated OK on %2 at %3. Update it again?")
            .arg(displayName(press.serial), earlier.started.toLocalTime().toString("yyyy-MM-dd HH:mm"),
                 earlier.station.isEmpty() ? earlier.host : earlier.station);
    }
    case StationRun::Question::OtherTpSize:
        return tr("The listed images are from %1, but %2 is checked. Update with the %1 images?")
            .arg(leafTitle(press.tpSize, press.sensitivity), displayName(press.otherTpSize));
    case StationRun::Question::NoImages:
        return tr("No images are listed. Start the FW updater with no images anyway?");
    }
    return {};
}

QString RunWords::settingsFault(const StationPolicy &station)
{
    if (!station.isFaulty())
        return {};
    if (station.settings().fault.kind == SettingsFault::None) {
        const auto [file, problem] = FaultWords::release(station);
        return tr("Release %1: %2. No FW update can be started until it is fixed.")
            .arg(QDir::toNativeSeparators(file), problem);
    }
    return tr("Station settings %1: %2. No FW update can be started until the file is fixed.")
        .arg(QDir::toNativeSeparators(station.path()), FaultWords::settings(station.settings().fault));
}

QString RunWords::textFault(TextRule::Fault fault, int length)
{
    switch (fault) {
    case TextRule::Fault::Empty:
        return tr("it is empty");
    case TextRule::Fault::Unseen:
        return tr("it holds a character that cannot be seen (a control, format or separator character)");
    case TextRule::Fault::Marks:
        return tr("it has a mark on nothing, or more than %1 on one character").arg(TextRule::maxMarks);
    case TextRule::Fault::TooLong:
        return tr("it is longer than %1 characters").arg(length);
    case TextRule::Fault::None:
        break;
    }
    return {};
}

QString RunWords::notAnOperator(const QString &read, TextRule::Fault fault)
{
    return tr("\"%1\" is not an operator ID: %2.")
        .arg(displayName(read), textFault(fault, TextRule::defaultLength));
}

QString RunWords::notListed(const QString &id)
{
    return tr("\"%1\" may not sign in here: not in this station's list of operators.").arg(displayName(id));
}

QString RunWords::nextPanel(const QString &serial)
{
    return tr("Next panel: %1, ready once this run has ended").arg(displayName(serial));
}

QString RunWords::askStopper()
{
    return tr("Stopping the updater while it writes can leave the panel unusable. To stop it anyway, the "
              "operator of the run scans or types their ID:");
}

QString RunWords::notTheStopper(const QString &id)
{
    return tr("\"%1\" is not the operator of this run: the updater goes on.").arg(displayName(id));
}

QString RunWords::signedOutIdle(int minutes)
{
    return tr("Signed out: no press for %1 min. Station > Sign in… (Ctrl+I)").arg(minutes);
}

QString RunWords::corner(const StationPolicy &station)
{
    const StationSettings &settings = station.settings();
    QStringList parts;
    if (!station.orderName().isEmpty())
        parts.append(tr("Order: %1").arg(station.orderName()));
    if (settings.operatorRequired) {
        const OperatorSession &session = station.operatorSession();
        parts.append(session.state() == OperatorSession::State::SignedIn
                         ? tr("Operator: %1").arg(session.id())
                         : tr("Not signed in"));
    }
    return parts.join(QStringLiteral("  "));
}

QString RunWords::unlisted(int count, const QString &path)
{
    return count == 1
        ? tr("1 entry of %1 has a name that is not valid UTF-8 and is not listed: rename it")
              .arg(placeOf(path))
        : tr("%1 entries of %2 have names that are not valid UTF-8 and are not listed: rename them")
              .arg(count)
              .arg(placeOf(path));
}

QString RunWords::leafTitle(const QString &tpSize, const QString &sensitivity)
{
    return displayName(tpSize) + " / " + displayName(sensitivity);
}

QString RunWords::runTitle(const QString &leafTitle, const QString &unit, const QString &operatorId)
{
    const QString run = unit.isEmpty() ? leafTitle : tr("Panel %1 · %2").arg(displayName(unit), leafTitle);
    return operatorId.isEmpty() ? run : tr("%1 · operator %2").arg(run, displayName(operatorId));
}

QString RunWords::leafLine(const QString &tpSize, const QString &sensitivity, const QString &otherTpSize,
                           const StationPolicy &station)
{
    const QString leaf = leafTitle(tpSize, sensitivity);
    if (const std::optional<Unreleased> why = station.unreleased(tpSize, sensitivity))
        return unreleasedImages(leaf, *why, station);
    if (otherTpSize.isEmpty())
        return leafImages(leaf, station);
    return tr("Images of %1, still: %2 is checked, no sensitivity yet").arg(leaf, displayName(otherTpSize));
}

QString RunWords::leafImages(const QString &leafTitle, const StationPolicy &station)
{
    if (station.release().state() != ReleaseWatch::State::Read || station.isFaulty())
        return tr("Images of %1").arg(leafTitle);
    return tr("Images of %1, release %2").arg(leafTitle, station.release().release().manifest.release);
}

QString RunWords::unreleasedImages(const QString &leafTitle, Unreleased why, const StationPolicy &station)
{
    const Release &release = station.release().release();
    // The release by the name it gives itself, else by its file's.
    const QString name = release.manifest.release.isEmpty()
        ? QFileInfo(station.release().manifestPath()).fileName()
        : release.manifest.release;
    switch (why) {
    case Unreleased::NotInOrder:
        return tr("Images of %1, not released for order %2: UpdateFW will not start them")
            .arg(leafTitle, station.orderName());
    case Unreleased::SettingsFaulty:
        return tr("Images of %1: the station's settings cannot be used: UpdateFW will not start them")
            .arg(leafTitle);
    case Unreleased::Reading:
        return tr("Images of %1: the release is being read").arg(leafTitle);
    case Unreleased::ReleaseUnreadable:
        return tr("Images of %1: release %2 cannot be read: UpdateFW will not start them")
            .arg(leafTitle, name);
    case Unreleased::ReleaseUntrusted:
        return tr("Images of %1: release %2 cannot be trusted: UpdateFW will not start them")
            .arg(leafTitle, name);
    case Unreleased::OtherOrder:
        return tr("Images of %1: release %2 is for order %3, not %4: UpdateFW will not start them")
            .arg(leafTitle, name, release.manifest.order, station.settings().orderName);
    case Unreleased::NotInRelease:
        return tr("Images of %1: release %2 of order %3 does not list this leaf: UpdateFW will not start "
                  "them")
            .arg(leafTitle, name, release.manifest.order);
    }
    return {};
}

QString RunWords::checking(int done, int total)
{
    return tr("Checking the images: %1 of %2").arg(done).arg(total);
}

QString RunWords::running(const RunInfo &info)
{
    return tr("FW updater running (started %1)").arg(timeOf(info.started));
}

QString RunWords::heldBy(const RunInfo &on, bool ours)
{
    if (ours)
        return tr("FW updater running (its supervisor is gone; started %1)").arg(timeOf(on.started));
    if (on.supervisorPid > 0)
        return tr("FW updater running (another tpfw's, started %1)").arg(timeOf(on.started));
    // Its run info not written yet, or not readable: held all the same.
    return tr("FW updater running (unknown run)");
}

QString RunWords::interruptedStatus()
{
    return tr("FW update interrupted: result unknown");
}

QString RunWords::interrupted(const RunRecord &record)
{
    return tr("The FW update started %1 on %2 / %3 was interrupted; its result is unknown. Check the panel "
              "before using it.")
        .arg(record.started.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
             displayName(record.tpSize), displayName(record.sensitivity));
}

QString RunWords::damaged(const QString &path)
{
    return tr("A damaged record of a FW update was set aside: %1. Check the panel of the last update that "
              "was not recorded.")
        .arg(QDir::toNativeSeparators(path));
}

QString RunWords::lockUnusable(const QString &problem)
{
    return tr("The machine's run lock cannot be used: %1. No FW update can be started until it is fixed.")
        .arg(problem);
}

QString RunWords::historyNotWritten(const QString &problem)
{
    return tr("The station history could not be written: %1. This run is not recorded.").arg(problem);
}

QString RunWords::outcome(const RunRecord &record)
{
    const int exitCode = record.exitCode.value_or(-1);
    if (record.sentNothing())
        return tr("FW updater ended: no images were sent (exit code %1)").arg(exitCode);
    switch (record.outcome.value_or(Outcome::Unknown)) {
    case Outcome::Ok:
        return tr("FW update OK");
    case Outcome::Failed:
        return tr("FW update failed: exit code %1").arg(exitCode);
    case Outcome::Crashed:
        return tr("FW update failed: the updater crashed");
    case Outcome::Stopped:
        return tr("FW update stopped");
    case Outcome::Interrupted:
        return interruptedStatus();
    case Outcome::NotStarted:
    case Outcome::Unknown:
        break;
    }
    return tr("FW updater ended (result unknown)");
}

RunReport RunWords::report(const RunRecord &record, const QString &logProblem)
{
    RunReport report;
    const Outcome outcome = record.outcome.value_or(Outcome::Unknown);
    // Neither success nor failure where nothing was sent.
    report.ok = record.isOk();
    report.known = (outcome == Outcome::Ok || outcome == Outcome::Failed || outcome == Outcome::Crashed
                    || outcome == Outcome::Stopped)
        && !record.sentNothing();
    report.outcome = RunWords::outcome(record);
    if (report.known && !report.ok)
        report.advice = tr("Set this panel aside: check it, or update it again, before it is used.");
    report.duration
        = record.seconds ? QString::number(*record.seconds, 'f', 1) + QStringLiteral(" s") : QString();
    const QString where
        = record.log.isEmpty() ? tr("No run log: ") + logProblem : tr("Run log: ") + record.log;
    // The updater's own last words first; what the station noted last.
    QStringList parts {logTail(record.log, 20), record.detail, record.notes.join(QLatin1Char('\n')), where};
    parts.removeAll(QString());
    report.details = parts.join(QStringLiteral("\n\n"));
    return report;
}
