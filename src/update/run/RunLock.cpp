#include "update/run/RunLock.h"

#include <QJsonDocument>
#include <QJsonObject>

QByteArray RunLock::encode(const RunInfo &info)
{
    return QJsonDocument(QJsonObject {{"supervisorPid", double(info.supervisorPid)},
                                      {"updaterPid", double(info.updaterPid)},
                                      {"pending", info.pending},
                                      {"started", info.started.toString(Qt::ISODateWithMs)}})
        .toJson(QJsonDocument::Compact);
}

RunInfo RunLock::decode(const QByteArray &json)
{
    const QJsonObject object = QJsonDocument::fromJson(json).object();
    return {qint64(object.value("supervisorPid").toDouble()), qint64(object.value("updaterPid").toDouble()),
            object.value("pending").toString(),
            QDateTime::fromString(object.value("started").toString(), Qt::ISODateWithMs)};
}
