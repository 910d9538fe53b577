// The login dialog's form and the connection texts it builds; the logins themselves run against
// a real database in test_dev_database.cpp.

#include "completion/OdbcConnectionString.h"
#include "completion/frmUserLogin.h"
#include "platform/SettingsStore.h"
#include "support/ScopedEnv.h"
#include "support/ScriptedPrompt.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct LoginDialog : ::testing::Test {
    QTemporaryDir dir;
    QSettingsStore settings{dir.filePath("settings")};
    ScriptedPrompt prompt;
    bool schemaOn = true;
    std::unique_ptr<DevConnection> connection;
};

template <typename T> T *child(QWidget &w, const char *name) { return w.findChild<T *>(QString::fromLatin1(name)); }

TEST_F(LoginDialog, ControlsCaptionsAndTabOrder)
{
    frmUserLogin form(settings, prompt, schemaOn, connection);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("连接数据库"));
    ASSERT_NE(child<QGroupBox>(form, "Frame1"), nullptr);
    EXPECT_EQ(child<QGroupBox>(form, "Frame1")->title(), QStringLiteral("数据库登录"));
    EXPECT_EQ(child<QPushButton>(form, "cmdOK")->text(), QStringLiteral("确定(&O)"));
    EXPECT_EQ(child<QPushButton>(form, "cmdCancel")->text(), QStringLiteral("退出(&X)"));
    EXPECT_EQ(child<QCheckBox>(form, "Check1")->text(), QStringLiteral("保存参数"));
    QLineEdit *password = child<QLineEdit>(form, "txtPassWord");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    password->setText(QStringLiteral("pw 密码"));
    EXPECT_EQ(password->displayText(), QStringLiteral("*****"));
    const char *order[] = {"txtSeverName", "txtDBName", "txtUserName", "txtPassWord", "cmdOK", "cmdCancel", "Check1"};
    // The next control that Tab reaches (labels and the frame take no focus).
    const auto nextTabStop = [](QWidget *w) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
        return w;
    };
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        EXPECT_EQ(nextTabStop(child<QWidget>(form, order[i])), child<QWidget>(form, order[i + 1])) << order[i];
}

struct RequiredRow { const char *name; const char *server; const char *database; const char *user; };
const RequiredRow kRequired[] = {
    {"ServerOfSpacesOnly", "   ", "db", "sa"},
    {"NoDatabase", "srv", "", "sa"},
    {"NoUser", "srv", "db", " "},
};
class RequiredFields : public LoginDialog, public ::testing::WithParamInterface<RequiredRow> {};
TEST_P(RequiredFields, AskedForBeforeAnyConnection)
{
    frmUserLogin form(settings, prompt, schemaOn, connection);
    child<QLineEdit>(form, "txtSeverName")->setText(QString::fromUtf8(GetParam().server));
    child<QLineEdit>(form, "txtDBName")->setText(QString::fromUtf8(GetParam().database));
    child<QLineEdit>(form, "txtUserName")->setText(QString::fromUtf8(GetParam().user));
    child<QPushButton>(form, "cmdOK")->click();
    EXPECT_EQ(prompt.informed, QStringList{QStringLiteral("数据库服务器、数据库名、用户名为必填项！")});
    EXPECT_EQ(prompt.titles, QStringList{QStringLiteral("Plendor")});
    EXPECT_FALSE(schemaOn);
    EXPECT_EQ(connection, nullptr);
    EXPECT_EQ(form.result(), QDialog::Rejected);
}
INSTANTIATE_TEST_SUITE_P(Rows, RequiredFields, ::testing::ValuesIn(kRequired),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(LoginDialog, CancelChangesNothing)
{
    frmUserLogin form(settings, prompt, schemaOn, connection);
    child<QPushButton>(form, "cmdCancel")->click();
    EXPECT_TRUE(schemaOn);
    EXPECT_EQ(connection, nullptr);
}

TEST_F(LoginDialog, OpensWithTheStoredValues)
{
    settings.write("Plendor", "Settings", "ServerName", " srv ");
    settings.write("Plendor", "Settings", "PassWord", "pw");
    frmUserLogin form(settings, prompt, schemaOn, connection);
    EXPECT_EQ(child<QLineEdit>(form, "txtSeverName")->text(), QStringLiteral(" srv "));
    EXPECT_EQ(child<QLineEdit>(form, "txtDBName")->text(), QString());
    EXPECT_EQ(child<QLineEdit>(form, "txtPassWord")->text(), QStringLiteral("pw"));
}

struct ValueRow { const char *name; const char *value; const char *attribute; };
const ValueRow kValues[] = {
    {"PlainAsItStands", "127.0.0.1", "127.0.0.1"},
    {"EmptyAsItStands", "", ""},
    {"SemicolonQuoted", "a;DATABASE=x", "{a;DATABASE=x}"},
    {"ClosingBraceDoubled", "p}w;", "{p}}w;}"},
    {"OpeningBraceQuoted", "{x", "{{x}"},
    {"LeadingBlankQuoted", " x", "{ x}"},
    {"TrailingTabQuoted", "x\t", "{x\t}"},
    {"ChineseAsItStands", "开发库", "开发库"},
};
class OdbcValues : public ::testing::TestWithParam<ValueRow> {};
TEST_P(OdbcValues, CannotAddAttributes)
{
    EXPECT_EQ(odbcValue(QString::fromUtf8(GetParam().value)), QString::fromUtf8(GetParam().attribute));
}
INSTANTIATE_TEST_SUITE_P(Rows, OdbcValues, ::testing::ValuesIn(kValues),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ConnectionTexts, OdbcStringQuotesWhatCouldAddAttributes)
{
    const DevLogin login{"srv", "dev", "sa", "p;w"};
    OdbcSettings odbc;
    odbc.driver = "PostgreSQL Unicode";
    odbc.attributes = "Port=5433";
    EXPECT_EQ(odbcConnectionString(odbc, login),
              QStringLiteral("DRIVER={PostgreSQL Unicode};SERVER=srv;DATABASE=dev;UID=sa;PWD={p;w};Port=5433"));
}

TEST_F(LoginDialog, DriverFromTheSettingsBeforeTheEnvironment)
{
    {
        const ScopedEnv driver("PLENDOR_ODBC_DRIVER", "FromEnvironment");
        EXPECT_EQ(odbcSettingsFrom(settings).driver, QStringLiteral("FromEnvironment"));
        settings.write("Plendor", "Settings", "OdbcDriver", "FromSettings");
        EXPECT_EQ(odbcSettingsFrom(settings).driver, QStringLiteral("FromSettings"));
    }
    const ScopedEnv noDriver("PLENDOR_ODBC_DRIVER", nullptr);
    QSettingsStore empty(dir.filePath("other"));
    EXPECT_EQ(odbcSettingsFrom(empty).driver, QStringLiteral("FreeTDS"));
}

} // namespace
