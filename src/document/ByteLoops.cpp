#include "document/ByteLoops.h"

#include "document/CompressingLoops.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

namespace scalar {

char *unescapeInPlace(char *const base, const char *const end) { return entity_steps::unescapeBytes(base, end, base); }

char *restoreTags(entity_steps::TagRestorer r)
{
    r.finish();
    return r.o;
}

constexpr ByteLoops kLoops{entity_steps::entityGrowth, entity_steps::escapeBytes, entity_steps::escapeDefineBytes,
                           entity_steps::unescapeBytes, unescapeInPlace, restoreTags};

} // namespace scalar

#if defined(__x86_64__)

// SSE2 is part of amd64 itself: no target attribute, nothing to detect.
namespace sse2 {

#define VECTOR_TARGET
using Vec = __m128i;
constexpr qsizetype kWidth = 16;

inline Vec load(const char *p) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p)); }
inline void store(char *p, Vec v) { _mm_storeu_si128(reinterpret_cast<__m128i *>(p), v); }
inline Vec splat(char c) { return _mm_set1_epi8(c); }
inline Vec zero() { return _mm_setzero_si128(); }
inline Vec equal(Vec a, Vec b) { return _mm_cmpeq_epi8(a, b); }
inline Vec either(Vec a, Vec b) { return _mm_or_si128(a, b); }
inline Vec both(Vec a, Vec b) { return _mm_and_si128(a, b); }
inline Vec addBytes(Vec a, Vec b) { return _mm_add_epi8(a, b); }
inline std::uint32_t bits(Vec v) { return static_cast<std::uint32_t>(_mm_movemask_epi8(v)); }
inline std::uint64_t sumBytes(Vec v)
{
    const __m128i sums = _mm_sad_epu8(v, _mm_setzero_si128());
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(sums)) +
           static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
}

#include "document/VectorLoops.inc"
#undef VECTOR_TARGET

constexpr ByteLoops kLoops{entityGrowth, escape, escapeDefine, unescapeApart, unescapeInPlace, restoreTags};

} // namespace sse2

// Compiled for AVX2 function by function, so that the rest of the program runs on any amd64.
namespace avx2 {

#define VECTOR_TARGET __attribute__((target("avx2")))
using Vec = __m256i;
constexpr qsizetype kWidth = 32;

VECTOR_TARGET inline Vec load(const char *p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p)); }
VECTOR_TARGET inline void store(char *p, Vec v) { _mm256_storeu_si256(reinterpret_cast<__m256i *>(p), v); }
VECTOR_TARGET inline Vec splat(char c) { return _mm256_set1_epi8(c); }
VECTOR_TARGET inline Vec zero() { return _mm256_setzero_si256(); }
VECTOR_TARGET inline Vec equal(Vec a, Vec b) { return _mm256_cmpeq_epi8(a, b); }
VECTOR_TARGET inline Vec either(Vec a, Vec b) { return _mm256_or_si256(a, b); }
VECTOR_TARGET inline Vec both(Vec a, Vec b) { return _mm256_and_si256(a, b); }
VECTOR_TARGET inline Vec addBytes(Vec a, Vec b) { return _mm256_add_epi8(a, b); }
VECTOR_TARGET inline std::uint32_t bits(Vec v) { return static_cast<std::uint32_t>(_mm256_movemask_epi8(v)); }
VECTOR_TARGET inline std::uint64_t sumBytes(Vec v)
{
    const __m256i sums = _mm256_sad_epu8(v, _mm256_setzero_si256());
    const __m128i halves = _mm_add_epi64(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1));
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(halves)) +
           static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(halves, halves)));
}

#include "document/VectorLoops.inc"
#undef VECTOR_TARGET

constexpr ByteLoops kLoops{entityGrowth, escape, escapeDefine, unescapeApart, unescapeInPlace, restoreTags};

} // namespace avx2

// The AVX2 loops but for the unescape. The compress cannot grow text, as the escape does, and
// the tag restore's choices depend on the tag name after each "&lt;", read one at a time.
constexpr ByteLoops kCompressingLoops{avx2::entityGrowth, avx2::escape, avx2::escapeDefine, compressing::unescapeApart,
                                      compressing::unescapeInPlace, avx2::restoreTags};

#endif

} // namespace

const ByteLoops &byteLoops(ByteKernel kernel)
{
    const ByteKernel runnable = std::min(kernel, widestByteKernel());
#if defined(__x86_64__)
    if (runnable == ByteKernel::Avx512)
        return kCompressingLoops;
    if (runnable == ByteKernel::Avx2)
        return avx2::kLoops;
    if (runnable == ByteKernel::Sse2)
        return sse2::kLoops;
#endif
    return scalar::kLoops;
}
