#pragma once
// What the fixed define-text conversions do at each byte they react to, and their byte-at-a-time
// loops. The vector loops (VectorConversions.h) skip to those bytes faster and then take the same
// steps, so both read the same rules. The only bytes that matter: "&", "<", ">" and '"' for the
// escape, "&" for the unescape and the tag restore. Text in GBK needs no other byte: a byte
// below 0x40 never lies inside a two-byte character (GbkBytes.h).

#include <QtGlobal>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>

namespace entity_steps {

// For a literal, whose length the compiler knows: a comparison or two, not a call.
template <size_t N> inline bool startsWith(const char *p, const char *end, const char (&s)[N])
{
    return end - p >= static_cast<qsizetype>(N - 1) && std::memcmp(p, s, N - 1) == 0;
}

template <size_t N> inline bool endsWith(const char *begin, const char *end, const char (&s)[N])
{
    return end - begin >= static_cast<qsizetype>(N - 1) && std::memcmp(end - (N - 1), s, N - 1) == 0;
}

// n bytes, at least one Word and at most two, as a Word from each end, both loaded first.
template <typename Word>
inline void moveHeadAndTail(char *o, const char *p, size_t n)
{
    Word head, tail;
    std::memcpy(&head, p, sizeof head);
    std::memcpy(&tail, p + n - sizeof tail, sizeof tail);
    std::memcpy(o, &head, sizeof head);
    std::memcpy(o + n - sizeof tail, &tail, sizeof tail);
}

// Copies n bytes, at most 64, from p back to o in the same buffer (o before p): everything is
// loaded before anything is stored, so the two may overlap, and no call is made for a short run.
inline void moveBackShort(char *o, const char *p, size_t n)
{
    struct Bytes16 {
        char b[16];
    };
    if (n >= 16) {
        Bytes16 head[2], tail[2];
        const size_t half = n >= 32 ? 16 : 0; // n < 32: both halves of head and tail the same
        std::memcpy(&head[0], p, 16);
        std::memcpy(&head[1], p + half, 16);
        std::memcpy(&tail[0], p + n - 16 - half, 16);
        std::memcpy(&tail[1], p + n - 16, 16);
        std::memcpy(o, &head[0], 16);
        std::memcpy(o + half, &head[1], 16);
        std::memcpy(o + n - 16 - half, &tail[0], 16);
        std::memcpy(o + n - 16, &tail[1], 16);
    } else if (n >= 8) {
        moveHeadAndTail<std::uint64_t>(o, p, n);
    } else if (n >= 4) {
        moveHeadAndTail<std::uint32_t>(o, p, n);
    } else {
        for (size_t i = 0; i < n; ++i) // forward: o is before p
            o[i] = p[i];
    }
}

// ---- unescape -------------------------------------------------------------------------------

// At an "&": writes what the readable form holds for it and returns where the stored text goes
// on. Equivalent to replacing "&amp;", "&lt;", "&gt;", "&quot;" one after another over the whole
// text: an "&amp;" becomes an "&" that the later rows may still complete.
inline const char *unescapeAt(const char *amp, const char *const end, char *&o)
{
    const char *p = amp + 1;
    if (startsWith(p, end, "amp;"))
        p += 4;
    if (startsWith(p, end, "lt;")) {
        *o++ = '<';
        return p + 3;
    }
    if (startsWith(p, end, "gt;")) {
        *o++ = '>';
        return p + 3;
    }
    if (startsWith(p, end, "quot;")) {
        *o++ = '"';
        return p + 5;
    }
    *o++ = '&'; // an "&" that opens no entity stays
    return p;
}

// Up to eight bytes as one little-endian word, for comparing with words read from the text.
template <size_t N> constexpr std::uint64_t word(const char (&s)[N])
{
    static_assert(N - 1 <= 8);
    std::uint64_t w = 0;
    for (size_t i = 0; i < N - 1; ++i)
        w |= std::uint64_t(static_cast<unsigned char>(s[i])) << (8 * i);
    return w;
}

// unescapeAt where at least twelve bytes follow the "&": which entity it opens is read from two
// words without a branch, as the kinds follow each other at random. For little-endian words.
inline const char *unescapeAtWide(const char *amp, char *&o)
{
    std::uint64_t first, afterAmp;
    std::memcpy(&first, amp + 1, 8);
    std::memcpy(&afterAmp, amp + 5, 8);
    const bool isAmp = (first & 0xFFFFFFFF) == word("amp;");
    const std::uint64_t w = isAmp ? afterAmp : first;
    const bool lt = (w & 0xFFFFFF) == word("lt;");
    const bool gt = (w & 0xFFFFFF) == word("gt;");
    const bool quot = (w & 0xFFFFFFFFFF) == word("quot;");
    *o++ = static_cast<char>('&' + lt * ('<' - '&') + gt * ('>' - '&') + quot * ('"' - '&'));
    return amp + 1 + 4 * isAmp + 3 * (lt | gt) + 5 * quot;
}

// The readable form of [p, end) written from o on; o may be p itself, as the text only shrinks.
inline char *unescapeBytes(const char *p, const char *const end, char *o)
{
    while (p < end) {
        const char *amp = static_cast<const char *>(std::memchr(p, '&', static_cast<size_t>(end - p)));
        const char *const stop = amp ? amp : end;
        if (o != p)
            std::memmove(o, p, static_cast<size_t>(stop - p));
        o += stop - p;
        if (!amp)
            break;
        p = unescapeAt(amp, end, o);
    }
    return o;
}

// ---- escape ---------------------------------------------------------------------------------

// Extra bytes each character needs once escaped; zero for everything else.
inline constexpr auto kEntityGrowth = [] {
    std::array<unsigned char, 256> t{};
    t[static_cast<unsigned char>('&')] = 4;
    t[static_cast<unsigned char>('<')] = 3;
    t[static_cast<unsigned char>('>')] = 3;
    t[static_cast<unsigned char>('"')] = 5;
    return t;
}();

inline qsizetype entityGrowth(const char *p, const char *const end)
{
    qsizetype extra = 0;
    for (; p < end; ++p)
        extra += kEntityGrowth[static_cast<unsigned char>(*p)];
    return extra;
}

// The entity for one of the four characters, padded to eight bytes so that it can be written in
// one store. The four differ in their low six bits.
struct Entity {
    char text[8];
    qsizetype size;
};
inline constexpr auto kEntities = [] {
    std::array<Entity, 64> t{};
    t['&' & 63] = {{'&', 'a', 'm', 'p', ';'}, 5};
    t['<' & 63] = {{'&', 'l', 't', ';'}, 4};
    t['>' & 63] = {{'&', 'g', 't', ';'}, 4};
    t['"' & 63] = {{'&', 'q', 'u', 'o', 't', ';'}, 6};
    return t;
}();

// Writes the entity for c, one of the four, at o, which has room for eight bytes: one store.
inline char *putEntityWide(char *o, char c)
{
    const Entity &e = kEntities[static_cast<unsigned char>(c) & 63];
    std::memcpy(o, e.text, 8);
    return o + e.size;
}

// The same where outEnd may be closer.
inline char *putEntity(char *o, char c, const char *outEnd)
{
    if (outEnd - o >= 8)
        return putEntityWide(o, c);
    const Entity &e = kEntities[static_cast<unsigned char>(c) & 63];
    std::memcpy(o, e.text, static_cast<size_t>(e.size));
    return o + e.size;
}

// The stored form of [p, end) at o, which has room for entityGrowth more bytes than the input.
inline char *escapeBytes(const char *p, const char *const end, char *o, const char *outEnd)
{
    const char *run = p;
    for (; p < end; ++p) {
        if (kEntityGrowth[static_cast<unsigned char>(*p)] == 0)
            continue;
        std::memcpy(o, run, static_cast<size_t>(p - run));
        o = putEntity(o + (p - run), *p, outEnd);
        run = p + 1;
    }
    std::memcpy(o, run, static_cast<size_t>(end - run));
    return o + (end - run);
}

// ---- tag restore ----------------------------------------------------------------------------

// Rows of the tag-restore table that begin with "&lt;", in table order. A row ending in
// "&gt;" also turns that "&gt;" back; everything between stays for the scan to see again,
// which gives exactly the result of applying the rows one after another.
inline constexpr std::string_view kTagRows[] = {
    "&lt;define&gt;", "&lt;define", "&lt;/define&gt;", "&lt;sql&gt;", "&lt;sql", "&lt;/sql&gt;",
    "&lt;condition&gt;", "&lt;condition", "&lt;/condition&gt;", "&lt;select&gt;", "&lt;select",
    "&lt;/select&gt;", "&lt;exec&gt;", "&lt;exec", "&lt;/exec&gt;", "&lt;error&gt;", "&lt;error",
    "&lt;/error&gt;", "&lt;!--",
};

// For each byte, the rows whose fifth byte it is, as bits in table order.
inline constexpr auto kTagRowsByFifthByte = [] {
    static_assert(std::size(kTagRows) <= 32);
    std::array<std::uint32_t, 256> t{};
    for (size_t i = 0; i < std::size(kTagRows); ++i)
        t[static_cast<unsigned char>(kTagRows[i][4])] |= std::uint32_t(1) << i;
    return t;
}();

// The rows that end in "&gt;", as bits.
inline constexpr std::uint32_t kTagRowsClosedByGt = [] {
    std::uint32_t rows = 0;
    for (size_t i = 0; i < std::size(kTagRows); ++i)
        rows |= kTagRows[i].ends_with("&gt;") ? std::uint32_t(1) << i : 0;
    return rows;
}();

// The tag rows grouped by the name between "&lt;" and an optional "&gt;", found by a hash of
// the name's second and third bytes: one slot to test instead of a walk over the rows. Each
// name that has both rows has the one with "&gt;" first, and no name's row is a prefix of
// another name's, so the slot's answer is the first row in table order that matches.
struct TagName {
    std::uint64_t text[2];       // the name, then what closes it, zero-padded to sixteen bytes
    std::uint64_t nameMask[2];   // the name's bytes
    std::uint64_t closedMask[2]; // the name's bytes and what closes it
    int closedRow = -1;          // the row "&lt;name&gt;"
    int openRow = -1;            // the row "&lt;name"
    int nameSize = 0;
};

constexpr unsigned tagNameSlot(unsigned char second, unsigned char third) { return ((second * 5u) ^ third) & 31u; }

// The table with the name closed by `close`: "&gt;" in escaped text, ">" in readable text.
template <size_t N> constexpr std::array<TagName, 32> tagNameTable(const char (&close)[N])
{
    constexpr size_t closeSize = N - 1;
    std::array<TagName, 32> t{};
    std::array<std::string_view, 32> names{};
    for (size_t row = 0; row < std::size(kTagRows); ++row) {
        std::string_view name = kTagRows[row].substr(4);
        const bool closed = name.ends_with("&gt;");
        if (closed)
            name.remove_suffix(4);
        if (name.size() < 3 || name.size() > 12)
            throw "a tag name must have three to twelve bytes";
        const unsigned slot = tagNameSlot(static_cast<unsigned char>(name[1]), static_cast<unsigned char>(name[2]));
        // Names sharing their second and third bytes (among them a name that is a prefix of
        // another) would share a slot.
        if (!names[slot].empty() && names[slot] != name)
            throw "two tag names share a slot";
        names[slot] = name;
        TagName &e = t[slot];
        for (size_t i = 0; i < 16; ++i) {
            const unsigned char c = i < name.size() ? static_cast<unsigned char>(name[i])
                                    : i < name.size() + closeSize ? static_cast<unsigned char>(close[i - name.size()])
                                                                  : 0;
            e.text[i / 8] |= std::uint64_t(c) << (8 * (i % 8));
            if (i < name.size())
                e.nameMask[i / 8] |= std::uint64_t(0xFF) << (8 * (i % 8));
            if (i < name.size() + closeSize)
                e.closedMask[i / 8] |= std::uint64_t(0xFF) << (8 * (i % 8));
        }
        e.nameSize = static_cast<int>(name.size());
        if (closed && e.openRow >= 0)
            throw "a name's row with \"&gt;\" must come before the one without";
        (closed ? e.closedRow : e.openRow) = static_cast<int>(row);
    }
    return t;
}

inline constexpr auto kTagNames = tagNameTable("&gt;");

// Whether the n bytes at a and b are the same, eight at a time: a row is at most 18 bytes.
inline bool sameBytes(const char *a, const char *b, size_t n)
{
    for (; n >= 8; n -= 8, a += 8, b += 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a, 8);
        std::memcpy(&y, b, 8);
        if (x != y)
            return false;
    }
    for (; n > 0; --n)
        if (*a++ != *b++)
            return false;
    return true;
}

// startsCharacter(base, p): whether a character starts at p, so that a word before an entity is
// not taken from the middle of a two-byte character.
using StartsCharacter = bool (*)(const char *begin, const char *p);

// The tag-restore table over text whose bytes below 0x80 are characters of their own (UTF-8,
// GBK), written over the text as every row shortens what it matches. All rows involve an
// entity, so only "&" needs a look; the words before an entity are read back from the output,
// which holds them unchanged.
struct TagRestorer {
    char *const base;
    const char *p;
    const char *const end;
    char *o;
    StartsCharacter startsCharacter;
    const char *pendingGt = nullptr; // the "&gt;" that closes a restored tag

    template <size_t N> bool endsWithWord(const char (&word)[N]) const
    {
        return endsWith(base, o, word) && startsCharacter(base, o - (N - 1));
    }

    // The row that starts at p, which starts with "&lt;", as its index; -1 for none.
    int tagRow() const
    {
        if (end - p <= 4)
            return -1;
        // Only the rows with the byte after "&lt;" are compared, in table order.
        for (std::uint32_t rows = kTagRowsByFifthByte[static_cast<unsigned char>(p[4])]; rows != 0; rows &= rows - 1) {
            const int row = std::countr_zero(rows);
            const std::string_view text = kTagRows[row];
            if (static_cast<size_t>(end - p) >= text.size() && sameBytes(p, text.data(), text.size()))
                return row;
        }
        return -1;
    }

    // tagRow where at least kWideBytes follow p: the one slot the name can be in, tested with
    // two words.
    [[gnu::always_inline]] int tagRowWide() const
    {
        const TagName &e = kTagNames[tagNameSlot(static_cast<unsigned char>(p[5]), static_cast<unsigned char>(p[6]))];
        std::uint64_t a, b;
        std::memcpy(&a, p + 4, 8);
        std::memcpy(&b, p + 12, 8);
        a ^= e.text[0];
        b ^= e.text[1];
        if (e.closedRow >= 0 && ((a & e.closedMask[0]) | (b & e.closedMask[1])) == 0)
            return e.closedRow;
        return ((a & e.nameMask[0]) | (b & e.nameMask[1])) == 0 ? e.openRow : -1;
    }

    static constexpr qsizetype kWideBytes = 20;

    // atAmpersand where at least kWideBytes follow p, as in the vector loops: the entity is
    // told from one word, and most "&" (a less-than in the SQL, "&amp;") cost a comparison or two.
    // Inlined into the loops, which then keep p and o in registers.
    [[gnu::always_inline]] void atAmpersandWide()
    {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        const std::uint64_t four = w & 0xFFFFFFFF;
        if (four == word("&lt;")) {
            const int row = tagRowWide();
            if (row >= 0) {
                if (kTagRowsClosedByGt & (std::uint32_t(1) << row))
                    pendingGt = p + kTagRows[row].size() - 4;
                *o++ = '<';
                p += 4;
                return;
            }
        } else if (four == word("&gt;")) {
            if (p == pendingGt || endsWith(base, o, "--")) {
                pendingGt = p == pendingGt ? nullptr : pendingGt;
                *o++ = '>';
                p += 4;
                return;
            }
        } else if ((w & 0xFFFFFFFFFFFF) == word("&quot;") && (endsWithWord("type=") || endsWithWord("condition="))) {
            *o++ = '"';
            p += 6;
            return;
        }
        *o++ = *p++;
    }

    // At an "&": writes what the rows turn it into and moves past it. Only one kind of entity
    // can start here, so the byte after the "&" picks the rows to try.
    void atAmpersand()
    {
        if (p == pendingGt) {
            *o++ = '>';
            p += 4;
            pendingGt = nullptr;
            return;
        }
        switch (end - p > 1 ? p[1] : '\0') {
        case 'l':
            if (startsWith(p, end, "&lt;")) {
                const int row = tagRow();
                if (row < 0)
                    break;
                if (kTagRowsClosedByGt & (std::uint32_t(1) << row))
                    pendingGt = p + kTagRows[row].size() - 4;
                *o++ = '<';
                p += 4;
                return;
            }
            break;
        case 'q':
            if (startsWith(p, end, "&quot;") && (endsWithWord("type=") || endsWithWord("condition="))) {
                *o++ = '"';
                p += 6;
                return;
            }
            break;
        case 'g':
            if (startsWith(p, end, "&gt;") && endsWith(base, o, "--")) {
                *o++ = '>';
                p += 4;
                return;
            }
            break;
        default: break;
        }
        *o++ = *p++;
    }

    void copyUpTo(const char *stop)
    {
        const size_t len = static_cast<size_t>(stop - p);
        if (o != p)
            std::memmove(o, p, len);
        o += len;
        p = stop;
    }

    // The rest of the text, a run at a time.
    void finish()
    {
        while (p < end) {
            const char *amp = static_cast<const char *>(std::memchr(p, '&', static_cast<size_t>(end - p)));
            if (!amp) {
                copyUpTo(end);
                break;
            }
            copyUpTo(amp);
            atAmpersand();
        }
    }
};

} // namespace entity_steps
