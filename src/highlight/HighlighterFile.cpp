// The packed little-endian layout of a highlighter file: eight groups of 128 integers, 128 font
// names, 128 spare texts, 8 keyword lists, extensions, spare text, name, lexer, file path.
// A text is a 2-byte byte count and that many bytes in the ANSI code page.

#include "highlight/HighlighterRecord.h"

#include "platform/AnsiCodec.h"

namespace {

class Reader {
public:
    explicit Reader(QByteArrayView bytes) : m_bytes(bytes) {}

    std::int32_t integer()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= static_cast<std::uint32_t>(byte()) << (8 * i);
        return static_cast<std::int32_t>(value);
    }
    QByteArray text()
    {
        const qsizetype count = byte() | (byte() << 8);
        const qsizetype available = qMin(count, m_bytes.size() - m_pos);
        QByteArray result(m_bytes.data() + m_pos, available);
        m_pos += available;
        return result;
    }

private:
    unsigned byte() { return m_pos < m_bytes.size() ? static_cast<unsigned char>(m_bytes[m_pos++]) : 0; }

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

void putInteger(QByteArray &out, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

bool putText(QByteArray &out, const QByteArray &text)
{
    if (text.size() > 0xFFFF)
        return false;
    out.append(static_cast<char>(text.size() & 0xFF));
    out.append(static_cast<char>(text.size() >> 8));
    out.append(text);
    return true;
}

template <typename F> void forEachNumberGroup(HighlighterRecord &r, F f)
{
    for (HighlighterRecord::Numbers *group :
         {&r.Bold, &r.Italic, &r.Underline, &r.Visible, &r.EOLFilled, &r.Fore, &r.Back, &r.Size})
        f(*group);
}

} // namespace

void readHighlighterRaw(QByteArrayView bytes, HighlighterRecord &numbers, HighlighterTextBytes &texts)
{
    Reader in(bytes);
    forEachNumberGroup(numbers, [&in](HighlighterRecord::Numbers &group) {
        for (std::int32_t &value : group)
            value = in.integer();
    });
    for (QByteArray &t : texts.Font)
        t = in.text();
    for (QByteArray &t : texts.SpareStyleTexts)
        t = in.text();
    for (QByteArray &t : texts.Keywords)
        t = in.text();
    texts.Extensions = in.text();
    texts.SpareText = in.text();
    texts.Name = in.text();
    numbers.Lexer = in.integer();
    texts.FilePath = in.text();
}

HighlighterRecord readHighlighterRecord(QByteArrayView bytes)
{
    HighlighterRecord record;
    HighlighterTextBytes texts;
    readHighlighterRaw(bytes, record, texts);
    const platform::AnsiCodec codec;
    for (int s = 0; s < kHighlighterStyles; ++s) {
        record.Font[s] = codec.decode(texts.Font[s]);
        record.SpareStyleTexts[s] = codec.decode(texts.SpareStyleTexts[s]);
    }
    for (int k = 0; k < kHighlighterKeywordLists; ++k)
        record.Keywords[k] = codec.decode(texts.Keywords[k]);
    record.Extensions = codec.decode(texts.Extensions);
    record.SpareText = codec.decode(texts.SpareText);
    record.Name = codec.decode(texts.Name);
    record.FilePath = codec.decode(texts.FilePath);
    return record;
}

bool writeHighlighterRecord(const HighlighterRecord &numbers, const HighlighterTextBytes &texts, QByteArray &out)
{
    out.clear();
    HighlighterRecord copy = numbers;
    forEachNumberGroup(copy, [&out](HighlighterRecord::Numbers &group) {
        for (const std::int32_t value : group)
            putInteger(out, value);
    });
    bool ok = true;
    for (const QByteArray &t : texts.Font)
        ok = putText(out, t) && ok;
    for (const QByteArray &t : texts.SpareStyleTexts)
        ok = putText(out, t) && ok;
    for (const QByteArray &t : texts.Keywords)
        ok = putText(out, t) && ok;
    ok = putText(out, texts.Extensions) && ok;
    ok = putText(out, texts.SpareText) && ok;
    ok = putText(out, texts.Name) && ok;
    putInteger(out, numbers.Lexer);
    ok = putText(out, texts.FilePath) && ok;
    return ok;
}
