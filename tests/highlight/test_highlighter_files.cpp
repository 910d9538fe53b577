// Highlighter files written byte by byte and read back; the folder load, lookups by name and by
// extension, and applying a highlighter to the real component, read back through its messages.

#include "highlight/modHighlighter.h"
#include "highlight/usrHighlighters.h"
#include "support/EditorHost.h"
#include "support/HighlighterFiles.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using namespace modHighlighter;
using Sci = QsciScintillaBase;

namespace {

class HighlighterTableTest : public ::testing::Test {
protected:
    void SetUp() override { ClearHighlighters(); }
    void TearDown() override { ClearHighlighters(); }
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        writeFile(path, bytes);
        return path;
    }
    QTemporaryDir dir;
};

TEST(HighlighterFile, EveryFieldReadsBackAsWritten)
{
    HighlighterSpec spec;
    spec.name = QStringLiteral("中文SQL");
    spec.fore = {{5, 0x00FF0000}, {127, -1}};
    spec.bold = {{5, -1}};
    spec.size = {{0, 0}, {33, 8}};
    spec.font = {{7, QStringLiteral("宋体")}, {8, QString()}};
    spec.keywords = {{0, QStringLiteral("select from")}, {7, QStringLiteral("last")}};
    spec.lexer = 0x12345678;
    const HighlighterRecord r = readHighlighterRecord(highlighterBytes(spec));
    EXPECT_EQ(r.Name, spec.name);
    EXPECT_EQ(r.Fore[5], 0x00FF0000);
    EXPECT_EQ(r.Fore[127], -1);
    EXPECT_EQ(r.Back[4], 0xFFFFFF);
    EXPECT_EQ(r.Bold[5], -1);
    EXPECT_EQ(r.Size[0], 0);
    EXPECT_EQ(r.Size[33], 8);
    EXPECT_EQ(r.Visible[100], 1);
    EXPECT_EQ(r.Font[7], QStringLiteral("宋体"));
    EXPECT_EQ(r.Font[8], QString());
    EXPECT_EQ(r.Font[9], QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(r.Keywords[0], QStringLiteral("select from"));
    EXPECT_EQ(r.Keywords[1], QString());
    EXPECT_EQ(r.Keywords[7], QStringLiteral("last"));
    EXPECT_EQ(r.Extensions, QStringLiteral("xml sql txt"));
    EXPECT_EQ(r.SpareText, QStringLiteral("spare"));
    EXPECT_EQ(r.Lexer, 0x12345678);
    EXPECT_EQ(r.FilePath, QStringLiteral("C:\\old\\path.bin"));
}

struct TruncationRow {
    const char *name;
    qsizetype keep;     // bytes of the whole file kept; negative: counted from the end
    int sizeOfStyle127; // what the last integer read gives
    const char *nameRead;
    std::int32_t lexer;
};

class Truncated : public ::testing::TestWithParam<TruncationRow> {};

TEST_P(Truncated, UnreadFieldsAreZeroOrEmpty)
{
    const TruncationRow &row = GetParam();
    HighlighterSpec spec;
    spec.name = QStringLiteral("ABCDEF");
    spec.filePath = QString();
    const QByteArray whole = highlighterBytes(spec);
    const qsizetype keep = row.keep < 0 ? whole.size() + row.keep : row.keep;
    const HighlighterRecord r = readHighlighterRecord(whole.left(keep));
    EXPECT_EQ(r.Size[127], row.sizeOfStyle127);
    EXPECT_EQ(r.Name, QString::fromLatin1(row.nameRead));
    EXPECT_EQ(r.Lexer, row.lexer);
}

// The file ends: lexer (4 bytes) and an empty file path (2 bytes) follow the name.
const TruncationRow kTruncations[] = {
    {"Empty", 0, 0, "", 0},
    {"InsideTheIntegers", 4000, 0, "", 0},
    {"InsideTheLastInteger", 4092, 0, "", 0},
    {"LastIntegerCutAfterItsLowByte", 4093, 10, "", 0},
    {"AfterTheIntegers", 4096, 10, "", 0},
    {"InsideTheNameCount", -13, 10, "", 0},
    {"InsideTheName", -9, 10, "ABC", 0},
    {"BeforeTheLexer", -6, 10, "ABCDEF", 0},
    {"InsideTheLexer", -4, 10, "ABCDEF", 7},
    {"Whole", 0x7FFFFFFF, 10, "ABCDEF", 7},
};
INSTANTIATE_TEST_SUITE_P(Files, Truncated, ::testing::ValuesIn(kTruncations),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(HighlighterFile, ACountPastTheEndKeepsOnlyTheBytesThere)
{
    QByteArray bytes(4096, '\0');
    putText(bytes, "abc");
    bytes.append("\xFF\xFF" "xy"); // a font count of 65535 with two bytes behind it
    const HighlighterRecord r = readHighlighterRecord(bytes);
    EXPECT_EQ(r.Font[0], QStringLiteral("abc"));
    EXPECT_EQ(r.Font[1], QStringLiteral("xy"));
    EXPECT_EQ(r.Name, QString());
}

TEST_F(HighlighterTableTest, FolderLoadsNamesEndingInBinSortedAndInAnyCase)
{
    for (const char *name : {"c.bin", "a.BIN", "Bbin", "d.txt", "e.bin.bak"}) {
        HighlighterSpec spec;
        spec.name = QString::fromLatin1(name);
        write(QString::fromLatin1(name), highlighterBytes(spec));
    }
    QDir(dir.path()).mkdir(QStringLiteral("folder.bin"));
    LoadHighlighterFiles(dir.path());
    ASSERT_EQ(HighlighterCount(), 3);
    EXPECT_EQ(HighlighterTable[0].Name, QStringLiteral("Bbin"));
    EXPECT_EQ(HighlighterTable[1].Name, QStringLiteral("a.BIN"));
    EXPECT_EQ(HighlighterTable[2].Name, QStringLiteral("c.bin"));
    EXPECT_EQ(HighlighterTable[2].FilePath, dir.filePath(QStringLiteral("c.bin")));

    LoadHighlighterFiles(dir.path());
    EXPECT_EQ(HighlighterCount(), 6) << "loading again appends";
    EXPECT_EQ(FindHighlighter(QStringLiteral("C.BIN")), 2) << "the first copy is found";
}

TEST_F(HighlighterTableTest, AnUnreadableFileEndsTheLoadKeepingWhatCameBefore)
{
    write(QStringLiteral("a.bin"), highlighterBytes(named("A")));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("nowhere")), dir.filePath(QStringLiteral("b.bin"))));
    write(QStringLiteral("c.bin"), highlighterBytes(named("C")));
    LoadHighlighterFiles(dir.path());
    ASSERT_EQ(HighlighterCount(), 1);
    EXPECT_EQ(HighlighterTable[0].Name, QStringLiteral("A"));
    EXPECT_FALSE(LoadHighlighterFile(dir.filePath(QStringLiteral("b.bin"))));
    EXPECT_EQ(HighlighterCount(), 1);
}

TEST_F(HighlighterTableTest, AMissingFolderLeavesTheTableAsItWas)
{
    write(QStringLiteral("a.bin"), highlighterBytes({}));
    LoadHighlighterFiles(dir.path());
    LoadHighlighterFiles(dir.filePath(QStringLiteral("missing")));
    EXPECT_EQ(HighlighterCount(), 1);
}

TEST_F(HighlighterTableTest, NamesAreFoundWithoutRegardToCaseAndUnknownNamesFindTheFirst)
{
    write(QStringLiteral("1.bin"), highlighterBytes(named("Pascal")));
    write(QStringLiteral("2.bin"), highlighterBytes(named("SQL")));
    LoadHighlighterFiles(dir.path());
    for (const char *name : {"sql", "Sql", "SQL"})
        EXPECT_EQ(FindHighlighter(QString::fromLatin1(name)), 1) << name;
    EXPECT_EQ(FindHighlighter(QStringLiteral("cobol")), 0);
}

struct ExtensionRow {
    const char *name;
    const char *fileName;
    const char *extension;
};

class Extensions : public ::testing::TestWithParam<ExtensionRow> {};

TEST_P(Extensions, AreTheTextAfterTheLastDotLowerCased)
{
    EXPECT_EQ(FileExtension(QString::fromLatin1(GetParam().fileName)), QString::fromLatin1(GetParam().extension));
}

const ExtensionRow kExtensions[] = {
    {"Plain", "bill.xml", "xml"},
    {"TwoDotsUpperCase", "bill.define.SQL", "sql"},
    {"NoDot", "Makefile", " "},
    {"EndsWithADot", "bill.", ""},
    {"DotInTheFolderOnly", "/home/a.b/readme", "b/readme"},
};
INSTANTIATE_TEST_SUITE_P(Names, Extensions, ::testing::ValuesIn(kExtensions),
                         [](const auto &info) { return std::string(info.param.name); });

struct ClaimRow {
    const char *name;
    const char *asked;
    const char *found;
};

class Claims : public HighlighterTableTest, public ::testing::WithParamInterface<ClaimRow> {};

TEST_P(Claims, TheLastRecordClaimingAnExtensionWins)
{
    write(QStringLiteral("1.bin"), highlighterBytes(named("First", "xml sql")));
    write(QStringLiteral("2.bin"), highlighterBytes(named("Second", "xml")));
    write(QStringLiteral("3.bin"), highlighterBytes(named("NoList", "")));
    LoadHighlighterFiles(dir.path());
    EXPECT_EQ(HighlighterForExtension(QString::fromLatin1(GetParam().asked)), QString::fromLatin1(GetParam().found));
}

const ClaimRow kClaims[] = {
    {"BothClaimXml", "xml", "Second"},
    {"OnlyTheFirstClaimsSql", "sql", "First"},
    {"AFullFileName", "C:\\bills\\bill.XML", "Second"},
    {"Substring", "ml", "Second"},
    {"NoneClaims", "pas", ""},
    {"SpaceOfANameWithoutDot", " ", "First"},
    {"EmptyMatchesEveryNonEmptyList", "", "Second"},
};
INSTANTIATE_TEST_SUITE_P(Lookups, Claims, ::testing::ValuesIn(kClaims),
                         [](const auto &info) { return std::string(info.param.name); });

// --- applying -----------------------------------------------------------------------------

class ApplyTest : public HighlighterTableTest {
protected:
    long style(unsigned int message, int s) { return host.style(message, s); }
    QByteArray font(int s) { return host.font(s); }
    EditorHost host;
};

TEST_F(ApplyTest, StylesReadBackFromTheComponent)
{
    HighlighterSpec spec;
    spec.fore = {{5, 0x0000FF}};
    spec.back = {{5, 0xEEEEEE}};
    spec.bold = {{5, -1}};
    spec.italic = {{1, 1}};
    spec.underline = {{6, 1}};
    spec.size = {{5, 14}};
    spec.eolFilled = {{6, 1}};
    spec.font = {{5, QStringLiteral("DejaVu Serif")}, {6, QString()}};
    write(QStringLiteral("sql.bin"), highlighterBytes(spec));
    LoadHighlighterFiles(dir.path());
    ASSERT_TRUE(ApplyHighlighter(host.sci(), QStringLiteral("sql")));
    EXPECT_EQ(style(Sci::SCI_STYLEGETFORE, 5), 0x0000FF);
    EXPECT_EQ(style(Sci::SCI_STYLEGETBACK, 5), 0xEEEEEE);
    EXPECT_NE(style(Sci::SCI_STYLEGETBOLD, 5), 0);
    EXPECT_EQ(style(Sci::SCI_STYLEGETBOLD, 4), 0);
    EXPECT_NE(style(Sci::SCI_STYLEGETITALIC, 1), 0);
    EXPECT_NE(style(Sci::SCI_STYLEGETUNDERLINE, 6), 0);
    EXPECT_NE(style(Sci::SCI_STYLEGETEOLFILLED, 6), 0);
    EXPECT_EQ(style(Sci::SCI_STYLEGETSIZE, 5), 14);
    EXPECT_EQ(font(5), QByteArray("DejaVu Serif"));
    EXPECT_EQ(font(6), QByteArray("Courier New")) << "an empty face keeps the cleared one";
    EXPECT_EQ(host.widget().SendScintilla(Sci::SCI_GETLEXER), Sci::SCLEX_SQL);
    EXPECT_EQ(host.sci().lHighlighterNum, 0);
    EXPECT_EQ(CurrentHighlighterIndex, 0);
}

TEST_F(ApplyTest, AnEmptyTableSendsNothing)
{
    host.sci().SetStyleFore(5, 0x123456);
    EXPECT_FALSE(ApplyHighlighter(host.sci(), QStringLiteral("SQL")));
    EXPECT_EQ(style(Sci::SCI_STYLEGETFORE, 5), 0x123456);
}

TEST_F(ApplyTest, AnEmptyKeywordListKeepsTheOneBefore)
{
    HighlighterSpec words = named("Words");
    words.keywords = {{0, QStringLiteral("foo")}};
    write(QStringLiteral("1.bin"), highlighterBytes(words));
    write(QStringLiteral("2.bin"), highlighterBytes(named("Plain")));
    LoadHighlighterFiles(dir.path());
    host.sci().SetText(QStringLiteral("foo bar"));
    ApplyHighlighter(host.sci(), QStringLiteral("Words"));
    EXPECT_EQ(host.sci().GetStyleAt(0), 5);
    ApplyHighlighter(host.sci(), QStringLiteral("Plain"));
    EXPECT_EQ(CurrentHighlighterIndex, 1);
    EXPECT_EQ(host.sci().GetStyleAt(0), 5) << "the list of Words is still in force";
    EXPECT_EQ(host.sci().GetStyleAt(4), 11);
}

TEST_F(ApplyTest, TheManagerAppliesByNameAndByExtensionAndListsWhatIsLoaded)
{
    write(QStringLiteral("1.bin"), highlighterBytes(named("Zero", "pas")));
    HighlighterSpec sql = named("SQL");
    sql.fore = {{5, 0xFF}};
    write(QStringLiteral("2.bin"), highlighterBytes(sql));
    write(QStringLiteral("3.bin"), highlighterBytes(named("Two", "cpp")));
    {
        usrHighlighters manager;
        manager.setHighlighterDir(dir.path());
        manager.LoadHighlighters();
        manager.SetHighlighterEditor(*host.control, QStringLiteral("sql"));
        EXPECT_EQ(host.control->CurHighlighter(), QStringLiteral("sql"));
        EXPECT_EQ(style(Sci::SCI_STYLEGETFORE, 5), 0xFF);

        manager.SetHighlighterExt(*host.control, QStringLiteral("bill.unknown"));
        EXPECT_EQ(host.control->CurHighlighter(), QString());
        EXPECT_EQ(CurrentHighlighterIndex, 0);
        manager.SetHighlighterExt(*host.control, QStringLiteral("x.CPP"));
        EXPECT_EQ(host.control->CurHighlighter(), QStringLiteral("Two"));

        QSignalSpy listed(&manager, &usrHighlighters::GetHighlighters);
        manager.DoOptions();
        ASSERT_EQ(listed.size(), 3);
        EXPECT_EQ(listed[0][0].toString(), QStringLiteral("Zero"));
        EXPECT_EQ(listed[0][1].toString(), QStringLiteral("pas"));
        EXPECT_EQ(listed[2][0].toString(), QStringLiteral("Two"));
    }
    EXPECT_EQ(HighlighterCount(), 0) << "destroying a manager empties the shared table";
}

TEST_F(HighlighterTableTest, ManyFilesAndFilesOfRandomBytesLoad)
{
    std::mt19937 random(12);
    for (int i = 0; i < 300; ++i) {
        QByteArray bytes(static_cast<qsizetype>(random() % 9000), Qt::Uninitialized);
        for (char &c : bytes)
            c = static_cast<char>(random());
        write(QStringLiteral("r%1.bin").arg(i, 4, 10, QLatin1Char('0')), bytes);
    }
    LoadHighlighterFiles(dir.path());
    EXPECT_EQ(HighlighterCount(), 300);
}

} // namespace
