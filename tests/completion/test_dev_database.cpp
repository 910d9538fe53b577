// Logins and schema lookups against a real PostgreSQL server through its ODBC driver, with the
// metadata tables of the platform's development database. The test run starts the server
// (test_db.sh, the Db.Start fixture) and writes where it is to connection.env.

#include "app/CommandIds.h"
#include "completion/DevConnection.h"
#include "completion/OdbcConnectionString.h"
#include "support/DevDbConnection.h"
#include "support/MainWindowFixture.h"
#include "support/ScopedEnv.h"
#include "support/TestHttpServer.h"
#include "support/Typing.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

namespace {

using DevDb = DevDbConnection;

std::optional<DevDb> devDb()
{
#ifdef PLENDOR_DEVDB_STATE
    return readDevDbConnection(QStringLiteral(PLENDOR_DEVDB_STATE));
#else
    return std::nullopt;
#endif
}

struct DevDbFixture : MainWindowFixture {
    DevDb db;
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        const std::optional<DevDb> found = devDb();
        if (!found)
            GTEST_SKIP() << "no development database: run through ctest (fixture Db.Start)";
        db = *found;
        driver.emplace("PLENDOR_ODBC_DRIVER", db.driver.toUtf8());
        attributes.emplace("PLENDOR_ODBC_ATTRIBUTES", ("Port=" + db.port).toUtf8());
    }
    void TearDown() override
    {
        attributes.reset();
        driver.reset();
        MainWindowFixture::TearDown();
    }
    std::optional<ScopedEnv> driver, attributes;
    // A dialog script that types the four fields and presses OK (then exit, should it stay).
    std::function<void(QDialog &)> login(const QString &server, const QString &database, const QString &user,
                                         const QString &password, bool save = false)
    {
        return [=](QDialog &d) {
            d.findChild<QLineEdit *>("txtSeverName")->setText(server);
            d.findChild<QLineEdit *>("txtDBName")->setText(database);
            d.findChild<QLineEdit *>("txtUserName")->setText(user);
            d.findChild<QLineEdit *>("txtPassWord")->setText(password);
            d.findChild<QCheckBox *>("Check1")->setChecked(save);
            d.findChild<QPushButton *>("cmdOK")->click();
            if (d.isVisible())
                d.findChild<QPushButton *>("cmdCancel")->click();
        };
    }
    std::unique_ptr<DevConnection> connect() const
    {
        auto c = std::make_unique<DevConnection>();
        OdbcSettings odbc{db.driver, "Port=" + db.port, 10};
        EXPECT_TRUE(c->open(odbcConnectionString(odbc, {"127.0.0.1", db.database, db.user, db.password}), 10))
            << c->lastError().toStdString();
        return c;
    }
};

using DevDbLogin = DevDbFixture;
using DevDbLookup = DevDbFixture;

TEST_F(DevDbLogin, LoginThenCompleteTablesAndFieldsByTyping)
{
    auto w = makeWindow();
    // The password is typed with blanks round it: used trimmed, stored as typed.
    prompt.dialogScripts.push_back(login(" 127.0.0.1 ", db.database, db.user, "  " + db.password + " ", true));
    w->action(cmd::ConnectDevDb)->trigger();
    ASSERT_TRUE(w->SchemaCompletionOn) << prompt.informed.join("\n").toStdString();
    EXPECT_TRUE(w->action(cmd::ConnectDevDb)->isChecked());
    EXPECT_EQ(w->completionLists.AllTablesList.split(u'|').size(), 6);
    EXPECT_TRUE(w->completionLists.AllTablesList.split(u'|').contains(QStringLiteral("tblNoCaption:")));
    EXPECT_EQ(settings.read("Plendor", "Settings", "PassWord", QString()), "  " + db.password + " ");
    EXPECT_EQ(settings.read("Plendor", "Settings", "ServerName", QString()), QStringLiteral(" 127.0.0.1 "));

    QsciScintillaBase &editor = *w->wrapper().widget();
    typeText(editor, QStringLiteral("select * from tblb"));
    ASSERT_TRUE(listActive(editor));
    EXPECT_EQ(w->wrapper().GetSelectText(), QStringLiteral("tblBill:单据"));
    chooseCurrent(editor);
    typeText(editor, QStringLiteral("."));
    // The fields come from a worker thread, over a connection of its own.
    ASSERT_TRUE(QTest::qWaitFor([&] { return listActive(editor); }, 20000));
    EXPECT_EQ(shownItems(editor), (QStringList{"amount:", "billDate:日期", "code:编码"}));
    typeText(editor, QStringLiteral("bi"));
    chooseCurrent(editor);
    typeText(editor, QStringLiteral(" where 单?"));
    EXPECT_EQ(shownItems(editor), QStringList{"tblBill:单据"});
    chooseCurrent(editor);
    EXPECT_EQ(documentText(editor), QStringLiteral("select * from tblBill.billDate where tblBill"));
}

// says: what the client's message holds, shown alone (not as a time-out).
struct FailedRow { const char *name; const char *database; const char *user; const char *password; const char *says; };
const FailedRow kFailed[] = {
    {"WrongPassword", nullptr, nullptr, "wrong", "password"},
    {"UnknownDatabase", "no_such_db", nullptr, nullptr, nullptr},
    // The login works but the check query does not: this user may not read the catalogue view.
    {"CheckQueryRefused", nullptr, "stranger", "other", nullptr},
};
class DevDbRefused : public DevDbFixture, public ::testing::WithParamInterface<FailedRow> {};
TEST_P(DevDbRefused, ClientMessageShownAndCompletionOffEvenAfterAnEarlierLogin)
{
    const FailedRow &row = GetParam();
    auto w = makeWindow();
    prompt.dialogScripts.push_back(login("127.0.0.1", db.database, db.user, db.password));
    prompt.dialogScripts.push_back(login("127.0.0.1", row.database ? row.database : db.database,
                                         row.user ? row.user : db.user, row.password ? row.password : db.password,
                                         true));
    w->action(cmd::ConnectDevDb)->trigger();
    ASSERT_TRUE(w->SchemaCompletionOn);
    w->action(cmd::ConnectDevDb)->trigger();
    EXPECT_FALSE(w->SchemaCompletionOn);
    EXPECT_FALSE(w->action(cmd::ConnectDevDb)->isChecked());
    ASSERT_EQ(prompt.informed.size(), 1);
    EXPECT_FALSE(prompt.informed.at(0).trimmed().isEmpty());
    if (row.says) {
        EXPECT_TRUE(prompt.informed.at(0).contains(QLatin1String(row.says), Qt::CaseInsensitive))
            << prompt.informed.at(0).toStdString();
        EXPECT_FALSE(prompt.informed.at(0).contains(QStringLiteral("秒"))) << "refused at once, not timed out";
    }
    EXPECT_EQ(prompt.titles.at(0), QStringLiteral("Plendor"));
    // Nothing is stored from a failed login.
    EXPECT_EQ(settings.read("Plendor", "Settings", "UserName", "unset"), QStringLiteral("unset"));
    // The table list of the earlier login stays until the next successful connect.
    EXPECT_FALSE(w->completionLists.AllTablesList.isEmpty());
}
INSTANTIATE_TEST_SUITE_P(Rows, DevDbRefused, ::testing::ValuesIn(kFailed),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(DevDbLogin, ServerThatNeverAnswersEndsAtTheLoginTimeOut)
{
    // Accepts the connection and says nothing: without a bound the login would wait for ever
    // (ctest's own time-out would end this test as failed).
    TestHttpServer silent(TestHttpServer::Mode::Stall);
    attributes.reset();
    attributes.emplace("PLENDOR_ODBC_ATTRIBUTES", QByteArray("Port=") + QByteArray::number(silent.port()));
    settings.write("Plendor", "Settings", "LoginTimeout", "2");
    auto w = makeWindow();
    prompt.dialogScripts.push_back(login("127.0.0.1", db.database, db.user, db.password));
    w->action(cmd::ConnectDevDb)->trigger();
    EXPECT_FALSE(w->SchemaCompletionOn);
    ASSERT_EQ(prompt.informed.size(), 1);
    EXPECT_TRUE(prompt.informed.at(0).contains(QStringLiteral("2 秒"))) << prompt.informed.at(0).toStdString();
}

struct FieldRow { const char *name; const char *table; const char *fields; };
const FieldRow kFields[] = {
    {"UpperCaseNameFindsTheTable", "TBLBILL", "amount:|billDate:日期|code:编码"},
    {"OtherTable", "TBLBILLDETAIL", "billNo:单号|code:编码"},
    {"FieldWithoutCaption", "TBLUSER", "userId:"},
    {"NameWithAQuote", "TBL'QUOTE", "quoted:引号"},
    {"UnknownTable", "TBLNONE", ""},
    {"FieldWithoutANameIsLeftOut", "TBLWAREHOUSE", "code:编码|stock:"},
    {"ChineseName", "单据", ""},
    {"InjectionAttemptIsJustAName", "X') or 1=1; drop table tbllanguage; --", ""},
};
class DevDbFields : public DevDbFixture, public ::testing::WithParamInterface<FieldRow> {};
TEST_P(DevDbFields, LookupFields)
{
    auto c = connect();
    EXPECT_EQ(LookupFields(c.get(), QString::fromUtf8(GetParam().table)), QString::fromUtf8(GetParam().fields));
    // The catalogue is intact afterwards.
    EXPECT_EQ(LookupFields(c.get(), QStringLiteral("TBLUSER")), QStringLiteral("userId:"));
}
INSTANTIATE_TEST_SUITE_P(Rows, DevDbFields, ::testing::ValuesIn(kFields),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(DevDbLookup, FailuresGiveTheEmptyList)
{
    auto c = connect();
    EXPECT_EQ(RunSchemaQuery(c.get(), QStringLiteral("select 'a' as other"), QStringLiteral("fieldName")), QString());
    EXPECT_EQ(RunSchemaQuery(c.get(), QStringLiteral("select * from no_such_table"), QStringLiteral("x")), QString());
    EXPECT_EQ(RunSchemaQuery(c.get(), QStringLiteral("select null::text as x"), QStringLiteral("x")), QString());
    EXPECT_EQ(RunSchemaQuery(c.get(), QStringLiteral("select 'a' as x union all select 'b'"), QStringLiteral("X")),
              QStringLiteral("a|b"));
    // A row holding NULL is left out, the others stay.
    EXPECT_EQ(RunSchemaQuery(c.get(), QStringLiteral("select 'a' as x union all select null union all select 'b'"),
                             QStringLiteral("x")),
              QStringLiteral("a|b"));
}

TEST_F(DevDbLookup, ConnectionGoneBetweenLookups)
{
    auto c = connect();
    ASSERT_FALSE(LookupAllTables(c.get()).isEmpty());
    // The server ends this session, as a restart or an administrator would.
    auto admin = std::make_unique<DevConnection>();
    OdbcSettings odbc{db.driver, "Port=" + db.port, 10};
    ASSERT_TRUE(admin->open(odbcConnectionString(odbc, {"127.0.0.1", "postgres", "postgres", "super"}), 10))
        << admin->lastError().toStdString();
    admin->run(QStringLiteral("select pg_terminate_backend(pid) from pg_stat_activity where usename = 'plendor'"));
    EXPECT_EQ(LookupAllTables(c.get()), QString());
    EXPECT_EQ(LookupFields(c.get(), QStringLiteral("TBLBILL")), QString());
}

} // namespace
