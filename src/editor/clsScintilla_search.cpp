// clsScintilla: the search, replace and go-to engine, and the calls that open its dialogs.

#include "editor/clsScintilla.h"

#include "dialogs/frmFind.h"
#include "dialogs/frmGoto.h"
#include "dialogs/frmReplace.h"
#include "platform/Prompt.h"

#include <Qsci/qsciscintillabase.h>

using namespace platform;
using Sci = QsciScintillaBase;

namespace {
WParam w(long long value) { return static_cast<WParam>(value); }
LParam ptr(const void *p) { return reinterpret_cast<LParam>(p); }
constexpr int kStatusRegexWarning = 1001;
} // namespace

void clsScintilla::setSearchFlags(const FindOptions &o)
{
    int flags = 0;
    if (o.CaseSensative)
        flags |= Sci::SCFIND_MATCHCASE;
    if (o.WordStart)
        flags |= Sci::SCFIND_WORDSTART;
    if (o.WholeWord)
        flags |= Sci::SCFIND_WHOLEWORD;
    // ECMAScript patterns, so alternation, \b and counted repeats work.
    if (o.RegExp)
        flags |= Sci::SCFIND_REGEXP | Sci::SCFIND_CXX11REGEX;
    SendEditor(Sci::SCI_SETSEARCHFLAGS, w(flags));
}

int clsScintilla::searchInTarget(const QByteArray &text, int start, int end)
{
    SendEditor(Sci::SCI_SETTARGETSTART, w(start));
    SendEditor(Sci::SCI_SETTARGETEND, w(end));
    SendEditor(Sci::SCI_SETSTATUS, 0);
    const auto pos = SendEditor(Sci::SCI_SEARCHINTARGET, w(text.size()), ptr(text.constData()));
    if (SendEditor(Sci::SCI_GETSTATUS) == kStatusRegexWarning) {
        m_patternInvalid = true;
        SendEditor(Sci::SCI_SETSTATUS, 0);
        return -1;
    }
    return static_cast<int>(pos);
}

bool clsScintilla::FindText(const QString &txttofind, const FindOptions &o)
{
    if (txttofind.isEmpty())
        return false;
    m_patternInvalid = false;
    setSearchFlags(o);
    const QByteArray text = txttofind.toUtf8();
    const int length = GetLen();
    int pos;
    if (o.findinrng)
        pos = searchInTarget(text, GetSelStart(), GetSelEnd());
    else if (o.FindReverse)
        pos = searchInTarget(text, GetSelStart(), 0);
    else
        pos = searchInTarget(text, GetSelEnd(), length);
    if (pos < 0 && o.WrapDocument && !m_patternInvalid)
        pos = o.FindReverse ? searchInTarget(text, length, 0) : searchInTarget(text, 0, length);
    const bool found = pos >= 0;
    if (found) {
        SetSel(static_cast<int>(SendEditor(Sci::SCI_GETTARGETSTART)), static_cast<int>(SendEditor(Sci::SCI_GETTARGETEND)));
    }
    m_lastSearch = txttofind;
    m_lastOptions = o;
    m_searchDone = true;
    return found;
}

bool clsScintilla::repeatSearch(bool reverse)
{
    if (!m_searchDone)
        return false;
    FindOptions o = m_lastOptions;
    o.FindReverse = reverse;
    return FindText(m_lastSearch, o);
}

bool clsScintilla::FindNext() { return repeatSearch(false); }
bool clsScintilla::FindPrev() { return repeatSearch(true); }

void clsScintilla::ReplaceTarget(int lLen, const QString &strRep)
{
    const QByteArray bytes = strRep.toUtf8();
    SendEditor(Sci::SCI_REPLACETARGET, w(qMin<qsizetype>(lLen, bytes.size())), ptr(bytes.constData()));
}

int clsScintilla::ReplaceAll(const QString &strSearchFor, const QString &strReplaceWith, const FindOptions &o)
{
    if (strSearchFor.isEmpty())
        return 0;
    m_patternInvalid = false;
    setSearchFlags(o);
    const QByteArray text = strSearchFor.toUtf8();
    const int replacementLength = static_cast<int>(strReplaceWith.toUtf8().size());
    int count = 0;
    int pos = searchInTarget(text, 0, GetLen());
    while (pos >= 0) {
        const int start = static_cast<int>(SendEditor(Sci::SCI_GETTARGETSTART));
        const bool emptyMatch = SendEditor(Sci::SCI_GETTARGETEND) == start;
        ReplaceTarget(replacementLength, strReplaceWith);
        ++count;
        int next = start + replacementLength;
        // An empty match would be found again at the same place: step over one character.
        if (emptyMatch) {
            if (next >= GetLen())
                break;
            next = static_cast<int>(SendEditor(Sci::SCI_POSITIONAFTER, w(next)));
        }
        pos = searchInTarget(text, next, GetLen());
    }
    return count;
}

bool clsScintilla::ReplaceText(const QString &strSearchFor, const QString &strReplaceWith, bool replaceAll,
                               const FindOptions &options)
{
    FindOptions o = options;
    o.FindReverse = false;
    o.findinrng = false;
    o.WrapDocument = true;
    // Wrapping around, a replacement holding the search text would be found for ever: bound it.
    const int bound = GetLen() + 1;
    for (int i = 0; i < bound && FindText(strSearchFor, o); ++i) {
        ReplaceSel(strReplaceWith);
        if (!replaceAll)
            break;
    }
    return false;
}

void clsScintilla::GotoLine(int iLine)
{
    // A line before the first is the first line, as the component treats it.
    const WParam line = w(qMax(0, iLine));
    SendEditor(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, line);
    SendEditor(Sci::SCI_GOTOLINE, line);
}

void clsScintilla::GotoLineColumn(int iLine, int iCol)
{
    const int line = qBound(0, iLine, qMax(0, GetLineCount() - 1));
    const auto pos = SendEditor(Sci::SCI_FINDCOLUMN, w(line), qMax(0, iCol));
    SendEditor(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, w(line));
    SetSel(static_cast<int>(pos), static_cast<int>(pos));
}

void clsScintilla::reportInvalidPattern(const QString &pattern)
{
    if (m_services.prompt)
        m_services.prompt->inform(appTitle(), QStringLiteral("正则表达式无效: ") + pattern, Icon::Information);
}

void clsScintilla::DoFind(const QString &strFindText)
{
    if (!strFindText.isEmpty()) {
        FindOptions o = m_lastOptions;
        o.FindReverse = false;
        FindText(strFindText, o);
        if (m_patternInvalid)
            reportInvalidPattern(strFindText);
        SetFocus();
        return;
    }
    if (!m_services.ready())
        return;
    frmFind dialog(*m_services.settings, m_editor);
    const QString selected = GetSelText();
    if (!selected.isEmpty())
        dialog.cmbFind()->setEditText(selected);
    m_services.prompt->runModal(dialog);
    if (dialog.DoWhat == 1) {
        FindOptions o;
        o.FindReverse = dialog.optUpChecked();
        o.WrapDocument = dialog.checked("chkWrap");
        o.CaseSensative = dialog.checked("chkCase");
        o.WholeWord = dialog.checked("chkWhole");
        o.RegExp = dialog.checked("chkRegExp");
        const QString text = dialog.cmbFind()->currentText();
        FindText(text, o);
        if (m_patternInvalid)
            reportInvalidPattern(text);
    }
    SetFocus();
}

void clsScintilla::DoReplace()
{
    if (!m_services.ready())
        return;
    frmReplace &dialog = frmReplace::show(*m_services.settings, *m_services.prompt, m_editor);
    dialog.cScintilla = this;
    const QString selected = GetSelText();
    if (!selected.isEmpty())
        dialog.cmbFind()->setEditText(selected);
}

void clsScintilla::DoGoto()
{
    if (!m_services.ready())
        return;
    frmGoto dialog(*m_services.settings, m_editor);
    dialog.setLabels(QStringLiteral("Current Line: %1").arg(GetCurLine() + 1),
                     QStringLiteral("Last Line: %1").arg(GetLastLine()),
                     QStringLiteral("Column: %1").arg(GetColumn()));
    m_services.prompt->runModal(dialog);
    if (dialog.iWhatToDo == 1)
        GotoLineColumn(dialog.targetLine() - 1, dialog.targetColumn() - 1);
    SetFocus();
}
