#pragma once

#include "update/release/Release.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

// The station's release, read off the GUI thread (its files may be on a
// share) at start and again whenever the manifest, its signature or a key
// changes. A release engineer writes a manifest, then its signature: the
// files are read once they have been quiet for a moment, and read again if
// they changed while being read, so the station settles on the pair that is
// there, never on one half's word. A change beside them (another order's
// manifest published in the same folder) is no change of theirs: they are
// read again only where their own size or times moved, and a release read
// again keeps its state meanwhile.
class ReleaseWatch : public QObject
{
    Q_OBJECT

public:
    enum class State {
        // The station has no release.
        None,
        // Being read, or about to be: nothing may start on the last one.
        Reading,
        Read,
    };

    explicit ReleaseWatch(QObject *parent = nullptr);

    // Reads these files from now on; none for no release.
    void watchFiles(const QString &manifest, const QStringList &keys);
    State state() const { return current; }
    // Being read, first or again: what is read now may not be what a press
    // would find.
    bool isReading() const { return current == State::Reading || rereading; }
    // The last read; its fault says what is wrong with it.
    const Release &release() const { return read; }
    const QString &manifestPath() const { return manifest; }

signals:
    void changed();

private:
    void filesChanged();
    void readNow();
    void enter(State state);
    void watchPaths();
    // The release's own files as the system tells of them: size and times,
    // changed by any write or replacement.
    QString ownFilesNow() const;

    State current = State::None;
    QString manifest;
    QStringList keys;
    Release read;
    // Counts the changes seen: a reading that began before the last one is
    // stale when it ends.
    int changes = 0;
    bool reading = false;
    bool rereading = false;
    QString ownFilesSeen;
    QTimer quiet;
    QFileSystemWatcher watcher;
};
