#pragma once

#include <QString>
#include <QStringList>

class QAbstractItemModel;

// One record of a CSV file (RFC 4180): a field holding a comma, a quote or a
// line break is quoted, its quotes doubled; the record ends with CR LF.
QByteArray csvRecord(const QStringList &fields);

// The model's rows as shown, under a header row of its column titles, in
// UTF-8 with a byte order mark (without it, spreadsheets on Windows take the
// names for the local code page). Whole or not at all; on failure says why.
bool writeCsv(const QAbstractItemModel &model, const QString &path, QString *error);
