// Both windows highlight with the program folder's "SQL"; the File menu prints through the print
// dialog and exports HTML through a save dialog, both scripted here.

#include "app/CommandIds.h"
#include "highlight/modHighlighter.h"
#include "support/HighlighterFiles.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>

namespace {

struct PrintExport : MainWindowFixture {
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        QDir().mkpath(dir.filePath("program/highlighters"));
        HighlighterSpec spec;
        spec.keywords = {{0, QStringLiteral("select from")}};
        spec.fore = {{5, 0xFF0000}};
        writeFile(dir.filePath("program/highlighters/SQL.bin"), highlighterBytes(spec));
        window = makeWindow();
        window->wrapper().SetText(QStringLiteral("select a from t -- 中文"));
    }
    std::unique_ptr<frmMain> window;
};

TEST_F(PrintExport, BothWindowsApplySqlFromTheProgramFolder)
{
    EXPECT_EQ(window->editor().CurHighlighter(), QStringLiteral("SQL"));
    EXPECT_EQ(window->objWindow().editor().CurHighlighter(), QStringLiteral("SQL"));
    EXPECT_EQ(modHighlighter::HighlighterCount(), 2) << "each window loads the folder";
    for (clsScintilla *sci : {&window->wrapper(), &window->objWindow().wrapper()})
        EXPECT_EQ(sci->SendEditor(QsciScintillaBase::SCI_STYLEGETFORE, 5), 0xFF0000);
    EXPECT_EQ(window->action(cmd::Print)->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
}

TEST_F(PrintExport, ExportWritesTheChosenFile)
{
    const QString out = path("bill.html");
    prompt.saveFiles = {out};
    window->action(cmd::ExportHtml)->trigger();
    EXPECT_TRUE(prompt.informed.isEmpty()) << prompt.informed.join('\n').toStdString();
    const QByteArray html = readFile(out);
    EXPECT_TRUE(html.contains("<span class=c5>select</span>")) << html.constData();

    // Cancelled: a second export would now write the changed text.
    window->wrapper().SetText(QStringLiteral("changed"));
    window->action(cmd::ExportHtml)->trigger();
    EXPECT_EQ(readFile(out), html);
    EXPECT_EQ(prompt.suggestedSaveNames, QStringList({"未命名.html", "未命名.html"})) << "an unnamed document";
}

TEST_F(PrintExport, ExportDialogStartsInTheDocumentsFolder)
{
    window->strFileName = path("reports/bill.v2.xml");
    window->action(cmd::ExportHtml)->trigger();
    EXPECT_EQ(prompt.suggestedSaveNames, QStringList{path("reports/bill.v2.html")});
}

TEST_F(PrintExport, AnUnwritableExportIsAMessageAndTheOldFileStays)
{
    QDir().mkpath(path("folder.html"));
    writeFile(path("folder.html/keep"), "kept");
    prompt.saveFiles = {path("folder.html")};
    window->action(cmd::ExportHtml)->trigger();
    ASSERT_EQ(prompt.informed.size(), 1);
    EXPECT_TRUE(prompt.informed[0].startsWith(QStringLiteral("无法导出 HTML 文件"))) << prompt.informed[0].toStdString();
    EXPECT_EQ(readFile(path("folder.html/keep")), QByteArray("kept"));
}

// The printer's own failures are the editor's tests; here only that the dialog's choice is used.
TEST_F(PrintExport, PrintGoesToThePrinterChosenInTheDialog)
{
    const QString out = path("bill.pdf");
    prompt.printerScripts.push_back([&out](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out);
        return true;
    });
    window->action(cmd::Print)->trigger();
    EXPECT_TRUE(prompt.informed.isEmpty());
    EXPECT_TRUE(readFile(out).startsWith("%PDF"));

    QFile::remove(out);
    window->action(cmd::Print)->trigger(); // the dialog cancelled
    EXPECT_FALSE(QFileInfo::exists(out));
}

} // namespace
