#include "link/des.h"

#include <QtEndian>
#include <bit>

namespace {

constexpr int kP[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                        2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};
constexpr int kPC1[56] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18, 10, 2,  59, 51, 43,
                          35, 27, 19, 11, 3,  60, 52, 44, 36, 63, 55, 47, 39, 31, 23, 15, 7,  62, 54,
                          46, 38, 30, 22, 14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};
constexpr int kPC2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
                          26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
                          51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};
constexpr int kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};
constexpr std::uint8_t kS[8][64] = {
    {14, 4, 13, 1, 2, 15, 11, 8, 3, 10, 6, 12, 5, 9, 0, 7, 0, 15, 7, 4, 14, 2, 13, 1, 10, 6, 12, 11, 9, 5, 3, 8,
     4, 1, 14, 8, 13, 6, 2, 11, 15, 12, 9, 7, 3, 10, 5, 0, 15, 12, 8, 2, 4, 9, 1, 7, 5, 11, 3, 14, 10, 0, 6, 13},
    {15, 1, 8, 14, 6, 11, 3, 4, 9, 7, 2, 13, 12, 0, 5, 10, 3, 13, 4, 7, 15, 2, 8, 14, 12, 0, 1, 10, 6, 9, 11, 5,
     0, 14, 7, 11, 10, 4, 13, 1, 5, 8, 12, 6, 9, 3, 2, 15, 13, 8, 10, 1, 3, 15, 4, 2, 11, 6, 7, 12, 0, 5, 14, 9},
    {10, 0, 9, 14, 6, 3, 15, 5, 1, 13, 12, 7, 11, 4, 2, 8, 13, 7, 0, 9, 3, 4, 6, 10, 2, 8, 5, 14, 12, 11, 15, 1,
     13, 6, 4, 9, 8, 15, 3, 0, 11, 1, 2, 12, 5, 10, 14, 7, 1, 10, 13, 0, 6, 9, 8, 7, 4, 15, 14, 3, 11, 5, 2, 12},
    {7, 13, 14, 3, 0, 6, 9, 10, 1, 2, 8, 5, 11, 12, 4, 15, 13, 8, 11, 5, 6, 15, 0, 3, 4, 7, 2, 12, 1, 10, 14, 9,
     10, 6, 9, 0, 12, 11, 7, 13, 15, 1, 3, 14, 5, 2, 8, 4, 3, 15, 0, 6, 10, 1, 13, 8, 9, 4, 5, 11, 12, 7, 2, 14},
    {2, 12, 4, 1, 7, 10, 11, 6, 8, 5, 3, 15, 13, 0, 14, 9, 14, 11, 2, 12, 4, 7, 13, 1, 5, 0, 15, 10, 3, 9, 8, 6,
     4, 2, 1, 11, 10, 13, 7, 8, 15, 9, 12, 5, 6, 3, 0, 14, 11, 8, 12, 7, 1, 14, 2, 13, 6, 15, 0, 9, 10, 4, 5, 3},
    {12, 1, 10, 15, 9, 2, 6, 8, 0, 13, 3, 4, 14, 7, 5, 11, 10, 15, 4, 2, 7, 12, 9, 5, 6, 1, 13, 14, 0, 11, 3, 8,
     9, 14, 15, 5, 2, 8, 12, 3, 7, 0, 4, 10, 1, 13, 11, 6, 4, 3, 2, 12, 9, 5, 15, 10, 11, 14, 1, 7, 6, 0, 8, 13},
    {4, 11, 2, 14, 15, 0, 8, 13, 3, 12, 9, 7, 5, 10, 6, 1, 13, 0, 11, 7, 4, 9, 1, 10, 14, 3, 5, 12, 2, 15, 8, 6,
     1, 4, 11, 13, 12, 3, 7, 14, 10, 15, 6, 8, 0, 5, 9, 2, 6, 11, 13, 8, 1, 4, 10, 7, 9, 5, 0, 15, 14, 2, 3, 12},
    {13, 2, 8, 4, 6, 15, 11, 1, 10, 9, 3, 14, 5, 0, 12, 7, 1, 15, 13, 8, 10, 3, 7, 4, 12, 5, 6, 11, 0, 14, 9, 2,
     7, 11, 4, 1, 9, 12, 14, 2, 0, 6, 10, 13, 15, 3, 5, 8, 2, 1, 14, 7, 4, 10, 8, 13, 15, 12, 9, 0, 3, 5, 6, 11},
};

// Output bit i (1-based, most significant first, of an outBits-wide value) is input bit table[i-1]
// of an inBits-wide value. Only the key schedule and the tables use it.
constexpr std::uint64_t permute(std::uint64_t in, const int *table, int outBits, int inBits)
{
    std::uint64_t out = 0;
    for (int i = 0; i < outBits; ++i)
        out = (out << 1) | ((in >> (inBits - table[i])) & 1u);
    return out;
}

// The rounds work on both halves rotated left by one bit. Then the expansion's eight 6-bit
// groups lie whole in two words: groups 2, 4, 6, 8 at bytes of the half itself, and groups 1,
// 3, 5, 7 at bytes of it rotated right by four. Each table holds S-box j then P for a group's
// value, rotated the same way, so no expansion or permutation is left in the round.
struct SpTables {
    std::uint32_t sp[8][64]{};
    constexpr SpTables()
    {
        for (int j = 0; j < 8; ++j) {
            for (int v = 0; v < 64; ++v) {
                const int row = ((v >> 4) & 2) | (v & 1);
                const int col = (v >> 1) & 0xF;
                const std::uint64_t s = static_cast<std::uint64_t>(kS[j][row * 16 + col]) << (28 - 4 * j);
                sp[j][v] = std::rotl(static_cast<std::uint32_t>(permute(s, kP, 32, 32)), 1);
            }
        }
    }
};
constexpr SpTables kSp;

// Swaps the bits of a selected by mask, shifted by n, with those of b selected by mask.
inline void swapBits(std::uint32_t &a, std::uint32_t &b, int n, std::uint32_t mask)
{
    const std::uint32_t t = ((a >> n) ^ b) & mask;
    b ^= t;
    a ^= t << n;
}

// The initial permutation in five exchanges of bit groups, leaving both halves rotated left by one.
inline void initialPermutation(std::uint32_t &l, std::uint32_t &r)
{
    swapBits(l, r, 4, 0x0f0f0f0fu);
    swapBits(l, r, 16, 0x0000ffffu);
    swapBits(r, l, 2, 0x33333333u);
    swapBits(r, l, 8, 0x00ff00ffu);
    r = std::rotl(r, 1);
    const std::uint32_t t = (l ^ r) & 0xaaaaaaaau;
    l ^= t;
    r ^= t;
    l = std::rotl(l, 1);
}

// Its inverse: the same exchanges backwards.
inline void finalPermutation(std::uint32_t &l, std::uint32_t &r)
{
    l = std::rotr(l, 1);
    const std::uint32_t t = (l ^ r) & 0xaaaaaaaau;
    l ^= t;
    r ^= t;
    r = std::rotr(r, 1);
    swapBits(r, l, 8, 0x00ff00ffu);
    swapBits(r, l, 2, 0x33333333u);
    swapBits(l, r, 16, 0x0000ffffu);
    swapBits(l, r, 4, 0x0f0f0f0fu);
}

inline std::uint32_t feistel(std::uint32_t r, const std::uint32_t *k)
{
    const std::uint32_t odd = std::rotr(r, 4) ^ k[0];
    const std::uint32_t even = r ^ k[1];
    return kSp.sp[0][(odd >> 24) & 0x3f] | kSp.sp[2][(odd >> 16) & 0x3f] | kSp.sp[4][(odd >> 8) & 0x3f] |
           kSp.sp[6][odd & 0x3f] | kSp.sp[1][(even >> 24) & 0x3f] | kSp.sp[3][(even >> 16) & 0x3f] |
           kSp.sp[5][(even >> 8) & 0x3f] | kSp.sp[7][even & 0x3f];
}

inline std::uint64_t cipherBlock(std::uint64_t block, const std::uint32_t *k)
{
    std::uint32_t l = static_cast<std::uint32_t>(block >> 32);
    std::uint32_t r = static_cast<std::uint32_t>(block);
    initialPermutation(l, r);
#pragma GCC unroll 8
    for (int round = 0; round < 16; round += 2) {
        l ^= feistel(r, k + 2 * round);
        r ^= feistel(l, k + 2 * round + 2);
    }
    // The last round does not swap the halves.
    finalPermutation(r, l);
    return (static_cast<std::uint64_t>(r) << 32) | l;
}

// Two blocks at once: their rounds do not depend on each other, so the processor overlaps them.
inline void cipherTwoBlocks(std::uint64_t &a, std::uint64_t &b, const std::uint32_t *k)
{
    std::uint32_t la = static_cast<std::uint32_t>(a >> 32), ra = static_cast<std::uint32_t>(a);
    std::uint32_t lb = static_cast<std::uint32_t>(b >> 32), rb = static_cast<std::uint32_t>(b);
    initialPermutation(la, ra);
    initialPermutation(lb, rb);
#pragma GCC unroll 8
    for (int round = 0; round < 16; round += 2) {
        la ^= feistel(ra, k + 2 * round);
        lb ^= feistel(rb, k + 2 * round);
        ra ^= feistel(la, k + 2 * round + 2);
        rb ^= feistel(lb, k + 2 * round + 2);
    }
    finalPermutation(ra, la);
    finalPermutation(rb, lb);
    a = (static_cast<std::uint64_t>(ra) << 32) | la;
    b = (static_cast<std::uint64_t>(rb) << 32) | lb;
}

std::uint32_t rotate28(std::uint32_t v, int n) { return ((v << n) | (v >> (28 - n))) & 0x0FFFFFFF; }

} // namespace

des::des()
{
    setHalf(0, 0);
    setHalf(1, 0);
}

void des::setHalf(int index, std::uint64_t key)
{
    RoundKeys &encipher = m_keys[2 * index];
    RoundKeys &decipher = m_keys[2 * index + 1];
    const std::uint64_t cd = permute(key, kPC1, 56, 64);
    std::uint32_t c = static_cast<std::uint32_t>(cd >> 28) & 0x0FFFFFFF;
    std::uint32_t d = static_cast<std::uint32_t>(cd) & 0x0FFFFFFF;
    for (int round = 0; round < 16; ++round) {
        c = rotate28(c, kShifts[round]);
        d = rotate28(d, kShifts[round]);
        const std::uint64_t k = permute((static_cast<std::uint64_t>(c) << 28) | d, kPC2, 48, 56);
        const auto piece = [k](int group) { return static_cast<std::uint32_t>((k >> (42 - 6 * group)) & 0x3f); };
        const std::uint32_t odd = piece(0) << 24 | piece(2) << 16 | piece(4) << 8 | piece(6);
        const std::uint32_t even = piece(1) << 24 | piece(3) << 16 | piece(5) << 8 | piece(7);
        encipher[2 * round] = odd;
        encipher[2 * round + 1] = even;
        decipher[30 - 2 * round] = odd;
        decipher[31 - 2 * round] = even;
    }
}

void des::SetKey(const QByteArray &key)
{
    QByteArray k = key.left(16);
    k.append(QByteArray(16 - k.size(), '\0'));
    setHalf(0, qFromBigEndian<std::uint64_t>(k.constData()));
    setHalf(1, qFromBigEndian<std::uint64_t>(k.constData() + 8));
}

std::uint64_t des::processBlock(std::uint64_t block, int keyHalf, bool encipher) const
{
    return cipherBlock(block, keys(keyHalf, encipher).data());
}

bool des::EncryptDes_ArrToArr(const QByteArray &input, QByteArray &output, int &keyHalf, int direction) const
{
    if (keyHalf != 2)
        keyHalf = 1;
    if (input.isEmpty())
        return false;
    const qsizetype whole = input.size() / 8 * 8;
    QByteArray out((input.size() + 7) / 8 * 8, Qt::Uninitialized);
    const std::uint32_t *k = keys(keyHalf, direction == 1).data();
    const char *from = input.constData();
    char *to = out.data();
    qsizetype offset = 0;
    for (; offset + 16 <= whole; offset += 16) {
        std::uint64_t a = qFromBigEndian<std::uint64_t>(from + offset);
        std::uint64_t b = qFromBigEndian<std::uint64_t>(from + offset + 8);
        cipherTwoBlocks(a, b, k);
        qToBigEndian(a, to + offset);
        qToBigEndian(b, to + offset + 8);
    }
    for (; offset < whole; offset += 8)
        qToBigEndian(cipherBlock(qFromBigEndian<std::uint64_t>(from + offset), k), to + offset);
    if (whole < input.size()) {
        char last[8] = {};
        std::copy(from + whole, from + input.size(), last);
        qToBigEndian(cipherBlock(qFromBigEndian<std::uint64_t>(last), k), to + whole);
    }
    output = out;
    return true;
}

bool des::Encrypt3Des_ArrToArr(const QByteArray &input, QByteArray &output, int direction) const
{
    const bool forward = direction == 1;
    int first = 1;
    int second = 2;
    QByteArray stage1, stage2, stage3;
    if (!EncryptDes_ArrToArr(input, stage1, first, forward ? 1 : 0) ||
        !EncryptDes_ArrToArr(stage1, stage2, second, forward ? 0 : 1) ||
        !EncryptDes_ArrToArr(stage2, stage3, first, forward ? 1 : 0))
        return false;
    output = stage3;
    return true;
}
