#pragma once
// The go-to dialog: a target line and column, digits only; the engine's DoGoto moves the caret.

#include "platform/SettingsStore.h"

#include <QDialog>

class QLabel;
class QLineEdit;

class frmGoto : public QDialog {
    Q_OBJECT
public:
    explicit frmGoto(ISettingsStore &settings, QWidget *parent = nullptr);
    ~frmGoto() override; // unloading stores the position

    int iWhatToDo = 0;

    void setLabels(const QString &curLine, const QString &lineCount, const QString &column);
    // 1-based targets: an empty box is 1; text that is not a number counts as 1; values are
    // clamped to the 32-bit range.
    int targetLine() const;
    int targetColumn() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ISettingsStore &m_settings;
    QLabel *m_lblCurLine = nullptr;
    QLabel *m_lblLineCount = nullptr;
    QLabel *m_lblColumn = nullptr;
    QLineEdit *m_txtLine = nullptr;
    QLineEdit *m_txtColumn = nullptr;
};
