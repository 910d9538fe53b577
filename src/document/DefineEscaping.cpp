#include "document/DefineEscaping.h"

#include "platform/AnsiCodec.h"
#include "platform/ProgramFolder.h"

#include <QFile>
#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

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

} // namespace

QByteArray unescapeDefineUtf8(const QByteArray &utf8)
{
    // Equivalent to replacing "&amp;", "&lt;", "&gt;", "&quot;" one after another over the
    // whole text: an "&amp;" becomes an "&" that the later rows may still complete.
    QByteArray out;
    out.resize(utf8.size());
    const char *p = utf8.constData();
    const char *const end = p + utf8.size();
    char *o = out.data();
    const auto decodeAfterAmp = [&](const char *q, char *&w) -> const char * {
        if (startsWith(q, end, "lt;")) { *w++ = '<'; return q + 3; }
        if (startsWith(q, end, "gt;")) { *w++ = '>'; return q + 3; }
        if (startsWith(q, end, "quot;")) { *w++ = '"'; return q + 5; }
        return nullptr;
    };
    while (p < end) {
        const char *amp = static_cast<const char *>(std::memchr(p, '&', static_cast<size_t>(end - p)));
        if (!amp) {
            std::memcpy(o, p, static_cast<size_t>(end - p));
            o += end - p;
            break;
        }
        std::memcpy(o, p, static_cast<size_t>(amp - p));
        o += amp - p;
        p = amp + 1;
        if (startsWith(p, end, "amp;")) {
            p += 4;
            if (const char *next = decodeAfterAmp(p, o))
                p = next;
            else
                *o++ = '&';
        } else if (const char *next = decodeAfterAmp(p, o)) {
            p = next;
        } else {
            *o++ = '&';
        }
    }
    out.truncate(o - out.data());
    return out;
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

void restoreTagsUtf8(QByteArray &text)
{
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
        } else if (startsWith(p, end, "&quot;") && (endsWith(base, o, "type=") || endsWith(base, o, "condition="))) {
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
    return load(platform::programFolder() + QStringLiteral("/KeyWord.txt"));
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
    return EscapeDefineText(input, rules, RuleLimits::forInput(input));
}

EscapeOutcome EscapeDefineText(const QString &input, const KeyWordRules &rules, const RuleLimits &limits)
{
    QString text = input;
    if (rules.present) {
        for (const KeyWordRule &rule : rules.rules) {
            if (rule.fields.size() < 2 || rule.fields.at(0).isEmpty())
                continue;
            RuleReplacement replaced = replaceRuleMatches(text, rule.fields.at(0), rule.fields.at(1), limits);
            if (!replaced.ok())
                return {QString(), ruleFailure(rule, replaced.failure, limits)};
            text = std::move(replaced.text);
        }
    }

    QByteArray bytes = escapeEntitiesUtf8(text.toUtf8());
    text = QString();

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
                return {QString(), ruleFailure(rule, RuleFailure::TooLong, limits)};
        }
    }

    restoreTagsUtf8(bytes);
    return {QString::fromUtf8(bytes), QString()};
}

EscapeOutcome EscapeDefineText(const QString &text) { return EscapeDefineText(text, KeyWordRules::fromProgramFolder()); }
