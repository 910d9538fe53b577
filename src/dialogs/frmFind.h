#pragma once
// The find dialog: collects the text and options; the engine's DoFind runs the search.

#include "platform/SettingsStore.h"
#include "dialogs/DialogSettings.h"
#include "dialogs/FindHistory.h"

#include <QComboBox>
#include <QDialog>

class QRadioButton;

class frmFind : public QDialog {
    Q_OBJECT
public:
    explicit frmFind(ISettingsStore &settings, QWidget *parent = nullptr);
    ~frmFind() override; // unloading stores the position and options

    int DoWhat = 0;

    // Where searched texts are recorded; without one they go to the history file silently.
    void setHistory(FindHistory::Recorder *history) { m_history = history; }

    QComboBox *cmbFind() const { return m_cmbFind; }
    bool optUpChecked() const;
    bool checked(const char *checkBoxName) const;

private:
    void cmdFind_Click();
    void cmdCancel_Click();

    ISettingsStore &m_settings;
    QComboBox *m_cmbFind = nullptr;
    QRadioButton *m_optUp = nullptr;
    QRadioButton *m_optDown = nullptr;
    dialogs::SearchChecks m_checks;
    FindHistory::Recorder *m_history = nullptr;
};
