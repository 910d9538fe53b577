#pragma once
// The object window: a second editor that holds the stored (escaped) form of the document,
// hosted in the main window's bottom docking bar. Closing it ends the program.

#include "editor/usrScintilla.h"
#include "highlight/usrHighlighters.h"

#include <QWidget>
#include <functional>
#include <memory>

class frmObj : public QWidget {
    Q_OBJECT
public:
    explicit frmObj(QWidget *parent = nullptr);
    ~frmObj() override;

    platform::Hwnd hWnd() const { return m_hwnd; }
    usrScintilla &editor() { return *sciMain; }
    clsScintilla &wrapper() { return *sciMain->sciMain; }

    // What closing this window does to the program; tests replace it.
    std::function<void()> endProgram;
    usrHighlighters Highlighters;

    void execute(int id);
    QSize sizeHint() const override { return {400, 160}; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void bindShortcuts();

    platform::Hwnd m_hwnd = 0;
    std::unique_ptr<usrScintilla> sciMain;
};
