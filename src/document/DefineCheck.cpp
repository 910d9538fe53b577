#include "document/DefineCheck.h"

#include "document/CodePageRepertoire.h"
#include "document/CompiledRules.h"
#include "document/DefineCheckFindings.h"
#include "document/DefineStoredReading.h"
#include "document/DefineVocabulary.h"
#include "document/RuleRegex.h"

#include <QFileInfo>
#include <array>
#include <cstring>
#include <unordered_map>

using namespace define_check;
namespace vocab = define_vocabulary;

namespace {
const std::atomic_bool kNeverCancelled{false};

constexpr size_t kTagCount = vocab::kTags.size();
constexpr int kRoot = vocab::tagIndex("defineSqls");
constexpr int kDefine = vocab::tagIndex("define");
constexpr int kSql = vocab::tagIndex("sql");

bool isSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isLineEnd(unsigned char c) { return c == '\r' || c == '\n'; }

using vocab::isNameByte;

// What may start an attribute's name.
bool isAttributeNameByte(unsigned char c) { return isNameByte(c) && c != '-' && c != '.'; }

// One character of UTF-8 at s (s < e): its code point and length. A byte that does not start a
// well-formed character stands alone as U+FFFD, which no code page holds.
int decodeUtf8(const unsigned char *s, const unsigned char *e, char32_t &c)
{
    const unsigned char b = s[0];
    int length = 0;
    char32_t min = 0;
    if (b < 0x80) {
        c = b;
        return 1;
    }
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
        c = b & 0x1F;
        min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        c = b & 0x0F;
        min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        c = b & 0x07;
        min = 0x10000;
    }
    if (length == 0 || e - s < length) {
        c = 0xFFFD;
        return 1;
    }
    for (int i = 1; i < length; ++i) {
        if ((s[i] & 0xC0) != 0x80) {
            c = 0xFFFD;
            return 1;
        }
        c = (c << 6) | (s[i] & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
        c = 0xFFFD;
        return 1;
    }
    return length;
}

// An attribute the checks after the tag look at (define's name, sql's type).
struct AttributeValue {
    bool present = false;
    bool broken = false; // unclosed or unquoted: its value is not known
    std::string_view value;
    qsizetype offset = 0;
};

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Edits between two short words, case ignored; stops counting past `limit`.
int distance(std::string_view a, std::string_view b, int limit)
{
    if (a.size() > 32 || b.size() > 32 ||
        static_cast<int>(a.size()) - static_cast<int>(b.size()) > limit ||
        static_cast<int>(b.size()) - static_cast<int>(a.size()) > limit)
        return limit + 1;
    std::array<int, 33> row{};
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = static_cast<int>(j);
    for (size_t i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = static_cast<int>(i);
        for (size_t j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (lower(a[i - 1]) != lower(b[j - 1]))});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The known word a misspelling most likely meant: a case slip, or a third of its letters off.
template <typename Words> int closest(std::string_view word, const Words &words)
{
    int best = -1;
    int bestDistance = 0;
    for (size_t i = 0; i < std::size(words); ++i) {
        const std::string_view known = words[i];
        const int limit = std::max(1, static_cast<int>(known.size()) / 3);
        const int d = distance(word, known, limit);
        if (d <= limit && (best < 0 || d < bestDistance)) {
            best = static_cast<int>(i);
            bestDistance = d;
        }
    }
    return best;
}

class Scanner {
public:
    Scanner(QByteArrayView text, Findings &findings, const CodePageRepertoire &repertoire, StoredReading &stored,
            DefineCheckOptions::Replacement replacement, const std::atomic_bool *cancel, DefineOutline *outline)
        : m_begin(reinterpret_cast<const unsigned char *>(text.data())), m_p(m_begin), m_end(m_begin + text.size()),
          m_findings(findings), m_repertoire(repertoire), m_stored(stored), m_replacement(replacement),
          m_cancel(cancel ? cancel : &kNeverCancelled), m_outline(outline)
    {
    }

    // False when cancelled before the end: then nothing found means anything.
    bool run()
    {
        while (m_p < m_end) {
            if (m_cancel->load(std::memory_order_relaxed))
                return false;
            if (m_open.empty()) {
                outsideRoot();
                continue;
            }
            const unsigned char c = *m_p;
            if (c == '<')
                lessThan();
            else if (c == 0)
                nul();
            else if (c < 0x80)
                ++m_p;
            else
                nonAscii();
        }
        for (const OpenElement &open : m_open)
            report(Kind::UnclosedStart, open.offset, 1 + nameLength(open.tag), open.tag);
        if (m_outline) {
            for (const size_t open : m_openDefines)
                (*m_outline)[open].end = offsetOf(m_end);
        }
        m_stored.finish();
        return true;
    }

private:
    // Eight bytes: a text of nothing but start tags keeps one per five bytes.
    struct OpenElement {
        qsizetype offset : 56;
        int tag : 8;
    };

    qsizetype offsetOf(const unsigned char *p) const { return p - m_begin; }
    static qsizetype nameLength(int tag) { return static_cast<qsizetype>(vocab::kTags[static_cast<size_t>(tag)].size()); }
    static std::string_view nameOf(int tag) { return vocab::kTags[static_cast<size_t>(tag)]; }

    void report(Kind kind, qsizetype offset, qsizetype length, int tag = -1, std::string_view detail = {})
    {
        Finding f;
        f.kind = kind;
        f.offset = offset;
        f.length = length;
        f.tag = tag;
        f.detail = detail;
        m_findings.add(std::move(f));
    }

    void add(Finding f) { m_findings.add(std::move(f)); }

    std::string_view view(const unsigned char *from, const unsigned char *to) const
    {
        return {reinterpret_cast<const char *>(from), static_cast<size_t>(to - from)};
    }

    const unsigned char *nameEnd(const unsigned char *p) const
    {
        while (p < m_end && isNameByte(*p))
            ++p;
        return p;
    }

    const unsigned char *spaceEnd(const unsigned char *p) const
    {
        while (p < m_end && isSpace(*p))
            ++p;
        return p;
    }

    void skipSpace() { m_p = spaceEnd(m_p); }

    void nul()
    {
        report(Kind::NulCharacter, offsetOf(m_p), 1);
        ++m_p;
    }

    // Before the root and after it: blanks, comments and, before it, a declaration such as
    // "<?xml …?>". Anything else is a run of text outside the root, reported once.
    void outsideRoot()
    {
        skipSpace();
        if (m_p >= m_end)
            return;
        const unsigned char *const start = m_p;
        if (*m_p == '<') {
            if (!m_rootSeen && m_p + 1 < m_end && m_p[1] == '?') {
                const void *close = memmem(m_p, static_cast<size_t>(m_end - m_p), "?>", 2);
                m_p = close ? static_cast<const unsigned char *>(close) + 2 : m_end;
                return;
            }
            lessThan();
            if (m_p != start + 1)
                return; // markup
        }
        // Text up to the next "<"; a NUL in it is still a NUL.
        while (m_p < m_end && *m_p != '<' && *m_p != 0)
            ++m_p;
        report(Kind::TextOutsideRoot, offsetOf(start), std::min<qsizetype>(m_p - start, 1));
        if (m_p < m_end && *m_p == 0)
            nul();
    }

    // A run of characters the code page cannot hold becomes one warning.
    void nonAscii()
    {
        const unsigned char *const start = m_p;
        while (m_p < m_end && *m_p >= 0x80) {
            char32_t c = 0;
            const int length = decodeUtf8(m_p, m_end, c);
            if (c == 0xFFFD && m_replacement != DefineCheckOptions::Replacement::Typed) {
                if (m_p != start)
                    break;
                undecodable();
                return;
            }
            if (m_repertoire.holds(c)) {
                if (m_p != start)
                    break;
                m_p += length;
                return;
            }
            m_p += length;
        }
        if (m_p != start)
            report(Kind::Unencodable, offsetOf(start), m_p - start, -1, view(start, m_p));
    }

    // A run of characters that stand for bytes the file's code page could not read.
    void undecodable()
    {
        const unsigned char *const start = m_p;
        char32_t c = 0xFFFD;
        while (m_p < m_end && c == 0xFFFD) {
            const int length = decodeUtf8(m_p, m_end, c);
            if (c == 0xFFFD)
                m_p += length;
        }
        if (m_replacement == DefineCheckOptions::Replacement::UndecodableBytes)
            report(Kind::Undecodable, offsetOf(start), m_p - start);
    }

    // Whether what follows a name reads as a tag that was meant: "<name>", "<name/>", "</name >",
    // or an attribute "<name word=".
    bool looksLikeTag(const unsigned char *afterName, bool closing) const
    {
        const unsigned char *p = spaceEnd(afterName);
        if (p >= m_end)
            return false;
        if (*p == '>')
            return true;
        if (closing)
            return false;
        if (*p == '/' && p + 1 < m_end && p[1] == '>')
            return true;
        if (p == afterName || !isAttributeNameByte(*p))
            return false;
        p = spaceEnd(nameEnd(p));
        return p < m_end && *p == '=';
    }

    void lessThan()
    {
        const unsigned char *const lt = m_p;
        if (m_end - lt >= 4 && std::memcmp(lt, "<!--", 4) == 0) {
            comment();
            return;
        }
        const bool closing = lt + 1 < m_end && lt[1] == '/';
        const unsigned char *const name = lt + (closing ? 2 : 1);
        const unsigned char *const end = nameEnd(name);
        const std::string_view word = view(name, end);
        int tag = vocab::tagIndex(word);
        if (tag < 0) {
            const int near = !word.empty() && looksLikeTag(end, closing) ? closest(word, vocab::kTags) : -1;
            if (near < 0) {
                ++m_p; // text, as in SQL: "a<b", "<>", "<=", an unknown word
                return;
            }
            // Read on as the tag it most likely meant, so that its partner is not reported too.
            Finding f;
            f.kind = Kind::UnknownTag;
            f.offset = offsetOf(lt);
            f.length = end - lt;
            f.detail = word;
            f.suggestion = nameOf(near);
            f.closing = closing;
            add(std::move(f));
            m_stored.claim(offsetOf(lt), view(lt + 1, end));
            tag = near;
        } else if (m_stored.claim(offsetOf(lt), view(lt + 1, end)) == StoredReading::Markup::Text) {
            Finding f;
            f.kind = Kind::StoredAsText;
            f.offset = offsetOf(lt);
            f.length = end - lt;
            f.tag = tag;
            f.closing = closing;
            add(std::move(f));
        }
        m_p = end;
        if (closing)
            endTag(lt, tag);
        else
            startTag(lt, tag);
    }

    void comment()
    {
        const unsigned char *const open = m_p;
        m_stored.claim(offsetOf(open), "!--");
        if (!m_commentEndMissing) {
            const void *found = memmem(open + 4, static_cast<size_t>(m_end - open - 4), "-->", 3);
            if (found) {
                m_p = static_cast<const unsigned char *>(found) + 3;
                m_stored.skip(offsetOf(open + 1), offsetOf(m_p));
                return;
            }
            // No later comment can find an end either.
            m_commentEndMissing = true;
        }
        report(Kind::UnclosedComment, offsetOf(open), 4);
        // The rest of its line is taken as the comment, so that what follows is still checked.
        m_p = open + 4;
        while (m_p < m_end && !isLineEnd(*m_p))
            ++m_p;
        m_stored.skip(offsetOf(open + 1), offsetOf(m_p));
    }

    void checkPlace(const unsigned char *lt, int tag)
    {
        const int parent = m_open.empty() ? -1 : m_open.back().tag;
        bool fits = true;
        switch (vocab::placeOf(tag)) {
        case vocab::Place::Root:
            if (parent < 0 && m_rootSeen) {
                report(Kind::SecondRoot, offsetOf(lt), 1 + nameLength(tag), tag);
                return;
            }
            fits = parent < 0;
            break;
        case vocab::Place::InRoot: fits = parent == kRoot; break;
        case vocab::Place::InDefine: fits = m_openCount[static_cast<size_t>(kDefine)] > 0; break;
        }
        if (!fits)
            report(Kind::Misplaced, offsetOf(lt), 1 + nameLength(tag), tag);
    }

    void startTag(const unsigned char *lt, int tag)
    {
        m_name = {};
        m_type = {};
        m_caption = {};
        m_seen.clear();
        checkPlace(lt, tag);
        const bool selfClosed = attributes(lt, tag);
        if (tag == kDefine)
            checkDefineName(lt);
        else if (tag == kSql)
            checkSqlType();
        if (m_outline)
            outline(lt, tag, selfClosed);
        if (selfClosed) {
            report(Kind::SelfClosing, offsetOf(lt), offsetOf(m_p) - offsetOf(lt), tag);
            return;
        }
        if (tag == kRoot && m_open.empty())
            m_rootSeen = true;
        m_open.push_back({offsetOf(lt), tag});
        ++m_openCount[static_cast<size_t>(tag)];
        m_crossedOpen.fill(0); // a partner of a crossed element comes before any new element
    }

    // Reads the attributes up to the tag's end; true when the tag closes itself ("/>").
    bool attributes(const unsigned char *lt, int tag)
    {
        for (;;) {
            skipSpace();
            if (m_p >= m_end || *m_p == '<') {
                report(Kind::StartTagUnterminated, offsetOf(lt), 1 + nameLength(tag), tag);
                return false;
            }
            const unsigned char c = *m_p;
            if (c == '>') {
                ++m_p;
                return false;
            }
            if (c == '/' && m_p + 1 < m_end && m_p[1] == '>') {
                m_p += 2;
                return true;
            }
            if (!isAttributeNameByte(c)) {
                const unsigned char *const stray = m_p;
                char32_t ignored = 0;
                m_p += decodeUtf8(m_p, m_end, ignored);
                report(Kind::StrayInTag, offsetOf(stray), m_p - stray, tag, view(stray, m_p));
                continue;
            }
            if (attribute(tag) == AttributeEnd::TagEnded)
                return false;
        }
    }

    enum class AttributeEnd { Continue, TagEnded };

    void checkAttributeName(int tag, const unsigned char *nameStart, std::string_view name)
    {
        const auto known = vocab::attributesOf(tag);
        if (std::find(known.begin(), known.end(), name) == known.end()) {
            Finding f;
            f.kind = Kind::UnknownAttribute;
            f.offset = offsetOf(nameStart);
            f.length = static_cast<qsizetype>(name.size());
            f.tag = tag;
            f.detail = name;
            const int near = closest(name, known);
            if (near >= 0)
                f.suggestion = known[static_cast<size_t>(near)];
            add(std::move(f));
        }
        if (std::find(m_seen.begin(), m_seen.end(), name) != m_seen.end())
            report(Kind::DuplicateAttribute, offsetOf(nameStart), static_cast<qsizetype>(name.size()), tag, name);
        else if (m_seen.size() < 16)
            m_seen.push_back(name);
    }

    // Whether a known tag starts at p: where a value left open most likely ended.
    bool tagStartsAt(const unsigned char *p) const
    {
        if (*p != '<')
            return false;
        const unsigned char *name = p + 1;
        if (name < m_end && *name == '/')
            ++name;
        return vocab::tagIndex(view(name, nameEnd(name))) >= 0;
    }

    AttributeEnd attribute(int tag)
    {
        const unsigned char *const nameStart = m_p;
        m_p = nameEnd(m_p);
        const std::string_view name = view(nameStart, m_p);
        checkAttributeName(tag, nameStart, name);
        AttributeValue *const kept = name == "name"      ? &m_name
                                     : name == "type"    ? &m_type
                                     : name == "caption" ? &m_caption
                                                         : nullptr;
        AttributeValue value;
        value.present = true;
        const unsigned char *const afterName = m_p;
        skipSpace();
        if (m_p >= m_end || *m_p != '=') {
            m_p = afterName;
            report(Kind::AttributeWithoutValue, offsetOf(nameStart), m_p - nameStart, -1, name);
            value.broken = true;
            keep(kept, value);
            return AttributeEnd::Continue;
        }
        const bool blankBefore = m_p != afterName;
        ++m_p;
        const unsigned char *const afterEquals = m_p;
        skipSpace();
        if (blankBefore || m_p != afterEquals)
            report(Kind::BlankAroundEquals, offsetOf(afterName), m_p - afterName, -1, name);
        if (m_p >= m_end || (*m_p != '"' && *m_p != '\'')) {
            const unsigned char *const start = m_p;
            while (m_p < m_end && !isSpace(*m_p) && *m_p != '>' && *m_p != '<')
                ++m_p;
            report(Kind::UnquotedValue, offsetOf(start), m_p - start, -1, name);
            value.broken = true;
            keep(kept, value);
            return AttributeEnd::Continue;
        }
        const unsigned char quote = *m_p;
        const unsigned char *const open = m_p;
        if (quote == '\'')
            report(Kind::SingleQuotes, offsetOf(open), 1, -1, name);
        // A value may go on over lines (a long condition); one left open ends where a tag starts.
        const unsigned char *close = open + 1;
        while (close < m_end && *close != quote && !tagStartsAt(close))
            ++close;
        if (close < m_end && *close == quote) {
            value.value = view(open + 1, close);
            value.offset = offsetOf(open + 1);
            m_p = close + 1;
            keep(kept, value);
            return AttributeEnd::Continue;
        }
        const void *lineEnd = nullptr;
        for (const unsigned char *q = open + 1; q < close && !lineEnd; ++q)
            if (isLineEnd(*q))
                lineEnd = q;
        const unsigned char *const stop = lineEnd ? static_cast<const unsigned char *>(lineEnd) : close;
        report(Kind::UnclosedValue, offsetOf(open), stop - open, -1, name);
        value.broken = true;
        keep(kept, value);
        // The tag most likely ends at a ">" the value took in on its line, else at the line's end.
        const void *gt = std::memchr(open + 1, '>', static_cast<size_t>(stop - open - 1));
        m_p = gt ? static_cast<const unsigned char *>(gt) + 1 : stop;
        return AttributeEnd::TagEnded;
    }

    static void keep(AttributeValue *kept, const AttributeValue &value)
    {
        if (kept && !kept->present)
            *kept = value;
    }

    void checkDefineName(const unsigned char *lt)
    {
        if (!m_name.present) {
            report(Kind::DefineWithoutName, offsetOf(lt), 1 + nameLength(kDefine), kDefine);
            return;
        }
        if (m_name.broken)
            return;
        if (m_name.value.find_first_not_of(" \t\r\n") == std::string_view::npos) {
            report(Kind::DefineNameEmpty, m_name.offset, static_cast<qsizetype>(m_name.value.size()), kDefine);
            return;
        }
        const auto [first, inserted] = m_defineNames.try_emplace(m_name.value, m_name.offset);
        if (inserted)
            return;
        Finding f;
        f.kind = Kind::DuplicateDefine;
        f.offset = m_name.offset;
        f.length = static_cast<qsizetype>(m_name.value.size());
        f.tag = kDefine;
        f.related = first->second;
        f.detail = m_name.value;
        add(std::move(f));
    }

    static QByteArrayView textOf(const AttributeValue &value)
    {
        return value.present && !value.broken
                   ? QByteArrayView(value.value.data(), static_cast<qsizetype>(value.value.size()))
                   : QByteArrayView();
    }

    // A define starts an entry; a statement tag marks the define it stands in.
    void outline(const unsigned char *lt, int tag, bool selfClosed)
    {
        if (tag != kDefine) {
            if (tag != kRoot && !m_openDefines.empty())
                (*m_outline)[m_openDefines.back()].statements |= static_cast<std::uint16_t>(1U << tag);
            return;
        }
        DefineOutlineEntry entry;
        entry.offset = offsetOf(lt);
        entry.end = offsetOf(m_p);
        m_outline->add(entry, textOf(m_name), textOf(m_caption));
        if (!selfClosed)
            m_openDefines.push_back(m_outline->size() - 1);
    }

    void checkSqlType()
    {
        if (!m_type.present || m_type.broken || vocab::isSqlType(m_type.value))
            return;
        // An empty value is marked on its quotes.
        const qsizetype offset = m_type.value.empty() ? m_type.offset - 1 : m_type.offset;
        const qsizetype length = m_type.value.empty() ? 2 : static_cast<qsizetype>(m_type.value.size());
        report(Kind::UnknownSqlType, offset, length, kSql, m_type.value);
    }

    void endTag(const unsigned char *lt, int tag)
    {
        const unsigned char *const afterName = m_p;
        skipSpace();
        if (m_p < m_end && *m_p == '>') {
            ++m_p;
        } else {
            m_p = afterName;
            report(Kind::EndTagUnterminated, offsetOf(lt), m_p - lt, tag);
        }
        const qsizetype length = m_p - lt;
        const auto t = static_cast<size_t>(tag);
        if (m_openCount[t] == 0) {
            // The partner of an element an earlier end tag crossed closes nothing new.
            if (m_crossedOpen[t] > 0)
                --m_crossedOpen[t];
            else
                report(Kind::StrayEnd, offsetOf(lt), length, tag);
            return;
        }
        if (m_open.back().tag != tag) {
            Finding f;
            f.kind = Kind::CrossingEnd;
            f.offset = offsetOf(lt);
            f.length = length;
            f.tag = tag;
            f.otherTag = m_open.back().tag;
            f.related = m_open.back().offset;
            add(std::move(f));
        }
        // Every element inside the one this ends is taken as ended here too.
        for (;;) {
            const OpenElement open = m_open.back();
            m_open.pop_back();
            --m_openCount[static_cast<size_t>(open.tag)];
            if (open.tag == kDefine && m_outline) {
                (*m_outline)[m_openDefines.back()].end = offsetOf(m_p);
                m_openDefines.pop_back();
            }
            if (open.tag == tag)
                break;
            ++m_crossedOpen[static_cast<size_t>(open.tag)];
        }
    }

    const unsigned char *const m_begin;
    const unsigned char *m_p;
    const unsigned char *const m_end;
    Findings &m_findings;
    const CodePageRepertoire &m_repertoire;
    StoredReading &m_stored;
    const DefineCheckOptions::Replacement m_replacement;
    const std::atomic_bool *m_cancel;

    std::vector<OpenElement> m_open;
    std::array<qsizetype, kTagCount> m_openCount{};
    std::array<qsizetype, kTagCount> m_crossedOpen{};
    std::unordered_map<std::string_view, qsizetype> m_defineNames;
    std::vector<std::string_view> m_seen; // the attributes of the tag being read
    bool m_commentEndMissing = false;
    bool m_rootSeen = false;
    AttributeValue m_name;
    AttributeValue m_type;
    AttributeValue m_caption;
    DefineOutline *const m_outline;
    std::vector<size_t> m_openDefines; // the entries of the defines open now, innermost last
};

} // namespace

std::vector<RuleFileProblem> checkRuleFile(const KeyWordRules &rules)
{
    std::vector<RuleFileProblem> problems;
    if (!rules.present)
        return problems;
    const std::shared_ptr<const CompiledRules> compiled =
        rules.compiled && rules.compiled->size() == rules.rules.size() ? rules.compiled : CompiledRules::of(rules.rules);
    for (size_t i = 0; i < rules.rules.size(); ++i) {
        const KeyWordRule &rule = rules.rules[i];
        if (compiled->invalid(i))
            problems.push_back({rule.lineNumber,
                                QStringLiteral("正则表达式无效,保存时转义会失败: %1").arg(rule.fields.at(0))});
    }
    return problems;
}

DefineCheckResult checkDefineText(QByteArrayView utf8, const DefineCheckOptions &options)
{
    const platform::AnsiCodec codec(options.codePage);
    Findings findings(options.maxProblems, options.after, options.before, options.keepLast);
    StoredReading stored(utf8, options.rules, findings, options.cancel);
    if (options.rules) {
        // A pattern that cannot compile makes every escape, and so every save, fail.
        const std::vector<RuleFileProblem> broken = checkRuleFile(*options.rules);
        const QString file = options.rules->path.isEmpty() ? QStringLiteral("KeyWord.txt")
                                                           : QFileInfo(options.rules->path).fileName();
        for (const RuleFileProblem &problem : broken) {
            if (!options.reportRuleFile)
                break;
            Finding f;
            f.kind = Kind::RuleFailure;
            f.note = QStringLiteral("规则文件 %1 第 %2 行: %3").arg(file).arg(problem.line).arg(problem.message);
            findings.add(std::move(f));
        }
        if (!broken.empty())
            stored.giveUp();
    }
    DefineCheckResult result;
    if (!Scanner(utf8, findings, CodePageRepertoire::of(codec), stored, options.replacement, options.cancel,
                 options.outline ? &result.outline : nullptr)
             .run()) {
        result.cancelled = true;
        result.outline.clear();
        return result;
    }
    numberOutlineLines(utf8, result.outline);

    result.errors = findings.errors();
    result.warnings = findings.warnings();
    result.problems = describe(utf8, findings.takeSorted(), QString::fromLatin1(codec.name()));
    return result;
}

QString problemLine(const DefineProblem &problem)
{
    const bool error = problem.severity == DefineProblem::Severity::Error;
    return QStringLiteral("%1:%2: %3: %4")
        .arg(problem.line)
        .arg(problem.column)
        .arg(error ? QStringLiteral("error") : QStringLiteral("warning"), problem.message);
}

QString omittedProblemsNote(const DefineCheckResult &result)
{
    const qsizetype omitted = result.omitted();
    return omitted > 0 ? QStringLiteral("还有 %1 个问题未列出").arg(omitted) : QString();
}
