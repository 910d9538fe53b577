#pragma once
// Wraps one editing window: creates it as a child of a form, forwards requests to it as
// Scintilla messages through SendEditor, and turns its notifications (delivered to the form
// as WM_NOTIFY through the message hook) into events, after running the editing aids.
// The document is UTF-8 inside the component; positions and lengths are its byte offsets.

#include "editor/FindOptions.h"
#include "editor/Notification.h"
#include "hooks/ISubclass.h"
#include "platform/AnsiCodec.h"

#include <QObject>
#include <QPointer>

#include <Qsci/qsciscintillabase.h>

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

    // --- text, selection, files -----------------------------------------------------------
    QString GetText();
    QString Text() { return GetText(); }
    void setText(const QString &text);
    void SetText(const QString &str);
    int GetLen();
    int GetDocLen();

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
    void setSelText(const QString &text);
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
    void setReadOnly(bool bVal) { SetReadOnly(bVal); }
    int LineBreak() const { return m_lineBreak; }
    void setLineBreak(int eolVal);
    void SetLineBreak(int eolVal);

    // Loads the file's bytes (ANSI code page); false when the file is missing or unreadable,
    // in which case the document is left as it was.
    bool LoadFile(const QString &strFile);
    // The bytes SaveToFile would write for the current text.
    QByteArray FileBytes(bool *lossless = nullptr);
    // Writes the document (ANSI code page, line ends per LineBreak); false when the write failed.
    bool SaveToFile(const QString &strFile);

    // --- editing aids -----------------------------------------------------------------
    bool AutoIndent() const { return m_autoIndent; }
    void setAutoIndent(bool on) { m_autoIndent = on; }
    bool MatchBraces() const { return m_matchBraces; }
    void setMatchBraces(bool on) { m_matchBraces = on; }
    bool ShowCallTips() const { return m_showCallTips; }
    void setShowCallTips(bool on) { m_showCallTips = on; }
    bool AutoShowAutoComplete() const { return m_autoShowAutoComplete; }
    void setAutoShowAutoComplete(bool on) { m_autoShowAutoComplete = on; }
    bool IgnoreAutoCCase() const { return m_ignoreAutoCCase; }
    void setIgnoreAutoCCase(bool on);
    const QString &AutoCompleteString() const { return m_autoCompleteString; }
    void setAutoCompleteString(const QString &s) { m_autoCompleteString = s; }
    const QString &AutoCompleteStart() const { return m_autoCompleteStart; }
    void setAutoCompleteStart(const QString &s) { m_autoCompleteStart = s; }

    bool ShowFlags() const { return m_showFlags; }
    void setShowFlags(bool on);
    bool Folding() const { return m_folding; }
    void setFolding(bool on);
    bool LineNumbers() const { return m_lineNumbers; }
    void setLineNumbers(bool on);
    bool ContextMenu() const { return m_contextMenu; }
    void setContextMenu(bool on);
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on);
    bool ViewWhiteSpace() { return GetViewWhiteSpace(); }
    void setViewWhiteSpace(bool on) { SetViewWhiteSpace(on); }
    bool GetViewWhiteSpace();
    void SetViewWhiteSpace(bool on);
    int ScrollWidth() { return GetScrollWidth(); }
    void setScrollWidth(int width) { SetScrollWidth(width); }
    int GetScrollWidth();
    void SetScrollWidth(int width);

    void SetLineNumbers(bool bVal);
    void SetMarginWidth(int enMargin, int lWidth);
    void SetFlags(bool val);
    void SetFolding(bool bDoFold);
    void SetContextMenu(bool on);
    void ToggleFlag();
    void MarkerSet(int iLine, int iMarkerNum);
    void NextFlag();
    void PrevFlag();
    void ClearFlags();
    int GetZoom();
    void SetZoom(int lval);
    void ZoomIn();
    void ZoomOut();
    void MaintainIndentation();
    void ClearCommandKeys();
    void ClearCmdKey(int lKeyDef);
    // --- search, replace, go to -----------------------------------------------------------
    bool FindText(const QString &txttofind, const FindOptions &options = {});
    bool FindNext();
    bool FindPrev();
    // True when the last search failed because its regular expression is invalid.
    bool lastPatternInvalid() const { return m_patternInvalid; }
    void ReplaceTarget(int lLen, const QString &strRep);
    int ReplaceAll(const QString &strSearchFor, const QString &strReplaceWith, const FindOptions &options = {});
    bool ReplaceText(const QString &strSearchFor, const QString &strReplaceWith, bool replaceAll,
                     const FindOptions &options = {});
    void GotoLine(int iLine);
    void GotoLineColumn(int iLine, int iCol);
    void DoFind(const QString &strFindText = QString());
    void DoReplace();
    void DoGoto();
    bool searchDone() const { return m_searchDone; }

    // The settings store and prompt the search dialogs use.
    void setDialogServices(const DialogServices &services) { m_services = services; }

signals:
    void OnModified(int &ch);
    void StyleNeeded();
    void CharAdded(int &ch);
    void SavePointReached();
    void SavePointLeft();
    void DoubleClick();
    void UpdateUI();
    void MarginClick();
    void Painted();
    void UserListSelection();
    void UriDropped(QString &text);

private:
    void connectNotifications();
    void notifyParent(SCNotification record);
    void matchBraces();
    int braceAtCaret();

    platform::Hwnd m_hwnd = 0;
    platform::Hwnd m_parentHwnd = 0;
    QPointer<QsciScintillaBase> m_editor;
    platform::AnsiCodec m_codec;

    bool m_autoIndent = false;
    bool m_matchBraces = false;
    bool m_showCallTips = false;
    bool m_autoShowAutoComplete = false;
    bool m_showFlags = false;
    bool m_folding = false;
    bool m_lineNumbers = false;
    bool m_contextMenu = false;
    bool m_wordWrap = false;
    bool m_ignoreAutoCCase = false;
    int m_lineBreak = 0;
    QString m_autoCompleteString;
    QString m_autoCompleteStart;
    int searchInTarget(const QByteArray &text, int start, int end);
    bool repeatSearch(bool reverse);
    void setSearchFlags(const FindOptions &options);
    void reportInvalidPattern(const QString &pattern);

    bool m_searchDone = false;
    bool m_patternInvalid = false;
    QString m_lastSearch;
    FindOptions m_lastOptions;
    DialogServices m_services;
};

// Key definition helpers: key code in the low word, modifiers in the high word.
std::int32_t LShift(std::int32_t lValue, int lNumberOfBitsToShift);
std::int32_t Shift(std::int32_t value, int bits, bool left);
