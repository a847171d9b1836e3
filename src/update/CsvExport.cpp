#include "update/CsvExport.h"

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
        file.write(csvRecord(table.fields(row)));
        if (written)
            *written = row + 1;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
