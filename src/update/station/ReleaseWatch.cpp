#include "update/station/ReleaseWatch.h"

#include "update/record/Background.h"

#include <QDateTime>
#include <QFileInfo>

ReleaseWatch::ReleaseWatch(QObject *parent)
    : QObject(parent)
{
    quiet.setSingleShot(true);
    quiet.setInterval(500);
    connect(&quiet, &QTimer::timeout, this, &ReleaseWatch::readNow);
    connect(&watcher, &QFileSystemWatcher::fileChanged, this, &ReleaseWatch::filesChanged);
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, &ReleaseWatch::filesChanged);
}

void ReleaseWatch::watchFiles(const QString &manifestFile, const QStringList &keyFiles)
{
    if (manifestFile == manifest && keyFiles == keys && current != State::None)
        return;
    manifest = manifestFile;
    keys = keyFiles;
    if (!watcher.files().isEmpty())
        watcher.removePaths(watcher.files());
    if (!watcher.directories().isEmpty())
        watcher.removePaths(watcher.directories());
    read = Release();
    rereading = false;
    ownFilesSeen.clear();
    if (manifest.isEmpty()) {
        quiet.stop();
        return enter(State::None);
    }
    enter(State::Reading);
    filesChanged();
}

// Editors and copies write a new file in place of the old: the folders tell
// of that, the files of a write in place.
void ReleaseWatch::filesChanged()
{
    watchPaths();
    const QString now = ownFilesNow();
    if (now == ownFilesSeen)
        return;
    ownFilesSeen = now;
    ++changes;
    quiet.start();
    if (current == State::Read)
        rereading = true;
    else
        enter(State::Reading);
}

void ReleaseWatch::watchPaths()
{
    QStringList paths {manifest, manifest + QStringLiteral(".sig")};
    paths += keys;
    for (const QString &path : qAsConst(paths)) {
        for (const QString &place : {path, QFileInfo(path).absolutePath()})
            if (QFileInfo::exists(place))
                watcher.addPath(place);
    }
}

QString ReleaseWatch::ownFilesNow() const
{
    QStringList files;
    for (const QString &path : QStringList {manifest, manifest + QStringLiteral(".sig")} + keys) {
        const QFileInfo file(path);
        files.append(file.exists() ? QStringLiteral("%1 %2 %3 %4")
                                         .arg(path)
                                         .arg(file.size())
                                         .arg(file.lastModified().toMSecsSinceEpoch())
                                         .arg(file.metadataChangeTime().toMSecsSinceEpoch())
                                   : path);
    }
    return files.join(QLatin1Char('\n'));
}

void ReleaseWatch::readNow()
{
    if (reading)
        return;
    reading = true;
    const int seen = changes;
    inBackground(
        this, [files = manifest, trusted = keys] { return Release::read(files, trusted); },
        [this, seen](const Release &done) {
            reading = false;
            if (manifest.isEmpty())
                return;
            // Changed while read: read again once quiet, as the timer would
            // have, had this reading not been on.
            if (seen != changes) {
                if (!quiet.isActive())
                    quiet.start();
                return;
            }
            read = done;
            rereading = false;
            enter(State::Read);
        });
}

void ReleaseWatch::enter(State state)
{
    current = state;
    emit changed();
}
