#include "document/CompressingLoops.h"

#if defined(__x86_64__)

#include "document/EntitySteps.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <immintrin.h>

#define COMPRESSING_TARGET __attribute__((target("avx512f,avx512bw,avx512vbmi2,popcnt")))

namespace compressing {

namespace {

constexpr qsizetype kBlock = 64;
// A block's entities are read from loads up to five bytes past it ("&quot;" at its last byte).
constexpr qsizetype kReach = kBlock + 5;

COMPRESSING_TARGET inline __mmask64 equalTo(__m512i v, char c)
{
    return _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(c));
}

// The block at p loaded six times, k bytes on for k = 0 .. 5, for the entities' letters.
struct Block {
    __m512i at0, at1, at2, at3, at4, at5;
};

COMPRESSING_TARGET inline Block loadBlock(const char *p)
{
    return {_mm512_loadu_si512(p),     _mm512_loadu_si512(p + 1), _mm512_loadu_si512(p + 2),
            _mm512_loadu_si512(p + 3), _mm512_loadu_si512(p + 4), _mm512_loadu_si512(p + 5)};
}

// Where in a block the "&" and the entities "&lt;", "&gt;" and "&quot;" start.
struct Entities {
    __mmask64 amp, lt, gt, quot;
};

COMPRESSING_TARGET inline Entities entitiesOf(const Block &v)
{
    // Every compare on its own, so that none waits for another.
    Entities e;
    e.amp = equalTo(v.at0, '&');
    const __mmask64 ltOrGt = e.amp & equalTo(v.at2, 't') & equalTo(v.at3, ';');
    e.lt = ltOrGt & equalTo(v.at1, 'l');
    e.gt = ltOrGt & equalTo(v.at1, 'g');
    e.quot = e.amp & equalTo(v.at1, 'q') & equalTo(v.at2, 'u') & equalTo(v.at3, 'o') & equalTo(v.at4, 't') &
             equalTo(v.at5, ';');
    return e;
}

// The bytes of a block that entities of four, five and six bytes leave out, and those of the
// next block that the one entity running past its end leaves out there.
struct LeftOut {
    std::uint64_t here = 0;
    std::uint64_t next = 0;
};

inline LeftOut leftOut(std::uint64_t four, std::uint64_t five, std::uint64_t six)
{
    // An entity of n bytes at i leaves out i+1 .. i+n-1, which is 2^(i+n) - 2^(i+1); the entities
    // never overlap, so the sum over them gives every such byte. Bits past the block fall away.
    LeftOut left;
    left.here = (four << 4) + (five << 5) + (six << 6) - ((four | five | six) << 1);
    const std::uint64_t across = (four >> 61 << 61) | (five >> 60 << 60) | (six >> 59 << 59);
    if (across != 0) {
        const int n = (across & four) ? 4 : (across & five) ? 5 : 6;
        left.next = (std::uint64_t(1) << (std::countr_zero(across) + n - kBlock)) - 1;
    }
    return left;
}

// Writes the block's readable bytes, kept, at o, with "<", ">" and '"' where those entities start.
// A whole block is stored: in place it ends at or before this block's end, which is already read.
COMPRESSING_TARGET inline char *putBlock(char *o, __m512i block, std::uint64_t kept, __mmask64 lt, __mmask64 gt,
                                         __mmask64 quot)
{
    block = _mm512_mask_mov_epi8(block, lt, _mm512_set1_epi8('<'));
    block = _mm512_mask_mov_epi8(block, gt, _mm512_set1_epi8('>'));
    block = _mm512_mask_mov_epi8(block, quot, _mm512_set1_epi8('"'));
    _mm512_storeu_si512(o, _mm512_maskz_compress_epi8(kept, block));
    return o + std::popcount(kept);
}

// Where the input and the output have got to.
struct Progress {
    const char *p;
    char *o;
};

// The readable form of whole blocks from p on, written at o (o may be p's own buffer, behind it).
// Stops where fewer than kReach bytes are left, at an entity's end.
template <bool InPlace>
[[gnu::always_inline]] COMPRESSING_TARGET inline Progress unescapeBlocks(const char *p, const char *const end, char *o)
{
    // The first bytes of the block that belong to an entity begun in the block before.
    std::uint64_t carried = 0;
    while (end - p >= kReach) {
        const Block v = loadBlock(p);
        const Entities e = entitiesOf(v);
        const __mmask64 ampEntity =
            e.amp & equalTo(v.at1, 'a') & equalTo(v.at2, 'm') & equalTo(v.at3, 'p') & equalTo(v.at4, ';');
        // "&amp;" before "lt;", "gt;" or "quot;" reads as one character: rare, so such a block is
        // taken an entity at a time.
        const __mmask64 chained = equalTo(v.at5, 'l') | equalTo(v.at5, 'g') | equalTo(v.at5, 'q');
        if (ampEntity & chained) [[unlikely]] {
            p += std::popcount(carried);
            carried = 0;
            const char *const blockEnd = p + kBlock;
            while (p < blockEnd) {
                const char *const at = static_cast<const char *>(std::memchr(p, '&', static_cast<size_t>(blockEnd - p)));
                const char *const stop = at ? at : blockEnd;
                if constexpr (InPlace)
                    std::memmove(o, p, static_cast<size_t>(stop - p));
                else
                    std::memcpy(o, p, static_cast<size_t>(stop - p));
                o += stop - p;
                p = at ? entity_steps::unescapeAt(at, end, o) : blockEnd;
            }
            continue;
        }
        const LeftOut left = leftOut(e.lt | e.gt, ampEntity, e.quot);
        o = putBlock(o, v.at0, ~(left.here | carried), e.lt, e.gt, e.quot);
        carried = left.next;
        p += kBlock;
    }
    return {p + std::popcount(carried), o};
}

} // namespace

COMPRESSING_TARGET char *unescapeApart(const char *p, const char *const end, char *o)
{
    const Progress done = unescapeBlocks<false>(p, end, o);
    return entity_steps::unescapeBytes(done.p, end, done.o);
}

COMPRESSING_TARGET char *unescapeInPlace(char *const base, const char *const end)
{
    const Progress done = unescapeBlocks<true>(base, end, base);
    return entity_steps::unescapeBytes(done.p, end, done.o);
}

} // namespace compressing

#endif
