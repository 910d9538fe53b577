#include "editor/SearchEngine.h"

#include "editor/BulkChange.h"
#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>

using platform::LParam;
using platform::WParam;
using Sci = QsciScintillaBase;

namespace {
WParam w(long long value) { return static_cast<WParam>(value); }
LParam ptr(const void *p) { return reinterpret_cast<LParam>(p); }
// The component's status after a regular expression it could not compile.
constexpr int kStatusRegexWarning = 1001;

// Everything done while it lives is one step for undo.
class UndoStep {
public:
    explicit UndoStep(clsScintilla &editor) : m_editor(editor) { m_editor.SendEditor(Sci::SCI_BEGINUNDOACTION); }
    ~UndoStep() { m_editor.SendEditor(Sci::SCI_ENDUNDOACTION); }
    UndoStep(const UndoStep &) = delete;
    UndoStep &operator=(const UndoStep &) = delete;

private:
    clsScintilla &m_editor;
};
} // namespace

void SearchEngine::setSearchFlags(const FindOptions &o)
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
    m_editor.SendEditor(Sci::SCI_SETSEARCHFLAGS, w(flags));
}

int SearchEngine::searchInTarget(const QByteArray &text, int start, int end, bool &invalid)
{
    m_editor.SendEditor(Sci::SCI_SETTARGETSTART, w(start));
    m_editor.SendEditor(Sci::SCI_SETTARGETEND, w(end));
    m_editor.SendEditor(Sci::SCI_SETSTATUS, 0);
    const auto pos = m_editor.SendEditor(Sci::SCI_SEARCHINTARGET, w(text.size()), ptr(text.constData()));
    if (m_editor.SendEditor(Sci::SCI_GETSTATUS) == kStatusRegexWarning) {
        invalid = true;
        m_editor.SendEditor(Sci::SCI_SETSTATUS, 0);
        return -1;
    }
    return static_cast<int>(pos);
}

FindOutcome SearchEngine::find(const QString &txttofind, const FindOptions &o)
{
    FindOutcome outcome;
    if (txttofind.isEmpty())
        return outcome;
    setSearchFlags(o);
    const QByteArray text = txttofind.toUtf8();
    const int length = m_editor.GetLen();
    bool &invalid = outcome.invalidPattern;
    int pos;
    if (o.findinrng)
        pos = searchInTarget(text, m_editor.GetSelStart(), m_editor.GetSelEnd(), invalid);
    else if (o.FindReverse)
        pos = searchInTarget(text, m_editor.GetSelStart(), 0, invalid);
    else
        pos = searchInTarget(text, m_editor.GetSelEnd(), length, invalid);
    if (pos < 0 && o.WrapDocument && !invalid)
        pos = o.FindReverse ? searchInTarget(text, length, 0, invalid) : searchInTarget(text, 0, length, invalid);
    if (pos >= 0) {
        outcome.found = true;
        outcome.start = static_cast<int>(m_editor.SendEditor(Sci::SCI_GETTARGETSTART));
        outcome.end = static_cast<int>(m_editor.SendEditor(Sci::SCI_GETTARGETEND));
        m_editor.SetSel(outcome.start, outcome.end);
    }
    m_lastSearch = txttofind;
    m_lastOptions = o;
    m_searchDone = true;
    return outcome;
}

FindOutcome SearchEngine::findAgain(bool reverse)
{
    if (!m_searchDone)
        return {};
    FindOptions o = m_lastOptions;
    o.FindReverse = reverse;
    return find(m_lastSearch, o);
}

void SearchEngine::replaceTarget(int length, const QString &replacement)
{
    const QByteArray bytes = replacement.toUtf8();
    m_editor.SendEditor(Sci::SCI_REPLACETARGET, w(qMin<qsizetype>(length, bytes.size())), ptr(bytes.constData()));
}

ReplaceOutcome SearchEngine::replaceAll(const QString &searchFor, const QString &replaceWith, const FindOptions &o)
{
    ReplaceOutcome outcome;
    if (searchFor.isEmpty())
        return outcome;
    setSearchFlags(o);
    const QByteArray text = searchFor.toUtf8();
    const int replacementLength = static_cast<int>(replaceWith.toUtf8().size());
    // One Undo takes back the whole replace-all; and the many changes stay linear in time.
    const BulkChange bulk(m_editor);
    const UndoStep step(m_editor);
    int pos = searchInTarget(text, 0, m_editor.GetLen(), outcome.invalidPattern);
    while (pos >= 0) {
        const int start = static_cast<int>(m_editor.SendEditor(Sci::SCI_GETTARGETSTART));
        const bool emptyMatch = m_editor.SendEditor(Sci::SCI_GETTARGETEND) == start;
        replaceTarget(replacementLength, replaceWith);
        ++outcome.count;
        int next = start + replacementLength;
        // An empty match would be found again at the same place: step over one character.
        if (emptyMatch) {
            if (next >= m_editor.GetLen())
                break;
            next = static_cast<int>(m_editor.SendEditor(Sci::SCI_POSITIONAFTER, w(next)));
        }
        pos = searchInTarget(text, next, m_editor.GetLen(), outcome.invalidPattern);
    }
    return outcome;
}

void SearchEngine::replaceSelections(const QString &searchFor, const QString &replaceWith, bool all,
                                     const FindOptions &options)
{
    FindOptions o = options;
    o.FindReverse = false;
    o.findinrng = false;
    o.WrapDocument = true;
    // Wrapping around, a replacement holding the search text would be found for ever: bound it.
    const int bound = m_editor.GetLen() + 1;
    for (int i = 0; i < bound && find(searchFor, o).found; ++i) {
        m_editor.ReplaceSel(replaceWith);
        if (!all)
            break;
    }
}

void SearchEngine::gotoLine(int line)
{
    // A line before the first is the first line, as the component treats it.
    const WParam target = w(qMax(0, line));
    m_editor.SendEditor(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, target);
    m_editor.SendEditor(Sci::SCI_GOTOLINE, target);
}

void SearchEngine::gotoLineColumn(int line, int column)
{
    const int target = qBound(0, line, qMax(0, m_editor.GetLineCount() - 1));
    const auto pos = m_editor.SendEditor(Sci::SCI_FINDCOLUMN, w(target), qMax(0, column));
    m_editor.SendEditor(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, w(target));
    m_editor.SetSel(static_cast<int>(pos), static_cast<int>(pos));
}
