// Schema lookups through a stand-in servlet on 127.0.0.1: every failure is the empty list.

#include "completion/SchemaLookup.h"
#include "link/RequestToken.h"
#include "support/TestHttpServer.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

ServletSchemaSource sourceAt(int port, std::chrono::milliseconds timeout = 5s)
{
    ServletSession session;
    session.Host = QStringLiteral("127.0.0.1");
    session.Port = port;
    return ServletSchemaSource(ServletClient(session, timeout));
}

TEST(SchemaQueries, TextsByteForByte)
{
    EXPECT_EQ(allTablesQuery(), QStringLiteral("select tableName + ':' + isnull(zh_Cn,'')  as tablename  from "
                                               "tbldbtableinfo t1 left join tbllanguage t2 on t1.languageid = t2.id  "));
    EXPECT_EQ(fieldsQuery("TBLBILL"),
              QStringLiteral("select fieldName + ':' + isnull(zh_Cn,'')  as fieldName from tbldbfieldinfo t1 left "
                             "join tbllanguage t2 on t1.languageid = t2.id  where tableid=(select id from "
                             "tblDBTableInfo where tablename ='TBLBILL') order by  fieldName"));
    EXPECT_TRUE(fieldsQuery("O'B'';X").contains("tablename ='O''B'''';X') order by"));
}

struct AnswerRow { const char *name; QByteArray reply; const char *expected; };
const AnswerRow kAnswers[] = {
    {"Rows", TestHttpServer::answer(200, "<?xml version=\"1.0\" encoding=\"GBK\"?><data result=\"ok\"><row fieldName=\"code:\xB1\xE0\xC2\xEB\"/>"
                                         "<row fieldName=\"amount:\"/></data>"), "code:编码|amount:"},
    {"ColumnFoundWithoutRegardToCase", TestHttpServer::answer(200, "<data result=\"ok\"><row FIELDNAME=\"a:\"/></data>"), "a:"},
    {"ResultNotOk", TestHttpServer::answer(200, "<data result=\"error\">表不存在</data>"), ""},
    {"NoRows", TestHttpServer::answer(200, "<data result=\"ok\"></data>"), ""},
    {"MissingColumn", TestHttpServer::answer(200, "<data result=\"ok\"><row other=\"x\"/></data>"), ""},
    {"HtmlErrorPage", TestHttpServer::answer(500, "<html><body><h1>500 Internal Server Error</h1></body></html>"), ""},
    {"NotXml", TestHttpServer::answer(200, "ok"), ""},
};
class ServletLookup : public ::testing::TestWithParam<AnswerRow> {};
TEST_P(ServletLookup, AnswersBecomeListsOrNothing)
{
    TestHttpServer server(GetParam().reply);
    ServletSchemaSource source = sourceAt(server.port());
    EXPECT_EQ(LookupFields(&source, QStringLiteral("TBLBILL")), QString::fromUtf8(GetParam().expected));
}
INSTANTIATE_TEST_SUITE_P(Rows, ServletLookup, ::testing::ValuesIn(kAnswers),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(SchemaLookup, TableNameWithAQuoteIsSentDoubled)
{
    TestHttpServer server;
    ServletSchemaSource source = sourceAt(server.port());
    EXPECT_EQ(LookupFields(&source, QStringLiteral("TBL'; DROP TABLE X;--单据")), QString());
    ASSERT_EQ(server.requests().size(), 1);
    const QString sent = fieldsQuery(QStringLiteral("TBL'; DROP TABLE X;--单据"));
    EXPECT_TRUE(sent.contains(QStringLiteral("tablename ='TBL''; DROP TABLE X;--单据')")));
    EXPECT_TRUE(server.requests().at(0).endsWith("\r\n\r\n" + MakeRequestToken(sent, ServletSession()).toLatin1()));
}

TEST(SchemaLookup, ServletDownOrSlowGivesNothing)
{
    int port = 0;
    const int bound = bindLoopback(&port);
    ServletSchemaSource refused = sourceAt(port);
    EXPECT_EQ(LookupAllTables(&refused), QString());
    ::close(bound);

    TestHttpServer stalling(TestHttpServer::Mode::Stall);
    ServletSchemaSource slow = sourceAt(stalling.port(), 300ms);
    EXPECT_EQ(LookupAllTables(&slow), QString());
    EXPECT_EQ(LookupAllTables(nullptr), QString());
}

} // namespace
