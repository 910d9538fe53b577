#pragma once
// Prints the document of one editing window with the component's own page formatter, page
// after page, so that the printout shows the text in its current styles.

#include <QRect>
#include <QString>

class QPrinter;
class clsScintilla;

// The rectangles of one printed page in device pixels, origin at the printable area's corner.
struct PrintGeometry {
    QRect printRect;
    QRect pageRect;
};

// What the printer tells about its paper, as the platform's device metrics name them.
struct PrinterMetrics {
    int dpiX = 0;
    int dpiY = 0;
    int physicalWidth = 0;
    int physicalHeight = 0;
    int physicalOffsetX = 0;
    int physicalOffsetY = 0;
    int horzRes = 0;
    int vertRes = 0;
};

PrinterMetrics printerMetrics(const QPrinter &printer);
// Margins in thousandths of an inch, raised to what the printer cannot print on.
PrintGeometry printGeometry(const PrinterMetrics &m, int left, int top, int right, int bottom);

struct PrintOutcome {
    bool ok = false;
    int pages = 0;
    QString error; // the user's message when nothing was printed
};

class Printing {
public:
    explicit Printing(clsScintilla &editor) : m_editor(editor) {}

    // The default printer, one-inch margins.
    PrintOutcome printDoc();
    // The first length bytes of the document on the given printer: the pages of its page range
    // (all without one), its copies made here when the printer cannot make them, collated or not.
    PrintOutcome printSCI(QPrinter &printer, int length, int left, int top, int right, int bottom);

private:
    clsScintilla &m_editor;
};
