#include "link/des.h"

#include <cstring>

namespace {

constexpr int kIP[64] = {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
                         62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
                         57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
                         61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};
constexpr int kFP[64] = {40, 8, 48, 16, 56, 24, 64, 32, 39, 7, 47, 15, 55, 23, 63, 31,
                         38, 6, 46, 14, 54, 22, 62, 30, 37, 5, 45, 13, 53, 21, 61, 29,
                         36, 4, 44, 12, 52, 20, 60, 28, 35, 3, 43, 11, 51, 19, 59, 27,
                         34, 2, 42, 10, 50, 18, 58, 26, 33, 1, 41, 9,  49, 17, 57, 25};
constexpr int kE[48] = {32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11,
                        12, 13, 12, 13, 14, 15, 16, 17, 16, 17, 18, 19, 20, 21, 20, 21,
                        22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1};
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
// of an inBits-wide value.
std::uint64_t permute(std::uint64_t in, const int *table, int outBits, int inBits)
{
    std::uint64_t out = 0;
    for (int i = 0; i < outBits; ++i)
        out = (out << 1) | ((in >> (inBits - table[i])) & 1u);
    return out;
}

// A bit permutation of a 64- or 32-bit input as one lookup per input byte.
struct ByteTables {
    std::uint64_t t[8][256];
};

ByteTables makeByteTables(const int *table, int outBits, int inBits)
{
    ByteTables b{};
    const int bytes = inBits / 8;
    for (int byte = 0; byte < bytes; ++byte) {
        for (int v = 0; v < 256; ++v) {
            const std::uint64_t in = static_cast<std::uint64_t>(v) << (inBits - 8 * (byte + 1));
            b.t[byte][v] = permute(in, table, outBits, inBits);
        }
    }
    return b;
}

struct Tables {
    ByteTables ip = makeByteTables(kIP, 64, 64);
    ByteTables fp = makeByteTables(kFP, 64, 64);
    ByteTables e = makeByteTables(kE, 48, 32);
    std::uint32_t sp[8][64]{}; // S-box j, then P, for each 6-bit input

    Tables()
    {
        for (int j = 0; j < 8; ++j) {
            for (int v = 0; v < 64; ++v) {
                const int row = ((v >> 4) & 2) | (v & 1);
                const int col = (v >> 1) & 0xF;
                const std::uint64_t s = static_cast<std::uint64_t>(kS[j][row * 16 + col]) << (28 - 4 * j);
                sp[j][v] = static_cast<std::uint32_t>(permute(s, kP, 32, 32));
            }
        }
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

std::uint64_t lookup64(const ByteTables &b, std::uint64_t x)
{
    return b.t[0][x >> 56] | b.t[1][(x >> 48) & 0xFF] | b.t[2][(x >> 40) & 0xFF] | b.t[3][(x >> 32) & 0xFF] |
           b.t[4][(x >> 24) & 0xFF] | b.t[5][(x >> 16) & 0xFF] | b.t[6][(x >> 8) & 0xFF] | b.t[7][x & 0xFF];
}

std::uint32_t feistel(const Tables &t, std::uint32_t r, std::uint64_t roundKey)
{
    const std::uint64_t x = (t.e.t[0][r >> 24] | t.e.t[1][(r >> 16) & 0xFF] | t.e.t[2][(r >> 8) & 0xFF] |
                             t.e.t[3][r & 0xFF]) ^ roundKey;
    return t.sp[0][(x >> 42) & 0x3F] | t.sp[1][(x >> 36) & 0x3F] | t.sp[2][(x >> 30) & 0x3F] |
           t.sp[3][(x >> 24) & 0x3F] | t.sp[4][(x >> 18) & 0x3F] | t.sp[5][(x >> 12) & 0x3F] |
           t.sp[6][(x >> 6) & 0x3F] | t.sp[7][x & 0x3F];
}

std::uint64_t loadBlock(const char *p, qsizetype available)
{
    std::uint64_t block = 0;
    for (int i = 0; i < 8; ++i)
        block = (block << 8) | (i < available ? static_cast<unsigned char>(p[i]) : 0u);
    return block;
}

void storeBlock(char *p, std::uint64_t block)
{
    for (int i = 7; i >= 0; --i) {
        p[i] = static_cast<char>(block & 0xFF);
        block >>= 8;
    }
}

std::uint32_t rotate28(std::uint32_t v, int n) { return ((v << n) | (v >> (28 - n))) & 0x0FFFFFFF; }

} // namespace

des::des()
{
    tables(); // built once, when the first object is created
    m_keys[0] = schedule(0);
    m_keys[1] = m_keys[0];
}

des::RoundKeys des::schedule(std::uint64_t key)
{
    RoundKeys keys{};
    const std::uint64_t cd = permute(key, kPC1, 56, 64);
    std::uint32_t c = static_cast<std::uint32_t>(cd >> 28) & 0x0FFFFFFF;
    std::uint32_t d = static_cast<std::uint32_t>(cd) & 0x0FFFFFFF;
    for (int round = 0; round < 16; ++round) {
        c = rotate28(c, kShifts[round]);
        d = rotate28(d, kShifts[round]);
        keys[round] = permute((static_cast<std::uint64_t>(c) << 28) | d, kPC2, 48, 56);
    }
    return keys;
}

void des::SetKey(const QByteArray &key)
{
    QByteArray k = key.left(16);
    k.append(QByteArray(16 - k.size(), '\0'));
    m_keys[0] = schedule(loadBlock(k.constData(), 8));
    m_keys[1] = schedule(loadBlock(k.constData() + 8, 8));
}

std::uint64_t des::processBlock(std::uint64_t block, int keyHalf, bool encipher) const
{
    const Tables &t = tables();
    const RoundKeys &keys = m_keys[keyHalf == 2 ? 1 : 0];
    const std::uint64_t x = lookup64(t.ip, block);
    std::uint32_t l = static_cast<std::uint32_t>(x >> 32);
    std::uint32_t r = static_cast<std::uint32_t>(x);
    for (int round = 0; round < 16; ++round) {
        const std::uint64_t k = keys[encipher ? round : 15 - round];
        const std::uint32_t next = l ^ feistel(t, r, k);
        l = r;
        r = next;
    }
    return lookup64(t.fp, (static_cast<std::uint64_t>(r) << 32) | l);
}

bool des::EncryptDes_ArrToArr(const QByteArray &input, QByteArray &output, int &keyHalf, int direction) const
{
    if (keyHalf != 2)
        keyHalf = 1;
    if (input.isEmpty())
        return false;
    const qsizetype n = (input.size() + 7) / 8 * 8;
    QByteArray out(n, Qt::Uninitialized);
    const bool encipher = direction == 1;
    for (qsizetype offset = 0; offset < n; offset += 8) {
        const std::uint64_t block = loadBlock(input.constData() + offset, input.size() - offset);
        storeBlock(out.data() + offset, processBlock(block, keyHalf, encipher));
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
