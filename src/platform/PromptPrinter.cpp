// QtPrompt's print dialog: the platform's own, starting on the default printer, which also
// offers printing to a PDF file.

#include "platform/Prompt.h"

#include <QPrintDialog>
#include <QPrinter>

namespace platform {

bool QtPrompt::choosePrinter(QPrinter &printer)
{
    QPrintDialog dialog(&printer, m_parent);
    dialog.setWindowTitle(QStringLiteral("打印"));
    // What the printout honours: a page range, copies and their collation (no selection, no
    // current page).
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange
                      | QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace platform
