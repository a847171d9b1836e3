#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

// One reading of a folder.
struct FolderRead
{
    QString path;
    // Every name as the folder lists them, "." and ".." included.
    QStringList names;
    // Entries the listing cannot name (see unlistedEntries).
    int unlisted = 0;
};

Q_DECLARE_METATYPE(FolderRead)

// Reads a folder from the disk: as slow as the disk is.
FolderRead readFolder(const QString &path);

// The entries a folder offers as choices: sub-folders and plain files alike,
// hidden ones left out, ordered by name ignoring case. Where logged, every
// name the folder lists is written to the debug stream, "." and ".."
// included, which are then dropped. A folder that is missing or unreadable
// offers nothing.
QStringList choicesOf(const FolderRead &read, bool logged);

// Reads folders off the GUI thread for one part of the window, which a
// folder on a share that does not answer must never freeze. An answer that
// comes within a moment is used at once, as if read in place; a later one
// comes by answered(), and only for the latest reading: one overtaken by
// another is dropped, its thread left to end when the disk lets it.
class FolderReader : public QObject
{
    Q_OBJECT

public:
    using Reading = std::function<FolderRead(const QString &)>;
    struct Pending;
    using Begun = std::shared_ptr<Pending>;
    explicit FolderReader(QObject *parent = nullptr, Reading reading = readFolder);
    ~FolderReader() override;

    std::optional<FolderRead> read(const QString &path);
    // Starts reading path now, before there may be a reader to take it.
    static Begun begin(const QString &path, const Reading &reading = readFolder);
    // The next read() of the begun reading's path takes its answer, however
    // soon or late it is asked for.
    void readAhead(Begun begun);
    // A reading is under way, its answer not yet given.
    bool isReading() const { return bool(pending); }

signals:
    void answered(FolderRead read);
    // While a reading takes long: "Reading <place>…" after a second, then
    // "<place> is not answering".
    void waiting(QString text);

private:
    void adopt(const Begun &answer);
    void leave();
    static void disown(const std::shared_ptr<Pending> &answer);
    void deliver(const std::shared_ptr<Pending> &answer);

    Reading reading;
    std::shared_ptr<Pending> pending;
    std::shared_ptr<Pending> ahead;
    QString place;
    QTimer slow;
    QTimer dead;
};
