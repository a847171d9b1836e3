#include "update/record/RunRecord.h"

#include "update/record/CsvExport.h"
#include "update/record/OsSupport.h"
#include "update/record/TextRule.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSysInfo>

#include <array>
#include <utility>

namespace {

const std::array<std::pair<Outcome, const char *>, 7> outcomeNames {{
    {Outcome::Ok, "ok"},
    {Outcome::Failed, "failed"},
    {Outcome::Crashed, "crashed"},
    {Outcome::Stopped, "stopped"},
    {Outcome::Interrupted, "interrupted"},
    {Outcome::NotStarted, "notStarted"},
    {Outcome::Unknown, "unknown"},
}};

QJsonValue orNull(const QString &text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

template <typename T> QJsonValue orNull(const std::optional<T> &value)
{
    return value ? QJsonValue(*value) : QJsonValue();
}

QJsonValue orNull(const std::optional<QDateTime> &time)
{
    return time ? QJsonValue(isoWithOffset(*time)) : QJsonValue();
}

std::optional<QDateTime> timeIn(const QJsonValue &value)
{
    return recordTime(value.toString());
}

QJsonObject imageJson(const FileFacts &image)
{
    return {{"path", image.path},
            {"bytes", image.bytes < 0 ? QJsonValue() : QJsonValue(double(image.bytes))},
            {"sha256", orNull(QString::fromLatin1(image.sha256))}};
}

FileFacts imageIn(const QJsonObject &object)
{
    FileFacts image;
    image.path = object.value("path").toString();
    image.bytes = object.value("bytes").isDouble() ? qint64(object.value("bytes").toDouble()) : -1;
    image.sha256 = object.value("sha256").toString().toLatin1();
    return image;
}

} // namespace

QString outcomeName(Outcome outcome)
{
    for (const auto &[value, text] : outcomeNames)
        if (value == outcome)
            return QLatin1String(text);
    return QStringLiteral("unknown");
}

std::optional<Outcome> outcomeNamed(const QString &name)
{
    for (const auto &[outcome, text] : outcomeNames)
        if (name == QLatin1String(text))
            return outcome;
    return std::nullopt;
}

RunRecord RunRecord::begun()
{
    RunRecord record;
    record.runId = QUuid::createUuid();
    record.host = QSysInfo::machineHostName();
    record.station = record.host;
    record.user = userName();
    record.tpfwVersion = QStringLiteral(TPFW_VERSION);
    return record;
}

bool RunRecord::sentNothing() const
{
    return (outcome == Outcome::Ok || outcome == Outcome::Failed) && images.isEmpty();
}

QString runIdText(const QUuid &runId)
{
    return runId.isNull() ? QString() : runId.toString(QUuid::WithoutBraces);
}

QJsonObject toJson(const RunRecord &record)
{
    QJsonArray images;
    for (const FileFacts &image : record.images)
        images.append(imageJson(image));
    QJsonObject object {
        {"schema", record.schema},
        {"runId", orNull(runIdText(record.runId))},
        {"started", isoWithOffset(record.started)},
        {"ended", orNull(record.ended)},
        {"seconds", orNull(record.seconds)},
        {"found", orNull(record.found)},
        {"host", record.host},
        {"user", record.user},
        // Checked where they entered, and once more here: no record holds
        // what the rule refuses.
        {"station", orNull(TextRule::recordable(record.station, TextRule::Form::Named))},
        {"unit", orNull(TextRule::recordable(record.unit, TextRule::Form::Scanned))},
        {"operator", orNull(TextRule::recordable(record.operatorId, TextRule::Form::Scanned))},
        {"order", orNull(TextRule::recordable(record.order, TextRule::Form::Named))},
        {"release",
         record.release ? QJsonValue(QJsonObject {{"name", record.release->name},
                                                  {"sha256", QString::fromLatin1(record.release->sha256)},
                                                  {"key", QString::fromLatin1(record.release->key)}})
                        : QJsonValue()},
        {"tpSize", record.tpSize},
        {"sensitivity", record.sensitivity},
        {"images", images},
        {"updater", record.updater.path},
        {"updaterSha256", orNull(QString::fromLatin1(record.updater.sha256))},
        {"exitCode", orNull(record.exitCode)},
        {"log", orNull(record.log)},
        {"detail", orNull(record.detail)},
        {"notes", QJsonArray::fromStringList(record.notes)},
        {"tpfwVersion", record.tpfwVersion},
    };
    // A pending record has none yet.
    if (record.outcome)
        object.insert("outcome", outcomeName(*record.outcome));
    if (record.refusal)
        object.insert("refusal", refusalName(*record.refusal));
    if (!record.historyProblem.isEmpty())
        object.insert("historyProblem", record.historyProblem);
    if (record.seq > 0) {
        object.insert("seq", record.seq);
        object.insert("prev", QString::fromLatin1(record.prev));
    }
    return object;
}

std::optional<RunRecord> fromJson(const QJsonObject &object)
{
    RunRecord record;
    const std::optional<QDateTime> started = timeIn(object.value("started"));
    if (!started || !object.value("tpSize").isString() || !object.value("sensitivity").isString()
        || !object.value("images").isArray())
        return std::nullopt;
    record.started = *started;
    // 1.0.0 wrote no schema.
    record.schema = object.value("schema").toInt(1);
    record.runId = QUuid(object.value("runId").toString());
    record.ended = timeIn(object.value("ended"));
    if (object.value("seconds").isDouble())
        record.seconds = object.value("seconds").toDouble();
    record.found = timeIn(object.value("found"));
    record.host = object.value("host").toString();
    record.user = object.value("user").toString();
    record.station = object.value("station").toString();
    record.unit = object.value("unit").toString();
    record.operatorId = object.value("operator").toString();
    record.order = object.value("order").toString();
    if (const QJsonObject release = object.value("release").toObject(); !release.isEmpty())
        record.release
            = ReleaseFacts {release.value("name").toString(), release.value("sha256").toString().toLatin1(),
                            release.value("key").toString().toLatin1()};
    record.tpSize = object.value("tpSize").toString();
    record.sensitivity = object.value("sensitivity").toString();
    for (const QJsonValue image : object.value("images").toArray())
        record.images.append(imageIn(image.toObject()));
    record.updater.path = object.value("updater").toString();
    record.updater.sha256 = object.value("updaterSha256").toString().toLatin1();
    if (object.contains("outcome"))
        record.outcome = outcomeNamed(object.value("outcome").toString()).value_or(Outcome::Unknown);
    if (object.value("exitCode").isDouble())
        record.exitCode = object.value("exitCode").toInt();
    record.log = object.value("log").toString();
    record.refusal = refusalNamed(object.value("refusal").toString());
    record.detail = object.value("detail").toString();
    for (const QJsonValue note : object.value("notes").toArray())
        record.notes.append(note.toString());
    record.historyProblem = object.value("historyProblem").toString();
    record.tpfwVersion = object.value("tpfwVersion").toString();
    record.seq = qint64(object.value("seq").toDouble());
    record.prev = object.value("prev").toString().toLatin1();
    return record;
}

const QStringList &csvColumns()
{
    static const QStringList columns {
        "runId", "started", "ended",   "seconds",       "station",     "host",    "user",     "operator",
        "unit",  "order",   "release", "tpSize",        "sensitivity", "outcome", "exitCode", "detail",
        "notes", "images",  "updater", "updaterSha256", "tpfwVersion", "log"};
    return columns;
}

namespace {

// An image not read: its size and hash are unknown: left out, not 0.
QString imageLine(const QJsonObject &image)
{
    const QJsonValue bytes = image.value("bytes");
    return image.value("path").toString() + QStringLiteral("  ")
        + (bytes.isDouble() ? QString::number(bytes.toDouble(), 'f', 0) : QString()) + QStringLiteral("  ")
        + image.value("sha256").toString();
}

} // namespace

QStringList csvFields(const RunRecord &record)
{
    const QJsonObject object = toJson(record);
    QStringList fields;
    for (const QString &column : csvColumns()) {
        const QJsonValue value = object.value(column);
        QStringList lines;
        for (const QJsonValue item : value.toArray())
            lines.append(item.isObject() ? imageLine(item.toObject()) : item.toString());
        const QJsonObject release = value.toObject();
        if (value.isDouble())
            fields.append(QString::number(value.toDouble(), 'g', 15));
        else if (value.isObject())
            fields.append(csvText(release.value("name").toString() + QStringLiteral("  sha256:")
                                  + release.value("sha256").toString() + QStringLiteral("  key:")
                                  + release.value("key").toString()));
        else
            fields.append(csvText(value.isArray() ? lines.join(QLatin1Char('\n')) : value.toString()));
    }
    return fields;
}

QByteArray toJsonLine(const RunRecord &record)
{
    return QJsonDocument(toJson(record)).toJson(QJsonDocument::Compact);
}

std::optional<RunRecord> fromJsonLine(const QByteArray &line)
{
    return fromJson(QJsonDocument::fromJson(line).object());
}

// Written without the locale a QDateTime's own formatting consults, which on
// Windows asks the system again for every time: an export writes millions.
QString isoWithOffset(const QDateTime &time)
{
    const QDate day = time.date();
    const QTime clock = time.time();
    const int offset = time.offsetFromUtc() / 60;
    return QString::asprintf("%04d-%02d-%02dT%02d:%02d:%02d.%03d%c%02d:%02d", day.year(), day.month(),
                             day.day(), clock.hour(), clock.minute(), clock.second(), clock.msec(),
                             offset < 0 ? '-' : '+', qAbs(offset) / 60, qAbs(offset) % 60);
}

// The form records write is read without the time zone lookups a QDateTime
// makes of a string: a hundred thousand records are read at once. Any other
// form goes the long way.
std::optional<QDateTime> recordTime(const QString &text)
{
    static const QRegularExpression form(QStringLiteral(
        "^(\\d{4})-(\\d\\d)-(\\d\\d)T(\\d\\d):(\\d\\d):(\\d\\d)\\.(\\d{3})([+-])(\\d\\d):(\\d\\d)$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch()) {
        const QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
        return time.isValid() ? std::optional<QDateTime>(time) : std::nullopt;
    }
    const auto part = [&match](int n) {
        return match.capturedRef(n).toInt();
    };
    const QDate date(part(1), part(2), part(3));
    const QTime time(part(4), part(5), part(6), part(7));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    const int offset = (part(9) * 60 + part(10)) * 60 * (match.capturedRef(8) == QLatin1String("-") ? -1 : 1);
    return QDateTime(date, time, Qt::OffsetFromUTC, offset);
}

std::optional<QDate> writtenStartDay(const QByteArray &line)
{
    const QByteArray key = QByteArrayLiteral("\"started\":\"");
    const int at = line.indexOf(key);
    if (at < 0)
        return std::nullopt;
    const QDate day = QDate::fromString(QString::fromLatin1(line.mid(at + key.size(), 10)), Qt::ISODate);
    return day.isValid() ? std::optional<QDate>(day) : std::nullopt;
}
