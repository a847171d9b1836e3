#include "window/HistoryModel.h"

#include "selection/NameDisplay.h"

#include <QDateTime>
#include <QFile>

#include <memory>

namespace {

QString outcomeWord(const HistoryRow &row)
{
    if (row.sentNothing)
        return HistoryModel::tr("no images sent");
    switch (row.outcome) {
    case Outcome::Ok:
        return HistoryModel::tr("OK");
    case Outcome::Failed:
        return HistoryModel::tr("failed");
    case Outcome::Crashed:
        return HistoryModel::tr("crashed");
    case Outcome::Stopped:
        return HistoryModel::tr("stopped");
    case Outcome::Interrupted:
        return HistoryModel::tr("interrupted");
    case Outcome::NotStarted:
        return HistoryModel::tr("not started");
    case Outcome::Unknown:
        break;
    }
    return HistoryModel::tr("unknown");
}

bool holds(const HistoryRow &row, const QString &search)
{
    for (const QString *text : {&row.unit, &row.operatorId, &row.station, &row.order, &row.release,
                                &row.tpSize, &row.sensitivity, &row.imageNames})
        if (text->contains(search, Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace

HistoryModel::HistoryModel(QObject *parent)
    : QAbstractTableModel(parent)
{ }

void HistoryModel::setRows(QVector<HistoryRow> newRows)
{
    rows = std::move(newRows);
    select();
}

void HistoryModel::setFilter(const QDate &newDay, bool newFailuresOnly, const QString &newSearch)
{
    day = newDay;
    failuresOnly = newFailuresOnly;
    search = newSearch.trimmed();
    select();
}

QString HistoryModel::logOf(int row) const
{
    return rows.at(shown.at(row)).log;
}

void HistoryModel::select()
{
    beginResetModel();
    shown.clear();
    const qint64 from = day.isValid() ? day.startOfDay().toMSecsSinceEpoch() : 0;
    const qint64 to = day.isValid() ? day.addDays(1).startOfDay().toMSecsSinceEpoch() : 0;
    for (int i = 0; i < rows.size(); ++i) {
        const HistoryRow &row = rows.at(i);
        if (day.isValid() && (row.started < from || row.started >= to))
            continue;
        // As the day's counter counts: whatever did not end OK.
        if (failuresOnly && (row.outcome == ::Outcome::Ok || row.sentNothing))
            continue;
        if (!search.isEmpty() && !holds(row, search))
            continue;
        shown.append(i);
    }
    endResetModel();
}

int HistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : shown.size();
}

int HistoryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant HistoryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole
        && (index.column() == Images || index.column() == ExitCode || index.column() == Duration))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    return text(rows.at(shown.at(index.row())), index.column());
}

QString HistoryModel::text(const HistoryRow &row, int column)
{
    switch (column) {
    case Started:
        return QDateTime::fromMSecsSinceEpoch(row.started).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case Leaf:
        return displayName(row.tpSize) + QStringLiteral(" / ") + displayName(row.sensitivity);
    case Images:
        return QString::number(row.images);
    case Outcome:
        return outcomeWord(row);
    case ExitCode:
        return row.exitCode ? QString::number(*row.exitCode) : QString();
    case Duration:
        return row.seconds ? QString::number(*row.seconds, 'f', 1) + QStringLiteral(" s") : tr("unknown");
    case Station:
        return displayName(row.station);
    case Unit:
        return displayName(row.unit);
    case Operator:
        return displayName(row.operatorId);
    case Order:
        return displayName(row.order);
    case Release:
        return displayName(row.release);
    case User:
        return displayName(row.user);
    }
    return {};
}

CsvTable HistoryModel::table(const QString &historyPath) const
{
    QVector<HistoryRow> chosen;
    chosen.reserve(shown.size());
    for (const int row : shown)
        chosen.append(rows.at(row));
    return recordsTable(historyPath, chosen,
                        tr("the history changed since it was read: open it again, then export"));
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Started:
        return tr("Started");
    case Leaf:
        return tr("TP size / sensitivity");
    case Images:
        return tr("Images");
    case Outcome:
        return tr("Outcome");
    case ExitCode:
        return tr("Exit code");
    case Duration:
        return tr("Duration");
    case Station:
        return tr("Station");
    case Unit:
        return tr("Unit");
    case Operator:
        return tr("Operator");
    case Order:
        return tr("Order");
    case Release:
        return tr("Release");
    case User:
        return tr("User");
    }
    return {};
}
