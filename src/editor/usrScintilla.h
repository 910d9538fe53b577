#pragma once
// The editor control a form places: keeps the editor options (EditorOptions, with their
// defaults), creates the editing window as a child of the form, re-raises the wrapper's events,
// and forwards convenience methods to the wrapper (reachable as the public member sciMain).

#include "editor/EditorOptions.h"
#include "editor/clsScintilla.h"

#include <QObject>
#include <memory>

class usrScintilla : public QObject {
    Q_OBJECT
public:
    explicit usrScintilla(platform::Hwnd form, QObject *parent = nullptr);
    ~usrScintilla() override;

    std::unique_ptr<clsScintilla> sciMain;

    // MoveIt divides sizes by the screen's twips per pixel; tests fix them.
    void setTwipsPerPixel(double x, double y) { m_twipsX = x; m_twipsY = y; }

    // --- persisted properties -----------------------------------------------------------
    const EditorOptions &options() const { return m_options; }

    QString Text() const;
    void setText(const QString &text);
    QString SelText() const;
    void setSelText(const QString &text);
    bool Modified() const;
    void setModified(bool) {} // the component's state; setting it does nothing

    // These reach the wrapper at once.
    bool ShowCallTips() const { return m_options.ShowCallTips; }
    void setShowCallTips(bool on);
    bool ViewWhiteSpace() const { return m_options.ViewWhiteSpace; }
    void setViewWhiteSpace(bool on);
    bool WordWrap() const { return m_options.WordWrap; }
    void setWordWrap(bool on);
    bool ReadOnly() const { return m_options.ReadOnly; }
    void setReadOnly(bool on);
    bool ContextMenu() const { return m_options.ContextMenu; }
    void setContextMenu(bool on);
    bool AutoIndent() const { return m_options.AutoIndent; }
    void setAutoIndent(bool on);
    bool IgnoreAutoCCase() const { return m_options.IgnoreAutoCCase; }
    void setIgnoreAutoCCase(bool on);

    // These are stored and reach the wrapper at the next InitScintilla.
    bool Bracematch() const { return m_options.Bracematch; }
    void setBracematch(bool on) { m_options.Bracematch = on; }
    int ScrollWidth() const { return m_options.ScrollWidth; }
    void setScrollWidth(int width) { m_options.ScrollWidth = width; }
    bool LineNumbers() const { return m_options.LineNumbers; }
    void setLineNumbers(bool on) { m_options.LineNumbers = on; }
    bool Folding() const { return m_options.Folding; }
    void setFolding(bool on) { m_options.Folding = on; }
    QString CurHighlighter() const { return m_options.CurHighlighter; }
    void setCurHighlighter(const QString &name) { m_options.CurHighlighter = name; }
    bool ShowFlags() const { return m_options.ShowFlags; }
    void setShowFlags(bool on) { m_options.ShowFlags = on; }
    bool AutoShowAutoComplete() const { return m_options.AutoShowAutoComplete; }
    void setAutoShowAutoComplete(bool on) { m_options.AutoShowAutoComplete = on; }
    QString AutoCompleteString() const { return m_options.AutoCompleteString; }
    void setAutoCompleteString(const QString &s) { m_options.AutoCompleteString = s; }
    QString AutoCompleteStart() const { return m_options.AutoCompleteStart; }
    void setAutoCompleteStart(const QString &s) { m_options.AutoCompleteStart = s; }

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
    // The default printer, one-inch margins.
    PrintOutcome PrintFile() { return sciMain->PrintDoc(); }

signals:
    void CharAdded(int ch);
    void OnModified(int ch);
    void OpenFileUrl(const QString &file);
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
    EditorOptions m_options;
};
