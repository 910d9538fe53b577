#include "link/ServletClient.h"
#include "support/TestHttpServer.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

ServletClient clientFor(int port, std::chrono::milliseconds timeout)
{
    ServletSession session;
    session.Host = QStringLiteral("127.0.0.1");
    session.Port = port;
    ServletClient client(session, timeout);
    client.setFixedToken(QStringLiteral("T0KEN"));
    return client;
}

qsizetype headerLength(const QByteArray &answer) { return answer.indexOf("\r\n\r\n") + 4; }

struct TrickleRow {
    const char *name;
    QByteArray answer;
    qsizetype sentAtOnce;
};

const QByteArray kBody = QByteArray("<data result=\"ok\">").append(200, ' ').append("</data>");
const QByteArray kPlain = TestHttpServer::answer(200, kBody);
const QByteArray kChunked = TestHttpServer::answer(200, kBody, true);

const TrickleRow kTrickles[] = {
    {"HeadersByteByByte", kPlain, 0},
    {"BodyByteByByte", kPlain, headerLength(kPlain)},
    {"ChunksByteByByte", kChunked, headerLength(kChunked)},
};

void PrintTo(const TrickleRow &row, std::ostream *os) { *os << row.name; }

class TricklingAnswer : public ::testing::TestWithParam<TrickleRow> {};

// Every byte arrives in good time, but the answer as a whole does not.
TEST_P(TricklingAnswer, EndsAtTheDeadline)
{
    TestHttpServer server(TestHttpServer::Trickle{GetParam().answer, GetParam().sentAtOnce});
    const HttpResponse r = clientFor(server.port(), 300ms).PostToServletWithCookie("saveDefineFile", "b", "", "");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, QStringLiteral("等待服务器超时"));
}

INSTANTIATE_TEST_SUITE_P(Deadline, TricklingAnswer, ::testing::ValuesIn(kTrickles),
                         [](const auto &info) { return std::string(info.param.name); });

struct FloodRow {
    const char *name;
    QByteArray head;
    QByteArray filler;
    QString error;
};

const QByteArray kFill(16384, 'x');
const QString kBodyCut = QStringLiteral("服务器的应答超过 1 MB,已停止接收");
const QString kHeadersCut = QStringLiteral("服务器的应答头超过 64 KB,已停止接收");

const FloodRow kFloods[] = {
    {"BodyUntilTheClose", "HTTP/1.1 200 OK\r\n\r\n", kFill, kBodyCut},
    {"EndlessChunks", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", "4000\r\n" + kFill + "\r\n", kBodyCut},
    {"LengthPastTheCap", "HTTP/1.1 200 OK\r\nContent-Length: 1099511627776\r\n\r\n", kFill, kBodyCut},
    {"EndlessHeaderLines", "HTTP/1.1 200 OK\r\n", "X-Filler: " + QByteArray(1000, 'a') + "\r\n", kHeadersCut},
    {"EndlessHeaderLine", "HTTP/1.1 200 OK\r\nX-Long: ", kFill, kHeadersCut},
};

void PrintTo(const FloodRow &row, std::ostream *os) { *os << row.name; }

class FloodingAnswer : public ::testing::TestWithParam<FloodRow> {};

TEST_P(FloodingAnswer, IsCutOffAtTheCap)
{
    TestHttpServer server(TestHttpServer::Flood{GetParam().head, GetParam().filler});
    ServletClient client = clientFor(server.port(), 60s);
    client.setAnswerLimits({.maxBodyBytes = 1024 * 1024});
    const HttpResponse r = client.PostToServletWithCookie("saveDefineFile", "b", "", "");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, GetParam().error);

    QByteArray answer("untouched");
    EXPECT_FALSE(client.PostToServlet("sql", "x", QString(), answer));
    EXPECT_EQ(answer, QByteArray("untouched"));
}

INSTANTIATE_TEST_SUITE_P(Caps, FloodingAnswer, ::testing::ValuesIn(kFloods),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
