#include "update/run/RunLog.h"

#include "update/record/DataFolder.h"
#include "update/run/OutputTail.h"

#include <QDir>
#include <QFile>

QString createRunLog(const QDateTime &started, const QUuid &runId, QString *error)
{
    const QString folder = runsFolder();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot make the folder ") + folder;
        return {};
    }
    // No colons: the name must be valid on Windows too. Read on its own, a
    // log names its run.
    QFile log(folder + QLatin1Char('/') + started.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss-zzz_"))
              + runId.toString(QUuid::WithoutBraces) + QStringLiteral(".log"));
    if (log.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return log.fileName();
    *error = log.fileName() + QStringLiteral(": ") + log.errorString();
    return {};
}

QString logTail(const QString &path, int lineCount)
{
    QFile log(path);
    if (!log.open(QIODevice::ReadOnly))
        return {};
    // Enough for the lines a notice can show, whatever the log has grown to.
    const qint64 window = 16 * 1024;
    log.seek(qMax<qint64>(0, log.size() - window));
    QStringList lines = updaterLinesOf(QString::fromLocal8Bit(log.readAll()).split(QLatin1Char('\n')));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.mid(qMax(0, lines.size() - lineCount)).join(QLatin1Char('\n'));
}

QStringList lastLogLines(const QString &path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const qint64 start = qMax<qint64>(0, file.size() - bytes);
    file.seek(start);
    QList<QByteArray> lines = file.read(bytes).split('\n');
    if (start > 0 && !lines.isEmpty())
        lines.removeFirst();
    QStringList shown;
    shown.reserve(lines.size());
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        shown.append(displayLine(line));
    }
    return shown;
}

namespace {

QByteArray orNone(const QString &text)
{
    return text.isEmpty() ? QByteArrayLiteral("-") : text.toUtf8();
}

} // namespace

QByteArray logHeader(const RunRecord &record, const QString &command)
{
    QByteArray lines = "tpfw: run " + runIdText(record.runId).toLatin1() + '\n';
    lines += "tpfw: station " + orNone(record.station) + '\n';
    lines += "tpfw: unit " + orNone(record.unit) + '\n';
    lines += "tpfw: operator " + orNone(record.operatorId) + '\n';
    lines += "tpfw: order " + orNone(record.order) + '\n';
    lines += "tpfw: leaf " + record.tpSize.toUtf8() + '/' + record.sensitivity.toUtf8() + '\n';
    for (const FileFacts &image : record.images)
        lines += "tpfw: image " + image.path.toUtf8() + "  " + QByteArray::number(image.bytes) + "  "
            + orNone(QString::fromLatin1(image.sha256)) + '\n';
    lines += "tpfw: updater " + record.updater.path.toUtf8() + "  "
        + orNone(QString::fromLatin1(record.updater.sha256)) + '\n';
    lines += "tpfw: command " + command.toUtf8() + '\n';
    lines += "tpfw: started " + isoWithOffset(record.started).toLatin1() + '\n';
    return lines;
}

QByteArray logFooter(const RunRecord &record)
{
    QByteArray line = "tpfw: ended " + (record.ended ? isoWithOffset(*record.ended).toLatin1() : "-")
        + ", outcome " + outcomeName(record.outcome.value_or(Outcome::Unknown)).toLatin1() + ", exit code "
        + (record.exitCode ? QByteArray::number(*record.exitCode) : "-");
    if (!record.detail.isEmpty())
        line += ", " + record.detail.toUtf8();
    return line + '\n';
}

bool appendToLog(const QString &path, const QByteArray &lines, QString *error)
{
    QFile log(path);
    if (!log.open(QIODevice::ReadWrite | QIODevice::Append)) {
        *error = log.errorString();
        return false;
    }
    QByteArray last;
    if (log.size() > 0 && log.seek(log.size() - 1))
        last = log.read(1);
    log.seek(log.size());
    if (log.write((!last.isEmpty() && last != "\n" ? "\n" : "") + lines) < 0 || !log.flush()) {
        *error = log.errorString();
        return false;
    }
    return true;
}

bool isTpfwLine(const QString &line)
{
    return line.startsWith(QLatin1String("tpfw: "));
}

QStringList updaterLinesOf(const QStringList &lines)
{
    QStringList kept;
    for (const QString &line : lines)
        if (!isTpfwLine(line))
            kept.append(line);
    return kept;
}
