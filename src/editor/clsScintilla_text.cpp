// clsScintilla: the document's text, characters, lines, caret, selection, undo and files.

#include "editor/clsScintilla.h"

#include "editor/BulkChange.h"
#include "platform/AtomicWrite.h"
#include "platform/FileTextReader.h"

#include <Qsci/qsciscintillabase.h>
#include <QFileInfo>
#include <utility>

using namespace platform;
using Sci = QsciScintillaBase;

namespace {
WParam w(long long value) { return static_cast<WParam>(value); }
LParam l(long long value) { return static_cast<LParam>(value); }
LParam ptr(const void *p) { return reinterpret_cast<LParam>(p); }
} // namespace

QString clsScintilla::GetText()
{
    const auto length = SendEditor(Sci::SCI_GETLENGTH);
    QByteArray buffer(length + 1, '\0');
    SendEditor(Sci::SCI_GETTEXT, w(length + 1), ptr(buffer.data()));
    buffer.truncate(length);
    return QString::fromUtf8(buffer);
}

void clsScintilla::LetText(const QString &text)
{
    SetText(text);
    SetFocus();
}

void clsScintilla::SetText(const QString &str) { replaceText(str.toUtf8()); }

void clsScintilla::replaceText(const QByteArray &utf8)
{
    if (!utf8.contains('\0')) {
        SendEditor(Sci::SCI_SETTEXT, 0, ptr(utf8.constData()));
        return;
    }
    // The component's SetText stops at the first NUL; given its length, the text is kept whole.
    SendEditor(Sci::SCI_BEGINUNDOACTION);
    SendEditor(Sci::SCI_SETTEXT, 0, ptr(""));
    SendEditor(Sci::SCI_APPENDTEXT, w(utf8.size()), ptr(utf8.constData()));
    SendEditor(Sci::SCI_ENDUNDOACTION);
}

QByteArray clsScintilla::GetTextBytes()
{
    const auto length = SendEditor(Sci::SCI_GETLENGTH);
    QByteArray buffer(length + 1, Qt::Uninitialized);
    SendEditor(Sci::SCI_GETTEXT, w(length + 1), ptr(buffer.data()));
    buffer.truncate(length);
    return buffer;
}

void clsScintilla::SetTextBytes(const QByteArray &utf8)
{
    const BulkChange bulk(*this);
    replaceText(utf8);
}

QByteArrayView clsScintilla::TextBytesView()
{
    const auto length = SendEditor(Sci::SCI_GETLENGTH);
    const auto *text = reinterpret_cast<const char *>(SendEditor(Sci::SCI_GETCHARACTERPOINTER));
    return text ? QByteArrayView(text, length) : QByteArrayView();
}

void clsScintilla::LoadTextBytes(const QByteArray &utf8)
{
    LoadTextPieces(utf8.size(), [whole = utf8]() mutable { return std::exchange(whole, QByteArray()); });
}

void clsScintilla::LoadTextPieces(qsizetype size, const std::function<QByteArray()> &next)
{
    // Recording the change would copy both texts into the history that is emptied below.
    const bool collecting = SendEditor(Sci::SCI_GETUNDOCOLLECTION) != 0;
    SendEditor(Sci::SCI_SETUNDOCOLLECTION, 0);
    {
        const BulkChange bulk(*this);
        SendEditor(Sci::SCI_SETTEXT, 0, ptr(""));
        // Room for all at once, or each piece would copy the text gathered so far; and two bytes
        // more: the component grows its buffer (by a sixth, copying it) when an insertion would
        // fill it, and handing out the text's pointer counts as inserting one byte.
        SendEditor(Sci::SCI_ALLOCATE, w(size + 2));
        for (QByteArray piece = next(); !piece.isEmpty(); piece = next())
            SendEditor(Sci::SCI_APPENDTEXT, w(piece.size()), ptr(piece.constData()));
    }
    SendEditor(Sci::SCI_SETUNDOCOLLECTION, collecting ? 1 : 0);
    ClearUndoBuffer();
}

int clsScintilla::GetLen() { return static_cast<int>(SendEditor(Sci::SCI_GETLENGTH)); }
int clsScintilla::GetDocLen() { return GetLen(); }

int clsScintilla::GetCharAtLong(int lPos) { return static_cast<int>(SendEditor(Sci::SCI_GETCHARAT, w(lPos))); }

QByteArray clsScintilla::GetCharAt(int lPos)
{
    if (lPos < 0 || lPos >= GetLen())
        return {};
    return QByteArray(1, static_cast<char>(GetCharAtLong(lPos) & 0xFF));
}

unsigned char clsScintilla::GetByteAt(int lPos) { return static_cast<unsigned char>(GetCharAtLong(lPos) & 0xFF); }

QByteArray clsScintilla::GetTextRange(int lStart, int lEnd)
{
    const int length = GetLen();
    lStart = qMax(0, lStart);
    lEnd = qMin(lEnd, length - 1);
    if (lStart > lEnd || !m_editor)
        return {};
    QByteArray buffer(lEnd - lStart + 2, '\0');
    m_editor->SendScintilla(Sci::SCI_GETTEXTRANGE, static_cast<long>(lStart), static_cast<long>(lEnd + 1),
                            buffer.data());
    buffer.truncate(lEnd - lStart + 1);
    return buffer;
}

int clsScintilla::GetStyleAt(int lPos) { return static_cast<int>(SendEditor(Sci::SCI_GETSTYLEAT, w(lPos))); }

int clsScintilla::GetLineCount() { return static_cast<int>(SendEditor(Sci::SCI_GETLINECOUNT)); }
int clsScintilla::GetCurLine() { return static_cast<int>(SendEditor(Sci::SCI_LINEFROMPOSITION, w(GetCurPos()))); }
int clsScintilla::PositionFromLine(int lLine) { return static_cast<int>(SendEditor(Sci::SCI_POSITIONFROMLINE, w(lLine))); }
int clsScintilla::GetLineEndPosition(int lLine)
{
    return static_cast<int>(SendEditor(Sci::SCI_GETLINEENDPOSITION, w(lLine)));
}
int clsScintilla::GetColumn() { return static_cast<int>(SendEditor(Sci::SCI_GETCOLUMN, w(GetCurPos()))); }
int clsScintilla::GetCaretInLine() { return GetCurPos() - PositionFromLine(GetCurLine()); }

QByteArray clsScintilla::GetLine(int lLine)
{
    const auto length = SendEditor(Sci::SCI_LINELENGTH, w(lLine));
    if (length <= 0)
        return {};
    QByteArray buffer(length + 1, '\0');
    SendEditor(Sci::SCI_GETLINE, w(lLine), ptr(buffer.data()));
    buffer.truncate(length);
    return buffer;
}

void clsScintilla::DeleteLine() { SendEditor(Sci::SCI_LINEDELETE); }

int clsScintilla::GetCurPos() { return static_cast<int>(SendEditor(Sci::SCI_GETCURRENTPOS)); }
void clsScintilla::SetCurrentPosition(int lval) { SendEditor(Sci::SCI_SETCURRENTPOS, w(lval)); }
void clsScintilla::SetSel(int lStart, int lEnd) { SendEditor(Sci::SCI_SETSEL, w(lStart), l(lEnd)); }
int clsScintilla::GetSelStart() { return static_cast<int>(SendEditor(Sci::SCI_GETSELECTIONSTART)); }
int clsScintilla::GetSelEnd() { return static_cast<int>(SendEditor(Sci::SCI_GETSELECTIONEND)); }

QString clsScintilla::GetSelText()
{
    const auto needed = SendEditor(Sci::SCI_GETSELTEXT, 0, 0);
    if (needed <= 0)
        return {};
    QByteArray buffer(needed + 1, '\0');
    SendEditor(Sci::SCI_GETSELTEXT, 0, ptr(buffer.data()));
    return QString::fromUtf8(buffer.constData());
}

void clsScintilla::LetSelText(const QString &text)
{
    SetSelText(text);
    SetFocus();
}

void clsScintilla::ReplaceSel(const QString &str) { SendEditor(Sci::SCI_REPLACESEL, w(str.size()), str); }
void clsScintilla::SetSeletText(const QString &strVal) { SendEditor(Sci::SCI_INSERTTEXT, w(GetCurPos()), strVal); }
void clsScintilla::SelectAll() { SendEditor(Sci::SCI_SELECTALL); }

void clsScintilla::Cut() { SendEditor(Sci::SCI_CUT); }
void clsScintilla::Copy() { SendEditor(Sci::SCI_COPY); }
void clsScintilla::Paste() { SendEditor(Sci::SCI_PASTE); }
// A step may be a whole replace-all.
void clsScintilla::Undo()
{
    const BulkChange bulk(*this);
    SendEditor(Sci::SCI_UNDO);
}
void clsScintilla::Redo()
{
    const BulkChange bulk(*this);
    SendEditor(Sci::SCI_REDO);
}
void clsScintilla::ClearUndoBuffer() { SendEditor(Sci::SCI_EMPTYUNDOBUFFER); }
void clsScintilla::SetSavePoint() { SendEditor(Sci::SCI_SETSAVEPOINT); }
bool clsScintilla::Modified() { return SendEditor(Sci::SCI_GETMODIFY) != 0; }
bool clsScintilla::GetReadOnly() { return SendEditor(Sci::SCI_GETREADONLY) != 0; }
void clsScintilla::SetReadOnly(bool bVal) { SendEditor(Sci::SCI_SETREADONLY, bVal ? w(-1) : 0); }

void clsScintilla::LetLineBreak(int eolVal)
{
    m_lineBreak = eolVal;
    SetLineBreak(eolVal);
}

void clsScintilla::SetLineBreak(int eolVal) { SendEditor(Sci::SCI_SETEOLMODE, w(eolVal)); }

bool clsScintilla::LoadFile(const QString &strFile) { return LoadDocument(strFile) == LoadResult::Loaded; }

clsScintilla::LoadResult clsScintilla::LoadDocument(const QString &strFile)
{
    if (!QFileInfo(strFile).isFile())
        return LoadResult::Unreadable;
    std::optional<FileText> text = readFileText(strFile, m_codec);
    if (!text)
        return LoadResult::Unreadable;
    if (text->firstNulByte >= 0 && m_acceptNulBytes && !m_acceptNulBytes(text->firstNulByte))
        return LoadResult::Declined;
    if (text->firstInvalidByte >= 0 && m_acceptInvalidBytes && !m_acceptInvalidBytes(text->firstInvalidByte))
        return LoadResult::Declined;

    const bool wasReadOnly = GetReadOnly();
    if (wasReadOnly)
        SetReadOnly(false);
    LoadTextBytes(std::exchange(text->utf8, QByteArray()));
    SetSavePoint();
    ClearUndoBuffer();
    SetReadOnly(wasReadOnly);
    return LoadResult::Loaded;
}

QByteArray clsScintilla::FileBytes(bool *lossless)
{
    QByteArray bytes = m_codec.encode(GetText(), lossless);
    if (m_lineBreak == Sci::SC_EOL_CR)
        bytes.replace('\n', QByteArray());
    else if (m_lineBreak == Sci::SC_EOL_LF)
        bytes.replace('\r', QByteArray());
    return bytes;
}

bool clsScintilla::SaveToFile(const QString &strFile)
{
    if (!platform::writeFileAtomically(strFile, FileBytes()))
        return false;
    SetSavePoint();
    return true;
}
