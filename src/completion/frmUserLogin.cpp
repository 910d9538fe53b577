#include "completion/frmUserLogin.h"

#include "platform/Prompt.h"
#include "platform/SettingsStore.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kApp = QStringLiteral("Plendor");
const QString kSection = QStringLiteral("Settings");
const QString kCheckQuery = QStringLiteral("select * from  dbo.sysobjects where 1 = 0");
// Drivers end a login at about the time-out; a failure this close to it counts as the time-out.
constexpr qint64 kTimeOutSlackMs = 500;

// Shows each character of a password as "*", as the platform's login boxes do.
class StarPasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QLineEdit *namedEdit(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}
} // namespace

frmUserLogin::frmUserLogin(ISettingsStore &settings, platform::IPrompt &prompt, bool &schemaCompletionOn,
                           std::unique_ptr<DevConnection> &devConnection, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_prompt(prompt), m_schemaOn(schemaCompletionOn),
      m_connection(devConnection)
{
    setObjectName(QStringLiteral("frmUserLogin"));
    setWindowTitle(QStringLiteral("连接数据库"));
    setModal(true);

    auto *frame = new QGroupBox(QStringLiteral("数据库登录"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    txtSeverName = namedEdit("txtSeverName", frame);
    txtDBName = namedEdit("txtDBName", frame);
    txtUserName = namedEdit("txtUserName", frame);
    txtPassWord = namedEdit("txtPassWord", frame);
    txtPassWord->setEchoMode(QLineEdit::Password);
    // A child of the dialog made after the box, so it outlives the box when the dialog goes.
    auto *stars = new StarPasswordStyle;
    stars->setParent(this);
    txtPassWord->setStyle(stars);
    auto *fields = new QFormLayout(frame);
    fields->addRow(QStringLiteral("服务器名"), txtSeverName);
    fields->addRow(QStringLiteral("数据库名"), txtDBName);
    fields->addRow(QStringLiteral("登录名"), txtUserName);
    fields->addRow(QStringLiteral("密码"), txtPassWord);

    cmdOK = new QPushButton(QStringLiteral("确定(&O)"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("退出(&X)"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    Check1 = new QCheckBox(QStringLiteral("保存参数"), this);
    Check1->setObjectName(QStringLiteral("Check1"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Check1);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);

    setTabOrder(txtSeverName, txtDBName);
    setTabOrder(txtDBName, txtUserName);
    setTabOrder(txtUserName, txtPassWord);
    setTabOrder(txtPassWord, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    setTabOrder(cmdCancel, Check1);

    connect(cmdOK, &QPushButton::clicked, this, &frmUserLogin::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmUserLogin::cmdCancel_Click);
    Form_Load();
}

void frmUserLogin::Form_Load()
{
    txtSeverName->setText(m_settings.read(kApp, kSection, QStringLiteral("ServerName"), QString()));
    txtDBName->setText(m_settings.read(kApp, kSection, QStringLiteral("DBName"), QString()));
    txtUserName->setText(m_settings.read(kApp, kSection, QStringLiteral("UserName"), QString()));
    txtPassWord->setText(m_settings.read(kApp, kSection, QStringLiteral("PassWord"), QString()));
    txtSeverName->setFocus();
}

void frmUserLogin::cmdOK_Click()
{
    m_schemaOn = false;
    const DevLogin login{txtSeverName->text().trimmed(), txtDBName->text().trimmed(), txtUserName->text().trimmed(),
                         txtPassWord->text().trimmed()};
    if (login.server.isEmpty() || login.database.isEmpty() || login.user.isEmpty()) {
        m_prompt.inform(platform::appTitle(), QStringLiteral("数据库服务器、数据库名、用户名为必填项！"),
                        platform::Icon::Information);
        return;
    }
    m_record = oleDbConnectionString(login);
    const OdbcSettings odbc = odbcSettingsFrom(m_settings);

    // The attempt replaces the old connection even when it fails.
    m_connection = std::make_unique<DevConnection>();
    QElapsedTimer waited;
    waited.start();
    if (!m_connection->open(odbcConnectionString(odbc, login), odbc.loginTimeoutSeconds)) {
        // The wait is named only when it is what ended the login (a refusal comes at once).
        const bool timedOut = waited.elapsed() >= qint64(odbc.loginTimeoutSeconds) * 1000 - kTimeOutSlackMs;
        fail(timedOut ? m_connection->lastError() +
                            QStringLiteral("\n\n(登录最多等待 %1 秒。)").arg(odbc.loginTimeoutSeconds)
                      : m_connection->lastError());
        return;
    }
    if (!m_connection->run(kCheckQuery)) {
        fail(m_connection->lastError());
        return;
    }
    m_schemaOn = true;
    if (Check1->isChecked()) {
        m_settings.write(kApp, kSection, QStringLiteral("ServerName"), txtSeverName->text());
        m_settings.write(kApp, kSection, QStringLiteral("DBName"), txtDBName->text());
        m_settings.write(kApp, kSection, QStringLiteral("UserName"), txtUserName->text());
        m_settings.write(kApp, kSection, QStringLiteral("PassWord"), txtPassWord->text());
    }
    accept();
}

void frmUserLogin::cmdCancel_Click() { reject(); }

void frmUserLogin::fail(const QString &description)
{
    m_schemaOn = false;
    m_prompt.inform(platform::appTitle(), description, platform::Icon::Information);
}
