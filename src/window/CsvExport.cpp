#include "window/CsvExport.h"

#include <QAbstractItemModel>
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

bool writeCsv(const QAbstractItemModel &model, const QString &path, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    QStringList fields;
    for (int column = 0; column < model.columnCount(); ++column)
        fields.append(model.headerData(column, Qt::Horizontal).toString());
    file.write("\xEF\xBB\xBF" + csvRecord(fields));
    for (int row = 0; row < model.rowCount(); ++row) {
        fields.clear();
        for (int column = 0; column < model.columnCount(); ++column)
            fields.append(model.index(row, column).data().toString());
        file.write(csvRecord(fields));
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
