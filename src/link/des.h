#pragma once
// DES (FIPS 46-3) in ECB mode with zero padding, and two-key triple DES built on it.
// Bit 1 of a block is the most significant bit of its first byte.

#include <QByteArray>
#include <array>
#include <cstdint>

class des {
public:
    des();

    // Cuts or zero-extends the key to 16 bytes: bytes 0-7 give key half 1, bytes 8-15 key half 2.
    void SetKey(const QByteArray &key);

    // Single DES over the zero-padded input. A selector other than 2 becomes 1 (and is written
    // back); direction 1 enciphers, anything else deciphers. False (output untouched) for an
    // empty input.
    bool EncryptDes_ArrToArr(const QByteArray &input, QByteArray &output, int &keyHalf, int direction) const;
    // Two-key triple DES: E1 D2 E1 for direction 1, D1 E2 D1 otherwise.
    bool Encrypt3Des_ArrToArr(const QByteArray &input, QByteArray &output, int direction) const;

    std::uint64_t processBlock(std::uint64_t block, int keyHalf, bool encipher) const;

private:
    // The sixteen round keys in the order one direction uses them, each as two words: the 6-bit
    // pieces for S-boxes 1, 3, 5, 7 and those for 2, 4, 6, 8, one piece per byte.
    using RoundKeys = std::array<std::uint32_t, 32>;
    const RoundKeys &keys(int keyHalf, bool encipher) const
    {
        return m_keys[(keyHalf == 2 ? 2 : 0) + (encipher ? 0 : 1)];
    }
    void setHalf(int index, std::uint64_t key);

    // Key half 1 enciphering, deciphering; key half 2 enciphering, deciphering.
    std::array<RoundKeys, 4> m_keys{};
};
