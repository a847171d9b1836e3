#include "update/station/StationSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtGlobal>

#include <optional>

namespace {

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

SettingsFault::Kind takeMinutes(int &into, const QString &value)
{
    bool number = false;
    into = value.toInt(&number);
    if (!number || into < 0)
        return SettingsFault::NotMinutes;
    return into > maxIdleMinutes ? SettingsFault::TooManyMinutes : SettingsFault::None;
}

SettingsFault::Kind takeLength(int &into, const QString &value)
{
    bool number = false;
    into = value.toInt(&number);
    return number && into >= 1 && into <= TextRule::maxLength ? SettingsFault::None
                                                              : SettingsFault::BadLength;
}

SettingsFault::Kind takeSwitch(bool &into, const QString &value)
{
    const std::optional<bool> on = trueOrFalse(value);
    if (!on)
        return SettingsFault::NotTrueOrFalse;
    into = *on;
    return SettingsFault::None;
}

SettingsFault::Kind takePattern(QString &into, const QString &value)
{
    if (!QRegularExpression(value).isValid())
        return SettingsFault::BadPattern;
    into = value;
    return SettingsFault::None;
}

// One value being taken: the settings it goes into, and where the rule's
// fault and the part it refused (where that is not the whole value) go.
struct Taking
{
    StationSettings &to;
    const QString &value;
    TextRule::Fault &fault;
    QString &bad;
};

// Operator IDs written in place, or the full path of a file of them.
SettingsFault::Kind takeOperatorIds(Taking &t)
{
    if (!QDir::isAbsolutePath(t.value))
        return takeIds(t.to.operatorIds, t.value.split(QLatin1Char(';')), t.fault, t.bad);
    t.to.operatorIdsFile = QDir::cleanPath(t.value);
    return SettingsFault::None;
}

SettingsFault::Kind takeLeaves(QStringList &into, const QString &value)
{
    for (const QString &leaf : value.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList parts = leaf.trimmed().split(QLatin1Char('/'));
        if (parts.size() != 2 || parts.at(0).isEmpty() || parts.at(1).isEmpty())
            return SettingsFault::BadLeaf;
        into.append(leaf.trimmed());
    }
    return SettingsFault::None;
}

SettingsFault::Kind takeText(QString &into, const QString &value)
{
    into = value;
    return SettingsFault::None;
}

SettingsFault::Kind takeList(QStringList &into, const QString &value)
{
    into = value.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    return SettingsFault::None;
}

// Every key the settings know, with what takes its value: a key is known by
// being here, and so never lacks its own taker. A table, a key a line.
// clang-format off
const std::pair<const char *, SettingsFault::Kind (*)(Taking &)> keys[] = {
    {"station/name", [](Taking &t) { return takeName(t.to.name, t.value, t.fault); }},
    {"unit/required", [](Taking &t) { return takeSwitch(t.to.unitRequired, t.value); }},
    {"unit/pattern", [](Taking &t) { return takePattern(t.to.unitPattern, t.value); }},
    {"unit/maxLength", [](Taking &t) { return takeLength(t.to.unitLength, t.value); }},
    {"operator/required", [](Taking &t) { return takeSwitch(t.to.operatorRequired, t.value); }},
    {"operator/idleMinutes", [](Taking &t) { return takeMinutes(t.to.idleMinutes, t.value); }},
    {"operator/ids", takeOperatorIds},
    {"order/name", [](Taking &t) { return takeName(t.to.orderName, t.value, t.fault); }},
    {"order/leaves", [](Taking &t) { return takeLeaves(t.to.releasedLeaves, t.value); }},
    {"release/manifest", [](Taking &t) { return takeText(t.to.releaseManifest, t.value); }},
    {"release/keys", [](Taking &t) { return takeList(t.to.releaseKeys, t.value); }},
};
// clang-format on

// Sets one key of the settings from its value; the fault where the value is
// bad.
SettingsFault::Kind apply(Taking taking, const QString &key)
{
    for (const auto &[known, take] : keys)
        if (key == QLatin1String(known))
            return take(taking);
    return SettingsFault::UnknownKey;
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
        const SettingsFault::Kind kind = apply({settings, value, textFault, bad}, key);
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
