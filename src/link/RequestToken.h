#pragma once
// The servlet's request token and the enciphered SQL text: DES under a fixed key, upper-case hex.

#include "link/ServletSession.h"

#include <QDateTime>
#include <QString>
#include <optional>

// The hexadecimal cipher text of text's ANSI bytes; an empty text gives the token of the
// session's user id, session id and the local time now.
QString MakeRequestToken(const QString &text, const ServletSession &session);

// The same with every input given: for an empty text the plain text is
// userId + ":" + sessionId + ":" + time as yyyyMMddHHmmss.
QString requestTokenAt(const QString &text, const QString &userId, const QString &sessionId, const QDateTime &time);

// Enciphers arbitrary bytes under the token key; std::nullopt for no bytes at all.
std::optional<QString> encipherToHex(const QByteArray &plain);
