// The style primitives and built-in set-ups on the real component, read back through its messages.

#include "support/EditorHost.h"

#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

class StylesTest : public ::testing::Test {
protected:
    long get(unsigned int message, int style) { return host.style(message, style); }
    QByteArray font(int style) { return host.font(style); }
    EditorHost host;
};

TEST_F(StylesTest, StyleClearAllLeavesBlackCourierOnWhite)
{
    host.sci().SetStyleFore(5, 0x123456);
    host.sci().SetStyleBold(40, true);
    host.sci().SetStyleFont(90, QStringLiteral("DejaVu Serif"));
    host.sci().StyleClearAll();
    for (int s = 0; s < 128; ++s) {
        SCOPED_TRACE(s);
        // The component gives line numbers and call tips its own colours when it clears.
        if (s != 33 && s != 38) {
            EXPECT_EQ(get(Sci::SCI_STYLEGETFORE, s), 0);
            EXPECT_EQ(get(Sci::SCI_STYLEGETBACK, s), 0xFFFFFF);
        }
        EXPECT_EQ(get(Sci::SCI_STYLEGETBOLD, s), 0);
        EXPECT_EQ(get(Sci::SCI_STYLEGETITALIC, s), 0);
        EXPECT_EQ(get(Sci::SCI_STYLEGETUNDERLINE, s), 0);
        EXPECT_EQ(get(Sci::SCI_STYLEGETSIZE, s), 10);
        EXPECT_EQ(font(s), QByteArray("Courier New"));
    }
    EXPECT_EQ(host.widget().SendScintilla(Sci::SCI_GETLEXER), Sci::SCLEX_SQL);
}

TEST_F(StylesTest, SetFixedFontChangesFaceAndSizeOnly)
{
    host.sci().SetStyleFore(7, 0x00FF00);
    host.sci().SetFixedFont(QStringLiteral("DejaVu Sans Mono"), 12);
    for (const int s : {0, 7, 32, 127}) {
        EXPECT_EQ(font(s), QByteArray("DejaVu Sans Mono"));
        EXPECT_EQ(get(Sci::SCI_STYLEGETSIZE, s), 12);
    }
    EXPECT_EQ(get(Sci::SCI_STYLEGETFORE, 7), 0x00FF00);
}

struct SetupRow {
    const char *name;
    int highlighter;
    int style;
    long fore;
    long back;
    const char *font;
    long size;
    bool bold;
    bool italic;
};

class BuiltInSetups : public StylesTest, public ::testing::WithParamInterface<SetupRow> {};

TEST_P(BuiltInSetups, SendTheirTables)
{
    const SetupRow &row = GetParam();
    host.sci().SetStyleFore(row.style, 0x010203);
    host.sci().SetHighlighter(row.highlighter);
    EXPECT_EQ(get(Sci::SCI_STYLEGETFORE, row.style), row.fore);
    EXPECT_EQ(get(Sci::SCI_STYLEGETBACK, row.style), row.back);
    EXPECT_EQ(font(row.style), QByteArray(row.font));
    EXPECT_EQ(get(Sci::SCI_STYLEGETSIZE, row.style), row.size);
    EXPECT_EQ(get(Sci::SCI_STYLEGETBOLD, row.style) != 0, row.bold);
    EXPECT_EQ(get(Sci::SCI_STYLEGETITALIC, row.style) != 0, row.italic);
    EXPECT_EQ(host.widget().SendScintilla(Sci::SCI_GETLEXER), Sci::SCLEX_SQL) << "every set-up colours as SQL";
}

const SetupRow kSetups[] = {
    {"VisualBasicComment", 0, 1, 0x007F00, 0xFFFFFF, "Comic Sans MS", 10, false, true},
    {"VisualBasicKeyword", 0, 3, 0x800000, 0xFFFFFF, "Courier New", 10, true, false},
    {"CppDocComment", 1, 3, 0x3F703F, 0xFFFFFF, "Comic Sans MS", 9, false, false},
    {"CppLineNumbers", 1, 33, 0xBD7173, 0xEFEFEF, "Courier New", 8, false, false},
    {"HtmlStyle9", 2, 9, 0xFF8080, 0xFFFFFF, "Verdana", 9, false, false},
    {"HtmlStyle41", 2, 41, 0x000000, 0xFFF0F0, "Comic Sans MS", 9, true, false},
    {"HtmlPhpItalic", 2, 121, 0x808000, 0xF8F8FF, "Courier New", 10, false, true},
    {"PascalKeyword", 3, 5, 0x7F0000, 0xFFFFFF, "Courier New", 10, true, false},
    {"NumberFiveOnlyClears", 5, 5, 0x000000, 0xFFFFFF, "Courier New", 10, false, false},
};
INSTANTIATE_TEST_SUITE_P(Setups, BuiltInSetups, ::testing::ValuesIn(kSetups),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(StylesTest, AKeywordListOfASetupColoursItsWords)
{
    host.sci().SetText(QStringLiteral("dim x"));
    host.sci().SetHighlighter(0);
    EXPECT_EQ(host.sci().GetStyleAt(0), 5);
    EXPECT_EQ(host.sci().GetStyleAt(4), 11);
}

// The SQL lexer styles a character outside ASCII as plain text, whatever its code point's low
// byte: 在 is U+5728, whose low byte is "(".
struct SqlCase {
    const char *name, *text;
    int byte;  // where the character starts, in the component's UTF-8 bytes
    int style; // expected on each of its bytes
};

const SqlCase kSqlCases[] = {
    {"ZaiInAnErrorMessage", "<error>单据号已存在</error>", 22, 0},
    {"ZhongEndsInAMinus", "中", 0, 0},
    {"ShiEndsInASlash", "是", 0, 0},
    {"GeEndsInAStar", "个", 0, 0},
    {"ZaiAfterAWord", "a在", 1, 0},
    {"ZaiBetweenParentheses", "(在)", 1, 0},
    {"AnAsciiParenthesisIsAnOperator", "(在)", 0, 10},
};

class SqlLexer : public StylesTest, public ::testing::WithParamInterface<SqlCase> {};

TEST_P(SqlLexer, StylesNonAsciiCharactersAsText)
{
    const SqlCase &c = GetParam();
    host.sci().SetText(QString::fromUtf8(c.text));
    host.sci().SetLexer(7);
    host.sci().Colourise();
    const int length = (static_cast<unsigned char>(c.text[c.byte]) < 0x80) ? 1 : 3;
    for (int i = 0; i < length; ++i)
        EXPECT_EQ(host.sci().GetStyleAt(c.byte + i), c.style) << "byte " << c.byte + i;
}

INSTANTIATE_TEST_SUITE_P(Characters, SqlLexer, ::testing::ValuesIn(kSqlCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
