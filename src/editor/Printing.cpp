#include "editor/Printing.h"

#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

using Sci = QsciScintillaBase;

namespace {
// MulDiv: the product in 64 bits, rounded half away from zero.
int mulDiv(int value, int numerator, int denominator)
{
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}
} // namespace

PrinterMetrics printerMetrics(const QPrinter &printer)
{
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
    return {.dpiX = printer.logicalDpiX(),
            .dpiY = printer.logicalDpiY(),
            .physicalWidth = paper.width(),
            .physicalHeight = paper.height(),
            .physicalOffsetX = page.left() - paper.left(),
            .physicalOffsetY = page.top() - paper.top(),
            .horzRes = page.width(),
            .vertRes = page.height()};
}

PrintGeometry printGeometry(const PrinterMetrics &m, int left, int top, int right, int bottom)
{
    const int unprintableRight = m.physicalWidth - m.horzRes - m.physicalOffsetX;
    const int unprintableBottom = m.physicalHeight - m.vertRes - m.physicalOffsetY;
    const int l = qMax(mulDiv(left, m.dpiX, 1000), m.physicalOffsetX);
    const int t = qMax(mulDiv(top, m.dpiY, 1000), m.physicalOffsetY);
    const int r = qMax(mulDiv(right, m.dpiX, 1000), unprintableRight);
    const int b = qMax(mulDiv(bottom, m.dpiY, 1000), unprintableBottom);
    PrintGeometry g;
    g.printRect = QRect(QPoint(l - m.physicalOffsetX, t - m.physicalOffsetY),
                        QPoint(m.physicalWidth - m.physicalOffsetX - r, m.physicalHeight - m.physicalOffsetY - b));
    g.pageRect = QRect(QPoint(0, 0), QPoint(m.physicalWidth - m.physicalOffsetX - unprintableRight - 1,
                                            m.physicalHeight - m.physicalOffsetY - unprintableBottom - 1));
    return g;
}

PrintOutcome Printing::printDoc()
{
    if (QPrinterInfo::defaultPrinter().isNull())
        return {.error = QStringLiteral("没有默认打印机，无法打印。")};
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    return printSCI(printer, m_editor.GetLen(), 1000, 1000, 1000, 1000);
}

PrintOutcome Printing::printSCI(QPrinter &printer, int length, int left, int top, int right, int bottom)
{
    QsciScintillaBase *editor = m_editor.widget();
    if (!editor)
        return {.error = QStringLiteral("没有可打印的编辑窗口。")};
    QPainter painter;
    if (!printer.isValid() || !painter.begin(&printer))
        return {.error = QStringLiteral("无法打开打印机 %1。").arg(printer.printerName())};

    const PrintGeometry geometry = printGeometry(printerMetrics(printer), left, top, right, bottom);
    if (geometry.printRect.width() <= 0 || geometry.printRect.height() <= 0) {
        painter.end();
        return {.error = QStringLiteral("页边距超出了纸张，无法打印。")};
    }
    PrintOutcome outcome{.ok = true, .pages = 1, .error = {}};
    long next = 0;
    for (;;) {
        const long drawnTo = editor->SendScintilla(Sci::SCI_FORMATRANGE, 1UL, &painter, geometry.printRect, next,
                                                   static_cast<long>(length));
        // A page that takes nothing (a line taller than the page) would repeat for ever.
        if (drawnTo >= length || drawnTo <= next)
            break;
        next = drawnTo;
        if (!printer.newPage()) {
            outcome = {.error = QStringLiteral("打印机拒绝了新的一页。")};
            break;
        }
        ++outcome.pages;
    }
    painter.end();
    m_editor.SendEditor(Sci::SCI_FORMATRANGE, 0, 0);
    return outcome;
}
