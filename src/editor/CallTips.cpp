#include "editor/CallTips.h"

#include "editor/clsScintilla.h"

#include <QFile>
#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

namespace {

bool isIdentifier(char c) { return c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The line's bytes up to the caret.
QByteArray lineBeforeCaret(clsScintilla &editor)
{
    return editor.GetLine(editor.GetCurLine()).left(qMax(0, editor.GetCaretInLine()));
}

} // namespace

bool CallTips::load(const QString &path)
{
    unload();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = m_editor.codec().decode(file.readAll()).toUtf8();
    // No line limit; a trailing CR leaves an empty last piece.
    for (const QByteArray &piece : text.split('\r'))
        m_api.push_back(piece);
    m_loaded = true;
    return true;
}

void CallTips::unload()
{
    m_api.clear();
    m_loaded = false;
    m_current = 0;
}

void CallTips::show(const QString &tip)
{
    m_editor.SendEditor(Sci::SCI_CALLTIPSHOW, static_cast<platform::WParam>(m_editor.GetCurPos()), tip);
}

void CallTips::stop() { m_editor.SendEditor(Sci::SCI_CALLTIPCANCEL); }

bool CallTips::active() const { return m_editor.SendEditor(Sci::SCI_CALLTIPACTIVE) != 0; }

void CallTips::highlight(int start, int end)
{
    m_editor.SendEditor(Sci::SCI_CALLTIPSETHLT, static_cast<platform::WParam>(start), end);
}

void CallTips::notify(const SCNotification &record)
{
    if (record.nmhdr.code == scn::CharAdded && m_editor.ShowCallTips())
        charAdded(record.ch);
}

void CallTips::charAdded(int ch)
{
    if (!m_loaded || m_api.size() <= 1)
        return;
    if (!active()) {
        if (ch == '(')
            startTip();
        return;
    }
    if (ch == ')' || ch == '(') {
        stop();
        return;
    }
    followParameters();
}

void CallTips::startTip()
{
    const QByteArray before = lineBeforeCaret(m_editor);
    // The "(" just typed ends before; the name is the run of identifier characters before it.
    qsizetype end = before.size() - 1;
    qsizetype begin = end;
    while (begin > 0 && isIdentifier(before[begin - 1]))
        --begin;
    const QByteArray word = before.mid(begin, end - begin);
    if (word.isEmpty()) {
        stop();
        return;
    }
    for (std::size_t k = 0; k + 1 < m_api.size(); ++k) {
        const QByteArray &entry = m_api[k];
        const qsizetype at = entry.indexOf(word);
        if (at < 0)
            continue;
        // A longer name that holds this one is not its signature.
        if (at > 0 && isIdentifier(entry[at - 1]))
            return;
        const qsizetype after = at + word.size();
        if (after < entry.size() && isIdentifier(entry[after]))
            return;
        m_current = k;
        show(QString::fromUtf8(entry.mid(1, qMax<qsizetype>(0, entry.size() - 2))));
        if (entry.contains(','))
            highlightParameter(0);
        return;
    }
    stop();
}

void CallTips::followParameters()
{
    const QByteArray before = lineBeforeCaret(m_editor);
    const qsizetype open = before.lastIndexOf('(');
    const QByteArray typed = open < 0 ? before : before.mid(open + 1);
    highlightParameter(static_cast<std::size_t>(typed.count(',')));
}

void CallTips::highlightParameter(std::size_t parameter)
{
    if (m_current >= m_api.size())
        return;
    const QByteArray &entry = m_api[m_current];
    const qsizetype open = entry.indexOf('(');
    const qsizetype close = entry.lastIndexOf(')');
    if (open < 0 || close < open)
        return;
    const QList<QByteArray> declared = entry.mid(open + 1, close - open - 1).split(',');
    parameter = qMin(parameter, static_cast<std::size_t>(declared.size() - 1));
    // The tip lacks the entry's first character: the "(" at entry offset open shows at open - 1.
    qsizetype start = open;
    for (std::size_t i = 0; i < parameter; ++i)
        start += declared[static_cast<qsizetype>(i)].size() + 1;
    highlight(static_cast<int>(start), static_cast<int>(start + declared[static_cast<qsizetype>(parameter)].size()));
}
