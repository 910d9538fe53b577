#include "platform/AnsiCodec.h"

#include <gtest/gtest.h>

namespace {

struct DecodeRow { const char *name; QByteArray bytes; qsizetype firstInvalid; };

const DecodeRow kRows[] = {
    {"PlainAscii", QByteArray("select 1"), -1},
    {"ChineseCharacters", QByteArray("\xD6\xD0\xCE\xC4"), -1},
    {"EuroSignOfTheCodePage", QByteArray("\x80"), -1},
    {"LeadByteAtTheVeryEnd", QByteArray("ab\x81"), 2},
    {"LeadByteBeforeASpace", QByteArray("a\x81 z"), 1},
    {"LeadByteBeforeDelete", QByteArray("\xD6\xD0\x81\x7F"), 2},
    {"EmptyFile", QByteArray(), -1},
};

class Decode : public ::testing::TestWithParam<DecodeRow> {};

TEST_P(Decode, FindsTheFirstByteThatWouldNotComeBack)
{
    const platform::AnsiCodec codec;
    const DecodeRow &row = GetParam();
    const platform::AnsiCodec::Decoded decoded = codec.decodeChecked(row.bytes);
    EXPECT_EQ(decoded.firstInvalidByte, row.firstInvalid);
    if (row.firstInvalid < 0) {
        EXPECT_EQ(codec.encode(decoded.text), row.bytes) << "valid bytes come back unchanged";
    }
}
INSTANTIATE_TEST_SUITE_P(Gbk, Decode, ::testing::ValuesIn(kRows),
                         [](const auto &info) { return std::string(info.param.name); });
} // namespace
