#pragma once
// The replace dialog: one modeless dialog for the process, working on whichever editor last
// called it up.

#include "platform/SettingsStore.h"
#include "dialogs/DialogSettings.h"
#include "editor/clsScintilla.h"
#include "platform/Prompt.h"

#include <QComboBox>
#include <QDialog>
#include <QPointer>

class QLabel;

class frmReplace : public QDialog {
    Q_OBJECT
public:
    // Loads the dialog if needed and shows it (brought forward when already shown).
    static frmReplace &show(ISettingsStore &settings, platform::IPrompt &prompt, QWidget *parent);
    // The dialog of the process, if loaded.
    static frmReplace *instance();

    QPointer<clsScintilla> cScintilla;

    QComboBox *cmbFind() const { return m_cmbFind; }
    QComboBox *cmbReplace() const { return m_cmbReplace; }

    void cmdFindNext_Click();
    void cmdReplace_Click();
    void cmdReplaceAll_Click();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    frmReplace(ISettingsStore &settings, platform::IPrompt &prompt, QWidget *parent);
    FindOptions options() const;
    bool findNext();
    void unload();

    ISettingsStore &m_settings;
    platform::IPrompt &m_prompt;
    QComboBox *m_cmbFind = nullptr;
    QComboBox *m_cmbReplace = nullptr;
    QLabel *m_lblReplace = nullptr;
    dialogs::SearchChecks m_checks;
    bool m_unloaded = false;
};
