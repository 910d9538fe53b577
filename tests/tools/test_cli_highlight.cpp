// plendor-cli highlighter compile|dump, html and pdf on real files: the shipped SQL source, files
// written byte by byte, and a define file exported and printed with the compiled highlighter.

#include "CliCommands.h"
#include "support/CliRunner.h"
#include "highlight/HighlighterRecord.h"
#include "highlight/HighlighterSource.h"
#include "platform/ProgramFolder.h"
#include "support/HighlighterFiles.h"

#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>

namespace {


const QString kShippedSql = QStringLiteral(QT_TESTCASE_SOURCEDIR "/../highlighters/SQL.highlighter");

class CliHighlighter : public ::testing::Test {
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    // compile(dump(bytes)) must give the bytes back.
    void expectRoundTrip(const QByteArray &bytes)
    {
        writeFile(path(QStringLiteral("in.bin")), bytes);
        const CliRun dumped = runCliCommand({"highlighter", "dump", path(QStringLiteral("in.bin")), "-o", path(QStringLiteral("src.txt"))});
        ASSERT_EQ(dumped.code, 0) << dumped.err.toStdString();
        const CliRun compiled =
            runCliCommand({"highlighter", "compile", path(QStringLiteral("src.txt")), "-o", path(QStringLiteral("out.bin"))});
        ASSERT_EQ(compiled.code, 0) << compiled.err.toStdString() << readFile(path(QStringLiteral("src.txt"))).toStdString();
        EXPECT_EQ(readFile(path(QStringLiteral("out.bin"))), bytes) << readFile(path(QStringLiteral("src.txt"))).toStdString();
    }
    QTemporaryDir dir;
};

TEST_F(CliHighlighter, TheShippedSqlCompilesToWhatTheEditorReads)
{
    const CliRun compiled = runCliCommand({"highlighter", "compile", kShippedSql, "-o", path(QStringLiteral("SQL.bin"))});
    ASSERT_EQ(compiled.code, 0) << compiled.err.toStdString();
    const HighlighterRecord r = readHighlighterRecord(readFile(path(QStringLiteral("SQL.bin"))));
    EXPECT_EQ(r.Name, QStringLiteral("SQL"));
    EXPECT_EQ(r.Lexer, 7);
    EXPECT_EQ(r.Extensions, QStringLiteral("xml sql txt"));
    // Its colours are the readable source's own: only that keywords, comments and strings differ.
    EXPECT_NE(r.Fore[5], r.Fore[2]);
    EXPECT_NE(r.Fore[5], r.Fore[7]);
    EXPECT_TRUE(r.Keywords[0].split(QLatin1Char(' ')).contains(QStringLiteral("select")));
    expectRoundTrip(readFile(path(QStringLiteral("SQL.bin"))));
}

TEST_F(CliHighlighter, DumpThenCompileGivesTheSameBytes)
{
    HighlighterSpec spec;
    spec.name = QStringLiteral("  名字 \"quoted\"");
    spec.fore = {{0, -1}, {1, 0x01000000}};
    spec.visible = {{3, -1}, {4, 0}};
    spec.size = {{5, -7}};
    spec.font = {{9, QStringLiteral("宋体")}, {10, QStringLiteral("a\tb\\")}};
    spec.keywords = {{3, QStringLiteral("x y ")}};
    expectRoundTrip(highlighterBytes(spec));

    QByteArray raw = highlighterBytes({});
    raw[4096 + 2] = '\x81'; // a lead byte without its trail: not GBK
    raw[4096 + 3] = '\n';
    expectRoundTrip(raw);
}

struct SourceErrorRow {
    const char *name;
    const char *source;
    const char *message;
};

class SourceErrors : public CliHighlighter, public ::testing::WithParamInterface<SourceErrorRow> {};

TEST_P(SourceErrors, NameTheLine)
{
    writeFile(path(QStringLiteral("bad.txt")), GetParam().source);
    const CliRun run = runCliCommand({"highlighter", "compile", path(QStringLiteral("bad.txt")), "-o", path(QStringLiteral("bad.bin"))});
    EXPECT_NE(run.code, 0);
    EXPECT_TRUE(run.err.contains(GetParam().message)) << run.err.toStdString();
    EXPECT_EQ(run.err.count('\n'), 1);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("bad.bin"))));
}

const SourceErrorRow kSourceErrors[] = {
    {"UnknownKey", "[highlighter]\nname = X\ncolour = red\n", "line 3: unknown key colour"},
    {"BadColour", "[style 5]\nfore = #12345G\n", "line 2: fore wants a colour"},
    {"StyleOutOfRange", "[style 128]\n", "line 1: unknown section"},
    {"KeyBeforeSection", "name = X\n", "line 1: a key before the first section"},
    {"UnclosedQuote", "[highlighter]\nname = \"abc\n", "line 2: a quoted text"},
    {"OutsideTheCodePage", "[highlighter]\nname = \xF0\x9F\x98\x80\n", "line 2: the text holds characters"},
    {"NotUtf8", "[highlighter]\nname = \xFF\n", "not UTF-8"},
};
INSTANTIATE_TEST_SUITE_P(Sources, SourceErrors, ::testing::ValuesIn(kSourceErrors),
                         [](const auto &info) { return std::string(info.param.name); });

class CliExport : public CliHighlighter {
protected:
    void SetUp() override
    {
        QDir(dir.path()).mkdir(QStringLiteral("highlighters"));
        ASSERT_EQ(runCliCommand({"highlighter", "compile", kShippedSql, "-o", path(QStringLiteral("highlighters/SQL.bin"))}).code, 0);
        platform::setProgramFolder(dir.path());
        QFile::link(QStringLiteral("nowhere/out.html"), path(QStringLiteral("dangling.html")));
        writeFile(path(QStringLiteral("bill.xml")),
                  gbk(QStringLiteral("<define name=\"单据\">\r\n<sql type=\"select\">select a from t where a &lt; '中文' -- 注释\r\n</sql>\r\n</define>\r\n")));
    }
    void TearDown() override { platform::setProgramFolder(QString()); }
};

TEST_F(CliExport, HtmlIsTheHighlightedReadableForm)
{
    const CliRun run = runCliCommand({"html", path(QStringLiteral("bill.xml")), "-o", path(QStringLiteral("bill.html"))});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QByteArray html = readFile(path(QStringLiteral("bill.html")));
    EXPECT_TRUE(html.contains("<span class=c5>select</span>")) << html.constData();
    EXPECT_TRUE(html.contains("&LT;")) << "the readable form: the entity resolved, then written for HTML";
    EXPECT_TRUE(html.contains("<span class=c7>'" + gbk(QStringLiteral("中文")) + "'</span>"));
    EXPECT_TRUE(html.contains("--&nbsp;" + gbk(QStringLiteral("注释"))));
    EXPECT_TRUE(html.contains(".c5 {\r\nfont-family: 'DejaVu Sans Mono';\r\ncolor: #0000FF;"));

    const CliRun toStdout = runCliCommand({"html", path(QStringLiteral("bill.xml"))});
    ASSERT_EQ(toStdout.code, 0);
    EXPECT_EQ(toStdout.out, html);
}

TEST_F(CliExport, PdfIsThePrintedDocument)
{
    const CliRun run = runCliCommand({"pdf", path(QStringLiteral("bill.xml")), "-o", path(QStringLiteral("bill.pdf"))});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {path(QStringLiteral("bill.pdf")), QStringLiteral("-")});
    text.waitForFinished(60000);
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains(QStringLiteral("where a < '中文'"))) << printed.toStdString();
}

struct ExportFailureRow {
    const char *name;
    std::vector<const char *> args; // "@" stands for the scratch folder
    int code;                       // 2 for a wrong command line, 1 for work that failed
};

class ExportFailures : public CliExport, public ::testing::WithParamInterface<ExportFailureRow> {};

TEST_P(ExportFailures, ExitNonZeroWithOneLine)
{
    QStringList args;
    for (const char *a : GetParam().args)
        args << QString::fromUtf8(a).replace(QLatin1Char('@'), dir.path());
    const CliRun run = runCliCommand(args);
    EXPECT_EQ(run.code, GetParam().code) << run.err.toStdString();
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
}

const ExportFailureRow kExportFailures[] = {
    {"MissingInput", {"html", "@/missing.xml"}, 1},
    {"FolderAsInput", {"pdf", "@", "-o", "@/x.pdf"}, 1},
    {"PdfWithoutOutput", {"pdf", "@/bill.xml"}, 2},
    {"HtmlWithoutInput", {"html", "-o", "@/out.html"}, 2},
    {"TwoInputs", {"html", "@/bill.xml", "@/bill.xml"}, 2},
    {"PdfWithoutInput", {"pdf", "-o", "@/out.pdf"}, 2},
    {"PdfWithTwoInputs", {"pdf", "@/bill.xml", "@/bill.xml", "-o", "@/out.pdf"}, 2},
    {"UnwritableOutput", {"html", "@/bill.xml", "-o", "@/missing/out.html"}, 1},
    {"DanglingLinkOutput", {"html", "@/bill.xml", "-o", "@/dangling.html"}, 1},
    {"UnknownOption", {"html", "--fast", "@/bill.xml"}, 2},
    {"DumpOfAFolder", {"highlighter", "dump", "@"}, 1},
    {"UnknownSubcommand", {"highlighter", "list", "@"}, 2},
};
INSTANTIATE_TEST_SUITE_P(Commands, ExportFailures, ::testing::ValuesIn(kExportFailures),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(CliExport, TheTextAfterANulByteIsExported)
{
    QByteArray text = "<define name=\"a\">\r\n<sql>select 1";
    text += '\0';
    text += "select after_the_nul from t\r\n</sql>\r\n</define>\r\n";
    writeFile(path(QStringLiteral("nul.xml")), text);
    const CliRun run = runCliCommand({"html", path(QStringLiteral("nul.xml"))});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("after_the_nul")) << run.out.toStdString();
    EXPECT_TRUE(run.out.endsWith("</HTML>\r\n"));
}

// Output paths that are not regular files are written through; a device stays a device.
TEST_F(CliExport, OutputsThatAreNotFilesAreWrittenThrough)
{
    const QString fifo = path(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QByteArray received;
    std::thread reader([&] {
        QFile in(fifo);
        if (in.open(QIODevice::ReadOnly))
            received = in.readAll();
    });
    const CliRun run = runCliCommand({"html", path(QStringLiteral("bill.xml")), "-o", fifo});
    reader.join();
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(received, runCliCommand({"html", path(QStringLiteral("bill.xml"))}).out);

    const QString null = path(QStringLiteral("null")), full = path(QStringLiteral("full"));
    if (::mknod(QFile::encodeName(null).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
        ::mknod(QFile::encodeName(full).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        GTEST_SKIP() << "making device nodes needs the superuser";
    for (const char *command : {"html", "pdf"})
        EXPECT_EQ(runCliCommand({command, path(QStringLiteral("bill.xml")), "-o", null}).code, 0) << command;
    EXPECT_EQ(runCliCommand({"escape", "-o", null}, "a < b").code, 0);
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(null).constData(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode)) << "the device stays a device";
    for (const char *command : {"html", "pdf"}) {
        const CliRun failed = runCliCommand({command, path(QStringLiteral("bill.xml")), "-o", full});
        EXPECT_EQ(failed.code, 1) << command;
        EXPECT_TRUE(failed.err.contains("No space")) << failed.err.toStdString();
    }
    EXPECT_EQ(runCliCommand({"unescape", "-o", full}, "a &lt; b").code, 1);
}

TEST_F(CliExport, AFifoAmongTheHighlightersIsPassedOver)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(QStringLiteral("highlighters/zz.bin"))).constData(), 0600), 0);
    const CliRun run = runCliCommand({"html", path(QStringLiteral("bill.xml"))});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("<span class=c5>select</span>"));
}

TEST_F(CliExport, NoHighlighterIsAFailure)
{
    QDir(path(QStringLiteral("highlighters"))).removeRecursively();
    const CliRun run = runCliCommand({"html", path(QStringLiteral("bill.xml"))});
    EXPECT_NE(run.code, 0);
    EXPECT_TRUE(run.err.contains("no highlighter")) << run.err.toStdString();
}

} // namespace
