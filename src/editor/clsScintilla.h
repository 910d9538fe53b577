#pragma once
// Wraps one editing window: creates it as a child of a form, forwards requests to it as
// Scintilla messages through SendEditor, and turns its notifications (delivered to the form
// as WM_NOTIFY through the message hook) into events, after the attached parts have seen them.
// The document is UTF-8 inside the component; positions and lengths are its byte offsets.
//
// This class is the platform's vocabulary and stays thin: each editing aid and the search
// engine is a part of its own that keeps its state. Properties read as Name() and are assigned
// with LetName() (a property assignment may do more than the operation SetName it calls).

#include "editor/AutoIndent.h"
#include "editor/Bookmarks.h"
#include "editor/BraceMatcher.h"
#include "editor/CallTips.h"
#include "editor/CompletionList.h"
#include "editor/EditorOptions.h"
#include "editor/Folding.h"
#include "editor/Notification.h"
#include "editor/Printing.h"
#include "editor/SearchEngine.h"
#include "editor/Styles.h"
#include "hooks/ISubclass.h"
#include "platform/AnsiCodec.h"

#include <QObject>
#include <QPointer>
#include <array>
#include <functional>

#include <Qsci/qsciscintillabase.h>

class ISearchDialogs;

class clsScintilla : public QObject, public ISubclass {
    Q_OBJECT
public:
    explicit clsScintilla(QObject *parent = nullptr);
    ~clsScintilla() override;

    // --- host -------------------------------------------------------------------------
    void CreateScintilla(platform::Hwnd frm);
    void Attach(platform::Hwnd frm);
    void Detach(platform::Hwnd frm);
    void SizeScintilla(int Left, int Top, int Width, int Height);
    platform::LResult SendEditor(unsigned int Msg, platform::WParam wParam = 0, platform::LParam lParam = 0);
    platform::LResult SendEditor(unsigned int Msg, platform::WParam wParam, const QString &lParam);
    void SetFocus();
    void SetProperty(const QString &key, const QString &value);

    platform::Hwnd hWnd() const { return m_hwnd; }
    QsciScintillaBase *widget() const { return m_editor; }
    // The code page of the document's byte form (files, uploads), set through SCI_SETCODEPAGE.
    const platform::AnsiCodec &codec() const { return m_codec; }

    std::int32_t ISubclass_MsgResponse() const override { return ResponseConsume; }
    void setISubclass_MsgResponse(std::int32_t) override {}
    platform::LResult ISubclass_WindowProc(platform::Hwnd hWnd, std::uint32_t iMsg, platform::WParam wParam,
                                           platform::LParam lParam) override;

    // Sends the control's options to the component, in the order the platform always has.
    void ApplyOptions(const EditorOptions &options);

    // --- text, selection, files -----------------------------------------------------------
    QString GetText();
    QString Text() { return GetText(); }
    void LetText(const QString &text); // SetText, then the focus
    void SetText(const QString &str);
    int GetLen();
    int GetDocLen();
    // The whole text as the component holds it, UTF-8, for documents too large for detours
    // through QString. Setting it (as SetText) keeps NUL bytes; the component then announces
    // the change but does not report it (BulkChange.h).
    QByteArray GetTextBytes();
    void SetTextBytes(const QByteArray &utf8);
    // The component's own bytes, without a copy: valid until the document next changes.
    QByteArrayView TextBytesView();
    // A new document that cannot be undone: its text replaces the old one without either being
    // kept for undo, and the undo history is emptied. The pieces form is given its text in turn
    // by next(), until an empty piece, so that the text never exists whole outside the
    // component; size is the whole text's length, made room for at once.
    void LoadTextBytes(const QByteArray &utf8);
    void LoadTextPieces(qsizetype size, const std::function<QByteArray()> &next);

    QByteArray GetCharAt(int lPos);
    int GetCharAtLong(int lPos);
    int CharAtPos(int position) { return GetCharAtLong(position); }
    unsigned char GetByteAt(int lPos);
    QByteArray GetTextRange(int lStart, int lEnd);
    int GetStyleAt(int lPos);

    int GetLineCount();
    int GetLastLine() { return GetLineCount(); }
    int GetCurLine();
    int PositionFromLine(int lLine);
    int GetLineEndPosition(int lLine);
    int GetColumn();
    int GetCaretInLine();
    QByteArray GetLine(int lLine);
    void DeleteLine();

    int GetCurPos();
    void SetCurrentPosition(int lval);
    void SetSel(int lStart, int lEnd);
    int GetSelStart();
    int GetSelEnd();
    QString GetSelText();
    QString SelText() { return GetSelText(); }
    void LetSelText(const QString &text); // SetSelText, then the focus
    void SetSelText(const QString &str) { ReplaceSel(str); }
    void ReplaceSel(const QString &str);
    void SetSeletText(const QString &strVal);
    void SelectAll();

    void Cut();
    void Copy();
    void Paste();
    void Undo();
    void Redo();
    void ClearUndoBuffer();
    void SetSavePoint();
    bool Modified();
    bool GetReadOnly();
    bool ReadOnly() { return GetReadOnly(); }
    void SetReadOnly(bool bVal);
    int LineBreak() const { return m_lineBreak; }
    void LetLineBreak(int eolVal); // remembered for SaveToFile, then SetLineBreak
    void SetLineBreak(int eolVal);

    // Loads the file's bytes (ANSI code page); false when the file is missing or unreadable,
    // or the user declined a file the code page cannot read: the document is then left as it was.
    bool LoadFile(const QString &strFile);
    enum class LoadResult { Loaded, Unreadable, Declined };
    LoadResult LoadDocument(const QString &strFile);
    // Asked, with the offset of the first such byte, before a file holding bytes the code page
    // cannot read is loaded (saving would change them); true loads it anyway. Without it, loads.
    void setInvalidBytesQuestion(std::function<bool(qsizetype firstInvalidByte)> ask)
    {
        m_acceptInvalidBytes = std::move(ask);
    }
    // Asked the same way, with the offset of the first NUL byte, before such a file is loaded;
    // the NUL bytes are kept, text after them too.
    void setNulBytesQuestion(std::function<bool(qsizetype firstNulByte)> ask) { m_acceptNulBytes = std::move(ask); }
    // The bytes SaveToFile would write for the current text.
    QByteArray FileBytes(bool *lossless = nullptr);
    // Writes the document (ANSI code page, line ends per LineBreak); false when the write failed.
    bool SaveToFile(const QString &strFile);

    // --- editing aids -----------------------------------------------------------------
    bool AutoIndent() const { return m_autoIndent.enabled; }
    void LetAutoIndent(bool on) { m_autoIndent.enabled = on; }
    void MaintainIndentation() { m_autoIndent.maintainIndentation(); }
    bool MatchBraces() const { return m_braces.enabled; }
    void LetMatchBraces(bool on) { m_braces.enabled = on; }

    bool ShowFlags() const { return m_bookmarks.marginShown; }
    void LetShowFlags(bool on);
    void SetFlags(bool val) { m_bookmarks.showMargin(val); }
    void ToggleFlag() { m_bookmarks.toggle(); }
    void MarkerSet(int iLine, int iMarkerNum);
    void NextFlag() { m_bookmarks.next(); }
    void PrevFlag() { m_bookmarks.previous(); }
    void ClearFlags() { m_bookmarks.clear(); }

    bool Folding() const { return m_folding.enabled; }
    void LetFolding(bool on);
    void SetFolding(bool bDoFold) { m_folding.apply(bDoFold); }

    bool LineNumbers() const { return m_lineNumbers; }
    void LetLineNumbers(bool on);
    void SetLineNumbers(bool bVal);
    void SetMarginWidth(int enMargin, int lWidth);
    bool ContextMenu() const { return m_contextMenu; }
    void LetContextMenu(bool on);
    void SetContextMenu(bool on);
    bool WordWrap() const { return m_wordWrap; }
    void LetWordWrap(bool on);
    bool ViewWhiteSpace() { return GetViewWhiteSpace(); }
    bool GetViewWhiteSpace();
    void SetViewWhiteSpace(bool on);
    int ScrollWidth() { return GetScrollWidth(); }
    int GetScrollWidth();
    void SetScrollWidth(int width);
    int GetZoom();
    void SetZoom(int lval);
    void ZoomIn();
    void ZoomOut();
    void ClearCommandKeys();
    void ClearCmdKey(int lKeyDef);

    // Read by the completion list and call tips.
    bool ShowCallTips() const { return m_showCallTips; }
    void LetShowCallTips(bool on) { m_showCallTips = on; }
    bool AutoShowAutoComplete() const { return m_autoShowAutoComplete; }
    void LetAutoShowAutoComplete(bool on) { m_autoShowAutoComplete = on; }
    bool IgnoreAutoCCase() const { return m_ignoreAutoCCase; }
    void LetIgnoreAutoCCase(bool on);
    const QString &AutoCompleteString() const { return m_autoCompleteString; }
    void LetAutoCompleteString(const QString &s) { m_autoCompleteString = s; }
    const QString &AutoCompleteStart() const { return m_autoCompleteStart; }
    void LetAutoCompleteStart(const QString &s) { m_autoCompleteStart = s; }

    // --- completion lists and call tips ---------------------------------------------------
    void ShowAutoComplete(const QString &strVal, int lngIndex = 0) { m_completionList.show(strVal, lngIndex); }
    // The open list's current item, without padding; empty without a list.
    QString GetSelectText() { return m_completionList.selectedText(); }
    // Selects the open list's first item.
    QString getSelectItem() { SendEditor(QsciScintillaBase::SCI_AUTOCSELECT, 0, QString()); return {}; }
    void CancelSelect() { SendEditor(QsciScintillaBase::SCI_AUTOCCANCEL); }
    void AutoSetFillups(const QString &) { SendEditor(QsciScintillaBase::SCI_AUTOCSETFILLUPS, 0, QStringLiteral(":")); }
    void SetAutoCompleteIgnoreCase(bool bVal) { SendEditor(QsciScintillaBase::SCI_AUTOCSETIGNORECASE, bVal ? 1 : 0); }
    void ShowCallTip(const QString &strVal) { m_callTips.show(strVal); }
    void StopCallTip() { m_callTips.stop(); }
    int CallTipActive() { return m_callTips.active() ? 1 : 0; }
    void SetCallTipHighlight(int lStart, int lEnd) { m_callTips.highlight(lStart, lEnd); }
    // False when the file cannot be read; the signatures loaded before are dropped either way.
    bool LoadAPIFile(const QString &strFile) { return m_callTips.load(strFile); }

    // --- search, replace, go to -----------------------------------------------------------
    SearchEngine &search() { return m_search; }
    bool FindText(const QString &txttofind, const FindOptions &options = {})
    {
        return m_search.find(txttofind, options).found;
    }
    bool FindNext() { return m_search.findAgain(false).found; }
    bool FindPrev() { return m_search.findAgain(true).found; }
    void ReplaceTarget(int lLen, const QString &strRep) { m_search.replaceTarget(lLen, strRep); }
    int ReplaceAll(const QString &strSearchFor, const QString &strReplaceWith, const FindOptions &options = {})
    {
        return m_search.replaceAll(strSearchFor, strReplaceWith, options).count;
    }
    // Always false, as the platform's callers expect.
    bool ReplaceText(const QString &strSearchFor, const QString &strReplaceWith, bool replaceAll,
                     const FindOptions &options = {})
    {
        m_search.replaceSelections(strSearchFor, strReplaceWith, replaceAll, options);
        return false;
    }
    void GotoLine(int iLine) { m_search.gotoLine(iLine); }
    void GotoLineColumn(int iLine, int iCol) { m_search.gotoLineColumn(iLine, iCol); }
    // Without a text: the find dialog; an invalid pattern is reported through the dialogs.
    void DoFind(const QString &strFindText = QString());
    void DoReplace();
    void DoGoto();

    // The search dialogs DoFind, DoReplace and DoGoto open; not owned. Without them those
    // calls open nothing.
    void setSearchDialogs(ISearchDialogs *dialogs) { m_dialogs = dialogs; }

    // --- styles and printing ------------------------------------------------------------
    void SetStyleFore(int lStyleNum, int lColor) { m_styles.setFore(lStyleNum, lColor); }
    void SetStyleBack(int lStyleNum, int lColor) { m_styles.setBack(lStyleNum, lColor); }
    void SetStyleFont(int lStyleNum, const QString &strFont) { m_styles.setFont(lStyleNum, strFont); }
    void SetStyleSize(int lStyleNum, int lFontSize) { m_styles.setSize(lStyleNum, lFontSize); }
    void SetStyleBold(int lStyleNum, bool bBold) { m_styles.setBold(lStyleNum, bBold); }
    void SetStyleItalic(int lStyleNum, bool bItalic) { m_styles.setItalic(lStyleNum, bItalic); }
    void SetStyleUnderline(int lStyleNum, bool bUnderline) { m_styles.setUnderline(lStyleNum, bUnderline); }
    void SetStyleVisible(int lStyleNum, int bVisible) { m_styles.setVisible(lStyleNum, bVisible); }
    void SetStyleEOLFilled(int lStyleNum, bool bEOLFilled) { m_styles.setEOLFilled(lStyleNum, bEOLFilled); }
    void SetKeywords(int iKeywordNum, const QString &strKeywords) { m_styles.setKeywords(iKeywordNum, strKeywords); }
    void SetLexer(int lLexerNum) { m_styles.setLexer(lLexerNum); }
    void SetStyleBits(int iBit) { m_styles.setStyleBits(iBit); }
    void StartStyle() { m_styles.startStyle(); }
    void Colourise() { m_styles.colourise(); }
    void StyleClearAll() { m_styles.styleClearAll(); }
    void SetFixedFont(const QString &strFont, int lSize) { m_styles.setFixedFont(strFont, lSize); }
    void SetHighlighter(int iHighlighter) { m_styles.setHighlighter(iHighlighter); }
    // The index of the highlighter file applied last.
    int lHighlighterNum = 0;

    PrintOutcome PrintDoc() { return m_printing.printDoc(); }
    PrintOutcome PrintSCI(QPrinter &printer, int txtLen, int LeftMarginWidth, int TopMarginHeight,
                          int RightMarginWidth, int BottomMarginHeight)
    {
        return m_printing.printSCI(printer, txtLen, LeftMarginWidth, TopMarginHeight, RightMarginWidth,
                                   BottomMarginHeight);
    }

signals:
    void OnModified(int ch);
    void StyleNeeded();
    void CharAdded(int ch);
    void SavePointReached();
    void SavePointLeft();
    void DoubleClick();
    void UpdateUI();
    void MarginClick();
    void Painted();
    void UserListSelection();
    void UriDropped(const QString &text);

private:
    // The whole text replaced, NUL bytes included.
    void replaceText(const QByteArray &utf8);
    void connectNotifications();
    // Completes the record with this window's header and delivers it to the form.
    void notifyParent(SCNotification record);
    void raiseEvent(const SCNotification &record);
    void findAndReport(const QString &text, const FindOptions &options);

    platform::Hwnd m_hwnd = 0;
    platform::Hwnd m_parentHwnd = 0;
    QPointer<QsciScintillaBase> m_editor;
    platform::AnsiCodec m_codec;

    // The parts, in the order they see a notification.
    ::AutoIndent m_autoIndent{*this};
    BraceMatcher m_braces{*this};
    ::Folding m_folding{*this};
    Bookmarks m_bookmarks{*this};
    CompletionList m_completionList{*this};
    CallTips m_callTips{*this};
    const std::array<EditorPart *, 6> m_parts{&m_autoIndent, &m_braces,         &m_folding,
                                              &m_bookmarks,  &m_completionList, &m_callTips};
    SearchEngine m_search{*this};
    Styles m_styles{*this};
    Printing m_printing{*this};
    ISearchDialogs *m_dialogs = nullptr;
    std::function<bool(qsizetype)> m_acceptInvalidBytes;
    std::function<bool(qsizetype)> m_acceptNulBytes;

    bool m_lineNumbers = false;
    bool m_contextMenu = false;
    bool m_wordWrap = false;
    bool m_showCallTips = false;
    bool m_autoShowAutoComplete = false;
    bool m_ignoreAutoCCase = false;
    int m_lineBreak = 0;
    QString m_autoCompleteString;
    QString m_autoCompleteStart;
};

// Key definition helpers: key code in the low word, modifiers in the high word.
std::int32_t LShift(std::int32_t lValue, int lNumberOfBitsToShift);
std::int32_t Shift(std::int32_t value, int bits, bool left);
