#pragma once
// The editor control a form places: keeps the editor options with their defaults, creates the
// editing window as a child of the form, re-raises the wrapper's events, and forwards
// convenience methods to the wrapper (reachable as the public member sciMain).

#include "editor/clsScintilla.h"

#include <QObject>
#include <memory>

class usrScintilla : public QObject {
    Q_OBJECT
public:
    explicit usrScintilla(platform::Hwnd form, QObject *parent = nullptr);
    ~usrScintilla() override;

    std::unique_ptr<clsScintilla> sciMain;

    // Screen twips per pixel; MoveIt divides sizes by it.
    static double twipsPerPixelX();
    static double twipsPerPixelY();
    void setTwipsPerPixel(double x, double y) { m_twipsX = x; m_twipsY = y; }

    // --- persisted properties -----------------------------------------------------------
    QString Text() const;
    void setText(const QString &text);
    QString SelText() const;
    void setSelText(const QString &text);
    bool ShowCallTips() const { return m_showCallTips; }
    void setShowCallTips(bool on);
    bool ViewWhiteSpace() const { return m_viewWhiteSpace; }
    void setViewWhiteSpace(bool on);
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on);
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool on);
    bool ContextMenu() const { return m_contextMenu; }
    void setContextMenu(bool on);
    bool AutoIndent() const { return m_autoIndent; }
    void setAutoIndent(bool on);
    bool IgnoreAutoCCase() const { return m_ignoreAutoCCase; }
    void setIgnoreAutoCCase(bool on);
    bool Bracematch() const { return m_bracematch; }
    void setBracematch(bool on) { m_bracematch = on; }
    int ScrollWidth() const { return m_scrollWidth; }
    void setScrollWidth(int width) { m_scrollWidth = width; }
    bool LineNumbers() const { return m_lineNumbers; }
    void setLineNumbers(bool on) { m_lineNumbers = on; }
    bool Folding() const { return m_folding; }
    void setFolding(bool on) { m_folding = on; }
    bool Modified() const;
    void setModified(bool) {}
    QString CurHighlighter() const { return m_curHighlighter; }
    void setCurHighlighter(const QString &name) { m_curHighlighter = name; }
    bool ShowFlags() const { return m_showFlags; }
    void setShowFlags(bool on) { m_showFlags = on; }
    bool AutoShowAutoComplete() const { return m_autoShowAutoComplete; }
    void setAutoShowAutoComplete(bool on) { m_autoShowAutoComplete = on; }
    QString AutoCompleteString() const { return m_autoCompleteString; }
    void setAutoCompleteString(const QString &s) { m_autoCompleteString = s; }
    QString AutoCompleteStart() const { return m_autoCompleteStart; }
    void setAutoCompleteStart(const QString &s) { m_autoCompleteStart = s; }

    // --- methods -------------------------------------------------------------------------
    void InitScintilla();
    void CloseScintilla();
    void MoveIt(int lLeft, int lTop, int lWidth, int lHeight);
    void DoNew();
    bool DoOpen(const QString &strFile);
    bool DoSave(const QString &strFile);
    void SetFocusEx();
    void Cut();
    void Copy();
    void Paste();
    void Undo();
    void Redo();
    void SetPos(int lStart, int lEnd);
    void SetSavePoint();
    void ClearUndoBuffer();
    void ClearFlags();
    void NextFlag();
    void PrevFlag();
    void ToggleFlag();
    QByteArray GetTextRange(int lStart, int lEnd);
    void DoFind(const QString &strFindText = QString());
    void DoReplace();
    bool FindNext();
    bool FindPrev();
    void DoGoto();
    void DeleteLine();

signals:
    void CharAdded(int &ch);
    void OnModified(int &ch);
    void OpenFileUrl(QString &file);
    void StyleNeeded();
    void SavePointReached();
    void SavePointLeft();
    void DoubleClick();
    void UpdateUI();
    void MarginClick();
    void UserListSelection();

private:
    platform::Hwnd m_form;
    double m_twipsX;
    double m_twipsY;

    bool m_showCallTips = false;
    bool m_viewWhiteSpace = false;
    bool m_wordWrap = false;
    bool m_readOnly = false;
    bool m_contextMenu = false;
    bool m_autoIndent = false;
    bool m_ignoreAutoCCase = false;
    bool m_bracematch = true;
    int m_scrollWidth = 10000;
    bool m_lineNumbers = true;
    bool m_folding = true;
    QString m_curHighlighter;
    bool m_showFlags = true;
    bool m_autoShowAutoComplete = false;
    QString m_autoCompleteString = QStringLiteral("if then else");
    QString m_autoCompleteStart = QStringLiteral(".");
};
