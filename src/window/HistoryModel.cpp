#include "window/HistoryModel.h"

#include "selection/NameDisplay.h"

#include <QDateTime>

namespace {

// Ended with an exit code having been sent no image: neither OK nor failed.
bool sentNothing(const HistoryRow &row)
{
    return row.images == 0 && (row.outcome == QLatin1String("ok") || row.outcome == QLatin1String("failed"));
}

QString outcomeWord(const HistoryRow &row)
{
    const QString &outcome = row.outcome;
    if (sentNothing(row))
        return HistoryModel::tr("no images sent");
    if (outcome == QLatin1String("ok"))
        return HistoryModel::tr("OK");
    if (outcome == QLatin1String("failed"))
        return HistoryModel::tr("failed");
    if (outcome == QLatin1String("crashed"))
        return HistoryModel::tr("crashed");
    if (outcome == QLatin1String("stopped"))
        return HistoryModel::tr("stopped");
    if (outcome == QLatin1String("interrupted"))
        return HistoryModel::tr("interrupted");
    if (outcome == QLatin1String("notStarted"))
        return HistoryModel::tr("not started");
    return HistoryModel::tr("unknown");
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

void HistoryModel::setFilter(const QDate &newDay, bool newFailuresOnly)
{
    day = newDay;
    failuresOnly = newFailuresOnly;
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
        if (failuresOnly && (row.outcome == QLatin1String("ok") || sentNothing(row)))
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
        return QString::number(row.seconds, 'f', 1) + QStringLiteral(" s");
    case User:
        return displayName(row.user);
    }
    return {};
}

CsvTable HistoryModel::table() const
{
    QVector<HistoryRow> chosen;
    chosen.reserve(shown.size());
    for (const int row : shown)
        chosen.append(rows.at(row));
    QStringList header;
    for (int column = 0; column < Columns; ++column)
        header.append(headerData(column, Qt::Horizontal).toString());
    return {header, int(chosen.size()), [chosen](int row) {
                QStringList fields;
                for (int column = 0; column < Columns; ++column)
                    fields.append(text(chosen.at(row), column));
                return fields;
            }};
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
    case User:
        return tr("User");
    }
    return {};
}
