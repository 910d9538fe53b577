// frmMain: printing and HTML export of the main editor's document.

#include "app/frmMain.h"

#include "highlight/HtmlExport.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>

using platform::Icon;

void frmMain::printCommand()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!m_prompt.choosePrinter(printer))
        return;
    const PrintOutcome printed = wrapper().PrintSCI(printer, wrapper().GetLen(), 1000, 1000, 1000, 1000);
    if (!printed.ok)
        m_prompt.inform(platform::appTitle(), printed.error, Icon::Critical);
}

void frmMain::exportHtmlCommand()
{
    // Suggested beside the document, so the dialog opens in the document's folder.
    const QString suggested = strFileName.isEmpty()
                                  ? QStringLiteral("未命名.html")
                                  : QFileInfo(strFileName).dir().filePath(QFileInfo(strFileName).completeBaseName() +
                                                                          QStringLiteral(".html"));
    const QString path = m_prompt.chooseSaveFile(QStringLiteral("导出 HTML"), QStringLiteral("HTML 文件 (*.html)"),
                                                 QStringLiteral("html"), suggested);
    if (path.isEmpty())
        return;
    QString error;
    if (!ExportToHTML(*sciMain, path, &error))
        m_prompt.inform(platform::appTitle(), QStringLiteral("无法导出 HTML 文件 %1: %2").arg(path, error), Icon::Critical);
}
