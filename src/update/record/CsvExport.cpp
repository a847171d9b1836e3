#include "update/record/CsvExport.h"

#include <QSaveFile>

QByteArray csvRecord(const QStringList &fields)
{
    QByteArray record;
    for (int i = 0; i < fields.size(); ++i) {
        QByteArray field = fields.at(i).toUtf8();
        if (field.contains(',') || field.contains('"') || field.contains('\n') || field.contains('\r'))
            field = '"' + field.replace('"', "\"\"") + '"';
        record += (i ? "," : "") + field;
    }
    return record + "\r\n";
}

QString csvText(const QString &text)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    return !text.isEmpty() && formulaStarts.contains(text.at(0)) ? QLatin1Char('\'') + text : text;
}

bool writeCsv(const CsvTable &table, const QString &path, QString *error, std::atomic<int> *written,
              const std::atomic<bool> *cancel)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    file.write("\xEF\xBB\xBF" + csvRecord(table.header));
    for (int row = 0; row < table.rows; ++row) {
        if (cancel && *cancel) {
            file.cancelWriting();
            error->clear();
            return false;
        }
        const QStringList fields = table.fields(row, error);
        if (!error->isEmpty()) {
            file.cancelWriting();
            return false;
        }
        file.write(csvRecord(fields));
        if (written)
            *written = row + 1;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
