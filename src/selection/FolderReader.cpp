#include "selection/FolderReader.h"

#include "selection/DirListing.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QMutex>
#include <QWaitCondition>

#include <thread>
#include <utility>

namespace {
// How long the GUI thread waits for a folder before going on without it:
// a local disk answers well within it, and the window never stalls longer.
constexpr unsigned long patience = 50;
} // namespace

FolderRead readFolder(const QString &path)
{
    // QDir's own defaults (all entries, name order ignoring case) are the rule.
    return {path, QDir(path).entryList(), unlistedEntries(path)};
}

QStringList choicesOf(const FolderRead &read, bool logged)
{
    QStringList names;
    for (const QString &name : read.names) {
        if (logged)
            qDebug() << name;
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            names.append(name);
    }
    return names;
}

// What a reading's thread and the reader share: the reader may be gone
// long before the thread ends.
struct FolderReader::Pending
{
    QString path;
    QMutex mutex;
    QWaitCondition ready;
    bool done = false;
    FolderRead result;
    FolderReader *receiver = nullptr;
};

FolderReader::FolderReader(QObject *parent, Reading read)
    : QObject(parent)
    , reading(std::move(read))
{
    for (QTimer *timer : {&slow, &dead}) {
        timer->setSingleShot(true);
        // Never before the second it says.
        timer->setTimerType(Qt::PreciseTimer);
    }
    slow.setInterval(1000);
    dead.setInterval(5000);
    connect(&slow, &QTimer::timeout, this, [this] { emit waiting(tr("Reading %1…").arg(place)); });
    connect(&dead, &QTimer::timeout, this, [this] { emit waiting(tr("%1 is not answering").arg(place)); });
}

FolderReader::~FolderReader()
{
    leave();
    disown(ahead);
}

std::optional<FolderRead> FolderReader::read(const QString &path)
{
    leave();
    std::shared_ptr<Pending> answer = std::exchange(ahead, nullptr);
    if (!answer || answer->path != path) {
        disown(answer);
        answer = begin(path, reading);
        adopt(answer);
    }
    QMutexLocker lock(&answer->mutex);
    if (answer->done || answer->ready.wait(&answer->mutex, patience)) {
        answer->receiver = nullptr;
        return answer->result;
    }
    lock.unlock();
    pending = answer;
    place = placeOf(path);
    slow.start();
    dead.start();
    return std::nullopt;
}

void FolderReader::readAhead(Begun begun)
{
    disown(ahead);
    ahead = std::move(begun);
    adopt(ahead);
}

// An answer that comes after read() gave up waiting is told to this reader.
void FolderReader::adopt(const Begun &answer)
{
    const QMutexLocker lock(&answer->mutex);
    answer->receiver = this;
}

FolderReader::Begun FolderReader::begin(const QString &path, const Reading &reading)
{
    auto answer = std::make_shared<Pending>();
    answer->path = path;
    // A thread of its own, which nobody waits for: it needs no event loop,
    // and ends when the disk lets it.
    std::thread([answer, reading = reading, path] {
        FolderRead result = reading(path);
        const QMutexLocker lock(&answer->mutex);
        answer->result = std::move(result);
        answer->done = true;
        answer->ready.wakeAll();
        if (FolderReader *receiver = answer->receiver)
            QMetaObject::invokeMethod(
                receiver, [receiver, answer] { receiver->deliver(answer); }, Qt::QueuedConnection);
    }).detach();
    return answer;
}

void FolderReader::leave()
{
    slow.stop();
    dead.stop();
    disown(std::exchange(pending, nullptr));
}

// Its thread tells nobody when it ends.
void FolderReader::disown(const std::shared_ptr<Pending> &answer)
{
    if (!answer)
        return;
    const QMutexLocker lock(&answer->mutex);
    answer->receiver = nullptr;
}

void FolderReader::deliver(const std::shared_ptr<Pending> &answer)
{
    if (answer != pending)
        return;
    slow.stop();
    dead.stop();
    pending.reset();
    emit answered(answer->result);
}
