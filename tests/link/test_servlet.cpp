#include "link/ServletClient.h"
#include "link/ServletResult.h"
#include "support/TestHttpServer.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

ServletSession sessionAt(const QString &host, int port)
{
    ServletSession session;
    session.Host = host;
    session.Port = port;
    return session;
}

ServletClient clientFor(int port, std::chrono::milliseconds timeout = 5s)
{
    ServletClient client(sessionAt(QStringLiteral("127.0.0.1"), port), timeout);
    client.setFixedToken(QStringLiteral("T0KEN"));
    return client;
}

TEST(Servlet, UrlIsPlainConcatenation)
{
    EXPECT_EQ(servletUrl(sessionAt("srv", 8080), "sql", "", "T"),
              QStringLiteral("http://srv:8080/ReportServlet?operation=sql&SESSION=T"));
    EXPECT_EQ(encodeRequestTarget(QStringLiteral("/a?x=b c&d=单\t#")), QByteArray("/a?x=b%20c&d=%E5%8D%95%09#"));
}

TEST(Servlet, QueryRequestOnTheWire)
{
    TestHttpServer server;
    const ServletClient client = clientFor(server.port());
    QByteArray answer;
    ASSERT_TRUE(client.PostToServlet("sql", "ABCDEF", QString(), answer));
    const QByteArray expected = "POST /ReportServlet?operation=sql&SESSION=T0KEN HTTP/1.1\r\n"
                                "Accept: */*\r\n"
                                "User-Agent: Plendor\r\n"
                                "Host: localhost\r\n"
                                "Content-Type: content=text/html;charset=utf-8\r\n"
                                "Content-Length: 6\r\n"
                                "\r\n"
                                "ABCDEF";
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().first(), expected);
    EXPECT_EQ(answer, QByteArray("<data result=\"ok\"/>"));
}

TEST(Servlet, UploadRequestOnTheWire)
{
    TestHttpServer server;
    const ServletClient client = clientFor(server.port());
    const QByteArray body("\xB5\xA5\xBE\xDD &lt; x", 10);
    const HttpResponse r = client.PostToServletWithCookie("saveDefineFile", body, "&fileName=my bill&1.xml", "");
    EXPECT_TRUE(r.isSuccess());
    const QByteArray expected = "POST /ReportServlet?operation=saveDefineFile&fileName=my%20bill&1.xml&SESSION=T0KEN HTTP/1.1\r\n"
                                "Accept: */*\r\n"
                                "User-Agent: Plendor\r\n"
                                "Host: 127.0.0.1\r\n"
                                "Content-Type: content=text/html;charset=ANSI\r\n"
                                "Cookie: JSESSIONID=\r\n"
                                "Content-Length: 10\r\n"
                                "\r\n" + body;
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().first(), expected);
}

TEST(Servlet, QueryServerSendsTheCipherTextAndParsesTheRows)
{
    TestHttpServer server;
    server.setAnswer(TestHttpServer::answer(
        200, "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<data result=\"ok\">\n  <row tablename=\"tblBill\"/>\n"
             "  <row tablename=\"\xB5\xA5\xBE\xDD\"/>\n</data>", true));
    const ServletClient client = clientFor(server.port());
    const std::optional<ResultTable> table = client.QueryServer(QStringLiteral("select 1"));
    ASSERT_TRUE(table && table->isOpen());
    EXPECT_EQ(table->columns(), QStringList{"tablename"});
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->value(1, "tablename"), QStringLiteral("单据"));
    const QByteArray request = server.requests().first();
    EXPECT_TRUE(request.endsWith("\r\n\r\nFB05E7C5A954BA82")) << request.toStdString(); // openssl des-ecb, key "tupnerak"
    EXPECT_FALSE(request.contains("select"));
}

TEST(Servlet, TransferFailuresAreReportedNotHung)
{
    QByteArray answer("untouched");
    EXPECT_FALSE(clientFor(refusedPort()).PostToServlet("sql", "x", QString(), answer));
    EXPECT_EQ(answer, QByteArray("untouched"));
    EXPECT_FALSE(clientFor(refusedPort()).QueryServer("select 1").has_value());

    TestHttpServer stalled;
    stalled.setMode(TestHttpServer::Mode::Stall);
    const HttpResponse r = clientFor(stalled.port(), 300ms).PostToServletWithCookie("saveDefineFile", "b", "", "");
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());

    TestHttpServer closing;
    closing.setMode(TestHttpServer::Mode::Close);
    EXPECT_FALSE(clientFor(closing.port()).PostToServlet("sql", "x", QString(), answer));

    for (const char *host : {"bad host", "a\r\nX-Injected: 1", "", "h/p"}) {
        ServletClient odd(sessionAt(QString::fromLatin1(host), 80), 300ms);
        odd.setFixedToken("T");
        EXPECT_FALSE(odd.PostToServletWithCookie("saveDefineFile", "b", "", "").ok) << host;
    }
}

struct ParseCase {
    const char *about;
    const char *xml;
    int outcome; // 0 none, 1 not open, 2 open
    const char *message;
    int rows;
};

class ParseOutcomes : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseOutcomes, EachShapeOfAnswer)
{
    const ParseCase &c = GetParam();
    QString message = QStringLiteral("before");
    const std::optional<ResultTable> t = ParseServletResult(QByteArray(c.xml), message);
    const int outcome = !t ? 0 : (t->isOpen() ? 2 : 1);
    EXPECT_EQ(outcome, c.outcome) << c.about;
    EXPECT_EQ(message, QString::fromUtf8(c.message)) << c.about;
    if (t && t->isOpen()) {
        EXPECT_EQ(t->rowCount(), c.rows) << c.about;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ParseOutcomes,
    ::testing::Values(
        ParseCase{"not XML (an HTML error page)", "<html><body>500<br></body></html>", 1, "获取数据失败！", 0},
        ParseCase{"truncated", "<data result=\"ok\"><row a=\"1\"/>", 1, "获取数据失败！", 0},
        ParseCase{"empty answer", "", 1, "获取数据失败！", 0},
        ParseCase{"no data element", "<answer result=\"ok\"/>", 1, "before", 0},
        ParseCase{"no result attribute", "<data><row a=\"1\"/></data>", 0, "before", 0},
        ParseCase{"result OK in capitals", "<data result=\"OK\">denied <b>now</b></data>", 0, "denied now", 0},
        ParseCase{"server error text", "<data result=\"error\">表不存在</data>", 0, "表不存在", 0},
        ParseCase{"ok without children", "<data result=\"ok\"></data>", 1, "OK", 0},
        ParseCase{"two rows", "<data result=\"ok\"><row tablename=\"a\"/><row tablename=\"b\"/></data>", 2, "OK", 2},
        ParseCase{"later child lacks a column", "<data result=\"ok\"><row a=\"1\" b=\"2\"/><row a=\"3\"/></data>", 2,
                  "OK", 2},
        ParseCase{"later child has an extra column", "<data result=\"ok\"><row a=\"1\"/><row a=\"2\" c=\"3\"/></data>",
                  0, "OK", 0},
        ParseCase{"children but no row element", "<data result=\"ok\"><item a=\"1\"/></data>", 0, "OK", 0},
        ParseCase{"text child", "<data result=\"ok\"><row a=\"1\"/>stray</data>", 0, "OK", 0},
        ParseCase{"comment child", "<data result=\"ok\"><row a=\"1\"/><!-- c --></data>", 0, "OK", 0},
        ParseCase{"other element names count as rows", "<data result=\"ok\"><x a=\"0\"/><row a=\"1\"/></data>", 2,
                  "OK", 2},
        ParseCase{"entities in values", "<data result=\"ok\"><row a=\"&lt;&amp;&quot;\"/></data>", 2, "OK", 1},
        ParseCase{"billion laughs",
                  "<?xml version=\"1.0\"?><!DOCTYPE data [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                  "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
                  "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
                  "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\"><!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\">]>"
                  "<data result=\"ok\"><row a=\"&h;\"/></data>",
                  1, "获取数据失败！", 0}));

TEST(Servlet, HugeAttributeValuesAreCutToTheColumnLimit)
{
    const QByteArray big(3'000'000, 'v');
    QString message;
    const auto t = ParseServletResult("<data result=\"ok\"><row a=\"" + big + "\"/></data>", message);
    ASSERT_TRUE(t && t->isOpen());
    EXPECT_EQ(t->value(0, "a").size(), ResultTable::kMaxValueLength);
    EXPECT_EQ(t->value(0, "missing"), QString());
    EXPECT_EQ(t->value(5, "a"), QString());
}

TEST(Servlet, AttributeOrderNamesTheColumns)
{
    QString message;
    const auto t = ParseServletResult("<data result=\"ok\"><row z=\"1\" a=\"2\" m=\"3\"/></data>", message);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->columns(), (QStringList{"z", "a", "m"}));
}
} // namespace
