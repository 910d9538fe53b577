#include "link/RequestToken.h"
#include "link/des.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

QByteArray hex(const char *h) { return QByteArray::fromHex(h); }

struct Vector {
    const char *key;
    const char *plain;
    const char *cipher;
};

class KnownAnswers : public ::testing::TestWithParam<Vector> {};

TEST_P(KnownAnswers, EncipherAndDecipherOneBlock)
{
    des cipher;
    cipher.SetKey(hex(GetParam().key));
    QByteArray out;
    int half = 1;
    ASSERT_TRUE(cipher.EncryptDes_ArrToArr(hex(GetParam().plain), out, half, 1));
    EXPECT_EQ(out.toHex().toUpper(), QByteArray(GetParam().cipher));
    QByteArray back;
    ASSERT_TRUE(cipher.EncryptDes_ArrToArr(out, back, half, 0));
    EXPECT_EQ(back, hex(GetParam().plain));
}

// FIPS 81 / NIST SP 800-17 known answers and the classic textbook vector.
INSTANTIATE_TEST_SUITE_P(
    Fips, KnownAnswers,
    ::testing::Values(Vector{"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
                      Vector{"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
                      Vector{"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
                      Vector{"0101010101010101", "0000000000000001", "166B40B44ABA4BD6"},
                      Vector{"8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
                      Vector{"7CA110454A1A6E57", "01A1D6D039776742", "690F5B0D9A26939B"},
                      Vector{"0131D9619DC1376E", "5CD54CA83DEF57DA", "7A389D10354BD271"}));

TEST(Des, KeyHalvesPaddingAndSelectors)
{
    des cipher;
    cipher.SetKey(hex("0123456789ABCDEF"));
    QByteArray nine, out;
    int half = 0;
    ASSERT_TRUE(cipher.EncryptDes_ArrToArr(QByteArray("123456789"), out, half, 1));
    EXPECT_EQ(half, 1) << "a selector other than 2 becomes 1";
    EXPECT_EQ(out.size(), 16);
    QByteArray ninth;
    ASSERT_TRUE(cipher.EncryptDes_ArrToArr(QByteArray("9\0\0\0\0\0\0\0", 8), ninth, half, 1));
    EXPECT_EQ(out.mid(8), ninth) << "the last block is the ninth byte and seven zero bytes";

    int three = 3;
    ASSERT_TRUE(cipher.EncryptDes_ArrToArr(QByteArray(8, 'x'), out, three, 1));
    EXPECT_EQ(three, 1);

    // An 8-byte key leaves key half 2 as the schedule of the all-zero key.
    des zero;
    zero.SetKey(QByteArray(8, '\0'));
    QByteArray fromHalf2, fromZero;
    int two = 2, one = 1;
    ASSERT_TRUE(cipher.EncryptDes_ArrToArr(QByteArray("block!!!"), fromHalf2, two, 1));
    ASSERT_TRUE(zero.EncryptDes_ArrToArr(QByteArray("block!!!"), fromZero, one, 1));
    EXPECT_EQ(fromHalf2, fromZero);
    EXPECT_EQ(two, 2);

    QByteArray untouched("keep");
    EXPECT_FALSE(cipher.EncryptDes_ArrToArr(QByteArray(), untouched, one, 1));
    EXPECT_EQ(untouched, QByteArray("keep"));
}

TEST(Des, RoundTripsOfLongInputsInBothHalvesAndTripleDes)
{
    des cipher;
    cipher.SetKey(hex("0123456789ABCDEFFEDCBA9876543210"));
    QRandomGenerator rng(46);
    QByteArray plain(40000 + 5, Qt::Uninitialized); // well past the old 32,760-byte limit
    for (char &c : plain)
        c = static_cast<char>(rng.bounded(256));
    QByteArray padded = plain + QByteArray(3, '\0');
    for (int half : {1, 2}) {
        QByteArray enc, dec;
        int h = half;
        ASSERT_TRUE(cipher.EncryptDes_ArrToArr(plain, enc, h, 1));
        ASSERT_TRUE(cipher.EncryptDes_ArrToArr(enc, dec, h, 0));
        EXPECT_EQ(dec, padded);
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
    same.EncryptDes_ArrToArr(QByteArray("abcdefgh"), single, one, 1);
    same.Encrypt3Des_ArrToArr(QByteArray("abcdefgh"), triple, 1);
    EXPECT_EQ(single, triple);
}

TEST(RequestToken, LengthsFollowThePlainText)
{
    const QDateTime t(QDate(2026, 12, 6), QTime(21, 5, 9));
    EXPECT_EQ(makeRequestToken(QString(), QString(), QString(), t).size(), 32);
    EXPECT_EQ(makeRequestToken(QString(), "u1", "s1", t).size(), 48);
    EXPECT_EQ(makeRequestToken("12345678", {}, {}, t).size(), 16);
    EXPECT_EQ(makeRequestToken("123456789", {}, {}, t).size(), 32);
    // The plain text is user:session:time on the 24-hour clock.
    EXPECT_EQ(makeRequestToken(QString(), "u1", "s1", t), *encipherToHex("u1:s1:20261206210509"));
    const QString token = makeRequestToken(QString(), "u1", "s1", t);
    EXPECT_EQ(token, token.toUpper());
}

TEST(RequestToken, ChineseEnciphersAsItsGbkBytes)
{
    const QByteArray gbk("\xD6\xD0\xCE\xC4", 4); // 中文
    EXPECT_EQ(makeRequestToken(QStringLiteral("中文"), {}, {}, {}), *encipherToHex(gbk));
    EXPECT_EQ(*encipherToHex("12345678"), QStringLiteral("7F8CAC69912E927F"));
}
} // namespace
