// plendor-cli html IN [-o OUT] and pdf IN -o OUT: a define file's readable form, highlighted
// with the shipped "SQL", exported as an HTML file or printed to PDF with one-inch margins.

#include "CliCommands.h"
#include "CliEditor.h"
#include "CliSupport.h"

#include "highlight/HtmlExport.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>

namespace {

// Exactly one input; otherwise the command line is wrong (exit 2).
bool oneInput(const CliIo &io, const cli::Arguments &a, const char *command)
{
    if (a.positional.size() == 1)
        return true;
    cli::fail(io, QStringLiteral("%1 wants exactly one input file, not %2").arg(QLatin1String(command)).arg(a.positional.size()),
              2);
    return false;
}

// The input opened in an offscreen editor; nullptr after a reported failure.
std::unique_ptr<CliEditor> openInput(const CliIo &io, const cli::Arguments &a, const char *command)
{
    if (!cliCanDraw()) {
        cli::fail(io, QStringLiteral("%1 needs a graphical application").arg(QLatin1String(command)));
        return nullptr;
    }
    auto editor = std::make_unique<CliEditor>();
    QString error;
    // A file that can be read twice goes into the editor a piece at a time; a pipe is read whole.
    QFile file(a.positional[0]);
    if (!QFileInfo(a.positional[0]).isDir() && file.open(QIODevice::ReadOnly) && !file.isSequential()) {
        if (!editor->openFile(file, io.maxInput, a.positional[0], error)) {
            cli::fail(io, error);
            return nullptr;
        }
        return editor;
    }
    QByteArray bytes;
    if (!cli::readFile(io, a.positional[0], bytes))
        return nullptr;
    if (!editor->open(std::move(bytes), error)) {
        cli::fail(io, error);
        return nullptr;
    }
    return editor;
}

} // namespace

int runHtmlCommand(const QStringList &args, const CliIo &io)
{
    const cli::Arguments a = cli::parseArguments(args);
    if (!a.error.isEmpty())
        return cli::fail(io, a.error, 2);
    if (!oneInput(io, a, "html"))
        return 2;
    const std::unique_ptr<CliEditor> editor = openInput(io, a, "html");
    if (!editor)
        return 1;
    if (a.output.isEmpty() || a.output == QLatin1String("-")) {
        // Streamed: the page never exists whole in memory.
        auto *file = qobject_cast<QFileDevice *>(io.out);
        if (!ExportHTMLTo(*io.out, editor->wrapper()) || (file && !file->flush()))
            return cli::fail(io, QStringLiteral("cannot write standard output: %1").arg(io.out->errorString()));
        return 0;
    }
    QString error;
    if (!ExportToHTML(editor->control(), a.output, &error))
        return cli::fail(io, QStringLiteral("cannot write %1: %2").arg(a.output, error));
    return 0;
}

int runPdfCommand(const QStringList &args, const CliIo &io)
{
    const cli::Arguments a = cli::parseArguments(args);
    if (!a.error.isEmpty())
        return cli::fail(io, a.error, 2);
    if (a.output.isEmpty() || a.output == QLatin1String("-"))
        return cli::fail(io, QStringLiteral("pdf needs -o OUT"), 2);
    if (!oneInput(io, a, "pdf"))
        return 2;
    const std::unique_ptr<CliEditor> editor = openInput(io, a, "pdf");
    if (!editor)
        return 1;
    // Printed beside, then put in place whole: a failure never leaves half a file.
    QTemporaryDir dir;
    if (!dir.isValid())
        return cli::fail(io, QStringLiteral("cannot make a temporary folder: %1").arg(dir.errorString()));
    const QString path = dir.filePath(QStringLiteral("out.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const PrintOutcome printed = editor->wrapper().PrintSCI(printer, editor->wrapper().GetLen(), 1000, 1000, 1000, 1000);
    if (!printed.ok)
        return cli::fail(io, printed.error);
    QByteArray pdf;
    if (!cli::readFile(io, path, pdf))
        return 1;
    return cli::writeOutput(io, a.output, pdf) ? 0 : 1;
}
