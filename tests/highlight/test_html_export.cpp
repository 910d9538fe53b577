// HTML export: the body and style sheet on given text and styles, then the whole path from a
// real editor to a file.

#include "highlight/HtmlExport.h"
#include "highlight/modHighlighter.h"
#include "support/EditorHost.h"
#include "support/HighlighterFiles.h"

#include <QBuffer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace modHighlighter;

namespace {

struct BodyRow {
    const char *name;
    const char *utf8;
    const char *styles; // one digit per byte
    const char *file;   // the file form, in GBK
    const char *fragment;
};

class Body : public ::testing::TestWithParam<BodyRow> {};

QByteArray styleBytes(const char *digits)
{
    QByteArray styles(digits);
    for (char &c : styles)
        c = static_cast<char>(c - '0');
    return styles;
}

TEST_P(Body, IsOneSpanPerStretchOfEqualStyle)
{
    const BodyRow &row = GetParam();
    const QByteArray text(row.utf8);
    const QByteArray styles = styleBytes(row.styles);
    ASSERT_EQ(text.size(), styles.size());
    const StyledText styled{.utf8 = text, .styles = styles, .tabWidth = 4};
    EXPECT_EQ(htmlBody(styled, HtmlForm::File), QByteArray(row.file));
    EXPECT_EQ(htmlBody(styled, HtmlForm::Fragment), QByteArray(row.fragment));
}

const BodyRow kBodies[] = {
    {"LessThanInOneStyle", "a<b", "555", "<span class=c5>a&LT;b</span>", "<span class=c5>a<b</span>"},
    {"GreaterThan", ">", "1", "<span class=c1>&GT;</span>", "<span class=c1>></span>"},
    {"TwoSpaces", "a  b", "0000", "<span class=c0>a&nbsp;&nbsp;b</span>", "<span class=c0>a&nbsp;&nbsp;b</span>"},
    {"CrLf", "a\r\nb", "0000", "<span class=c0>a<BR>\nb</span>", "<span class=c0>a<BR>\nb</span>"},
    {"BareLineFeedIsALineEnd", "a\nb", "000", "<span class=c0>a<BR>\nb</span>", "<span class=c0>a\nb</span>"},
    {"StyleChanges", "ab c", "1122", "<span class=c1>ab</span><span class=c2>&nbsp;c</span>",
     "<span class=c1>ab</span><span class=c2>&nbsp;c</span>"},
    {"ChineseWrittenWhole", "\xE4\xB8\xAD\xE6\x96\x87", "777777", "<span class=c7>\xD6\xD0\xCE\xC4</span>",
     "<span class=c7>\xE4\xB8\xAD\xE6\x96\x87</span>"},
    {"TabToTheNextStop", "ab\tc\td", "000000", "<span class=c0>ab&nbsp;&nbsp;c&nbsp;&nbsp;&nbsp;d</span>",
     "<span class=c0>ab\tc\td</span>"},
    {"TabAfterChineseCountsTwoColumns", "\xE4\xB8\xAD\t", "0000", "<span class=c0>\xD6\xD0&nbsp;&nbsp;</span>",
     "<span class=c0>\xE4\xB8\xAD\t</span>"},
    {"EntityTextShowsAsTyped", "&lt;", "3333", "<span class=c3>&amp;lt;</span>", "<span class=c3>&lt;</span>"},
    {"OutsideTheCodePage", "\xF0\x9F\x98\x80", "0000", "<span class=c0>&#x1F600;</span>",
     "<span class=c0>\xF0\x9F\x98\x80</span>"},
    {"Empty", "", "", "", ""},
};
INSTANTIATE_TEST_SUITE_P(Rows, Body, ::testing::ValuesIn(kBodies),
                         [](const auto &info) { return std::string(info.param.name); });

struct ColourRow {
    const char *name;
    int colour;
    const char *hex;
};

class HexColours : public ::testing::TestWithParam<ColourRow> {};

TEST_P(HexColours, AreWrittenRedFirst) { EXPECT_EQ(ColourToHex(GetParam().colour), QString::fromLatin1(GetParam().hex)); }

const ColourRow kColours[] = {
    {"Mixed", 0x336699, "#996633"},
    {"PureRed", 0x0000FF, "#FF0000"},
    {"Black", 0, "#000000"},
    {"BitsAboveTheColour", static_cast<int>(0xFFFF8080u), "#8080FF"},
};
INSTANTIATE_TEST_SUITE_P(Values, HexColours, ::testing::ValuesIn(kColours),
                         [](const auto &info) { return std::string(info.param.name); });

HighlighterRecord recordWith(int style)
{
    HighlighterRecord r;
    r.Fore[style] = 0x0000FF;
    r.Back[style] = 0xFFFFFF;
    r.Size[style] = 12;
    r.Font[style] = QStringLiteral("DejaVu Sans Mono");
    r.Bold[style] = -1;
    r.Italic[style] = 1;
    r.Underline[style] = 1;
    return r;
}

TEST(StyleSheet, HasRulesOnlyForStylesInUse)
{
    const HighlighterRecord r = recordWith(5);
    const QByteArray text("ab");
    const QByteArray styles = styleBytes("35");
    const StyledText styled{.utf8 = text, .styles = styles};
    EXPECT_EQ(htmlStyleSheet(styled, &r, HtmlForm::Fragment),
              QByteArray("<style type=\"text/css\">\r\n"
                         ".c3 {\r\nfont-weight: 400;\r\n}\r\n"
                         ".c5 {\r\nfont-family: 'DejaVu Sans Mono';\r\ncolor: #FF0000;\r\nbackground: #FFFFFF;\r\n"
                         "font-size: 12pt;\r\nfont-weight: 700;\r\ntext-decoration: italic;, underline;\r\n}\r\n"
                         "</style>\r\n"));
    const QByteArray file = htmlStyleSheet(styled, &r, HtmlForm::File);
    EXPECT_TRUE(file.contains("font-weight: 700;\r\nfont-style: italic;\r\ntext-decoration: underline;\r\n}")) << file.constData();
    EXPECT_EQ(htmlStyleSheet(styled, nullptr, HtmlForm::File), QByteArray("<style type=\"text/css\">\r\n</style>\r\n"));
}

TEST(HtmlDocument, AnEmptyDocumentIsTheFrameAndAnEmptySheet)
{
    const HighlighterRecord r = recordWith(0);
    const QByteArray html = htmlDocument({}, &r);
    EXPECT_TRUE(html.startsWith("<HTML>\r\n  <HEAD>\r\n    <Meta Generator=\"")) << html.constData();
    EXPECT_TRUE(html.contains("\">\r\n    <meta http-equiv=\"Content-Type\" content=\"text/html; charset=GBK\">\r\n"
                              "<style type=\"text/css\">\r\n</style>\r\n  </HEAD>\r\n"
                              "  <BODY BGCOLOR=#FFFFFF TEXT=#000000>\r\n  </BODY>\r\n</HTML>\r\n"))
        << html.constData();
    EXPECT_FALSE(html.contains("<span"));
}

class EditorExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearHighlighters();
        HighlighterSpec spec;
        spec.keywords = {{0, QStringLiteral("select from")}};
        spec.fore = {{5, 0xFF0000}, {6, 0x0000FF}, {7, 0x0000FF}};
        writeFile(dir.filePath(QStringLiteral("SQL.bin")), highlighterBytes(spec));
        LoadHighlighterFiles(dir.path());
        host.sci().SendEditor(QsciScintillaBase::SCI_SETTABWIDTH, 5);
        host.sci().SetText(QStringLiteral("select '中文' from t\r\n\tx &lt; y"));
        ASSERT_TRUE(ApplyHighlighter(host.sci(), QStringLiteral("SQL")));
    }
    void TearDown() override { ClearHighlighters(); }
    QTemporaryDir dir;
    EditorHost host;
};

TEST_F(EditorExport, WritesTheStyledDocumentInGbk)
{
    const QString path = dir.filePath(QStringLiteral("out.html"));
    QString error;
    ASSERT_TRUE(ExportHTMLFile(path, host.sci(), &error)) << error.toStdString();
    const QByteArray html = readFile(path);
    EXPECT_TRUE(html.contains("<span class=c5>select</span>")) << html.constData();
    EXPECT_TRUE(html.contains("<span class=c7>'" + gbk(QStringLiteral("中文")) + "'</span>")) << html.constData();
    EXPECT_TRUE(html.contains(".c5 {\r\nfont-family: 'DejaVu Sans Mono';\r\ncolor: #0000FF;"));
    EXPECT_TRUE(html.contains("<span class=c0><BR>\n&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;</span>")) << html.constData();
    EXPECT_TRUE(QString::fromLatin1(html).remove(QRegularExpression(QStringLiteral("</?span[^>]*>"))).contains(QStringLiteral("x&nbsp;&amp;lt;&nbsp;y")));
    EXPECT_TRUE(html.endsWith("</HTML>\r\n"));

    ASSERT_TRUE(ExportHTMLFile(path, host.sci()));
    EXPECT_EQ(readFile(path), html) << "exporting twice gives the same file";
}

TEST_F(EditorExport, TheFragmentIsTheSheetAndTheSpans)
{
    const QString fragment = ExportHTMLFragment(host.sci());
    EXPECT_TRUE(fragment.startsWith(QStringLiteral("<style type=\"text/css\">\r\n")));
    EXPECT_TRUE(fragment.contains(QStringLiteral("<span class=c7>'中文'</span>")));
    EXPECT_TRUE(fragment.contains(QStringLiteral("\t")));
    EXPECT_EQ(ExportPartialHTML(*host.control), fragment);
}

TEST_F(EditorExport, AnUnwritablePathFailsAndLeavesNothing)
{
    QString error;
    EXPECT_FALSE(ExportHTMLFile(dir.filePath(QStringLiteral("missing/out.html")), host.sci(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));
}

// Past the pieces the styles are read in (a character cut at 1 MiB, where a piece ends whatever
// power of two up to a MiB the piece is), and in stretches longer than one pass over the byte
// table: the file written a piece at a time is the document made whole in memory.
TEST_F(EditorExport, ALargeDocumentWrittenInPiecesIsTheDocumentMadeWhole)
{
    const QByteArray line = QStringLiteral("select '中文' from t\twhere a &lt; 1\n").toUtf8();
    const QByteArray chinese = QStringLiteral("中").toUtf8();
    const qsizetype at = line.indexOf(chinese);
    const qsizetype target = (qsizetype(1) << 20) - 1;
    const qsizetype frame = 5; // "-- " and "\r\n" around the long comment
    qsizetype comment = 10'000;
    comment += ((target - at - comment - frame) % line.size() + line.size()) % line.size();
    QByteArray utf8 = "-- " + QByteArray(comment, 'c') + "\r\n";
    while (utf8.size() < target + 100'000)
        utf8 += line;
    ASSERT_EQ(utf8.mid(target, 3), chinese);
    host.sci().LoadTextBytes(utf8);

    QBuffer pieces;
    pieces.open(QIODevice::WriteOnly);
    ASSERT_TRUE(ExportHTMLTo(pieces, host.sci()));
    const EditorStyledText whole = readStyledText(host.sci());
    const StyledText view{.utf8 = whole.utf8, .styles = whole.styles, .tabWidth = 5, .codePage = 936};
    const QByteArray expected = htmlDocument(view, &HighlighterTable[CurrentHighlighterIndex]);
    EXPECT_TRUE(pieces.data() == expected) << pieces.data().size() << " bytes against " << expected.size();
    EXPECT_EQ(pieces.data().count("<span class=c7>'" + gbk(QStringLiteral("中文")) + "'</span>"),
              (utf8.size() - comment) / line.size());
}

} // namespace
