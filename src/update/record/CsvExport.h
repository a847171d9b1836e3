#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// One record of a CSV file (RFC 4180): a field holding a comma, a quote or a
// line break is quoted, its quotes doubled; the record ends with CR LF.
QByteArray csvRecord(const QStringList &fields);

// Text as a spreadsheet shows it, never as a formula it would run: text
// that begins with '=', '+', '-', '@', a tab or a carriage return gets a
// leading apostrophe.
QString csvText(const QString &text);

// A table to write out: its column titles, and each row's fields, made as
// they are written (from any thread).
struct CsvTable
{
    QStringList header;
    int rows = 0;
    // An error stops the writing: nothing is written.
    std::function<QStringList(int row, QString *error)> fields;
};

// The table under a header row of its column titles, in UTF-8 with a byte
// order mark (without it, spreadsheets on Windows take the names for the
// local code page). Whole or not at all; on failure says why. Counts the
// rows written in *written as it goes; a set cancel leaves no file (and no
// reason).
bool writeCsv(const CsvTable &table, const QString &path, QString *error, std::atomic<int> *written = nullptr,
              const std::atomic<bool> *cancel = nullptr);
