#pragma once
// The escape and the tag restore of UTF-8 define text in one pass. Every entity of escaped text
// stands for one of the four characters, and the restore's rows look only at entities and at
// bytes that escaping leaves alone, so each of its choices can be read off the readable text at
// the character itself: "<" stays markup before a tag name of the table, ">" where the table's
// tag closes or after "--", '"' after "type=" or "condition=". Nothing is written twice and the
// escaped text never exists whole.

#include "document/EntitySteps.h"

namespace entity_steps {

// The tag names closed by ">" rather than "&gt;": the same slots as kTagNames.
inline constexpr auto kReadableTagNames = tagNameTable(">");

struct DefineEscaper {
    const char *const begin; // the whole text, which the choices may look into either side
    const char *const end;
    const char *pendingGt = nullptr; // the ">" that closes a kept tag

    // The wide choice reads this many bytes before the character and after it.
    static constexpr qsizetype kWideBefore = 16;
    static constexpr qsizetype kWideAfter = 17;

    // The row of the tag-restore table that the text at "<" matches, as its index; -1 for none.
    int tagRow(const char *lt) const
    {
        if (end - lt <= 1)
            return -1;
        // The readable row's second byte is the escaped row's fifth.
        for (std::uint32_t rows = kTagRowsByFifthByte[static_cast<unsigned char>(lt[1])]; rows != 0; rows &= rows - 1) {
            const int row = std::countr_zero(rows);
            std::string_view name = kTagRows[row].substr(4);
            const bool closed = name.ends_with("&gt;");
            if (closed)
                name.remove_suffix(4);
            if (end - lt - 1 >= static_cast<qsizetype>(name.size() + closed) && sameBytes(lt + 1, name.data(), name.size()) &&
                (!closed || lt[1 + name.size()] == '>'))
                return row;
        }
        return -1;
    }

    // Whether the character at `at`, one of the four, stays itself in the stored form.
    bool keeps(const char *at)
    {
        switch (*at) {
        case '<': {
            const int row = tagRow(at);
            if (row >= 0 && (kTagRowsClosedByGt & (std::uint32_t(1) << row)))
                pendingGt = at + kTagRows[row].size() - 7; // "&lt;" and "&gt;" as "<" and ">"
            return row >= 0;
        }
        case '>': return at == pendingGt || endsWith(begin, at, "--");
        case '"': return endsWith(begin, at, "type=") || endsWith(begin, at, "condition=");
        default: return false;
        }
    }

    // A condition as 0 or 1 that the compiler cannot turn back into a branch.
    static std::uint64_t flag(bool b)
    {
        std::uint64_t x = b;
        asm("" : "+r"(x));
        return x;
    }

    // What the table makes of the "<" at lt, where kWideAfter bytes follow it, without a branch:
    // whether it stays markup, whether a ">" closes its tag, and that ">"'s distance from lt.
    struct TagMatch {
        std::uint64_t kept;
        std::uint64_t closed;
        unsigned gtOffset;
    };
    [[gnu::always_inline]] static TagMatch tagWide(const char *lt)
    {
        std::uint64_t after, later;
        std::memcpy(&after, lt + 1, 8);
        std::memcpy(&later, lt + 9, 8);
        const TagName &t = kReadableTagNames[tagNameSlot(static_cast<unsigned char>(after >> 8),
                                                         static_cast<unsigned char>(after >> 16))];
        const std::uint64_t a = after ^ t.text[0], b = later ^ t.text[1];
        const std::uint64_t closed = flag(t.closedRow >= 0) & flag(((a & t.closedMask[0]) | (b & t.closedMask[1])) == 0);
        const std::uint64_t named = flag(t.openRow >= 0) & flag(((a & t.nameMask[0]) | (b & t.nameMask[1])) == 0);
        return {closed | named, closed, static_cast<unsigned>(1 + t.nameSize)};
    }

    // Whether the '"' at quot, with kWideBefore bytes before it, stays itself: 0 or 1.
    [[gnu::always_inline]] static std::uint64_t quotKeptWide(const char *quot)
    {
        std::uint64_t before, earlier;
        std::memcpy(&before, quot - 8, 8);
        std::memcpy(&earlier, quot - 16, 8);
        return flag((before >> 24) == word("type=")) |
               (flag(before == word("ndition=")) & flag((earlier >> 48) == word("co")));
    }
};

// The stored form of [p, stop), a part of the escaper's text, at o, which has room for the
// part's entity growth.
inline char *escapeDefinePart(DefineEscaper &escaper, const char *p, const char *const stop, char *o,
                               const char *outEnd)
{
    const char *run = p;
    for (; p < stop; ++p) {
        if (kEntityGrowth[static_cast<unsigned char>(*p)] == 0)
            continue;
        std::memcpy(o, run, static_cast<size_t>(p - run));
        o += p - run;
        if (escaper.keeps(p))
            *o++ = *p;
        else
            o = putEntity(o, *p, outEnd);
        run = p + 1;
    }
    std::memcpy(o, run, static_cast<size_t>(stop - run));
    return o + (stop - run);
}

// The stored form of the whole text [p, end) at o, with room for its entity growth.
inline char *escapeDefineBytes(const char *p, const char *const end, char *o, const char *outEnd)
{
    DefineEscaper escaper{p, end};
    return escapeDefinePart(escaper, p, end, o, outEnd);
}

} // namespace entity_steps
