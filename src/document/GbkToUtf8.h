#pragma once
// Valid GBK text (GbkBytes.h) turned into UTF-8 without a UTF-16 copy between: ASCII is copied
// as it is, and each other character is decoded by the code page's converter the first time it
// is met and remembered. GBK keeps no state between characters, so the result is exactly what
// decoding the text whole gives.

#include <QByteArray>
#include <QByteArrayView>
#include <QStringDecoder>
#include <cstdint>
#include <vector>

class GbkToUtf8 {
public:
    GbkToUtf8();

    // Appends the UTF-8 of gbk, which must hold no byte firstInvalidGbkByte reports, to out.
    // False, with out as it was, when the converter is missing or does not read a character.
    bool append(QByteArrayView gbk, QByteArray &out);

private:
    static QStringDecoder newDecoder();
    // A character's UTF-8 bytes in the low three bytes and their count in the high one; 0 when
    // it has not been met yet.
    std::uint32_t known(unsigned key, QByteArrayView character);

    QStringDecoder m_decoder;
    std::vector<std::uint32_t> m_known; // by the character's bytes read as a number
};
