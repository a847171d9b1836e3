// Appends records to a history file, as a second tpfw on the station would,
// each a run of its own; with MIN_BYTES, each line at least that long (its
// images' paths 255 characters each); with STATION, named by it; with UNIT,
// for that panel; with OUTCOME, ended so (ok otherwise). TPFW_WRITER_HOST
// names another host, as a second station's history would.
// usage: history_writer HISTORY COUNT [MIN_BYTES [STATION [UNIT [OUTCOME]]]]

#include "update/record/RunHistory.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    RunRecord record = RunRecord::begun();
    record.outcome = arguments.size() > 6 ? outcomeNamed(arguments.at(6)) : Outcome::Ok;
    record.station = arguments.value(4);
    if (qEnvironmentVariableIsSet("TPFW_WRITER_HOST"))
        record.host = qEnvironmentVariable("TPFW_WRITER_HOST");
    record.unit = arguments.value(5);
    // Long lines, so that a write split in two would show.
    for (int i = 0; i < 50; ++i)
        record.images.append(
            {QStringLiteral("/station/FwBinFiles/7inch/High/image %1.bin").arg(i), 1, "00", {}});
    // Each image of 255 characters adds as much to the line as the first.
    const FileFacts wide {QStringLiteral("/station/FwBinFiles/7inch/High/") + QString(224, QLatin1Char('x')),
                          1 << 20,
                          QByteArray(64, 'a'),
                          {}};
    const qsizetype narrow = toJsonLine(record).size();
    record.images.append(wide);
    const qsizetype perImage = toJsonLine(record).size() - narrow;
    record.images.removeLast();
    for (qsizetype size = narrow; size < arguments.value(3).toInt(); size += perImage)
        record.images.append(wide);
    QString error;
    for (int i = 0; i < arguments.value(2).toInt(); ++i) {
        // Each line its own, so that one delivered twice would show.
        record.runId = QUuid::createUuid();
        // When it was written: how long it takes to arrive elsewhere.
        record.started = QDateTime::currentDateTime();
        record.ended = record.started;
        record.detail = QStringLiteral("record %1 of %2").arg(i).arg(QCoreApplication::applicationPid());
        if (!appendToHistory(arguments.value(1), record, &error))
            return qPrintable(error) && 1;
    }
    return 0;
}
