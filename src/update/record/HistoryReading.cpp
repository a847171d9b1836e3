#include "update/record/HistoryReading.h"

#include "update/record/Background.h"
#include "update/record/LineReader.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QThread>

#include <algorithm>
#include <memory>

std::optional<RunRecord> findRecord(const QString &path, const QUuid &runId)
{
    std::optional<RunRecord> found;
    if (runId.isNull())
        return found;
    // A run's record is written when it ends: mostly among the last, but
    // found wherever it lies, however long the records after it.
    const QByteArray key = R"("runId":")" + runIdText(runId).toLatin1() + '"';
    forEachLineHoldingBackwards(path, key, [&](const QByteArray &line) {
        if (std::optional<RunRecord> record = fromJsonLine(line); record && record->runId == runId)
            found = record;
        return !found;
    });
    return found;
}

std::optional<RunRecord> lastOkRunOf(const QString &path, const QString &unit)
{
    std::optional<RunRecord> found;
    if (unit.isEmpty())
        return found;
    // Only lines that hold the serial as the record's unit, as a record is
    // written, are parsed: a word every record holds elsewhere (a
    // sensitivity, a station) would otherwise have every line read whole.
    const QByteArray key
        = R"("unit":)" + QJsonDocument(QJsonArray {unit}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
    forEachLineHolding(path, key, [&](const QByteArray &line) {
        if (std::optional<RunRecord> record = fromJsonLine(line);
            record && record->unit == unit && record->isOk())
            found = record;
        return true;
    });
    return found;
}

// Lines of other days, most of a long history, are passed over unparsed: a
// start written in any time zone is within two days of the same moment here.
void tally(const QByteArray &line, const QDate &day, DayCounts &counts)
{
    if (const std::optional<QDate> written = writtenStartDay(line); written && qAbs(written->daysTo(day)) > 2)
        return;
    const std::optional<RunRecord> record = fromJsonLine(line);
    // A press refused before anything started is no run, OK or failed.
    if (record && record->outcome && record->outcome != Outcome::NotStarted && !record->sentNothing()
        && record->started.toLocalTime().date() == day) {
        ++(record->isOk() ? counts.ok : counts.failed);
        // Records are written as runs end, not as they start: an interrupted
        // run filed later may be a panel's first.
        if (record->unit.isEmpty())
            return;
        const auto first = counts.firstRuns.constFind(record->unit);
        if (first == counts.firstRuns.cend() || record->started < first->started)
            counts.firstRuns.insert(record->unit, {record->started, record->isOk()});
    }
}

int DayCounts::firstPassOk() const
{
    return int(
        std::count_if(firstRuns.cbegin(), firstRuns.cend(), [](const FirstRun &run) { return run.ok; }));
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

// The rows of the history lines that start within [from, to) of the file,
// read a block at a time, so that no long history is all in memory at once.
QVector<HistoryRow> rowsIn(const QString &path, qint64 from, qint64 to, const std::atomic<bool> *cancel)
{
    QVector<HistoryRow> rows;
    // The same few names recur in every line: each is kept once.
    QSet<QString> names;
    const auto shared = [&names](const QString &name) {
        return *names.insert(name);
    };
    const auto add = [&](const QByteArray &line, qint64 at) {
        const std::optional<RunRecord> record = fromJsonLine(line);
        if (!record)
            return;
        HistoryRow row;
        row.started = record->started.toMSecsSinceEpoch();
        row.tpSize = shared(record->tpSize);
        row.sensitivity = shared(record->sensitivity);
        row.images = record->images.size();
        row.outcome = record->outcome.value_or(Outcome::Unknown);
        row.sentNothing = record->sentNothing();
        row.exitCode = record->exitCode;
        row.seconds = record->seconds;
        row.user = shared(record->user);
        row.station = shared(record->station);
        row.unit = record->unit;
        row.operatorId = shared(record->operatorId);
        row.order = shared(record->order);
        row.release = record->release ? shared(record->release->name) : QString();
        QStringList imageNames;
        for (const FileFacts &image : qAsConst(record->images))
            imageNames.append(image.path.mid(image.path.lastIndexOf(QLatin1Char('/')) + 1));
        row.imageNames = shared(imageNames.join(QLatin1Char('\n')));
        row.log = record->log;
        row.at = at;
        rows.append(row);
    };
    forEachLineAt(
        path, from, to,
        [&](const QByteArray &line, qint64 at) {
            add(line, at);
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
    inParallel(parts, [&](int part) {
        shares[part] = rowsIn(path, size * part / parts, size * (part + 1) / parts, cancel);
    });
    QVector<HistoryRow> rows;
    for (const QVector<HistoryRow> &share : qAsConst(shares))
        rows += share;
    // Records are written as runs end: a long run ends after shorter ones
    // that started later.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const HistoryRow &a, const HistoryRow &b) { return a.started > b.started; });
    return rows;
}

CsvTable recordsTable(const QString &path, const QVector<HistoryRow> &rows, const QString &changed)
{
    QVector<std::pair<qint64, qint64>> chosen;
    chosen.reserve(rows.size());
    for (const HistoryRow &row : rows)
        chosen.append({row.at, row.started});
    auto history = std::make_shared<LinesByPlace>(path);
    return {csvColumns(), int(chosen.size()), [chosen, history, changed](int row, QString *error) {
                const auto [at, started] = chosen.at(row);
                const std::optional<QByteArray> line = history->lineAt(at, error);
                if (!error->isEmpty())
                    return QStringList();
                const std::optional<RunRecord> record = line ? fromJsonLine(*line) : std::nullopt;
                // Another line there now: never another run's fields.
                if (!record || record->started.toMSecsSinceEpoch() != started) {
                    *error = changed;
                    return QStringList();
                }
                return csvFields(*record);
            }};
}
