#pragma once
// The shape of text in the GBK code page (936): a byte from 0x81 to 0xFE opens a two-byte
// character whose second byte is 0x40 to 0x7E or 0x80 to 0xFE; every other byte stands alone.
// A byte below 0x40 ("<", ">", "&", '"', "'", line ends) is therefore never part of a two-byte
// character, which lets the fixed define-text conversions work on GBK bytes without decoding.

#include <QByteArrayView>
#include <cstdint>
#include <cstring>

// Whether the byte opens a two-byte character.
constexpr bool isGbkLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// Eight bytes below 0x80 at once, which stand alone: the bulk of a define file.
inline bool eightAsciiBytes(const unsigned char *p)
{
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return (word & 0x8080808080808080ULL) == 0;
}

// Where the first byte lies that the code page cannot read, at the same offset as
// platform::AnsiCodec::decodeChecked reports it; -1 when every byte reads.
qsizetype firstInvalidGbkByte(QByteArrayView gbk);

// Whether a character starts at p, in valid GBK text that starts at begin (begin <= p).
bool gbkCharacterStartsAt(const char *begin, const char *p);
