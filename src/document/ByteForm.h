#pragma once
// A document's text as the bytes stored on disk and sent to the servlet: the ANSI code page.
// Characters the code page cannot hold are never dropped silently: the caller learns which.

#include "platform/AnsiCodec.h"

#include <QByteArray>
#include <QString>

struct ByteForm {
    QByteArray bytes;
    bool lossless = true;
    QString unencodable; // the first characters that became "?", for the question to the user
};

ByteForm toByteForm(const QString &text, const platform::AnsiCodec &codec);

// The question asked before writing a text that would lose characters.
QString lossyByteFormQuestion(const ByteForm &form);
