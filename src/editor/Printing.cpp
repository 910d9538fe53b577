#include "editor/Printing.h"

#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <limits>
#include <vector>

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

namespace {
// The pages to print in order: the dialog's range (all pages when none was chosen), each copy
// whole before the next when collated, else each page as many times as copies are wanted.
std::vector<int> pageOrder(const QPrinter &printer, int pageCount)
{
    int first = 1, last = pageCount;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage();
        last = printer.toPage() > 0 ? qMin(printer.toPage(), pageCount) : pageCount;
    }
    // A printer that makes the copies itself gets each page once.
    const int copies = printer.supportsMultipleCopies() ? 1 : qMax(1, printer.copyCount());
    std::vector<int> order;
    if (printer.collateCopies()) {
        for (int copy = 0; copy < copies; ++copy)
            for (int page = first; page <= last; ++page)
                order.push_back(page);
    } else {
        for (int page = first; page <= last; ++page)
            order.insert(order.end(), copies, page);
    }
    return order;
}
} // namespace

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
    // Where each page starts, measured without drawing; only as far as the range needs.
    const int lastWanted = printer.printRange() == QPrinter::PageRange && printer.toPage() > 0
        ? printer.toPage() : std::numeric_limits<int>::max();
    std::vector<long> pageStarts{0};
    for (long next = 0; int(pageStarts.size()) < lastWanted;) {
        const long drawnTo = editor->SendScintilla(Sci::SCI_FORMATRANGE, 0UL, &painter, geometry.printRect, next,
                                                   static_cast<long>(length));
        // A page that takes nothing (a line taller than the page) would repeat for ever.
        if (drawnTo >= length || drawnTo <= next)
            break;
        pageStarts.push_back(next = drawnTo);
    }
    const std::vector<int> order = pageOrder(printer, int(pageStarts.size()));
    if (order.empty()) {
        printer.abort();
        painter.end();
        m_editor.SendEditor(Sci::SCI_FORMATRANGE, 0, 0);
        return {.error = QStringLiteral("所选的页码超出了文档的页数（共 %1 页），没有打印。").arg(pageStarts.size())};
    }
    PrintOutcome outcome{.ok = true, .pages = 0, .error = {}};
    for (const int page : order) {
        if (outcome.pages > 0 && !printer.newPage()) {
            outcome = {.error = QStringLiteral("打印机拒绝了新的一页。")};
            break;
        }
        editor->SendScintilla(Sci::SCI_FORMATRANGE, 1UL, &painter, geometry.printRect, pageStarts[page - 1],
                              static_cast<long>(length));
        ++outcome.pages;
    }
    painter.end();
    m_editor.SendEditor(Sci::SCI_FORMATRANGE, 0, 0);
    return outcome;
}
