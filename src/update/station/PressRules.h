#pragma once

#include "update/record/FileFacts.h"
#include "update/record/Refusal.h"
#include "update/release/ReleaseManifest.h"

#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// A press of UpdateFW as the window hands it over: the leaf its images are
// from (empty where nothing is listed), the images as listed, the panel's
// serial as read, and the TP size checked now where it is not the leaf's.
struct Press
{
    QString tpSize;
    QString sensitivity;
    QString leafPath;
    QStringList images;
    QString serial;
    QString otherTpSize;
};

// The leaf read again at the press: its images' full paths as they would be
// listed now, and how many entries cannot be listed.
struct LeafNow
{
    QStringList images;
    int unlisted = 0;
};

// The station as a press finds it at the door.
struct Door
{
    // A press being checked, or a run on the machine.
    bool busy = false;
    // The settings, or the release they name, cannot be used.
    bool faulty = false;
    // The station flashes only what a signed release lists.
    bool release = false;
    bool releaseReading = false;
    bool operatorRequired = false;
    bool signedIn = false;
};

// What a press is started with, once its images are checked.
struct Launch
{
    QVector<FileFacts> images;
    QFileInfo updater;
    // The run's log, and why there is none where it is empty.
    QString log;
    QString logProblem;
    // Why the machine's run lock cannot be used, if it cannot.
    QString lockProblem;
};

// The rules that can turn a press away, in the order a press meets them:
// each decides from what it is given alone, and gives the refusal or
// nothing. The station run asks them; tpfw-run's own refusals are its
// start's (startFailure) and those its exit codes tell.

std::optional<RunRefusal> doorRefusal(const Door &door);
// serial: the panel's serial as the station takes what was read, if it is
// one.
std::optional<RunRefusal> serialRefusal(bool required, const QString &read,
                                        const std::optional<QString> &serial);
std::optional<RunRefusal> notReleasedRefusal(const Press &press, bool released, const QString &order);
// now: nothing where the leaf did not answer in time.
std::optional<RunRefusal> leafRefusal(const Press &press, const std::optional<LeafNow> &now);
// The images as checked against the release (release: its name), where the
// station has one.
std::optional<RunRefusal> releaseRefusal(const Door &door, const std::optional<ReleaseMismatch> &mismatch,
                                         const QString &release);
std::optional<RunRefusal> launchRefusal(const Launch &launch);
// The updater's supervisor could not be started, for that error.
RunRefusal startRefusal(const QString &program, const QString &error);
