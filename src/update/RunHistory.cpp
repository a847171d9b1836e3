#include "update/RunHistory.h"

#include "update/LineReader.h"
#include "update/OsSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <utility>

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

bool sentNothing(const QJsonObject &record)
{
    const QString outcome = record.value(QStringLiteral("outcome")).toString();
    return (outcome == QLatin1String("ok") || outcome == QLatin1String("failed"))
        && record.value(QStringLiteral("images")).toArray().isEmpty();
}

// Lines of other days, most of a long history, are passed over unparsed: a
// start written in any time zone is within two days of the same moment here.
void tally(const QByteArray &line, const QDate &day, DayCounts &counts)
{
    const QByteArray key = QByteArrayLiteral("\"started\":\"");
    if (const int at = line.indexOf(key); at >= 0) {
        const QDate written
            = QDate::fromString(QString::fromLatin1(line.mid(at + key.size(), 10)), Qt::ISODate);
        if (written.isValid() && qAbs(written.daysTo(day)) > 2)
            return;
    }
    const QJsonObject record = QJsonDocument::fromJson(line).object();
    if (!sentNothing(record)
        && QDateTime::fromString(record.value("started").toString(), Qt::ISODateWithMs).toLocalTime().date()
            == day)
        ++(record.value("outcome").toString() == QLatin1String("ok") ? counts.ok : counts.failed);
}

DayCounts countDay(const QString &path, const QDate &day)
{
    DayCounts counts;
    forEachLine(path, 0, -1, [&](const QByteArray &line) {
        tally(line, day, counts);
        return true;
    });
    return counts;
}

namespace {

// Milliseconds since the epoch of a time as the history writes it
// ("2026-12-07T16:24:03.512+09:00"), without the local time zone lookups a
// QDateTime makes: a hundred thousand of them are read at once. Any other
// form goes the long way.
std::optional<qint64> epochMsOf(const QString &iso)
{
    static const QRegularExpression form(QStringLiteral(
        "^(\\d{4})-(\\d\\d)-(\\d\\d)T(\\d\\d):(\\d\\d):(\\d\\d)\\.(\\d{3})([+-])(\\d\\d):(\\d\\d)$"));
    const QRegularExpressionMatch match = form.match(iso);
    if (!match.hasMatch()) {
        const QDateTime time = QDateTime::fromString(iso, Qt::ISODateWithMs);
        return time.isValid() ? std::optional<qint64>(time.toMSecsSinceEpoch()) : std::nullopt;
    }
    const auto part = [&match](int n) {
        return match.capturedRef(n).toInt();
    };
    const QDate date(part(1), part(2), part(3));
    const QTime time(part(4), part(5), part(6), part(7));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    const qint64 offset = (part(9) * 60 + part(10)) * (match.capturedRef(8) == QLatin1String("-") ? -1 : 1);
    return (date.toJulianDay() - QDate(1970, 1, 1).toJulianDay()) * 86400000 + time.msecsSinceStartOfDay()
        - offset * 60000;
}

} // namespace

namespace {

// The rows of the history lines that start within [from, to) of the file,
// read a block at a time, so that no long history is all in memory at once.
QVector<HistoryRow> rowsIn(const QString &path, qint64 from, qint64 to, const std::atomic<bool> *cancel)
{
    QVector<HistoryRow> rows;
    // The same few names recur in every line: each is kept once.
    QSet<QString> names;
    const auto shared = [&names](const QJsonValue &value) {
        return *names.insert(value.toString());
    };
    const auto add = [&](const QByteArray &line) {
        const QJsonObject record = QJsonDocument::fromJson(line).object();
        const std::optional<qint64> started = epochMsOf(record.value(QLatin1String("started")).toString());
        if (!started)
            return;
        HistoryRow row;
        row.started = *started;
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
    forEachLine(
        path, from, to,
        [&](const QByteArray &line) {
            add(line);
            return true;
        },
        cancel);
    return rows;
}

} // namespace

QVector<HistoryRow> readHistoryRows(const QString &path, const std::atomic<bool> *cancel)
{
    if (!regularOrAbsent(path) || !QFileInfo::exists(path))
        return {};
    // Parsing the lines is what takes the time: every core takes a share.
    const qint64 size = QFileInfo(path).size();
    const int parts = size < 1024 * 1024 ? 1 : qMax(1, QThread::idealThreadCount());
    QVector<QVector<HistoryRow>> shares(parts);
    QVector<QThread *> readers;
    for (int i = 1; i < parts; ++i) {
        readers.append(QThread::create([&shares, &path, i, parts, size, cancel] {
            shares[i] = rowsIn(path, size * i / parts, size * (i + 1) / parts, cancel);
        }));
        readers.last()->start();
    }
    shares[0] = rowsIn(path, 0, size / parts, cancel);
    QVector<HistoryRow> rows = std::move(shares[0]);
    for (int i = 1; i < parts; ++i) {
        readers.at(i - 1)->wait();
        delete readers.at(i - 1);
        rows += shares.at(i);
    }
    // Records are written as runs end: a long run ends after shorter ones
    // that started later.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const HistoryRow &a, const HistoryRow &b) { return a.started > b.started; });
    return rows;
}
