#include "update/station/StationSettings.h"

#include <QFile>
#include <QTextStream>
#include <QtGlobal>

#include <optional>

namespace {

const QStringList knownKeys {"station/name",         "unit/required", "unit/pattern", "operator/required",
                             "operator/idleMinutes", "order/name",    "order/leaves"};

std::optional<bool> trueOrFalse(const QString &value)
{
    if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

// Sets one key of settings from its value; the fault where the value is bad.
SettingsFault::Kind apply(StationSettings &settings, const QString &key, const QString &value)
{
    if (key == QLatin1String("station/name"))
        settings.name = value;
    else if (key.endsWith(QLatin1String("/required"))) {
        const std::optional<bool> on = trueOrFalse(value);
        if (!on)
            return SettingsFault::NotTrueOrFalse;
        (key.startsWith(QLatin1String("unit")) ? settings.unitRequired : settings.operatorRequired) = *on;
    } else if (key == QLatin1String("unit/pattern")) {
        if (!QRegularExpression(value).isValid())
            return SettingsFault::BadPattern;
        settings.unitPattern = value;
    } else if (key == QLatin1String("operator/idleMinutes")) {
        bool number = false;
        settings.idleMinutes = value.toInt(&number);
        if (!number || settings.idleMinutes < 0)
            return SettingsFault::NotMinutes;
        if (settings.idleMinutes > maxIdleMinutes)
            return SettingsFault::TooManyMinutes;
    } else if (key == QLatin1String("order/name"))
        settings.orderName = value;
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
    if (!file.exists())
        return settings;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        settings.fault = {SettingsFault::Unreadable, {}, file.errorString()};
        return settings;
    }
    QTextStream in(&file);
    in.setCodec("UTF-8");
    QString section;
    for (int number = 1; !in.atEnd(); ++number) {
        const QString line = in.readLine().trimmed();
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
        const SettingsFault::Kind kind
            = knownKeys.contains(key) ? apply(settings, key, value) : SettingsFault::UnknownKey;
        if (kind != SettingsFault::None) {
            settings.fault
                = {kind, key,
                   kind == SettingsFault::BadPattern ? QRegularExpression(value).errorString() : value};
            return settings;
        }
    }
    if (!settings.releasedLeaves.isEmpty() && settings.orderName.isEmpty())
        settings.fault = {SettingsFault::NoOrderName, QStringLiteral("order/name"), {}};
    return settings;
}

bool StationSettings::acceptsSerial(const QString &serial) const
{
    if (serial.isEmpty())
        return false;
    for (const QChar c : serial)
        if (c.category() == QChar::Other_Control)
            return false;
    if (unitPattern.isEmpty())
        return serial.size() <= 64;
    return QRegularExpression(QRegularExpression::anchoredPattern(unitPattern)).match(serial).hasMatch();
}

bool StationSettings::releases(const QString &tpSize, const QString &sensitivity) const
{
    return releasedLeaves.isEmpty() || releasedLeaves.contains(tpSize + QLatin1Char('/') + sensitivity);
}
