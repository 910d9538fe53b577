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
    using RoundKeys = std::array<std::uint64_t, 16>; // 48 bits each
    static RoundKeys schedule(std::uint64_t key);
    std::array<RoundKeys, 2> m_keys{};
};
