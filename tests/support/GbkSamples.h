#pragma once
// Random define texts as GBK bytes, built from pieces that test the places where bytes and
// characters part: two-byte characters whose second byte is a letter of "type=", "condition="
// or an entity, entities and their fragments, the define tags, line ends, and the single bytes
// 0x80 and 0xFF. Each text is valid GBK. The generator is seeded, so a failure repeats.

#include <QByteArray>
#include <QByteArrayList>
#include <random>

class GbkSamples {
public:
    explicit GbkSamples(unsigned seed) : m_random(seed) {}

    QByteArray next(int maxPieces = 40)
    {
        static const QByteArrayList pieces = {
            "type=", "condition=", "ype=", "ondition=", "t", "c", "=", "\"", "<", ">", "&", "'",
            "&amp;", "&lt;", "&gt;", "&quot;", "amp;", "lt;", "gt;", "quot;", "&amp;lt;", "&amp;quot;",
            "<define>", "<define", "</define>", "<sql", "</sql>", "<condition>", "<select", "<!--", "-->",
            "--", "&lt;define&gt;", "&lt;sql", "type=&quot;", "--&gt;", " ", "x", "\r\n", "\n", "\t",
            "\x81t", "\x81" "c", "\x81l", "\x81" "a", "\x81g", "\x81q", "\xFEt", "\x81\x81", "\x81\x40",
            "\xD6\xD0", "\xCE\xC4", "\xB1\xA3", "\x80", "\xFF", "\xA1\xA1", "\xA3\xBC",
        };
        std::uniform_int_distribution<int> count(0, maxPieces);
        std::uniform_int_distribution<int> pick(0, static_cast<int>(pieces.size()) - 1);
        QByteArray text;
        for (int n = count(m_random); n > 0; --n)
            text += pieces.at(pick(m_random));
        return text;
    }

    // Texts, each followed by lineEnd, until there are at least bytes of them.
    QByteArray lines(qsizetype bytes, const QByteArray &lineEnd)
    {
        QByteArray all;
        while (all.size() < bytes)
            all += next() + lineEnd;
        return all;
    }

    // A large valid file spanning several decoding pieces: about 3 MB of sample lines, then a
    // long line of the caller's.
    static QByteArray largeFile(unsigned seed, const QByteArray &lineEnd, const QByteArray &longLine)
    {
        return GbkSamples(seed).lines(3 * 1024 * 1024, lineEnd) + longLine;
    }

    std::mt19937 &random() { return m_random; }

private:
    std::mt19937 m_random;
};
