#include "document/DefineStoredReading.h"

#include "document/CompiledRules.h"
#include "document/DefineEscaping.h"
#include "document/DefineVocabulary.h"

#include <QString>
#include <algorithm>
#include <cstring>

namespace define_check {

namespace {

constexpr qsizetype kPieceBytes = qsizetype(1) << 20;

bool startsWith(const char *p, const char *end, std::string_view s)
{
    return static_cast<size_t>(end - p) >= s.size() && std::memcmp(p, s.data(), s.size()) == 0;
}

} // namespace

namespace {

// The rule limits of one save of this text, counted from its UTF-8 bytes.
RuleLimits limitsFor(QByteArrayView utf8, const std::atomic_bool *cancel)
{
    qsizetype units = 0;
    for (const char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        units += (b & 0xC0) != 0x80 ? 1 : 0;
        units += b >= 0xF0 ? 1 : 0; // a surrogate pair
    }
    RuleLimits limits;
    limits.maxLength = RuleLimits::kGrowthFactor * units + RuleLimits::kGrowthSlack;
    limits.maxBytes = RuleLimits::kGrowthFactor * utf8.size() + RuleLimits::kGrowthSlack;
    limits.conversionDeadline = std::chrono::steady_clock::now() + RuleLimits::kConversionTime;
    limits.cancel = cancel;
    return limits;
}

} // namespace

StoredReading::StoredReading(QByteArrayView readable, const KeyWordRules *rules, Findings &findings,
                             const std::atomic_bool *cancel)
    : m_readable(readable), m_rules(rules && rules->present ? rules : nullptr), m_findings(findings)
{
    if (!m_rules)
        return;
    if (!m_rules->compiled || m_rules->compiled->size() != m_rules->rules.size()) {
        m_compiledCopy = *m_rules;
        m_compiledCopy->compiled = CompiledRules::of(m_compiledCopy->rules);
        m_rules = &*m_compiledCopy;
    }
    m_inPieces = m_rules->compiled->allLiteral();
    m_limits = limitsFor(readable, cancel);
}

qsizetype StoredReading::pieceEnd(qsizetype from) const
{
    // No row of the restore table and no literal rule spans a line end, so pieces that end after
    // one escape as the whole text does.
    qsizetype end = std::min(m_readable.size(), from + kPieceBytes);
    if (end < m_readable.size()) {
        const qsizetype lineEnd = m_readable.indexOf('\n', end - 1);
        end = lineEnd < 0 ? m_readable.size() : lineEnd + 1;
    }
    return end;
}

bool StoredReading::escapeNext(qsizetype from)
{
    m_pieceEnd = m_inPieces ? pieceEnd(from) : m_readable.size();
    const QByteArrayView piece = m_readable.sliced(from, m_pieceEnd - from);
    if (!m_rules) {
        m_stored = escapeDefineUtf8(QByteArray(piece.data(), piece.size()));
        return true;
    }
    // The growth allowed to the whole text, less what the pieces before took and at least what
    // the rest will.
    RuleLimits limits = m_limits;
    limits.maxBytes = std::max<qsizetype>(0, m_limits.maxBytes - m_storedBytes - (m_readable.size() - m_pieceEnd));
    EscapedUtf8 outcome = EscapeDefineTextUtf8(QString::fromUtf8(piece), *m_rules, limits);
    if (!outcome.ok()) {
        if (!outcome.cancelled) {
            Finding f;
            f.kind = Kind::RuleFailure;
            f.note = outcome.error;
            m_findings.add(std::move(f));
        }
        m_lost = true;
        return false;
    }
    m_stored = std::move(outcome.bytes);
    m_storedBytes += m_stored.size();
    return true;
}

bool StoredReading::nextPiece()
{
    if (m_lost || m_pieceEnd >= m_readable.size())
        return false;
    const qsizetype from = m_pieceEnd;
    m_raw.clear();
    m_next = 0;
    if (!escapeNext(from))
        return false;
    walk(from);
    return true;
}

// Reads the stored piece as the open reads it (the unescape's own order, "&amp;" first) beside
// the readable text, noting where each raw "<" lands.
void StoredReading::walk(qsizetype readableFrom)
{
    const char *const base = m_readable.data();
    const char *r = base + readableFrom;
    const char *const rEnd = base + m_pieceEnd;
    const char *const sBase = m_stored.constData();
    const char *s = sBase;
    const char *const sEnd = sBase + m_stored.size();
    const auto lose = [&] {
        Finding f;
        f.kind = Kind::StoredDiffers;
        f.offset = r - base;
        f.length = 0;
        m_findings.add(std::move(f));
        m_lost = true;
    };
    while (s < sEnd) {
        const char *special = s;
        while (special < sEnd && *special != '&' && *special != '<')
            ++special;
        const qsizetype run = special - s;
        if (rEnd - r < run || std::memcmp(r, s, static_cast<size_t>(run)) != 0) {
            const auto [rs, ss] = std::mismatch(r, rEnd, s, special);
            r = rs;
            lose();
            return;
        }
        r += run;
        s = special;
        if (s == sEnd)
            break;
        if (*s == '<') {
            if (r == rEnd || *r != '<') {
                lose();
                return;
            }
            const char *name = s + 1;
            const char *nameEnd = name;
            if (startsWith(name, sEnd, "!--")) {
                nameEnd = name + 3;
            } else {
                if (nameEnd < sEnd && *nameEnd == '/')
                    ++nameEnd;
                while (nameEnd < sEnd && define_vocabulary::isNameByte(static_cast<unsigned char>(*nameEnd)))
                    ++nameEnd;
            }
            m_raw.push_back({r - base, name - sBase, nameEnd - name});
            ++r;
            ++s;
            continue;
        }
        // An entity, read as the open reads it: "&amp;" first, then what follows it.
        const char *q = s + 1;
        const bool amp = startsWith(q, sEnd, "amp;");
        if (amp)
            q += 4;
        char c = '&';
        std::string_view entity;
        if (startsWith(q, sEnd, "lt;"))
            c = '<', entity = "&lt;";
        else if (startsWith(q, sEnd, "gt;"))
            c = '>', entity = "&gt;";
        else if (startsWith(q, sEnd, "quot;"))
            c = '"', entity = "&quot;";
        if (amp && c != '&') {
            // "&amp;lt;" opens as "<": the readable text held the entity's own letters.
            if (!startsWith(r, rEnd, entity)) {
                lose();
                return;
            }
            Finding f;
            f.kind = Kind::LiteralEntity;
            f.offset = r - base;
            f.length = static_cast<qsizetype>(entity.size());
            f.detail = std::string_view(r, entity.size());
            m_findings.add(std::move(f));
            r += entity.size();
            s = q + entity.size() - 1;
            continue;
        }
        if (r == rEnd || *r != c) {
            lose();
            return;
        }
        ++r;
        s = c == '&' ? (amp ? q : s + 1) : q + entity.size() - 1;
    }
    if (r != rEnd)
        lose();
}

std::string_view StoredReading::nameOf(const RawTag &raw) const
{
    return {m_stored.constData() + raw.nameFrom, static_cast<size_t>(raw.nameLength)};
}

void StoredReading::reportUnclaimed(const RawTag &raw)
{
    Finding f;
    f.kind = Kind::RawInStored;
    f.offset = raw.at;
    f.length = 1 + raw.nameLength;
    // The text outlives the finding, the piece does not: name the readable bytes, which are equal.
    f.detail = std::string_view(m_readable.data() + raw.at + 1, static_cast<size_t>(raw.nameLength));
    m_findings.add(std::move(f));
}

bool StoredReading::reach(qsizetype at)
{
    // Once the stored form no longer reads back, its raw "<" say nothing about the text.
    for (;;) {
        if (m_lost)
            return false;
        while (m_next < m_raw.size() && m_raw[m_next].at < at)
            reportUnclaimed(m_raw[m_next++]);
        if (m_next < m_raw.size() || at < m_pieceEnd)
            return !m_lost;
        if (!nextPiece())
            return false;
    }
}

StoredReading::Markup StoredReading::claim(qsizetype at, std::string_view name)
{
    if (!reach(at))
        return Markup::Unknown;
    if (m_next < m_raw.size() && m_raw[m_next].at == at) {
        const RawTag raw = m_raw[m_next++];
        if (nameOf(raw) != name)
            reportUnclaimed(raw);
        return Markup::Raw;
    }
    return Markup::Text;
}

void StoredReading::skip(qsizetype from, qsizetype to)
{
    if (!reach(from))
        return;
    for (;;) {
        while (m_next < m_raw.size() && m_raw[m_next].at < to)
            ++m_next;
        if (m_next < m_raw.size() || to <= m_pieceEnd || !nextPiece())
            return;
    }
}

void StoredReading::finish()
{
    reach(m_readable.size() + 1);
}

} // namespace define_check
