#include "recovery/RecoveryRecord.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {
constexpr QByteArrayView kMagic("PLENDOR-RECOVERY 1\n");
// The JSON line names a path and a few launch values: anything longer is not ours.
constexpr qsizetype kLongestHeader = 64 * 1024;

std::optional<RecoveryRecord> refuse(QString *why, const QString &reason)
{
    if (why)
        *why = reason;
    return std::nullopt;
}
} // namespace

QByteArray recoveryHeader(const RecoveryRecord &record)
{
    QJsonObject server;
    for (auto it = record.server.cbegin(); it != record.server.cend(); ++it)
        server.insert(it.key(), it.value());
    QJsonObject header{
        {QStringLiteral("owner"), record.owner},
        {QStringLiteral("pid"), record.pid},
        {QStringLiteral("writtenAt"), record.writtenAt.toUTC().toString(Qt::ISODateWithMs)},
        {QStringLiteral("localPath"), record.localPath},
        {QStringLiteral("server"), server},
        {QStringLiteral("textBytes"), static_cast<qint64>(record.text.size())},
    };
    return kMagic.toByteArray() + QJsonDocument(header).toJson(QJsonDocument::Compact) + '\n';
}

QByteArray serializeRecovery(const RecoveryRecord &record) { return recoveryHeader(record) + record.text; }

std::optional<RecoveryRecord> parseRecovery(QByteArrayView bytes, QString *why)
{
    if (!bytes.startsWith(kMagic))
        return refuse(why, QStringLiteral("no recovery header"));
    const qsizetype start = kMagic.size();
    const qsizetype end = bytes.indexOf('\n', start);
    if (end < 0 || end - start > kLongestHeader)
        return refuse(why, QStringLiteral("header line missing or too long"));
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(bytes.sliced(start, end - start).toByteArray(), &error);
    if (!json.isObject())
        return refuse(why, QStringLiteral("header is not a JSON object: ") + error.errorString());
    const QJsonObject header = json.object();

    RecoveryRecord record;
    record.owner = header.value(QStringLiteral("owner")).toString();
    record.pid = header.value(QStringLiteral("pid")).toInteger(-1);
    record.writtenAt = QDateTime::fromString(header.value(QStringLiteral("writtenAt")).toString(), Qt::ISODateWithMs);
    record.localPath = header.value(QStringLiteral("localPath")).toString();
    const QJsonObject server = header.value(QStringLiteral("server")).toObject();
    for (auto it = server.begin(); it != server.end(); ++it) {
        if (!it.value().isString())
            return refuse(why, QStringLiteral("launch value %1 is not a text").arg(it.key()));
        record.server.insert(it.key(), it.value().toString());
    }
    const qint64 size = header.value(QStringLiteral("textBytes")).toInteger(-1);
    if (record.owner.isEmpty() || record.pid <= 0 || !record.writtenAt.isValid())
        return refuse(why, QStringLiteral("owner, process or time missing"));
    if (size < 0 || size != bytes.size() - end - 1)
        return refuse(why, QStringLiteral("text length %1 does not match the file").arg(size));
    if (record.isServer() && !record.localPath.isEmpty())
        return refuse(why, QStringLiteral("both a local path and a server document"));
    record.text = bytes.sliced(end + 1).toByteArray();
    return record;
}
