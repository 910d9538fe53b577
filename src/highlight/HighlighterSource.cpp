#include "highlight/HighlighterSource.h"

#include "platform/AnsiCodec.h"

#include <QStringDecoder>
#include <optional>

namespace {

struct StyleField {
    const char *key;
    HighlighterRecord::Numbers HighlighterRecord::*numbers;
    bool colour;
};

const StyleField kStyleFields[] = {
    {"bold", &HighlighterRecord::Bold, false},     {"italic", &HighlighterRecord::Italic, false},
    {"underline", &HighlighterRecord::Underline, false}, {"visible", &HighlighterRecord::Visible, false},
    {"eolfilled", &HighlighterRecord::EOLFilled, false}, {"fore", &HighlighterRecord::Fore, true},
    {"back", &HighlighterRecord::Back, true},      {"size", &HighlighterRecord::Size, false},
};

std::optional<std::int32_t> parseNumber(const QString &value)
{
    bool ok = false;
    if (value.startsWith(QLatin1Char('#')) && value.size() == 7) {
        const uint rgb = value.mid(1).toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
        return static_cast<std::int32_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
    }
    if (value.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const uint v = value.mid(2).toUInt(&ok, 16);
        return ok ? std::optional<std::int32_t>(static_cast<std::int32_t>(v)) : std::nullopt;
    }
    const int v = value.toInt(&ok, 10);
    return ok ? std::optional<std::int32_t>(v) : std::nullopt;
}

// A text value as the file's bytes; nullopt with a reason when it cannot be one.
std::optional<QByteArray> parseText(const QString &value, const platform::AnsiCodec &codec, QString &why)
{
    QByteArray bytes;
    bool lossless = true;
    if (!value.startsWith(QLatin1Char('"'))) {
        bytes = codec.encode(value, &lossless);
    } else {
        QString pending;
        const auto flush = [&] {
            bool ok = true;
            bytes += codec.encode(pending, &ok);
            lossless = lossless && ok;
            pending.clear();
        };
        qsizetype i = 1;
        bool closed = false;
        for (; i < value.size(); ++i) {
            const QChar c = value.at(i);
            if (c == QLatin1Char('"')) {
                closed = true;
                break;
            }
            if (c != QLatin1Char('\\')) {
                pending += c;
                continue;
            }
            if (++i >= value.size())
                break;
            const QChar e = value.at(i);
            if (e == QLatin1Char('n')) pending += QLatin1Char('\n');
            else if (e == QLatin1Char('r')) pending += QLatin1Char('\r');
            else if (e == QLatin1Char('t')) pending += QLatin1Char('\t');
            else if (e == QLatin1Char('\\') || e == QLatin1Char('"')) pending += e;
            else if (e == QLatin1Char('x') && i + 2 < value.size()) {
                bool ok = false;
                const uint byte = value.mid(i + 1, 2).toUInt(&ok, 16);
                if (!ok) {
                    why = QStringLiteral("\\x wants two hexadecimal digits");
                    return std::nullopt;
                }
                flush();
                bytes += static_cast<char>(byte);
                i += 2;
            } else {
                why = QStringLiteral("unknown escape \\%1").arg(e);
                return std::nullopt;
            }
        }
        if (!closed || i + 1 != value.size()) {
            why = QStringLiteral("a quoted text must end with its closing quote");
            return std::nullopt;
        }
        flush();
    }
    if (!lossless) {
        why = QStringLiteral("the text holds characters the ANSI code page cannot represent");
        return std::nullopt;
    }
    if (bytes.size() > 0xFFFF) {
        why = QStringLiteral("the text is longer than 65535 bytes");
        return std::nullopt;
    }
    return bytes;
}

struct Section {
    bool header = false;
    int first = 0;
    int last = -1;
};

std::optional<Section> parseSection(const QString &line)
{
    const QString inner = line.mid(1, line.size() - 2).simplified();
    if (inner == QLatin1String("highlighter"))
        return Section{.header = true};
    if (!inner.startsWith(QLatin1String("style ")))
        return std::nullopt;
    const QString range = inner.mid(6);
    const qsizetype dash = range.indexOf(QLatin1Char('-'));
    bool ok1 = false, ok2 = false;
    const int first = (dash < 0 ? range : range.left(dash)).toInt(&ok1);
    const int last = dash < 0 ? first : range.mid(dash + 1).toInt(&ok2);
    if (!ok1 || (dash >= 0 && !ok2) || first < 0 || last >= kHighlighterStyles || first > last)
        return std::nullopt;
    return Section{.first = first, .last = last};
}

// Applies one key of a section; an empty result means it was taken.
QString applyKey(HighlighterSource &src, const Section &section, const QString &key, const QString &value,
                 const platform::AnsiCodec &codec)
{
    QString why;
    if (section.header) {
        if (key == QLatin1String("lexer")) {
            const auto n = parseNumber(value);
            if (!n)
                return QStringLiteral("lexer wants a number");
            src.numbers.Lexer = *n;
            return {};
        }
        QByteArray *target = nullptr;
        if (key == QLatin1String("name")) target = &src.texts.Name;
        else if (key == QLatin1String("extensions")) target = &src.texts.Extensions;
        else if (key == QLatin1String("spare")) target = &src.texts.SpareText;
        else if (key == QLatin1String("filepath")) target = &src.texts.FilePath;
        else if (key.size() == 9 && key.startsWith(QLatin1String("keywords")) && key.at(8) >= QLatin1Char('0') &&
                 key.at(8) <= QLatin1Char('7'))
            target = &src.texts.Keywords[key.at(8).unicode() - '0'];
        if (!target)
            return QStringLiteral("unknown key %1 in [highlighter]").arg(key);
        const auto bytes = parseText(value, codec, why);
        if (!bytes)
            return why;
        *target = *bytes;
        return {};
    }
    for (const StyleField &f : kStyleFields) {
        if (key != QLatin1String(f.key))
            continue;
        const auto n = parseNumber(value);
        if (!n)
            return QStringLiteral("%1 wants %2").arg(key, f.colour ? QStringLiteral("a colour #RRGGBB")
                                                                    : QStringLiteral("a number"));
        for (int s = section.first; s <= section.last; ++s)
            (src.numbers.*f.numbers)[s] = *n;
        return {};
    }
    std::array<QByteArray, kHighlighterStyles> *texts = nullptr;
    if (key == QLatin1String("font")) texts = &src.texts.Font;
    else if (key == QLatin1String("spare")) texts = &src.texts.SpareStyleTexts;
    if (!texts)
        return QStringLiteral("unknown key %1 in a style section").arg(key);
    const auto bytes = parseText(value, codec, why);
    if (!bytes)
        return why;
    for (int s = section.first; s <= section.last; ++s)
        (*texts)[s] = *bytes;
    return {};
}

} // namespace

HighlighterSource parseHighlighterSource(QByteArrayView utf8)
{
    HighlighterSource src;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(utf8);
    if (decoder.hasError()) {
        src.error = QStringLiteral("the source is not UTF-8");
        return src;
    }
    const platform::AnsiCodec codec;
    std::optional<Section> section;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString line = lines.at(n);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        const auto fail = [&](const QString &why) {
            src.error = QStringLiteral("line %1: %2").arg(n + 1).arg(why);
            return src;
        };
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')) || trimmed.startsWith(QLatin1Char(';')))
            continue;
        if (trimmed.startsWith(QLatin1Char('['))) {
            if (!trimmed.endsWith(QLatin1Char(']')) || !(section = parseSection(trimmed)))
                return fail(QStringLiteral("unknown section %1").arg(trimmed));
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            return fail(QStringLiteral("expected key = value"));
        if (!section)
            return fail(QStringLiteral("a key before the first section"));
        const QString key = line.left(eq).trimmed().toLower();
        const QString why = applyKey(src, *section, key, line.mid(eq + 1).trimmed(), codec);
        if (!why.isEmpty())
            return fail(why);
    }
    src.ok = true;
    return src;
}

namespace {

bool needsQuotes(const QByteArray &bytes, const platform::AnsiCodec &codec)
{
    if (bytes.isEmpty())
        return false;
    const platform::AnsiCodec::Decoded decoded = codec.decodeChecked(bytes);
    if (decoded.firstInvalidByte >= 0 || codec.encode(decoded.text) != bytes)
        return true;
    const QString &t = decoded.text;
    if (t.front().isSpace() || t.back().isSpace() || t.startsWith(QLatin1Char('"')))
        return true;
    for (const QChar c : t) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    }
    return false;
}

QByteArray textValue(const QByteArray &bytes, const platform::AnsiCodec &codec)
{
    if (!needsQuotes(bytes, codec))
        return codec.decode(bytes).toUtf8();
    const platform::AnsiCodec::Decoded decoded = codec.decodeChecked(bytes);
    const bool raw = decoded.firstInvalidByte >= 0 || codec.encode(decoded.text) != bytes;
    QByteArray out = "\"";
    const auto escapeAscii = [&out](unsigned char c) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c >= 0x7F)
                out += "\\x" + QByteArray::number(c, 16).rightJustified(2, '0');
            else
                out += static_cast<char>(c);
        }
    };
    if (raw) {
        for (const char c : bytes)
            escapeAscii(static_cast<unsigned char>(c));
    } else {
        for (const QChar c : decoded.text) {
            if (c.unicode() < 0x80)
                escapeAscii(static_cast<unsigned char>(c.unicode()));
            else
                out += QString(c).toUtf8();
        }
    }
    return out + "\"";
}

QByteArray numberValue(std::int32_t value, bool colour)
{
    const auto v = static_cast<std::uint32_t>(value);
    if (colour && v <= 0xFFFFFF)
        return "#" + QByteArray::number(((v & 0xFF) << 16) | (v & 0xFF00) | (v >> 16), 16).toUpper().rightJustified(6, '0');
    if (colour)
        return "0x" + QByteArray::number(v, 16).toUpper();
    return QByteArray::number(value);
}

} // namespace

QByteArray highlighterSourceText(const HighlighterRecord &numbers, const HighlighterTextBytes &texts)
{
    const platform::AnsiCodec codec;
    QByteArray out = "# Plendor highlighter. Compile with: plendor-cli highlighter compile FILE -o NAME.bin\n\n"
                     "[highlighter]\n";
    const auto text = [&](const char *key, const QByteArray &bytes) {
        if (!bytes.isEmpty())
            out += QByteArray(key) + " = " + textValue(bytes, codec) + "\n";
    };
    text("name", texts.Name);
    out += "lexer = " + QByteArray::number(numbers.Lexer) + "\n";
    text("extensions", texts.Extensions);
    for (int k = 0; k < kHighlighterKeywordLists; ++k)
        text(("keywords" + QByteArray::number(k)).constData(), texts.Keywords[k]);
    text("spare", texts.SpareText);
    text("filepath", texts.FilePath);
    for (int s = 0; s < kHighlighterStyles; ++s) {
        QByteArray body;
        for (const StyleField &f : kStyleFields) {
            const std::int32_t v = (numbers.*f.numbers)[s];
            if (v != 0)
                body += QByteArray(f.key) + " = " + numberValue(v, f.colour) + "\n";
        }
        if (!texts.Font[s].isEmpty())
            body += "font = " + textValue(texts.Font[s], codec) + "\n";
        if (!texts.SpareStyleTexts[s].isEmpty())
            body += "spare = " + textValue(texts.SpareStyleTexts[s], codec) + "\n";
        if (!body.isEmpty())
            out += "\n[style " + QByteArray::number(s) + "]\n" + body;
    }
    return out;
}
