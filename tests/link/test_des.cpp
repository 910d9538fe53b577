#include "link/RequestToken.h"
#include "link/des.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <random>

namespace {

QByteArray hex(const char *h) { return QByteArray::fromHex(h); }

struct Vector { const char *name, *key, *plain, *cipher; };

// FIPS 81 / NIST SP 800-17 known answers and the classic textbook vector.
const Vector kVectors[] = {
    {"NowIsTheTime", "0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
    {"Textbook", "133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
    {"FirstPlainBit", "0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
    {"LastPlainBit", "0101010101010101", "0000000000000001", "166B40B44ABA4BD6"},
    {"FirstKeyBit", "8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
    {"SubstitutionTables1", "7CA110454A1A6E57", "01A1D6D039776742", "690F5B0D9A26939B"},
    {"SubstitutionTables2", "0131D9619DC1376E", "5CD54CA83DEF57DA", "7A389D10354BD271"},
};

class KnownAnswers : public ::testing::TestWithParam<Vector> {};

TEST_P(KnownAnswers, EncipherAndDecipherOneBlock)
{
    des cipher;
    cipher.SetKey(hex(GetParam().key));
    QByteArray out, back;
    int half = 1;
    ASSERT_TRUE(cipher.EncryptDes_ArrToArr(hex(GetParam().plain), out, half, 1));
    EXPECT_EQ(out.toHex().toUpper(), QByteArray(GetParam().cipher));
    ASSERT_TRUE(cipher.EncryptDes_ArrToArr(out, back, half, 0));
    EXPECT_EQ(back, hex(GetParam().plain));
}

INSTANTIATE_TEST_SUITE_P(Fips, KnownAnswers, ::testing::ValuesIn(kVectors),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Des, PaddingSelectorsKeyHalvesAndEmptyInput)
{
    des cipher;
    cipher.SetKey(hex("0123456789ABCDEF"));
    QByteArray nine, ninth, ignored;
    int zero = 0, three = 3;
    ASSERT_TRUE(cipher.EncryptDes_ArrToArr(QByteArray("123456789"), nine, zero, 1));
    ASSERT_TRUE(cipher.EncryptDes_ArrToArr(QByteArray("9") + QByteArray(7, '\0'), ninth, three, 1));
    EXPECT_EQ(nine.mid(8), ninth) << "the last block is the ninth byte and seven zero bytes";
    EXPECT_EQ(zero, 1) << "a selector other than 2 becomes 1";
    EXPECT_EQ(three, 1);

    // An 8-byte key leaves key half 2 as the schedule of the all-zero key.
    des zeroKey;
    zeroKey.SetKey(QByteArray(8, '\0'));
    QByteArray fromHalf2, fromZero;
    int two = 2, one = 1;
    ASSERT_TRUE(cipher.EncryptDes_ArrToArr(QByteArray("block!!!"), fromHalf2, two, 1));
    ASSERT_TRUE(zeroKey.EncryptDes_ArrToArr(QByteArray("block!!!"), fromZero, one, 1));
    EXPECT_EQ(fromHalf2, fromZero);
    EXPECT_EQ(two, 2);

    QByteArray untouched("keep");
    EXPECT_FALSE(cipher.EncryptDes_ArrToArr(QByteArray(), untouched, one, 1));
    EXPECT_EQ(untouched, QByteArray("keep"));
}

TEST(Des, LongInputsRoundTripInBothHalvesAndTripleDes)
{
    des cipher;
    cipher.SetKey(hex("0123456789ABCDEFFEDCBA9876543210"));
    QRandomGenerator rng(46);
    QByteArray plain(40000 + 5, Qt::Uninitialized); // well past the old 32,760-byte limit
    for (char &c : plain)
        c = static_cast<char>(rng.bounded(256));
    const QByteArray padded = plain + QByteArray(3, '\0');
    for (int half : {1, 2}) {
        QByteArray enc, dec;
        ASSERT_TRUE(cipher.EncryptDes_ArrToArr(plain, enc, half, 1));
        ASSERT_TRUE(cipher.EncryptDes_ArrToArr(enc, dec, half, 0));
        EXPECT_EQ(dec, padded) << half;
    }
    QByteArray enc3, dec3;
    ASSERT_TRUE(cipher.Encrypt3Des_ArrToArr(plain, enc3, 1));
    ASSERT_TRUE(cipher.Encrypt3Des_ArrToArr(enc3, dec3, 0));
    EXPECT_EQ(dec3, padded);

    // Two-key triple DES with equal halves is single DES.
    des same;
    same.SetKey(hex("0123456789ABCDEF0123456789ABCDEF"));
    QByteArray single, triple;
    int one = 1;
    ASSERT_TRUE(same.EncryptDes_ArrToArr(QByteArray("abcdefgh"), single, one, 1));
    ASSERT_TRUE(same.Encrypt3Des_ArrToArr(QByteArray("abcdefgh"), triple, 1));
    EXPECT_EQ(single, triple);
}

QByteArray randomBytes(std::mt19937 &rng, qsizetype n)
{
    QByteArray b(n, Qt::Uninitialized);
    for (char &c : b)
        c = static_cast<char>(rng() & 0xFF);
    return b;
}

// Random keys and inputs of one to six blocks, enciphered and deciphered with each key half and
// with triple DES: the digest of every output, recorded from the bit-by-bit implementation this
// one replaced (permutations by table, one bit at a time).
TEST(Des, RandomKeysAndBlocksMatchTheRecordedOutputs)
{
    std::mt19937 rng(46031);
    QCryptographicHash digest(QCryptographicHash::Sha256);
    for (int i = 0; i < 4000; ++i) {
        des cipher;
        cipher.SetKey(randomBytes(rng, 16));
        const qsizetype length = 1 + rng() % 48;
        const QByteArray data = randomBytes(rng, length);
        for (const int direction : {1, 0}) {
            for (int half : {1, 2}) {
                QByteArray out;
                ASSERT_TRUE(cipher.EncryptDes_ArrToArr(data, out, half, direction));
                digest.addData(out);
            }
            QByteArray out;
            ASSERT_TRUE(cipher.Encrypt3Des_ArrToArr(data, out, direction));
            digest.addData(out);
        }
    }
    EXPECT_EQ(digest.result().toHex(), QByteArray("0f3b12a2d5f5291e1c47a6847e5fa8ee9ba86b17dae175f69116c6bb6c1d1d06"));
}

TEST(RequestToken, PlainTextIsTheGivenTextOrUserSessionAndTime)
{
    const QDateTime t(QDate(2026, 12, 6), QTime(21, 5, 9));
    EXPECT_EQ(requestTokenAt({}, "u1", "s1", t), *encipherToHex("u1:s1:20261206210509")) << "24-hour clock";
    EXPECT_EQ(requestTokenAt({}, {}, {}, t), *encipherToHex("::20261206210509"));
    // A known answer under the token key: one block, upper-case hex; a given text wins.
    EXPECT_EQ(requestTokenAt("12345678", "u1", "s1", t), QStringLiteral("7F8CAC69912E927F"));
    EXPECT_EQ(requestTokenAt("123456789", {}, {}, t).size(), 32) << "a ninth byte pads a second block";
    EXPECT_EQ(requestTokenAt(QStringLiteral("中文"), {}, {}, t), *encipherToHex(QByteArray("\xD6\xD0\xCE\xC4")))
        << "Chinese enciphers as its GBK bytes";
    EXPECT_FALSE(encipherToHex(QByteArray()).has_value());
}
} // namespace
