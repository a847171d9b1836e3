#include "update/station/StationSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtGlobal>

#include <optional>

namespace {

const QStringList knownKeys {"station/name",      "unit/required",        "unit/pattern", "unit/maxLength",
                             "operator/required", "operator/idleMinutes", "operator/ids", "order/name",
                             "order/leaves",      "release/manifest",     "release/keys"};

std::optional<bool> trueOrFalse(const QString &value)
{
    if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

// A name as the station takes it; empty for none.
SettingsFault::Kind takeName(QString &into, const QString &value, TextRule::Fault &fault)
{
    if (value.isEmpty())
        return SettingsFault::None;
    const TextRule::Checked checked = TextRule::check(value, TextRule::Form::Named);
    fault = checked.fault;
    into = checked.text;
    return fault == TextRule::Fault::None ? SettingsFault::None : SettingsFault::BadText;
}

// Without the byte order mark an editor may put first.
QByteArray withoutBom(QByteArray text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    return text;
}

// Each ID as the rule takes it, appended; the fault of the first it refuses,
// with that ID in bad. A list of nobody is a fault: emptied by mistake, it
// would let anyone sign in.
SettingsFault::Kind takeIds(QStringList &into, const QStringList &ids, TextRule::Fault &fault, QString &bad)
{
    for (const QString &id : ids) {
        const TextRule::Checked checked = TextRule::check(id, TextRule::Form::Scanned);
        if (checked.fault == TextRule::Fault::Empty)
            continue;
        if (checked.fault != TextRule::Fault::None) {
            fault = checked.fault;
            bad = id;
            return SettingsFault::BadText;
        }
        into.append(checked.text);
    }
    return into.isEmpty() ? SettingsFault::NoOperators : SettingsFault::None;
}

// The IDs of the file named in operator/ids, one a line.
SettingsFault takeIdsFile(StationSettings &settings)
{
    const QString key = QStringLiteral("operator/ids");
    QFile file(settings.operatorIdsFile);
    if (!file.open(QIODevice::ReadOnly))
        return {SettingsFault::OperatorsUnreadable, key, file.errorString()};
    const QByteArray bytes = withoutBom(file.readAll());
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes)
        return {SettingsFault::OperatorsUnreadable, key, settings.operatorIdsFile};
    SettingsFault fault {SettingsFault::None, key, {}};
    fault.kind = takeIds(settings.operatorIds, text.split(QLatin1Char('\n')), fault.text, fault.value);
    return fault;
}

// Sets one key of settings from its value; the fault where the value is bad.
SettingsFault::Kind apply(StationSettings &settings, const QString &key, const QString &value,
                          TextRule::Fault &textFault, QString &bad)
{
    if (key == QLatin1String("station/name"))
        return takeName(settings.name, value, textFault);
    if (key == QLatin1String("order/name"))
        return takeName(settings.orderName, value, textFault);
    if (key.endsWith(QLatin1String("/required"))) {
        const std::optional<bool> on = trueOrFalse(value);
        if (!on)
            return SettingsFault::NotTrueOrFalse;
        (key.startsWith(QLatin1String("unit")) ? settings.unitRequired : settings.operatorRequired) = *on;
    } else if (key == QLatin1String("unit/pattern")) {
        if (!QRegularExpression(value).isValid())
            return SettingsFault::BadPattern;
        settings.unitPattern = value;
    } else if (key == QLatin1String("unit/maxLength")) {
        bool number = false;
        settings.unitLength = value.toInt(&number);
        if (!number || settings.unitLength < 1 || settings.unitLength > TextRule::maxLength)
            return SettingsFault::BadLength;
    } else if (key == QLatin1String("operator/idleMinutes")) {
        bool number = false;
        settings.idleMinutes = value.toInt(&number);
        if (!number || settings.idleMinutes < 0)
            return SettingsFault::NotMinutes;
        if (settings.idleMinutes > maxIdleMinutes)
            return SettingsFault::TooManyMinutes;
    } else if (key == QLatin1String("operator/ids")) {
        if (QDir::isAbsolutePath(value))
            settings.operatorIdsFile = QDir::cleanPath(value);
        else
            return takeIds(settings.operatorIds, value.split(QLatin1Char(';')), textFault, bad);
    } else if (key == QLatin1String("release/manifest"))
        settings.releaseManifest = value;
    else if (key == QLatin1String("release/keys"))
        settings.releaseKeys = value.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    else {
        for (const QString &leaf : value.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QStringList parts = leaf.trimmed().split(QLatin1Char('/'));
            if (parts.size() != 2 || parts.at(0).isEmpty() || parts.at(1).isEmpty())
                return SettingsFault::BadLeaf;
            settings.releasedLeaves.append(leaf.trimmed());
        }
    }
    return SettingsFault::None;
}

// The release's files as full paths, those written relative taken from the
// settings' own folder; a release with no key, or leaves named beside it, is
// a fault.
void takeRelease(StationSettings &settings, const QDir &folder)
{
    if (settings.releaseManifest.isEmpty() || settings.fault.kind != SettingsFault::None)
        return;
    if (settings.releaseKeys.isEmpty())
        settings.fault = {SettingsFault::NoKeys, QStringLiteral("release/keys"), {}};
    else if (!settings.releasedLeaves.isEmpty())
        settings.fault = {SettingsFault::LeavesBesideRelease, QStringLiteral("order/leaves"), {}};
    settings.releaseManifest = QDir::cleanPath(folder.absoluteFilePath(settings.releaseManifest.trimmed()));
    for (QString &key : settings.releaseKeys)
        key = QDir::cleanPath(folder.absoluteFilePath(key.trimmed()));
}

} // namespace

QString StationSettings::path()
{
    if (const QString named = qEnvironmentVariable("TPFW_STATION_SETTINGS"); !named.isEmpty())
        return named;
#ifdef Q_OS_WIN
    return qEnvironmentVariable("ProgramData") + QStringLiteral("\\tpfw\\station.ini");
#else
    return QStringLiteral("/etc/tpfw/station.ini");
#endif
}

StationSettings StationSettings::read(const QString &path)
{
    StationSettings settings;
    QFile file(path);
    if (!file.exists()) {
        settings.fault = {SettingsFault::Missing, {}, {}};
        return settings;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        settings.fault = {SettingsFault::Unreadable, {}, file.errorString()};
        return settings;
    }
    const QByteArray text = withoutBom(file.readAll());
    QString section;
    const QList<QByteArray> lines = text.split('\n');
    for (int number = 1; number <= lines.size(); ++number) {
        const QByteArray &bytes = lines.at(number - 1);
        // A NUL is read as one, for the rule to refuse.
        const QString read = QString::fromUtf8(bytes.constData(), bytes.size());
        // What is not UTF-8 is never taken as its replacement characters.
        if (read.toUtf8() != bytes) {
            settings.fault = {SettingsFault::NotUtf8, QString::number(number), {}};
            return settings;
        }
        const QString line = read.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed();
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals < 0) {
            settings.fault = {SettingsFault::NotAKeyLine, QString::number(number), line};
            return settings;
        }
        const QString key = section + QLatin1Char('/') + line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        TextRule::Fault textFault = TextRule::Fault::None;
        QString bad = value;
        const SettingsFault::Kind kind = knownKeys.contains(key) ? apply(settings, key, value, textFault, bad)
                                                                 : SettingsFault::UnknownKey;
        if (kind != SettingsFault::None) {
            settings.fault = {
                kind, key, kind == SettingsFault::BadPattern ? QRegularExpression(value).errorString() : bad,
                textFault};
            return settings;
        }
    }
    if (!settings.releasedLeaves.isEmpty() && settings.orderName.isEmpty()
        && settings.releaseManifest.isEmpty())
        settings.fault = {SettingsFault::NoOrderName, QStringLiteral("order/name"), {}};
    if (!settings.operatorIdsFile.isEmpty() && settings.fault.kind == SettingsFault::None)
        settings.fault = takeIdsFile(settings);
    takeRelease(settings, QFileInfo(path).absoluteDir());
    return settings;
}

std::optional<QString> StationSettings::serialOf(const QString &read) const
{
    const TextRule::Checked serial = TextRule::check(read, TextRule::Form::Scanned, unitLength);
    if (serial.fault != TextRule::Fault::None)
        return std::nullopt;
    if (!unitPattern.isEmpty()
        && !QRegularExpression(QRegularExpression::anchoredPattern(unitPattern))
                .match(serial.text)
                .hasMatch())
        return std::nullopt;
    return serial.text;
}

bool StationSettings::releases(const QString &tpSize, const QString &sensitivity) const
{
    return releasedLeaves.isEmpty() || releasedLeaves.contains(tpSize + QLatin1Char('/') + sensitivity);
}
