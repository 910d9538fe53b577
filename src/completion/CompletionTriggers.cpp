#include "completion/CompletionTriggers.h"

#include "completion/TriggerText.h"
#include "completion/Vocabularies.h"
#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;
using platform::WParam;

namespace {

QString text(QByteArrayView utf8) { return QString::fromUtf8(utf8); }

bool equalsIgnoringCase(QByteArrayView a, QByteArrayView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// The text after the first occurrence of marker; the whole text when it does not occur.
QByteArray afterFirst(const QByteArray &bytes, char marker)
{
    const qsizetype at = bytes.indexOf(marker);
    return at < 0 ? bytes : bytes.mid(at + 1);
}

} // namespace

WordAround WordAroundCaret(clsScintilla &editor)
{
    WordAround around;
    const int p = editor.GetCurPos();
    const WParam from = static_cast<WParam>(qMax(0, p - 1));
    around.s = static_cast<int>(editor.SendEditor(Sci::SCI_WORDSTARTPOSITION, from, 0));
    around.e = static_cast<int>(editor.SendEditor(Sci::SCI_WORDENDPOSITION, from, 0));
    around.word = editor.GetTextRange(around.s, around.e);
    if (around.e >= editor.GetLen() && around.e >= around.s)
        around.word.append('\0');
    return around;
}

void CompletionTriggers::OnCharAdded(int ch) noexcept
{
    ++m_typed;
    try {
        charAdded(ch);
    } catch (...) {
        // A failing step ends the handler; the editor goes on taking keystrokes.
    }
}

void CompletionTriggers::OnListSelection() noexcept
{
    try {
        listSelection();
    } catch (...) {
    }
}

void CompletionTriggers::FieldListArrived(const QString &list) noexcept
{
    if (!m_pending)
        return;
    const PendingLookup asked = *m_pending;
    m_pending.reset();
    try {
        m_lists.FieldList = list;
        if (m_editor.GetCurPos() == asked.caret && m_typed == asked.typed)
            show(list);
    } catch (...) {
    }
}

void CompletionTriggers::show(const QString &list)
{
    // An empty list would open as an empty box that takes the next Enter: nothing is shown, and
    // the list it would have replaced goes too.
    if (list.isEmpty())
        m_editor.CancelSelect();
    else
        m_editor.ShowAutoComplete(list, 0);
}

void CompletionTriggers::charAdded(int ch)
{
    if (ch >= 128 || ch == '\r' || ch == '\n' || ch < 0)
        return;
    if (QByteArrayView(",=&()-+#$%").contains(static_cast<char>(ch))) {
        m_editor.CancelSelect();
        return;
    }
    switch (ch) {
    case '<': show(TagList()); return;
    case '@': show(AtVariableList()); return;
    case '.':
    case '_':
        if (m_schemaOn)
            fieldsAfterSeparator(WordAroundCaret(m_editor));
        return;
    case ':': {
        const QByteArray before = WordAroundCaret(m_editor).before();
        if (equalsIgnoringCase(before, "ValueofDB")) {
            if (m_schemaOn)
                show(m_lists.AllTablesList);
        } else if (equalsIgnoringCase(before, "Sess")) {
            show(SessVariableList());
        } else if (equalsIgnoringCase(before, "MEM")) {
            show(MemVariableList());
        } else if (equalsIgnoringCase(before, "CODE")) {
            show(CodeVariableList());
        }
        return;
    }
    case '?':
        if (m_schemaOn)
            searchTables(WordAroundCaret(m_editor));
        return;
    case ' ': {
        if (!m_schemaOn)
            return;
        const QByteArray before = TrimSpaces(WordAroundCaret(m_editor).before());
        if (equalsIgnoringCase(before, "from") || equalsIgnoringCase(before, "join"))
            show(m_lists.AllTablesList);
        else
            m_editor.CancelSelect();
        return;
    }
    default:
        if (m_schemaOn)
            narrowTyped();
        return;
    }
}

void CompletionTriggers::fieldsAfterSeparator(const WordAround &around)
{
    if (equalsIgnoringCase(around.before(), "t")) {
        show(m_lists.AllTablesList);
        return;
    }
    QByteArray table = around.upto().toUpper();
    table.replace('.', QByteArray()).replace('_', QByteArray());
    if (!m_lookupFields)
        return;
    // The old table's fields must not be narrowed while the new ones are on their way.
    m_lists.FieldList.clear();
    m_pending = PendingLookup{m_editor.GetCurPos(), m_typed};
    m_lookupFields(text(table));
}

void CompletionTriggers::searchTables(const WordAround &around)
{
    if (around.before().isEmpty())
        return;
    m_editor.SetSel(around.s, around.e);
    const QString selected = m_editor.GetSelText();
    const QString search = selected.left(selected.indexOf(u'?') < 0 ? selected.size() : selected.indexOf(u'?'));
    m_lists.SearchResultList = FilterList(m_lists.AllTablesList, search, FilterMode::Contains);
    if (!m_lists.SearchResultList.isEmpty()) {
        m_editor.CancelSelect();
        show(m_lists.SearchResultList);
    }
    m_editor.SetSel(around.e, around.e);
    m_editor.SetCurrentPosition(around.e);
}

QByteArray CompletionTriggers::lineToCaret(bool withCharAtCaret)
{
    const int caret = m_editor.GetCurPos();
    const int lineStart = m_editor.PositionFromLine(m_editor.GetCurLine());
    QByteArray line = m_editor.GetTextRange(lineStart, caret - 1);
    if (withCharAtCaret)
        line.append(caret < m_editor.GetLen() ? static_cast<char>(m_editor.GetByteAt(caret)) : '\0');
    return line;
}

void CompletionTriggers::narrowTyped()
{
    const QByteArray token = AfterLast(lineToCaret(false), " ");
    // The list is narrowed by the text typed after the marker: starts-with first, else contains.
    const auto narrow = [this](const QString &list, const QByteArray &typed) {
        QString r = FilterList(list, text(typed), FilterMode::StartsWith);
        if (r.isEmpty())
            r = FilterList(list, text(typed), FilterMode::Contains);
        if (!r.isEmpty()) {
            m_editor.CancelSelect();
            show(r);
        }
    };
    if (token.contains('?')) {
        const QByteArray t = LastTokenWith(token, "?");
        if (!t.isEmpty())
            narrow(m_lists.SearchResultList, TrimSpaces(afterFirst(t, '?')));
        return;
    }
    const qsizetype dot = token.lastIndexOf('.');
    const qsizetype underscore = token.lastIndexOf('_');
    if (dot < 0 && underscore < 0)
        return;
    const char separator = dot > underscore ? '.' : '_';
    const QByteArray t = LastTokenWith(token, QByteArrayView(&separator, 1));
    if (t.isEmpty())
        return;
    narrow(m_lists.FieldList, AfterLast(TrimSpaces(afterFirst(t, separator)), QByteArrayView(&separator, 1)));
}

void CompletionTriggers::listSelection()
{
    const QString item = m_editor.GetSelectText();
    QByteArray word = WordAroundCaret(m_editor).word;
    if (word.contains('_') || word.contains('.')) {
        if (word.contains('_'))
            word = afterFirst(word, '_');
        if (word.contains('.'))
            word = afterFirst(word, '.');
        if (word.contains('?'))
            word = afterFirst(word, '?');
    }
    if (!item.contains(u':'))
        return; // the component inserts the item itself

    QByteArray line = lineToCaret(true);
    if (line.contains('?')) {
        line = LastTokenWith(line, "?");
        if (!line.isEmpty())
            word = AfterLast(line, "@ValueofDB:");
    }
    m_editor.CancelSelect();
    const QString name = NameBeforeColon(item);
    line = AfterLast(AfterLast(AfterLast(AfterLast(line, "."), "_"), "?").toUpper(), "FROM");

    // The typed word is replaced back from the caret by the word's length less one (its whole
    // length after a "*"), counted in the code page's bytes as the platform's users know it.
    const int caret = m_editor.GetCurPos();
    const int reach = codePageLength(word) - (line.contains('*') ? 0 : 1);
    const std::optional<int> start = startBefore(caret, reach);
    if (!start)
        return;
    m_editor.SetSel(*start, caret);
    m_editor.ReplaceSel(name);
}

int CompletionTriggers::codePageLength(const QByteArray &utf8) const
{
    // ASCII (NUL included) is one byte in the code page; any other character as the codec writes
    // it, a character it cannot hold (or a stray byte) as its one-byte "?".
    int length = 0;
    for (const QChar c : QString::fromUtf8(utf8)) {
        if (c.isLowSurrogate())
            continue;
        length += c.unicode() < 0x80 ? 1 : static_cast<int>(m_editor.codec().encode(QString(c)).size());
    }
    return length;
}

std::optional<int> CompletionTriggers::startBefore(int caret, int reach)
{
    if (reach < 0)
        return std::nullopt;
    // A character takes at least one code-page byte and at most four UTF-8 bytes.
    const int from = qMax(0, caret - 4 * reach - 4);
    const QByteArray before = m_editor.GetTextRange(from, caret - 1);
    qsizetype at = before.size();
    int taken = 0;
    while (taken < reach) {
        if (at == 0)
            return std::nullopt; // the range would begin before the document
        qsizetype lead = at - 1;
        while (lead > 0 && (static_cast<unsigned char>(before.at(lead)) & 0xC0) == 0x80)
            --lead;
        const int cost = codePageLength(before.mid(lead, at - lead));
        // The count ends inside this character: it stays whole.
        if (taken + cost > reach)
            break;
        taken += cost;
        at = lead;
    }
    return from + static_cast<int>(at);
}
