#include "app/CommandIds.h"
#include "support/MainWindowFixture.h"
#include "support/TestHttpServer.h"

#include <QDir>
#include <QTest>

using namespace std::chrono_literals;
using platform::Answer;

namespace {
using ServerSave = MainWindowFixture;

std::unique_ptr<frmMain> serverWindow(MainWindowFixture &f, int port)
{
    writeFile(f.path("copy.xml"), gbk(QStringLiteral("<sql type=\"exec&quot;&gt;a&lt;b</sql>")));
    auto w = f.makeWindow(QStringLiteral("getHost=127.0.0.1,getPort=%1,UpLoadFileName=单据 A&B.xml,OpenFileName=%2,"
                                         "UserId=u1,JsessionID=s1")
                              .arg(port)
                              .arg(f.path("copy.xml")));
    w->servletTimeout = 2s;
    QTest::keyClicks(w->wrapper().widget(), QStringLiteral("x"));
    EXPECT_TRUE(w->bTextChanged);
    return w;
}

TEST_F(ServerSave, AnsweredUploadClearsTheChangedFlagAndShowsTheAnswer)
{
    TestHttpServer server(TestHttpServer::answer(200, QStringLiteral("保存成功").toUtf8()));
    auto w = serverWindow(*this, server.port());
    w->wrapper().SetText(QStringLiteral("<sql type=\"exec\">a<b & 中</sql>"));
    w->execute(cmd::Save);
    EXPECT_FALSE(w->bTextChanged);
    EXPECT_EQ(prompt.informed, QStringList{QStringLiteral("保存成功")});
    EXPECT_EQ(prompt.titles, QStringList{QStringLiteral("Sarvent")});

    ASSERT_EQ(server.requests().size(), 1);
    const QByteArray request = server.requests().first();
    EXPECT_TRUE(request.startsWith("POST /ReportServlet?operation=saveDefineFile&fileName=%E5%8D%95%E6%8D%AE%20A&B.xml"
                                   "&SESSION="));
    const QByteArray body = gbk(QStringLiteral("<sql type=\"exec&quot;&gt;a&lt;b &amp; 中</sql>"));
    EXPECT_TRUE(request.endsWith("\r\n\r\n" + body));
    EXPECT_TRUE(request.contains("Content-Length: " + QByteArray::number(body.size()) + "\r\n"));
    EXPECT_EQ(w->objWindow().wrapper().GetText(), QStringLiteral("<sql type=\"exec&quot;&gt;a&lt;b &amp; 中</sql>"));
    EXPECT_EQ(readFile(path("copy.xml")), gbk(QStringLiteral("<sql type=\"exec&quot;&gt;a&lt;b</sql>")))
        << "the local copy is never written";
}

TEST_F(ServerSave, FailedUploadsSayWhyAndKeepTheChanges)
{
    TestHttpServer erring(TestHttpServer::answer(500, "<html>Internal error</html>"));
    TestHttpServer stalled(TestHttpServer::Mode::Stall);
    const std::pair<int, QString> failures[] = {
        {erring.port(), QStringLiteral("<html>Internal error</html>")}, // shown as the server sent it
        {refusedPort(), QStringLiteral("上传失败")},
        {stalled.port(), QStringLiteral("上传失败")},
    };
    for (const auto &[port, message] : failures) {
        prompt.informed.clear();
        auto w = serverWindow(*this, port);
        w->servletTimeout = 300ms;
        EXPECT_FALSE(w->SaveDefineToServer());
        EXPECT_TRUE(w->bTextChanged);
        ASSERT_EQ(prompt.informed.size(), 1);
        EXPECT_TRUE(prompt.informed.first().startsWith(message)) << prompt.informed.first().toStdString();
    }
}

struct LyingAnswer {
    const char *name;
    QByteArray answer;
    const char *reason;
};

void PrintTo(const LyingAnswer &row, std::ostream *os) { *os << row.name; }

const QByteArray kSaved = QStringLiteral("保存成功").toUtf8();

QByteArray savedWithLength(const QByteArray &length)
{
    return "HTTP/1.1 200 OK\r\nContent-Length: " + length + "\r\n\r\n" + kSaved;
}

const char *const kBadLength = "服务器的应答长度无效";

// Each answer says 200, yet cannot be read as what the server meant: the upload is not saved.
const LyingAnswer kLyingAnswers[] = {
    {"HugeChunkSize", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nFFFFFFFFFFFFFFFF\r\n" + kSaved,
     "服务器的应答超过 256 MB,已停止接收"},
    {"LengthWithLetters", savedWithLength("12abc"), kBadLength},
    {"NegativeLength", savedWithLength("-1"), kBadLength},
    {"SignedLength", savedWithLength("+5"), kBadLength},
    {"FormFeedBeforeLength", savedWithLength("\f5"), kBadLength},
    {"TwoDifferentLengths", "HTTP/1.1 200 OK\r\nContent-Length: 12\r\nContent-Length: 4\r\n\r\n" + kSaved, kBadLength},
    {"ShorterThanItsLength", savedWithLength("40"), "服务器的应答不完整"},
};

struct LyingUpload : MainWindowFixture, ::testing::WithParamInterface<LyingAnswer> {};

TEST_P(LyingUpload, IsNotSaved)
{
    TestHttpServer server(GetParam().answer);
    auto w = serverWindow(*this, server.port());
    EXPECT_FALSE(w->SaveDefineToServer());
    EXPECT_TRUE(w->bTextChanged);
    ASSERT_EQ(prompt.informed.size(), 1);
    EXPECT_EQ(prompt.informed.first(),
              QStringLiteral("上传失败,文件没有保存到服务器: ") + QString::fromUtf8(GetParam().reason));
}

INSTANTIATE_TEST_SUITE_P(Answers, LyingUpload, ::testing::ValuesIn(kLyingAnswers),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ServerSave, CloseAfterAFailedUploadKeepsTheWindowOpen)
{
    auto w = serverWindow(*this, refusedPort());
    w->show();
    prompt.answers = {Answer::Yes};
    EXPECT_FALSE(w->close());
    EXPECT_EQ(programEnded, 0);
    EXPECT_EQ(prompt.asked, QStringList{QStringLiteral("文件已修改,是否保存?")});

    TestHttpServer server;
    auto ok = serverWindow(*this, server.port());
    ok->show();
    prompt.answers = {Answer::Yes};
    EXPECT_TRUE(ok->close());
    EXPECT_EQ(programEnded, 1);
}

TEST_F(ServerSave, BadRuleFileStopsTheUpload)
{
    TestHttpServer server;
    QDir().mkpath(path("program"));
    writeFile(path("program/KeyWord.txt"), "(broken|x\n");
    auto w = serverWindow(*this, server.port());
    EXPECT_FALSE(w->SaveDefineToServer());
    EXPECT_TRUE(server.requests().isEmpty());
    ASSERT_EQ(prompt.informed.size(), 1);
    EXPECT_TRUE(prompt.informed.first().contains(QStringLiteral("第 1 行")));
}
} // namespace
