#pragma once
// The main window: start-up from the command line, the editor placement, the persisted
// window position and the close sequence.

#include "app/SettingsStore.h"
#include "editor/usrScintilla.h"
#include "platform/Prompt.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // The store and the prompt outlive the window; tests pass their own.
    frmMain(ISettingsStore &settings, platform::IPrompt &prompt, QString commandLine, QWidget *parent = nullptr);
    ~frmMain() override;

    platform::Hwnd hWnd() const { return m_hwnd; }
    usrScintilla &editor() { return *sciMain; }
    clsScintilla &wrapper() { return *sciMain->sciMain; }

    bool bTextChanged = false;
    QString strBaseCaption;
    QString strFileName;
    QTimer Timer1;

    // Places the editor over the free client area (also run on every resize).
    void placeEditor();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // Saves the document for the close sequence; true when it was saved.
    virtual bool saveForClose();

private:
    void Form_Load();
    void restoreWindowPosition();
    void storeWindowPosition();
    void configureEditor();
    void sciMain_CharAdded(int &ch);
    void Timer1_Timer();

    ISettingsStore &m_settings;
    platform::IPrompt &m_prompt;
    QString m_commandLine;
    platform::Hwnd m_hwnd = 0;
    std::unique_ptr<usrScintilla> sciMain;
    QWidget *m_clientArea = nullptr;
};
