#include "dialogs/SearchDialogService.h"

#include "dialogs/frmFind.h"
#include "dialogs/frmGoto.h"
#include "dialogs/frmReplace.h"
#include "editor/clsScintilla.h"
#include "platform/Messages.h"

std::optional<FindRequest> SearchDialogService::askFind(clsScintilla &editor, const QString &selectedText)
{
    frmFind dialog(m_settings, editor.widget());
    dialog.setHistory(&m_history);
    if (!selectedText.isEmpty())
        dialog.cmbFind()->setEditText(selectedText);
    m_prompt.runModal(dialog);
    if (dialog.DoWhat != 1)
        return std::nullopt;
    FindRequest request;
    request.text = dialog.cmbFind()->currentText();
    request.options.FindReverse = dialog.optUpChecked();
    request.options.WrapDocument = dialog.checked("chkWrap");
    request.options.CaseSensative = dialog.checked("chkCase");
    request.options.WholeWord = dialog.checked("chkWhole");
    request.options.RegExp = dialog.checked("chkRegExp");
    return request;
}

void SearchDialogService::showReplace(clsScintilla &editor, const QString &selectedText)
{
    frmReplace &dialog = frmReplace::show(m_settings, m_prompt, editor.widget());
    dialog.cScintilla = &editor;
    if (!selectedText.isEmpty())
        dialog.cmbFind()->setEditText(selectedText);
}

std::optional<GotoRequest> SearchDialogService::askGoto(clsScintilla &editor, const QString &curLine,
                                                        const QString &lastLine, const QString &column)
{
    frmGoto dialog(m_settings, editor.widget());
    dialog.setLabels(curLine, lastLine, column);
    m_prompt.runModal(dialog);
    if (dialog.iWhatToDo != 1)
        return std::nullopt;
    return GotoRequest{dialog.targetLine(), dialog.targetColumn()};
}

void SearchDialogService::reportInvalidPattern(const QString &pattern)
{
    m_prompt.inform(platform::appTitle(), platform::messages::invalidPattern(pattern), platform::Icon::Information);
}
