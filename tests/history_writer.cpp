// Appends records to a history file, as a second tpfw on the station would.
// usage: history_writer HISTORY COUNT

#include "update/RunHistory.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    RunRecord record = RunRecord::begun();
    record.started = QDateTime::currentDateTime();
    record.ended = record.started;
    record.outcome = Outcome::Ok;
    // Long lines, so that a write split in two would show.
    for (int i = 0; i < 50; ++i)
        record.images.append(
            {QStringLiteral("/station/FwBinFiles/7inch/High/image %1.bin").arg(i), 1, "00", {}});
    QString error;
    for (int i = 0; i < arguments.value(2).toInt(); ++i) {
        // Each line its own, so that one delivered twice would show.
        record.detail = QStringLiteral("record %1 of %2").arg(i).arg(QCoreApplication::applicationPid());
        if (!appendToHistory(arguments.value(1), record, &error))
            return qPrintable(error) && 1;
    }
    return 0;
}
