#pragma once

#include "update/station/StationRun.h"

#include <QCoreApplication>
#include <QString>

struct RunReport;

// What the window says of a press and of the station's runs: every refusal,
// question, status and notice, in the technician's language, from the typed
// values the station run gives. Names are shown as NameDisplay shows them;
// the system's own words (an errno's text) as they are.
class RunWords
{
    Q_DECLARE_TR_FUNCTIONS(RunWords)

public:
    static QString refusal(const RunRefusal &refusal, const StationPolicy &station);
    static QString question(StationRun::Question question, const StationRun &run);
    static QString settingsFault(const StationPolicy &station);
    // Why the rule refuses a text of at most length characters.
    static QString textFault(TextRule::Fault fault, int length);
    static QString notAnOperator(const QString &read, TextRule::Fault fault);
    static QString notListed(const QString &id);
    // A serial read while a run is on, kept for the next panel.
    static QString nextPanel(const QString &serial);
    static QString askStopper();
    static QString notTheStopper(const QString &id);
    static QString signedOutIdle(int minutes);
    // The order and the operator, as the corner beside the menus shows them.
    static QString corner(const StationPolicy &station);
    static QString unlisted(int count, const QString &path);
    static QString leafTitle(const QString &tpSize, const QString &sensitivity);
    // What a run is of: the panel, where its serial was asked for, and the
    // leaf; and by whom, where an operator is known.
    static QString runTitle(const QString &leafTitle, const QString &unit, const QString &operatorId = {});
    // Above the list: whose images are listed, from which release, or why
    // this station will not flash them; and a TP size checked since
    // (otherTpSize) whose sensitivity is not chosen yet.
    static QString leafLine(const QString &tpSize, const QString &sensitivity, const QString &otherTpSize,
                            const StationPolicy &station);

    static QString checking(int done, int total);
    static QString running(const RunInfo &info);
    static QString heldBy(const RunInfo &on, bool ours);
    static QString interruptedStatus();
    static QString interrupted(const RunRecord &record);
    static QString damaged(const QString &path);
    static QString lockUnusable(const QString &problem);
    static QString historyNotWritten(const QString &problem);

    // "FW update OK", "FW update failed: exit code 3", ...: never OK unless
    // the updater said so with exit code 0, and was sent images.
    static QString outcome(const RunRecord &record);
    static RunReport report(const RunRecord &record, const QString &logProblem);

private:
    static QString leafImages(const QString &leafTitle, const StationPolicy &station);
    static QString unreleasedImages(const QString &leafTitle, Unreleased why, const StationPolicy &station);
};
