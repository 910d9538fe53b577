// Printing into PDF files, read back with pdfinfo and pdftotext; the margin arithmetic on given
// printer metrics.

#include "editor/Printing.h"
#include "support/EditorHost.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString tool(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString &path)
{
    const QString info = tool(QStringLiteral("pdfinfo"), {path});
    for (const QString &line : info.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    }
    return -1;
}

QString pageText(const QString &path, int page)
{
    const QString n = QString::number(page);
    return tool(QStringLiteral("pdftotext"), {QStringLiteral("-f"), n, QStringLiteral("-l"), n, path, QStringLiteral("-")});
}

class PrintTest : public ::testing::Test {
protected:
    // from and to: the print dialog's page range, 0 for all pages.
    PrintOutcome print(const QString &text, int from = 0, int to = 0, int copies = 1, bool collate = true)
    {
        host.sci().SetText(text);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        if (from > 0) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(from, to);
        }
        printer.setCopyCount(copies);
        printer.setCollateCopies(collate);
        return host.sci().PrintSCI(printer, host.sci().GetLen(), 1000, 1000, 1000, 1000);
    }
    // The number of the first "line N" on a page.
    int firstLineOn(int page)
    {
        static const QRegularExpression numbered(QStringLiteral("line (\\d+)"));
        const QRegularExpressionMatch m = numbered.match(pageText(path, page));
        return m.hasMatch() ? m.captured(1).toInt() : 0;
    }
    static QString lines(int count)
    {
        QStringList all;
        for (int i = 1; i <= count; ++i)
            all << QStringLiteral("line %1").arg(i);
        return all.join(QLatin1Char('\n'));
    }
    // The number of the last "line N" on a page.
    int lastLineOn(int page)
    {
        int last = 0;
        static const QRegularExpression numbered(QStringLiteral("line (\\d+)"));
        for (const QRegularExpressionMatch &m : numbered.globalMatch(pageText(path, page)))
            last = qMax(last, m.captured(1).toInt());
        return last;
    }
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("out.pdf"));
    EditorHost host;
};

TEST_F(PrintTest, AnEmptyDocumentIsOnePage)
{
    const PrintOutcome outcome = print(QString());
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    EXPECT_EQ(outcome.pages, 1);
    EXPECT_EQ(pdfPages(path), 1);
}

TEST_F(PrintTest, ALongDocumentRunsOverPagesInOrder)
{
    const PrintOutcome outcome = print(lines(400) + QStringLiteral("\n中文结尾"));
    ASSERT_TRUE(outcome.ok);
    const int pages = pdfPages(path);
    EXPECT_GT(pages, 3);
    EXPECT_EQ(outcome.pages, pages);
    EXPECT_TRUE(pageText(path, 1).contains(QRegularExpression(QStringLiteral("line 1(?!\\d)"))));
    EXPECT_TRUE(pageText(path, pages).contains(QStringLiteral("中文结尾")));
    EXPECT_EQ(lastLineOn(2) - lastLineOn(1), lastLineOn(1)) << "every page holds as many lines";
}

TEST_F(PrintTest, ADocumentOfExactlyOnePageHasNoBlankSecondPage)
{
    ASSERT_TRUE(print(lines(300)).ok);
    const int perPage = lastLineOn(1);
    ASSERT_GT(perPage, 10);
    EXPECT_EQ(print(lines(perPage)).pages, 1);
    EXPECT_EQ(pdfPages(path), 1);
    EXPECT_TRUE(pageText(path, 1).contains(QStringLiteral("line %1").arg(perPage)));
    EXPECT_EQ(print(lines(perPage + 1)).pages, 2);
    EXPECT_EQ(pdfPages(path), 2);
}

struct RangeRow { const char *name; int from, to, copies; bool collate; std::vector<int> pages; };
// pages: the document's pages that the printout holds, in order.
const RangeRow kRanges[] = {
    {"PagesTwoToThree", 2, 3, 1, true, {2, 3}},
    {"OnePage", 4, 4, 1, true, {4}},
    {"ToPastTheEnd", 8, 99, 1, true, {8, 9, 10}},
    {"TwoCollatedCopies", 2, 3, 2, true, {2, 3, 2, 3}},
    {"TwoCopiesUncollated", 2, 3, 2, false, {2, 2, 3, 3}},
    {"AllPagesTwice", 0, 0, 2, true, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
};
class PrintRange : public PrintTest, public ::testing::WithParamInterface<RangeRow> {};
TEST_P(PrintRange, HoldsTheChosenPagesInOrder)
{
    const RangeRow &row = GetParam();
    ASSERT_TRUE(print(lines(300)).ok);
    const int perPage = lastLineOn(1);
    ASSERT_GT(perPage, 10);
    const QString text = lines(perPage * 10);
    ASSERT_EQ(print(text).pages, 10);
    const PrintOutcome outcome = print(text, row.from, row.to, row.copies, row.collate);
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    ASSERT_EQ(outcome.pages, int(row.pages.size()));
    ASSERT_EQ(pdfPages(path), int(row.pages.size()));
    for (std::size_t i = 0; i < row.pages.size(); ++i)
        EXPECT_EQ(firstLineOn(int(i) + 1), (row.pages[i] - 1) * perPage + 1) << "page " << i + 1;
}
INSTANTIATE_TEST_SUITE_P(Rows, PrintRange, ::testing::ValuesIn(kRanges),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(PrintTest, ARangeBeyondTheDocumentIsAMessage)
{
    const PrintOutcome outcome = print(lines(3), 5, 6);
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.error.contains(QStringLiteral("共 1 页"))) << outcome.error.toStdString();
}

TEST_F(PrintTest, AnUnopenablePrinterIsAMessage)
{
    host.sci().SetText(QStringLiteral("x"));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("missing/out.pdf")));
    const PrintOutcome outcome = host.sci().PrintSCI(printer, 1, 1000, 1000, 1000, 1000);
    EXPECT_FALSE(outcome.ok);
    EXPECT_FALSE(outcome.error.isEmpty());
}

TEST_F(PrintTest, WithoutADefaultPrinterPrintDocIsAMessage)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "this machine has a default printer";
    host.sci().SetText(QStringLiteral("x"));
    const PrintOutcome outcome = host.control->PrintFile();
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.error, QStringLiteral("没有默认打印机，无法打印。"));
}

struct MarginRow {
    const char *name;
    PrinterMetrics metrics;
    QRect printRect;
};

class Margins : public ::testing::TestWithParam<MarginRow> {};

TEST_P(Margins, AreOneInchOrWhatThePrinterCannotPrint)
{
    EXPECT_EQ(printGeometry(GetParam().metrics, 1000, 1000, 1000, 1000).printRect, GetParam().printRect);
}

// A 600-dpi letter page (5100 × 6600) with a printable area offset by 100 on each side.
const MarginRow kMargins[] = {
    {"OneInchInsideThePrintableArea", {600, 600, 5100, 6600, 100, 100, 4900, 6400},
     QRect(QPoint(500, 500), QPoint(4400, 5900))},
    {"UnprintableMarginsOverOneInch", {600, 600, 5100, 6600, 700, 800, 3700, 5000},
     QRect(QPoint(0, 0), QPoint(3700, 5000))},
    {"DifferentResolutions", {300, 600, 2550, 6600, 0, 0, 2550, 6600}, QRect(QPoint(300, 600), QPoint(2250, 6000))},
};
INSTANTIATE_TEST_SUITE_P(Printers, Margins, ::testing::ValuesIn(kMargins),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
