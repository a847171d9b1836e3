#pragma once

#include "selection/DirListing.h"
#include "update/station/StationSettings.h"
#include "window/OperatorSession.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

// Whom and what a run is for, as the station's settings ask.
struct RunFor
{
    QString station;
    QString unit;
    QString operatorId;
    QString order;
};

// The station's settings as the window applies them, read at start and
// whenever their file changes, and the words for what they refuse. Without
// a settings file nothing is asked for and nothing refused.
class StationGate : public QObject
{
    Q_OBJECT

public:
    explicit StationGate(QObject *parent = nullptr);

    const StationSettings &settings() const { return current; }
    OperatorSession *operatorSession() { return &signedIn; }
    // The warning for a file that cannot be used; empty when it can.
    QString fault() const;
    // Why no press may start now; empty when one may.
    QString refusal() const;
    // Why the serial read is not a panel's; empty when it is.
    QString serialRefusal(const QString &serial) const;
    bool releases(const Leaf &leaf) const;
    // Why the leaf may not be started, in the record's English or as shown.
    QString unreleased(const Leaf &leaf, bool onScreen) const;
    // The order and the operator, as the corner beside the menus shows them.
    QString cornerText() const;
    RunFor runFor(const QString &serial) const;

signals:
    // The settings were read again, or the operator changed.
    void changed();
    // The file was read and cannot be used.
    void faulted(QString warning);

private:
    void reread();

    QString path;
    StationSettings current;
    OperatorSession signedIn;
    QFileSystemWatcher watch;
};
