#include "link/RequestToken.h"

#include "link/des.h"
#include "platform/AnsiCodec.h"

namespace {
const QByteArray kTokenKey = QByteArrayLiteral("tupnerak");
}

std::optional<QString> encipherToHex(const QByteArray &plain)
{
    des cipher;
    cipher.SetKey(kTokenKey);
    QByteArray encrypted;
    int keyHalf = 1;
    if (!cipher.EncryptDes_ArrToArr(plain, encrypted, keyHalf, 1))
        return std::nullopt;
    return QString::fromLatin1(encrypted.toHex().toUpper());
}

QString requestTokenAt(const QString &text, const QString &userId, const QString &sessionId, const QDateTime &time)
{
    const QString plain = text.isEmpty() ? userId + QLatin1Char(':') + sessionId + QLatin1Char(':') +
                                               time.toString(QStringLiteral("yyyyMMddHHmmss"))
                                         : text;
    return encipherToHex(platform::AnsiCodec().encode(plain)).value_or(QString());
}

QString MakeRequestToken(const QString &text, const ServletSession &session)
{
    return requestTokenAt(text, session.UserId, session.JsessionID, QDateTime::currentDateTime());
}
