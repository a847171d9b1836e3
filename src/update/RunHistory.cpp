#include "update/RunHistory.h"

#include "update/OsSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>

namespace {

QJsonValue orNull(const QString &text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QJsonValue orNull(const QByteArray &text)
{
    return orNull(QString::fromLatin1(text));
}

QJsonObject toJson(const FileFacts &facts)
{
    return {{"path", facts.path},
            {"bytes", facts.bytes < 0 ? QJsonValue() : QJsonValue(double(facts.bytes))},
            {"sha256", orNull(facts.sha256)}};
}

} // namespace

// With the offset from UTC written out, "+00:00" included, whatever the
// station's time zone.
QString isoWithOffset(const QDateTime &time)
{
    const int offset = time.offsetFromUtc() / 60;
    return time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"))
        + QString::asprintf("%c%02d:%02d", offset < 0 ? '-' : '+', qAbs(offset) / 60, qAbs(offset) % 60);
}

QJsonObject toJson(const RunRecord &record)
{
    QJsonArray images;
    for (const FileFacts &image : record.images)
        images.append(toJson(image));
    return {
        {"started", isoWithOffset(record.started)},
        {"ended", isoWithOffset(record.ended)},
        {"seconds", record.started.msecsTo(record.ended) / 1000.0},
        {"host", QSysInfo::machineHostName()},
        {"user", userName()},
        {"tpSize", record.tpSize},
        {"sensitivity", record.sensitivity},
        {"images", images},
        {"updater", record.updater.path},
        {"updaterSha256", orNull(record.updater.sha256)},
        {"outcome", record.outcome},
        {"exitCode", record.exitCode ? QJsonValue(*record.exitCode) : QJsonValue()},
        {"log", orNull(record.log)},
        {"detail", orNull(record.detail)},
        {"tpfwVersion", QStringLiteral(TPFW_VERSION)},
    };
}

QByteArray toJsonLine(const RunRecord &record)
{
    return QJsonDocument(toJson(record)).toJson(QJsonDocument::Compact);
}

QString historyPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/history.jsonl";
}

namespace {

// Opening a FIFO, or a device, for reading would wait for a writer for ever.
bool regularOrAbsent(const QString &path)
{
    const QFileInfo info(path);
    return !info.exists() || info.isFile();
}

bool lockHistory(const QString &path, QLockFile &lock, QString *error)
{
    QDir().mkpath(QFileInfo(path).path());
    if (lock.tryLock(10000))
        return true;
    *error = lock.error() == QLockFile::LockFailedError ? QStringLiteral("another tpfw holds its lock")
                                                        : QStringLiteral("cannot lock ") + path + ".lock";
    return false;
}

// Appends under a lock already held.
bool appendLine(const QString &path, const QJsonObject &record, QString *error)
{
    if (!regularOrAbsent(path)) {
        *error = path + QStringLiteral(": not a regular file");
        return false;
    }
    QFile file(path);
    // Unbuffered: a failing write says why at once, in the system's words.
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    const qint64 size = file.size();
    QByteArray line = QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n';
    char last = '\n';
    if (size > 0 && file.seek(size - 1))
        file.getChar(&last);
    if (last != '\n')
        line.prepend('\n');
    // One write of the whole line; what a failed one left is taken back.
    errno = 0;
    if (file.write(line) != line.size() || !syncToDisk(file)) {
        *error = path + QStringLiteral(": ") + (errno ? qt_error_string(errno) : file.errorString());
        file.resize(size);
        return false;
    }
    return true;
}

} // namespace

bool appendToHistory(const QString &path, const RunRecord &record, QString *error)
{
    return appendToHistory(path, toJson(record), error);
}

bool appendToHistory(const QString &path, const QJsonObject &record, QString *error)
{
    QLockFile lock(path + ".lock");
    return lockHistory(path, lock, error) && appendLine(path, record, error);
}

bool fileRecord(const QString &path, const QJsonObject &record, const QString &pendingPath, QString *error)
{
    error->clear();
    QLockFile lock(path + ".lock");
    if (!lockHistory(path, lock, error) || !QFile::exists(pendingPath) || !appendLine(path, record, error))
        return false;
    QFile::remove(pendingPath);
    return true;
}

QJsonObject findRecord(const QString &path, const QString &started)
{
    QFile file(path);
    if (!regularOrAbsent(path) || !file.open(QIODevice::ReadOnly))
        return {};
    // A run's record is written when it ends: among the last, whatever else
    // other windows of the station wrote meanwhile.
    file.seek(qMax<qint64>(0, file.size() - 1024 * 1024));
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const QJsonObject record = QJsonDocument::fromJson(*line).object();
        if (record.value("started").toString() == started)
            return record;
    }
    return {};
}

DayCounts countDay(const QString &path, const QDate &day)
{
    DayCounts counts;
    QFile file(path);
    if (!regularOrAbsent(path) || !file.open(QIODevice::ReadOnly))
        return counts;
    const QDateTime dayStart = day.startOfDay();
    const qint64 chunk = 64 * 1024;
    QByteArray tail;
    for (qint64 end = file.size(); end > 0;) {
        const qint64 begin = qMax<qint64>(0, end - chunk);
        file.seek(begin);
        tail.prepend(file.read(end - begin));
        end = begin;
        // Whole lines only, unless the start of the file is reached.
        const int cut = begin > 0 ? tail.indexOf('\n') : -1;
        if (begin > 0 && cut < 0)
            continue;
        const QList<QByteArray> lines = tail.mid(cut + 1).split('\n');
        tail.truncate(cut + 1);
        for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
            const QJsonObject record = QJsonDocument::fromJson(*line).object();
            if (record.isEmpty())
                continue;
            const QDateTime ended
                = QDateTime::fromString(record.value("ended").toString(), Qt::ISODateWithMs);
            // A line whose times cannot be read says nothing of where the day begins.
            if (!ended.isValid())
                continue;
            if (ended < dayStart)
                return counts;
            if (QDateTime::fromString(record.value("started").toString(), Qt::ISODateWithMs)
                    .toLocalTime()
                    .date()
                != day)
                continue;
            ++(record.value("outcome").toString() == QLatin1String("ok") ? counts.ok : counts.failed);
        }
    }
    return counts;
}

QVector<HistoryRow> readHistoryRows(const QString &path)
{
    QVector<HistoryRow> rows;
    QFile file(path);
    if (!regularOrAbsent(path) || !file.open(QIODevice::ReadOnly))
        return rows;
    // The same few names recur in every line: each is kept once.
    QSet<QString> names;
    const auto shared = [&names](const QJsonValue &value) { return *names.insert(value.toString()); };
    const auto add = [&](const QByteArray &line) {
        const QJsonObject record = QJsonDocument::fromJson(line).object();
        const QDateTime started
            = QDateTime::fromString(record.value(QLatin1String("started")).toString(), Qt::ISODateWithMs);
        if (!started.isValid())
            return;
        HistoryRow row;
        row.started = started.toMSecsSinceEpoch();
        row.tpSize = shared(record.value(QLatin1String("tpSize")));
        row.sensitivity = shared(record.value(QLatin1String("sensitivity")));
        row.images = record.value(QLatin1String("images")).toArray().size();
        row.outcome = shared(record.value(QLatin1String("outcome")));
        if (const QJsonValue code = record.value(QLatin1String("exitCode")); code.isDouble())
            row.exitCode = code.toInt();
        row.seconds = record.value(QLatin1String("seconds")).toDouble();
        row.user = shared(record.value(QLatin1String("user")));
        row.log = record.value(QLatin1String("log")).toString();
        rows.append(row);
    };
    // A block at a time: a long history is never all in memory at once.
    QByteArray rest;
    while (!file.atEnd()) {
        rest += file.read(4 * 1024 * 1024);
        int begin = 0;
        for (int end; (end = rest.indexOf('\n', begin)) >= 0; begin = end + 1)
            add(QByteArray::fromRawData(rest.constData() + begin, end - begin));
        rest.remove(0, begin);
    }
    add(rest);
    // Records are written as runs end: a long run ends after shorter ones
    // that started later.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const HistoryRow &a, const HistoryRow &b) { return a.started > b.started; });
    return rows;
}
