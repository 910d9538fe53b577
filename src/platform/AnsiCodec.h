#pragma once
// Conversion between the editor's text and the bytes of the ANSI code page (GBK, code page 936),
// the form of every file, request body and cipher input the program exchanges.

#include <QByteArray>
#include <QString>

namespace platform {

class AnsiCodec {
public:
    explicit AnsiCodec(int codePage = 936);

    int codePage() const { return m_codePage; }
    // The code page's name as the converters know it ("GBK" for 936).
    const QByteArray &name() const { return m_name; }
    QString decode(const QByteArray &bytes) const;

    // The text, and where the first byte lies that the code page cannot read (-1 when every
    // byte was read): such bytes would come back different when the text is encoded again.
    struct Decoded {
        QString text;
        qsizetype firstInvalidByte = -1;
    };
    Decoded decodeChecked(const QByteArray &bytes) const;
    // Characters the code page cannot hold become "?"; lossless tells whether any did.
    QByteArray encode(const QString &text, bool *lossless = nullptr) const;

    // The first characters that the code page cannot hold, for a warning.
    QString unencodableSample(const QString &text, int maxChars = 5) const;

private:
    int m_codePage;
    QByteArray m_name;
};

} // namespace platform
