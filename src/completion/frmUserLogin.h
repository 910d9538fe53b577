#pragma once
// The development-database login: server, database, login name and password; OK opens the
// connection, checks it with a query and switches database completion on. Run modally through
// the prompt interface; every message goes through it too.

#include "completion/DevConnection.h"
#include "completion/OdbcConnectionString.h"

#include <QDialog>
#include <memory>

class ISettingsStore;
class QCheckBox;
class QLineEdit;
class QPushButton;
namespace platform {
class IPrompt;
}

class frmUserLogin : public QDialog {
    Q_OBJECT
public:
    // schemaCompletionOn and devConnection are the main window's; the dialog writes both.
    frmUserLogin(ISettingsStore &settings, platform::IPrompt &prompt, bool &schemaCompletionOn,
                 std::unique_ptr<DevConnection> &devConnection, QWidget *parent = nullptr);

    void cmdOK_Click();
    void cmdCancel_Click();

    // The platform's connection text of the last attempt, as a record.
    QString connectionRecord() const { return m_record; }

private:
    void Form_Load();
    void fail(const QString &description);

    ISettingsStore &m_settings;
    platform::IPrompt &m_prompt;
    bool &m_schemaOn;
    std::unique_ptr<DevConnection> &m_connection;
    QString m_record;

    QLineEdit *txtSeverName;
    QLineEdit *txtDBName;
    QLineEdit *txtUserName;
    QLineEdit *txtPassWord;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;
    QCheckBox *Check1;
};
