#include "document/DefineEscaping.h"

#include "document/CompiledRules.h"
#include "document/GbkBytes.h"
#include "platform/AnsiCodec.h"
#include "platform/ProgramFolder.h"

#include <QFile>
#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <utility>

namespace {

bool startsWith(const char *p, const char *end, std::string_view s)
{
    return static_cast<size_t>(end - p) >= s.size() && std::memcmp(p, s.data(), s.size()) == 0;
}

// Rows of the tag-restore table that begin with "&lt;", in table order. A row ending in
// "&gt;" also turns that "&gt;" back; everything between stays for the scan to see again,
// which gives exactly the result of applying the rows one after another.
constexpr std::string_view kTagRows[] = {
    "&lt;define&gt;", "&lt;define", "&lt;/define&gt;", "&lt;sql&gt;", "&lt;sql", "&lt;/sql&gt;",
    "&lt;condition&gt;", "&lt;condition", "&lt;/condition&gt;", "&lt;select&gt;", "&lt;select",
    "&lt;/select&gt;", "&lt;exec&gt;", "&lt;exec", "&lt;/exec&gt;", "&lt;error&gt;", "&lt;error",
    "&lt;/error&gt;", "&lt;!--",
};

// Walks stored text as the unescape reads it and hands out what the readable form holds:
// out.keep(from, stop) for bytes that stay as they are, out.put(c) for what an entity stands
// for. Equivalent to replacing "&amp;", "&lt;", "&gt;", "&quot;" one after another over the
// whole text: an "&amp;" becomes an "&" that the later rows may still complete.
template <typename Out> void unescapeRuns(const char *p, const char *const end, Out &out)
{
    const auto entityAt = [&](const char *q) -> std::pair<char, const char *> {
        if (startsWith(q, end, "lt;")) return {'<', q + 3};
        if (startsWith(q, end, "gt;")) return {'>', q + 3};
        if (startsWith(q, end, "quot;")) return {'"', q + 5};
        return {'&', nullptr};
    };
    while (p < end) {
        const char *amp = static_cast<const char *>(std::memchr(p, '&', static_cast<size_t>(end - p)));
        if (!amp) {
            out.keep(p, end);
            break;
        }
        out.keep(p, amp);
        p = amp + 1;
        if (startsWith(p, end, "amp;"))
            p += 4;
        const auto [c, next] = entityAt(p);
        out.put(c); // an "&" that opens no entity stays
        if (next)
            p = next;
    }
}

// Writes the readable form from o on; o may be where the stored text lies, as it only shrinks.
struct UnescapeWriter {
    char *o;
    void keep(const char *from, const char *stop)
    {
        if (o != from)
            std::memmove(o, from, static_cast<size_t>(stop - from));
        o += stop - from;
    }
    void put(char c) { *o++ = c; }
};

struct UnescapeCounter {
    qsizetype size = 0;
    void keep(const char *from, const char *stop) { size += stop - from; }
    void put(char) { ++size; }
};

char *unescapeInto(const char *p, const char *const end, char *o)
{
    UnescapeWriter writer{o};
    unescapeRuns(p, end, writer);
    return writer.o;
}

} // namespace

QByteArray unescapeDefineUtf8(const QByteArray &utf8)
{
    QByteArray out(utf8.size(), Qt::Uninitialized);
    const char *const in = utf8.constData();
    const char *const o = unescapeInto(in, in + utf8.size(), out.data());
    out.truncate(o - out.constData());
    return out;
}

void unescapeDefineInPlace(QByteArray &text)
{
    if (!text.contains('&'))
        return;
    char *const base = text.data();
    const char *const o = unescapeInto(base, base + text.size(), base);
    text.truncate(o - base);
}

UnescapingReader::UnescapingReader(QByteArrayView stored, qsizetype pieceBytes)
    : m_stored(stored), m_rest(stored), m_pieceBytes(qMax<qsizetype>(1, pieceBytes))
{
}

qsizetype UnescapingReader::readableSize() const
{
    UnescapeCounter counter;
    unescapeRuns(m_stored.data(), m_stored.data() + m_stored.size(), counter);
    return counter.size;
}

QByteArray UnescapingReader::next()
{
    qsizetype length = m_rest.size();
    if (length > m_pieceBytes) {
        qsizetype lineEnd = m_rest.first(m_pieceBytes).lastIndexOf('\n');
        if (lineEnd < 0)
            lineEnd = m_rest.indexOf('\n', m_pieceBytes);
        if (lineEnd >= 0)
            length = lineEnd + 1;
    }
    const QByteArrayView piece = m_rest.first(length);
    m_rest = m_rest.sliced(length);
    QByteArray readable(piece.size(), Qt::Uninitialized);
    const char *const o = unescapeInto(piece.data(), piece.data() + piece.size(), readable.data());
    readable.truncate(o - readable.constData());
    return readable;
}

namespace {
// Extra bytes each character needs once escaped; zero for everything else.
constexpr auto kEntityGrowth = [] {
    std::array<unsigned char, 256> t{};
    t[static_cast<unsigned char>('&')] = 4;
    t[static_cast<unsigned char>('<')] = 3;
    t[static_cast<unsigned char>('>')] = 3;
    t[static_cast<unsigned char>('"')] = 5;
    return t;
}();

std::string_view entityFor(char c)
{
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    default: return "&quot;";
    }
}

bool endsWith(const char *begin, const char *end, std::string_view s)
{
    return static_cast<size_t>(end - begin) >= s.size() && std::memcmp(end - s.size(), s.data(), s.size()) == 0;
}

template <typename StartsCharacter>
bool endsWithWord(const char *begin, const char *end, std::string_view word, StartsCharacter startsCharacter)
{
    return endsWith(begin, end, word) && startsCharacter(begin, end - word.size());
}
} // namespace

QByteArray escapeEntitiesUtf8(const QByteArray &utf8)
{
    const auto *in = reinterpret_cast<const unsigned char *>(utf8.constData());
    const qsizetype n = utf8.size();
    qsizetype extra = 0;
    for (qsizetype i = 0; i < n; ++i)
        extra += kEntityGrowth[in[i]];
    if (extra == 0)
        return utf8;

    QByteArray out(n + extra, Qt::Uninitialized);
    char *o = out.data();
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (kEntityGrowth[in[i]] == 0)
            continue;
        std::memcpy(o, utf8.constData() + runStart, static_cast<size_t>(i - runStart));
        o += i - runStart;
        const std::string_view entity = entityFor(static_cast<char>(in[i]));
        std::memcpy(o, entity.data(), entity.size());
        o += entity.size();
        runStart = i + 1;
    }
    std::memcpy(o, utf8.constData() + runStart, static_cast<size_t>(n - runStart));
    return out;
}

namespace {

// The tag-restore table over text whose bytes below 0x80 are characters of their own (UTF-8,
// GBK). startsCharacter(base, p) tells whether a character starts at p, so that a word before
// an entity is not taken from the middle of a two-byte character.
template <typename StartsCharacter> void restoreTags(QByteArray &text, StartsCharacter startsCharacter)
{
    if (!text.contains('&'))
        return;
    // Every row shortens what it matches, so the result is written over the input. All rows
    // involve an entity, so only "&" needs a look; the words before an entity are read back
    // from the output, which holds them unchanged.
    char *const base = text.data();
    const char *p = base;
    const char *const end = base + text.size();
    char *o = base;
    const char *pendingGt = nullptr; // the "&gt;" that closes a restored tag
    const auto copyUpTo = [&](const char *stop) {
        const size_t len = static_cast<size_t>(stop - p);
        if (o != p)
            std::memmove(o, p, len);
        o += len;
        p = stop;
    };
    while (p < end) {
        const char *amp = static_cast<const char *>(std::memchr(p, '&', static_cast<size_t>(end - p)));
        if (!amp) {
            copyUpTo(end);
            break;
        }
        copyUpTo(amp);
        if (p == pendingGt) {
            *o++ = '>';
            p += 4;
            pendingGt = nullptr;
            continue;
        }
        if (startsWith(p, end, "&lt;")) {
            const auto row = std::find_if(std::begin(kTagRows), std::end(kTagRows),
                                          [&](std::string_view r) { return startsWith(p, end, r); });
            if (row != std::end(kTagRows)) {
                if (row->ends_with("&gt;"))
                    pendingGt = p + row->size() - 4;
                *o++ = '<';
                p += 4;
                continue;
            }
        } else if (startsWith(p, end, "&quot;") && (endsWithWord(base, o, "type=", startsCharacter) ||
                                                      endsWithWord(base, o, "condition=", startsCharacter))) {
            *o++ = '"';
            p += 6;
            continue;
        } else if (startsWith(p, end, "&gt;") && endsWith(base, o, "--")) {
            *o++ = '>';
            p += 4;
            continue;
        }
        *o++ = *p++;
    }
    text.truncate(o - base);
}

} // namespace

void restoreTagsUtf8(QByteArray &escaped)
{
    // A UTF-8 character never holds a byte below 0x80 after its first.
    restoreTags(escaped, [](const char *, const char *) { return true; });
}

QByteArray escapeDefineGbk(const QByteArray &gbk)
{
    // The four characters are single bytes below 0x40 in GBK as in UTF-8.
    QByteArray stored = escapeEntitiesUtf8(gbk);
    restoreTags(stored, gbkCharacterStartsAt);
    return stored;
}

QString UnescapeDefineText(const QString &text) { return QString::fromUtf8(unescapeDefineUtf8(text.toUtf8())); }

QString EscapeEntities(const QString &text) { return QString::fromUtf8(escapeEntitiesUtf8(text.toUtf8())); }

std::optional<QString> RegexReplaceAll(const QString &text, const QString &pattern, const QString &replacement)
{
    RuleReplacement result = replaceRuleMatches(text, pattern, replacement, RuleLimits::forInput(text));
    if (!result.ok())
        return std::nullopt;
    return std::move(result.text);
}

KeyWordRules KeyWordRules::fromText(const QString &text)
{
    KeyWordRules rules;
    rules.present = true;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty())
            continue;
        rules.rules.push_back(KeyWordRule{i + 1, line.split(QLatin1Char('|'))});
    }
    rules.compiled = CompiledRules::of(rules.rules);
    return rules;
}

KeyWordRules KeyWordRules::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    KeyWordRules rules = fromText(platform::AnsiCodec().decode(file.readAll()));
    rules.path = path;
    return rules;
}

KeyWordRules KeyWordRules::fromProgramFolder()
{
    return load(platform::findProgramFile(QStringLiteral("KeyWord.txt")));
}

namespace {

// Empty once its surrounding spaces are removed; tabs and other blanks are text.
bool blank(const QString &field)
{
    return std::all_of(field.begin(), field.end(), [](QChar c) { return c == u' '; });
}

QString ruleFailure(const KeyWordRule &rule, RuleFailure failure, const RuleLimits &limits)
{
    const QString where = QStringLiteral("KeyWord.txt 第 %1 行").arg(rule.lineNumber);
    const QString &pattern = rule.fields.at(0);
    switch (failure) {
    case RuleFailure::InvalidPattern: return where + QStringLiteral("的正则表达式无效: ") + pattern;
    case RuleFailure::EngineLimit:
        return where + QStringLiteral("的正则表达式超出了匹配的工作限度,转换已停止: ") + pattern;
    case RuleFailure::TimeLimit:
        return where + QStringLiteral("的正则表达式耗时超过 %1 秒,转换已停止: ").arg(limits.time.count() / 1000.0) +
               pattern;
    case RuleFailure::ConversionTimeLimit:
        return QStringLiteral("转换耗时超过 %1 秒,已停止(停在 KeyWord.txt 第 %2 行)。")
            .arg(RuleLimits::kConversionTime.count())
            .arg(rule.lineNumber);
    case RuleFailure::Cancelled: return QStringLiteral("转换已取消。");
    case RuleFailure::TooLong:
    case RuleFailure::None: break;
    }
    return where +
           QStringLiteral("的规则使文本增长过多(超过原文的 %1 倍再加 %2 个字符),转换已停止: ")
               .arg(RuleLimits::kGrowthFactor)
               .arg(RuleLimits::kGrowthSlack) +
           pattern;
}

// Every occurrence of from replaced by to, unless the result would pass the length bound.
bool replaceBounded(QByteArray &bytes, const QByteArray &from, const QByteArray &to, qsizetype maxBytes)
{
    if (from == to)
        return true; // a replacement without "&", "<", ">" or '"' in the two-field form
    if (to.size() > from.size() && maxBytes >= 0) {
        const qsizetype grown = bytes.size() + bytes.count(from) * (to.size() - from.size());
        if (grown > maxBytes)
            return false;
    }
    bytes.replace(from, to);
    return true;
}

} // namespace

EscapeOutcome EscapeDefineText(const QString &input, const KeyWordRules &rules)
{
    return EscapeDefineText(input, rules, RuleLimits::forConversion(input));
}

EscapeOutcome EscapeDefineText(const QString &input, const KeyWordRules &rules, const RuleLimits &limits)
{
    EscapedUtf8 escaped = EscapeDefineTextUtf8(input, rules, limits);
    if (!escaped.ok())
        return {QString(), escaped.error, escaped.cancelled};
    return {QString::fromUtf8(escaped.bytes), QString()};
}

EscapedUtf8 EscapeDefineTextUtf8(QString text, const KeyWordRules &rules, const RuleLimits &limits)
{
    if (rules.present) {
        std::shared_ptr<const CompiledRules> compiled = rules.compiled;
        if (!compiled || compiled->size() != rules.rules.size())
            compiled = CompiledRules::of(rules.rules);
        QString spare; // the text before the last rule that changed it: the next result's memory
        for (size_t i = 0; i < rules.rules.size(); ++i) {
            const KeyWordRule &rule = rules.rules[i];
            if (rule.fields.size() < 2 || rule.fields.at(0).isEmpty())
                continue;
            const RuleFailure failure = compiled->apply(i, text, rule.fields.at(1), limits, spare);
            if (failure != RuleFailure::None)
                return {QByteArray(), ruleFailure(rule, failure, limits), failure == RuleFailure::Cancelled};
        }
    }

    QByteArray readable = text.toUtf8();
    text = QString();
    QByteArray bytes = escapeEntitiesUtf8(readable);
    readable = QByteArray();

    if (rules.present) {
        const qsizetype maxBytes = limits.maxBytes;
        for (const KeyWordRule &rule : rules.rules) {
            const QStringList &f = rule.fields;
            bool kept = true;
            if (f.size() == 2 && !blank(f.at(1)))
                kept = replaceBounded(bytes, escapeEntitiesUtf8(f.at(1).toUtf8()), f.at(1).toUtf8(), maxBytes);
            else if (f.size() >= 3 && !blank(f.at(1)) && !blank(f.at(2)))
                kept = replaceBounded(bytes, f.at(1).toUtf8(), f.at(2).toUtf8(), maxBytes);
            if (!kept)
                return {QByteArray(), ruleFailure(rule, RuleFailure::TooLong, limits)};
        }
    }

    restoreTagsUtf8(bytes);
    return {std::move(bytes), QString()};
}

EscapeOutcome EscapeDefineText(const QString &text) { return EscapeDefineText(text, KeyWordRules::fromProgramFolder()); }
