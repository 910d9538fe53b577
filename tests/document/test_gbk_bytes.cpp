// GBK bytes read without decoding: the validity scan against the codec, where characters
// start, and the fixed conversions on bytes against the same conversions on decoded text.
#include "document/DefineEscaping.h"
#include "document/GbkBytes.h"
#include "document/GbkToUtf8.h"
#include "platform/AnsiCodec.h"
#include "support/GbkSamples.h"

#include <gtest/gtest.h>

namespace {

const platform::AnsiCodec kCodec;

QByteArray randomBytes(std::mt19937 &random, int maxLength, int lowest)
{
    std::uniform_int_distribution<int> length(0, maxLength);
    std::uniform_int_distribution<int> byte(lowest, 255);
    QByteArray bytes;
    for (int n = length(random); n > 0; --n)
        bytes += static_cast<char>(byte(random));
    return bytes;
}

TEST(GbkBytes, ValidityAgreesWithTheCodecOnRandomBytes)
{
    std::mt19937 random(20240607);
    // Uniform bytes, then bytes from the top half only, where pairs and their failures crowd.
    for (const int lowest : {0, 0x30, 0x7E}) {
        for (int i = 0; i < 4000; ++i) {
            const QByteArray bytes = randomBytes(random, 24, lowest);
            ASSERT_EQ(firstInvalidGbkByte(bytes), kCodec.decodeChecked(bytes).firstInvalidByte)
                << bytes.toHex(' ').toStdString();
        }
    }
}

TEST(GbkBytes, ValidityAgreesWithTheCodecOnEveryPair)
{
    for (int lead = 0; lead < 256; ++lead) {
        for (int trail = 0; trail < 256; ++trail) {
            const QByteArray bytes = QByteArray("ab") + char(lead) + char(trail);
            ASSERT_EQ(firstInvalidGbkByte(bytes), kCodec.decodeChecked(bytes).firstInvalidByte)
                << bytes.toHex(' ').toStdString();
        }
    }
}

struct StartRow { const char *name; QByteArray text; qsizetype at; bool starts; };

const StartRow kStartRows[] = {
    {"AfterAscii", "at", 1, true},
    {"SecondByteOfAPair", "\x81t", 1, false},
    {"AfterAPairOfLeadBytes", "\x81\x81t", 2, true},
    {"AfterTheEuroSign", "\x80t", 1, true},
    {"AfterAPairEndingInALowByte", "\x81\x40\x81t", 3, false},
    {"AfterTheSingleByteFF", "\xFF\x81t", 2, false},
    {"AtTheStart", "t", 0, true},
};

class CharacterStarts : public ::testing::TestWithParam<StartRow> {};

TEST_P(CharacterStarts, CountsTheLeadBytesBefore)
{
    const StartRow &row = GetParam();
    EXPECT_EQ(gbkCharacterStartsAt(row.text.constData(), row.text.constData() + row.at), row.starts);
}
INSTANTIATE_TEST_SUITE_P(Gbk, CharacterStarts, ::testing::ValuesIn(kStartRows),
                         [](const auto &info) { return std::string(info.param.name); });

// What the conversions give on decoded text, encoded again.
QByteArray escapedByDecoding(const QByteArray &gbk)
{
    return kCodec.encode(EscapeDefineText(kCodec.decode(gbk), KeyWordRules{}).text);
}

QByteArray unescapedByDecoding(const QByteArray &gbk) { return kCodec.encode(UnescapeDefineText(kCodec.decode(gbk))); }
QByteArray unescapedInPlace(QByteArray gbk)
{
    unescapeDefineInPlace(gbk);
    return gbk;
}

struct ByteRow { const char *name; QByteArray readable; QByteArray stored; };

const ByteRow kByteRows[] = {
    {"QuoteAfterTypeIsRestored", "\xD6\xD0type=\"x\"", "\xD6\xD0type=\"x&quot;"},
    {"QuoteAfterAPairEndingInTIsNot", "\x81type=\"x\"", "\x81type=&quot;x&quot;"},
    {"QuoteAfterAPairEndingInCIsNot", "\x81" "condition=\"", "\x81" "condition=&quot;"},
    {"TagsAfterPairs", "\x81t<sql>\xD6\xD0</sql>", "\x81t<sql>\xD6\xD0</sql>"},
    {"CommentEnd", "\xD6\xD0-->", "\xD6\xD0-->"},
    {"EntitiesAfterSecondBytes", "\x81" "a&\x81l<", "\x81" "a&amp;\x81l&lt;"},
};

class FixedConversionsOnBytes : public ::testing::TestWithParam<ByteRow> {};

TEST_P(FixedConversionsOnBytes, GiveTheDecodedResult)
{
    const ByteRow &row = GetParam();
    EXPECT_EQ(escapeDefineGbk(row.readable), row.stored);
    EXPECT_EQ(escapeDefineGbk(row.readable), escapedByDecoding(row.readable));
    EXPECT_EQ(unescapedInPlace(row.stored), unescapedByDecoding(row.stored));
}
INSTANTIATE_TEST_SUITE_P(Gbk, FixedConversionsOnBytes, ::testing::ValuesIn(kByteRows),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(GbkBytes, FixedConversionsAgreeWithDecodingOnRandomTexts)
{
    GbkSamples samples(11);
    for (int i = 0; i < 3000; ++i) {
        const QByteArray text = samples.next();
        ASSERT_EQ(firstInvalidGbkByte(text), -1) << text.toHex(' ').toStdString();
        ASSERT_EQ(escapeDefineGbk(text), escapedByDecoding(text)) << text.toHex(' ').toStdString();
        ASSERT_EQ(unescapedInPlace(text), unescapedByDecoding(text)) << text.toHex(' ').toStdString();
    }
}

TEST(GbkBytes, UnescapingInPlaceLeavesSharedCopiesAlone)
{
    const QByteArray stored("a&lt;b");
    QByteArray copy = stored;
    unescapeDefineInPlace(copy);
    EXPECT_EQ(copy, QByteArray("a<b"));
    EXPECT_EQ(stored, QByteArray("a&lt;b"));
}

// Every character of the code page, alone and among others, and random define texts: straight
// to UTF-8 they are what the codec decodes.
TEST(GbkToUtf8, GivesWhatTheCodecDecodes)
{
    QByteArray every = "\x80 \xFF";
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            const char pair[] = {static_cast<char>(lead), static_cast<char>(trail)};
            every += QByteArray(pair, 2);
            if (trail % 16 == 0)
                every += "a\n";
        }
    }
    ASSERT_EQ(firstInvalidGbkByte(every), -1);
    GbkToUtf8 converter;
    QByteArray utf8 = "kept";
    ASSERT_TRUE(converter.append(every, utf8));
    EXPECT_EQ(utf8, "kept" + kCodec.decode(every).toUtf8());

    GbkSamples samples(20261207);
    for (int i = 0; i < 3000; ++i) {
        const QByteArray text = samples.next();
        utf8.clear();
        ASSERT_TRUE(converter.append(text, utf8));
        ASSERT_EQ(utf8, kCodec.decode(text).toUtf8()) << text.toHex().constData();
    }
}

// A lead byte without its second byte is not a character: refused, the output left as it was,
// and nothing of it carried into the next text (found by fuzzing: the codec's converter kept the
// lone lead byte and put it before the next character).
TEST(GbkToUtf8, RefusesWhatTheCodecCannotReadAndForgetsIt)
{
    GbkToUtf8 converter;
    const QByteArray valid("\x80\xFF\x81\x40\xFE\xFE");
    for (const QByteArray &bad : {QByteArray("ab\x81"), QByteArray("\x81 x"), QByteArray("\xD6\x7F")}) {
        QByteArray utf8 = "kept";
        EXPECT_FALSE(converter.append(bad, utf8)) << bad.toHex().constData();
        EXPECT_EQ(utf8, "kept");
        utf8.clear();
        EXPECT_TRUE(converter.append(valid, utf8)) << "after " << bad.toHex().constData();
        EXPECT_EQ(utf8, kCodec.decode(valid).toUtf8()) << "after " << bad.toHex().constData();
    }
}

} // namespace
