#pragma once

#include "update/record/HistoryReading.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QVector>

// The station's runs as a table, newest first, optionally only those that
// started on a given day and only those that did not end OK. Text is made
// for the rows on screen only, so a long history costs its rows and no more.
class HistoryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        Started,
        Unit,
        Leaf,
        Images,
        Outcome,
        ExitCode,
        Duration,
        Station,
        Operator,
        Order,
        Release,
        User,
        Columns
    };

    explicit HistoryModel(QObject *parent = nullptr);

    void setRows(QVector<HistoryRow> rows);
    // An invalid day shows every day; a search shows the runs whose unit,
    // operator, station, TP size, sensitivity or an image's name holds it.
    void setFilter(const QDate &day, bool failuresOnly, const QString &search = {});
    // The run log of a row shown; empty where the run has none.
    QString logOf(int row) const;
    // The records of the rows shown, every field, as a table to write out,
    // read again from the history they were read from; apart from this
    // model: what is shown later changes nothing of it.
    CsvTable table(const QString &historyPath) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void select();
    static QString text(const HistoryRow &row, int column);

    QVector<HistoryRow> rows;
    // The rows shown, as indices into rows.
    QVector<int> shown;
    QDate day;
    bool failuresOnly = false;
    QString search;
};
