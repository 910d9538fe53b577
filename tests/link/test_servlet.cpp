#include "link/ServletClient.h"
#include "link/ServletResult.h"
#include "support/TestHttpServer.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Mode = TestHttpServer::Mode;
using Script = TestHttpServer::Script;

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

TEST(Servlet, QueryAndUploadRequestsOnTheWire)
{
    TestHttpServer server;
    const ServletClient client = clientFor(server.port());
    QByteArray answer;
    ASSERT_TRUE(client.PostToServlet("sql", "ABCDEF", QString(), answer));
    EXPECT_EQ(answer, QByteArray("<data result=\"ok\"/>"));
    const QByteArray body("\xB5\xA5\xBE\xDD &lt; x");
    EXPECT_TRUE(client.PostToServletWithCookie("saveDefineFile", body, "&fileName=my bill&1.xml", "").isSuccess());

    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_EQ(server.requests().at(0), QByteArray("POST /ReportServlet?operation=sql&SESSION=T0KEN HTTP/1.1\r\n"
                                                  "Accept: */*\r\n"
                                                  "User-Agent: Plendor\r\n"
                                                  "Host: localhost\r\n"
                                                  "Content-Type: content=text/html;charset=utf-8\r\n"
                                                  "Content-Length: 6\r\n"
                                                  "\r\n"
                                                  "ABCDEF"));
    // The upload names the real host, sends ANSI bytes and an empty session cookie.
    EXPECT_EQ(server.requests().at(1),
              "POST /ReportServlet?operation=saveDefineFile&fileName=my%20bill&1.xml&SESSION=T0KEN HTTP/1.1\r\n"
              "Accept: */*\r\n"
              "User-Agent: Plendor\r\n"
              "Host: 127.0.0.1\r\n"
              "Content-Type: content=text/html;charset=ANSI\r\n"
              "Cookie: JSESSIONID=\r\n"
              "Content-Length: 11\r\n"
              "\r\n" + body);
}

TEST(Servlet, QueryServerSendsTheCipherTextAndParsesTheRows)
{
    TestHttpServer server(TestHttpServer::answer(
        200, "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<data result=\"ok\">\n  <row tablename=\"tblBill\"/>\n"
             "  <row tablename=\"\xB5\xA5\xBE\xDD\"/>\n</data>", true));
    const std::optional<ResultTable> table = clientFor(server.port()).QueryServer(QStringLiteral("select 1"));
    ASSERT_TRUE(table && table->isOpen());
    EXPECT_EQ(table->columns(), QStringList{"tablename"});
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->value(1, "tablename"), QStringLiteral("单据"));
    const QByteArray request = server.requests().first();
    // openssl des-ecb under the key "tupnerak"
    EXPECT_TRUE(request.endsWith("\r\n\r\nFB05E7C5A954BA82")) << request.toStdString();
    EXPECT_FALSE(request.contains("select"));
}

TEST(Servlet, TransferFailuresAreReportedNotHung)
{
    QByteArray answer("untouched");
    EXPECT_FALSE(clientFor(refusedPort()).PostToServlet("sql", "x", QString(), answer));
    EXPECT_EQ(answer, QByteArray("untouched"));
    EXPECT_FALSE(clientFor(refusedPort()).QueryServer("select 1").has_value());

    TestHttpServer stalled(Mode::Stall);
    const HttpResponse r = clientFor(stalled.port(), 300ms).PostToServletWithCookie("saveDefineFile", "b", "", "");
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());

    TestHttpServer closing(Mode::Close);
    EXPECT_FALSE(clientFor(closing.port()).PostToServlet("sql", "x", QString(), answer));

    for (const char *host : {"bad host", "a\r\nX-Injected: 1", "", "h/p"}) {
        ServletClient odd(sessionAt(QString::fromLatin1(host), 80), 300ms);
        odd.setFixedToken("T");
        EXPECT_FALSE(odd.PostToServletWithCookie("saveDefineFile", "b", "", "").ok) << host;
    }
}

// Answers that take too long or never end: the exchange stops at the deadline or at the cap.
struct EndlessRow { const char *name; Script script; QString error; };
void PrintTo(const EndlessRow &row, std::ostream *os) { *os << row.name; }

// The answer's first sentAtOnce bytes at once, then one byte every 20 ms.
Script trickle(const QByteArray &answer, qsizetype sentAtOnce)
{
    return {.reply = answer, .mode = Mode::Trickle, .sentAtOnce = sentAtOnce};
}
Script flood(const QByteArray &head, const QByteArray &filler) { return {.reply = head, .mode = Mode::Flood, .filler = filler}; }

qsizetype headerLength(const QByteArray &answer) { return answer.indexOf("\r\n\r\n") + 4; }
const QByteArray kBody = QByteArray("<data result=\"ok\">").append(200, ' ').append("</data>");
const QByteArray kPlain = TestHttpServer::answer(200, kBody);
const QByteArray kChunked = TestHttpServer::answer(200, kBody, true);
const QByteArray kFill(16384, 'x');
const QString kTimedOut = QStringLiteral("等待服务器超时");
const QString kBodyCut = QStringLiteral("服务器的应答超过 1 MB,已停止接收");
const QString kHeadersCut = QStringLiteral("服务器的应答头超过 64 KB,已停止接收");

const EndlessRow kEndless[] = {
    // Every byte arrives in good time, but the answer as a whole does not.
    {"HeadersByteByByte", trickle(kPlain, 0), kTimedOut},
    {"BodyByteByByte", trickle(kPlain, headerLength(kPlain)), kTimedOut},
    {"ChunksByteByByte", trickle(kChunked, headerLength(kChunked)), kTimedOut},
    {"BodyUntilTheClose", flood("HTTP/1.1 200 OK\r\n\r\n", kFill), kBodyCut},
    {"EndlessChunks", flood("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", "4000\r\n" + kFill + "\r\n"), kBodyCut},
    {"LengthPastTheCap", flood("HTTP/1.1 200 OK\r\nContent-Length: 1099511627776\r\n\r\n", kFill), kBodyCut},
    {"EndlessHeaderLines", flood("HTTP/1.1 200 OK\r\n", "X-Filler: " + QByteArray(1000, 'a') + "\r\n"), kHeadersCut},
    {"EndlessHeaderLine", flood("HTTP/1.1 200 OK\r\nX-Long: ", kFill), kHeadersCut},
};

class EndlessAnswer : public ::testing::TestWithParam<EndlessRow> {};

TEST_P(EndlessAnswer, StopsAtTheDeadlineOrTheCap)
{
    TestHttpServer server(GetParam().script);
    ServletClient client = clientFor(server.port(), GetParam().script.mode == Mode::Trickle ? 300ms : 60s);
    client.setAnswerLimits({.maxBodyBytes = 1024 * 1024});
    const HttpResponse r = client.PostToServletWithCookie("saveDefineFile", "b", "", "");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, GetParam().error);

    QByteArray answer("untouched");
    EXPECT_FALSE(client.PostToServlet("sql", "x", QString(), answer));
    EXPECT_EQ(answer, QByteArray("untouched"));
}
INSTANTIATE_TEST_SUITE_P(Limits, EndlessAnswer, ::testing::ValuesIn(kEndless),
                         [](const auto &info) { return std::string(info.param.name); });

enum Outcome { Failure, NotOpen, Open };

struct ParseCase {
    const char *name;
    QByteArray xml;
    Outcome outcome;
    const char *message;
    int rows;
    qint64 maxCells = ResultTable::kMaxCells;
    bool pastItsDeadline = false;
};

void PrintTo(const ParseCase &c, std::ostream *os) { *os << c.name; }

const char *const kFailed = "获取数据失败！";

// A first row with `columns` attributes, then `shortRows` elements that each set only the last.
QByteArray wideThenShort(int columns, int shortRows)
{
    QByteArray xml = "<data result=\"ok\"><row";
    for (int c = 0; c < columns; ++c)
        xml += " c" + QByteArray::number(c) + "=\"v\"";
    xml += "/>";
    const QByteArray shortRow = "<x c" + QByteArray::number(columns - 1) + "=\"1\"/>";
    return xml + shortRow.repeated(shortRows) + "</data>";
}

const ParseCase kAnswers[] = {
    {"HtmlErrorPage", "<html><body>500<br></body></html>", NotOpen, kFailed, 0},
    {"Truncated", "<data result=\"ok\"><row a=\"1\"/>", NotOpen, kFailed, 0},
    {"EmptyAnswer", "", NotOpen, kFailed, 0},
    {"NoDataElement", "<answer result=\"ok\"/>", NotOpen, "before", 0},
    {"NoResultAttribute", "<data><row a=\"1\"/></data>", Failure, "before", 0},
    {"ResultOkInCapitalsIsAnError", "<data result=\"OK\">denied <b>now</b></data>", Failure, "denied now", 0},
    {"ServerErrorText", "<data result=\"error\">表不存在</data>", Failure, "表不存在", 0},
    {"OkWithoutChildren", "<data result=\"ok\"></data>", NotOpen, "OK", 0},
    {"TwoRows", "<data result=\"ok\"><row tablename=\"a\"/><row tablename=\"b\"/></data>", Open, "OK", 2},
    {"LaterRowLacksAColumn", "<data result=\"ok\"><row a=\"1\" b=\"2\"/><row a=\"3\"/></data>", Open, "OK", 2},
    {"LaterRowHasAnExtraColumn", "<data result=\"ok\"><row a=\"1\"/><row a=\"2\" c=\"3\"/></data>", Failure, "OK", 0},
    {"ChildrenButNoRowElement", "<data result=\"ok\"><item a=\"1\"/></data>", Failure, "OK", 0},
    {"TextChild", "<data result=\"ok\"><row a=\"1\"/>stray</data>", Failure, "OK", 0},
    {"CommentChild", "<data result=\"ok\"><row a=\"1\"/><!-- c --></data>", Failure, "OK", 0},
    {"OtherElementNamesCountAsRows", "<data result=\"ok\"><x a=\"0\"/><row a=\"1\"/></data>", Open, "OK", 2},
    {"BillionLaughs",
     "<?xml version=\"1.0\"?><!DOCTYPE data [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
     "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
     "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
     "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\"><!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\">]>"
     "<data result=\"ok\"><row a=\"&h;\"/></data>",
     NotOpen, kFailed, 0},
    {"WideFirstRowThenShortRowsPassTheCellLimit", wideThenShort(50, 600), Failure,
     "服务器返回的数据过多(超过 10000 个单元格)", 0, 10'000},
    {"RowsExactlyAtTheCellLimit", wideThenShort(50, 600), Open, "OK", 601, 601 * 50},
    {"RowsWithoutAttributesCountOneCellEach", "<data result=\"ok\"><row/><row/><row/></data>", Failure,
     "服务器返回的数据过多(超过 2 个单元格)", 0, 2},
    {"ReadAfterItsDeadline", "<data result=\"ok\"><row a=\"1\"/></data>", Failure, "读取服务器的应答超时", 0,
     ResultTable::kMaxCells, true},
};

class ParseOutcomes : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseOutcomes, EachShapeOfAnswer)
{
    const ParseCase &c = GetParam();
    QString message = QStringLiteral("before");
    const auto deadline = c.pastItsDeadline ? std::chrono::steady_clock::now() - std::chrono::seconds(1)
                                            : std::chrono::steady_clock::time_point::max();
    const std::optional<ResultTable> t = ParseServletResult(c.xml, message, c.maxCells, deadline);
    EXPECT_EQ(!t ? Failure : (t->isOpen() ? Open : NotOpen), c.outcome);
    EXPECT_EQ(message, QString::fromUtf8(c.message));
    if (t && t->isOpen()) {
        EXPECT_EQ(t->rowCount(), c.rows);
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, ParseOutcomes, ::testing::ValuesIn(kAnswers),
                         [](const auto &info) { return std::string(info.param.name); });

// A few hundred kilobytes that describe 300 million cells: past the limit, the query fails;
// within a limit raised for the test, the table holds the data, not the width of every row.
TEST(Servlet, AWideFirstRowCannotMultiplyShortRows)
{
    TestHttpServer server(TestHttpServer::answer(200, wideThenShort(5000, 60'000)));
    // Reading counts against the deadline too: room for a slow, instrumented build.
    ServletClient client = clientFor(server.port(), 300s);
    EXPECT_FALSE(client.QueryServer(QStringLiteral("select 1")).has_value());

    client.setAnswerLimits({.maxCells = 5000LL * 60'001});
    const std::optional<ResultTable> table = client.QueryServer(QStringLiteral("select 1"));
    ASSERT_TRUE(table && table->isOpen());
    EXPECT_EQ(table->rowCount(), 60'001);
    EXPECT_EQ(table->value(60'000, "c4999"), QStringLiteral("1"));
    EXPECT_EQ(table->value(60'000, "c0"), QString());
    EXPECT_EQ(table->value(0, "c0"), QStringLiteral("v"));
}

TEST(Servlet, ColumnsFollowAttributeOrderAndValuesAreDecodedAndCut)
{
    const QByteArray big(3'000'000, 'v');
    QString message;
    const auto t =
        ParseServletResult("<data result=\"ok\"><row z=\"&lt;&amp;&quot;\" a=\"" + big + "\" m=\"3\"/></data>", message);
    ASSERT_TRUE(t && t->isOpen());
    EXPECT_EQ(t->columns(), (QStringList{"z", "a", "m"}));
    EXPECT_EQ(t->value(0, "z"), QStringLiteral("<&\""));
    EXPECT_EQ(t->value(0, "a").size(), ResultTable::kMaxValueLength);
    EXPECT_EQ(t->value(0, "missing"), QString());
    EXPECT_EQ(t->value(5, "a"), QString());
}
} // namespace
