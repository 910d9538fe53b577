#include "document/CompressingLoops.h"

#if defined(__x86_64__)

#include "document/EntitySteps.h"

#include <bit>
#include <cstdint>
#include <immintrin.h>

#define COMPRESSING_TARGET __attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,popcnt")))

namespace compressing {

namespace {

constexpr qsizetype kBlock = 64;
// A block's entities are read from loads up to five bytes past it ("&quot;" at its last byte).
constexpr qsizetype kReach = kBlock + 5;

// v hidden from the optimiser, so that it is made once and held in a register: the optimiser
// would otherwise make a constant again, or load the block again, at each use.
COMPRESSING_TARGET inline __m512i inRegister(__m512i v)
{
    asm("" : "+v"(v));
    return v;
}

// The block at p loaded six times, k bytes on for k = 0 .. 5, for the entities' letters.
struct Block {
    __m512i at0, at1, at2, at3, at4, at5;
};

COMPRESSING_TARGET inline Block loadBlock(const char *p)
{
    return {inRegister(_mm512_loadu_si512(p)),     inRegister(_mm512_loadu_si512(p + 1)),
            inRegister(_mm512_loadu_si512(p + 2)), inRegister(_mm512_loadu_si512(p + 3)),
            inRegister(_mm512_loadu_si512(p + 4)), inRegister(_mm512_loadu_si512(p + 5))};
}

// Where in a block the "&" and the entities "&lt;", "&gt;", "&amp;" and "&quot;" start, and the
// "&amp;" entities followed by "l", "g" or "q" (maybe a chain such as "&amp;lt;").
struct Entities {
    __mmask64 amp, lt, gt, quot, ampEntity, chained;
};

// The letters the entities are compared with, each in every byte of a register, made once before
// the loop. The loop calls nothing, so that they can stay in registers.
struct Letters {
    __m512i amp, t, semicolon, l, g, q, u, o, a, m, p, ones, nextLetters, lessThan, greaterThan, quote;
};

COMPRESSING_TARGET inline __m512i letter(char c)
{
    return inRegister(_mm512_set1_epi8(c));
}

COMPRESSING_TARGET inline Letters makeLetters()
{
    // Non-zero at 39, 44 and 49, the low six bits of "g", "l" and "q", for a byte permute.
    const __m512i nextLetters =
        _mm512_set_epi64(0, 0xFF00, 0xFF00000000, static_cast<long long>(0xFF00000000000000), 0, 0, 0, 0);
    return {letter('&'), letter('t'), letter(';'), letter('l'), letter('g'), letter('q'), letter('u'), letter('o'),
            letter('a'), letter('m'), letter('p'), letter(char(-1)), inRegister(nextLetters),
            letter('<'), letter('>'), letter('"')};
}

// c | (a ^ letter): the bytes of c stay non-zero, and a byte of a that differs from its letter
// makes its byte non-zero.
COMPRESSING_TARGET inline __m512i orDiffers(__m512i c, __m512i a, __m512i letter)
{
    // Truth table of c | (a ^ b) over the operands c, a, b: 0xF0 | (0xCC ^ 0xAA).
    return _mm512_ternarylogic_epi32(c, a, letter, 0xF6);
}

COMPRESSING_TARGET inline Entities entitiesOf(const Block &v, const Letters &k)
{
    // The letters are compared in vector registers, and only each entity's verdict becomes a mask.
    Entities e;
    e.amp = _mm512_cmpeq_epi8_mask(v.at0, k.amp);
    const __m512i tSemicolon = orDiffers(_mm512_xor_si512(v.at2, k.t), v.at3, k.semicolon);
    e.lt = _mm512_mask_testn_epi8_mask(e.amp, orDiffers(tSemicolon, v.at1, k.l), k.ones);
    e.gt = _mm512_mask_testn_epi8_mask(e.amp, orDiffers(tSemicolon, v.at1, k.g), k.ones);
    const __m512i quot = orDiffers(
        orDiffers(orDiffers(orDiffers(_mm512_xor_si512(v.at1, k.q), v.at2, k.u), v.at3, k.o), v.at4, k.t), v.at5,
        k.semicolon);
    e.quot = _mm512_mask_testn_epi8_mask(e.amp, quot, k.ones);
    const __m512i ampEntity =
        orDiffers(orDiffers(orDiffers(_mm512_xor_si512(v.at1, k.a), v.at2, k.m), v.at3, k.p), v.at4, k.semicolon);
    e.ampEntity = _mm512_mask_testn_epi8_mask(e.amp, ampEntity, k.ones);
    // The letter after "&amp;" by its low six bits: "l", "g" and "q" and the few bytes that share
    // theirs, which only send the block the slow way.
    const __m512i afterAmpEntity = _mm512_maskz_permutexvar_epi8(e.ampEntity, v.at5, k.nextLetters);
    e.chained = _mm512_test_epi8_mask(afterAmpEntity, k.ones);
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
    // never overlap, so the sum over them gives every such byte. Taken in 128 bits, the bits past
    // the block are those the entity running past its end leaves out in the next one. The halves
    // are worked out apart with plain shifts, as the double-word shifts a compiler makes of 128-bit
    // ones are slow on some processors. No two entities end at the same byte, so their ends add up
    // as they are or'ed.
    const std::uint64_t starts = four | five | six;
    const std::uint64_t endsLow = (four << 4) | (five << 5) | (six << 6);
    const std::uint64_t endsHigh = (four >> 60) | (five >> 59) | (six >> 58);
    const std::uint64_t afterStarts = starts << 1;
    return {endsLow - afterStarts, endsHigh - (starts >> 63) - (endsLow < afterStarts ? 1 : 0)};
}

// Writes the block's readable bytes, kept, at o, with "<", ">" and '"' where those entities start.
// A whole block is stored: in place it ends at or before this block's end, which is already read.
COMPRESSING_TARGET inline char *putBlock(char *o, __m512i block, std::uint64_t kept, __mmask64 lt, __mmask64 gt,
                                         __mmask64 quot, const Letters &k)
{
    block = _mm512_mask_mov_epi8(block, lt, k.lessThan);
    block = _mm512_mask_mov_epi8(block, gt, k.greaterThan);
    block = _mm512_mask_mov_epi8(block, quot, k.quote);
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
[[gnu::always_inline]] COMPRESSING_TARGET inline Progress unescapeBlocks(const char *p, const char *const end, char *o)
{
    // The first bytes of the block that belong to an entity begun in the block before.
    std::uint64_t carried = 0;
    const Letters k = makeLetters();
    while (end - p >= kReach) {
        const Block v = loadBlock(p);
        const Entities e = entitiesOf(v, k);
        // "&amp;" before "lt;", "gt;" or "quot;" reads as one character: rare, so such a block is
        // taken an entity at a time.
        if (e.chained) [[unlikely]] {
            p += std::popcount(carried);
            carried = 0;
            // A byte at a time: a call here would cost the letters their registers.
            const char *const blockEnd = p + kBlock;
            while (p < blockEnd) {
                if (*p == '&')
                    p = entity_steps::unescapeAt(p, end, o);
                else
                    *o++ = *p++;
            }
            continue;
        }
        const LeftOut left = leftOut(e.lt | e.gt, e.ampEntity, e.quot);
        o = putBlock(o, v.at0, ~(left.here | carried), e.lt, e.gt, e.quot, k);
        carried = left.next;
        p += kBlock;
    }
    return {p + std::popcount(carried), o};
}

} // namespace

COMPRESSING_TARGET char *unescapeApart(const char *p, const char *const end, char *o)
{
    const Progress done = unescapeBlocks(p, end, o);
    return entity_steps::unescapeBytes(done.p, end, done.o);
}

COMPRESSING_TARGET char *unescapeInPlace(char *const base, const char *const end)
{
    const Progress done = unescapeBlocks(base, end, base);
    return entity_steps::unescapeBytes(done.p, end, done.o);
}

} // namespace compressing

#endif
