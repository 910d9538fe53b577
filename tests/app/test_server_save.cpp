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

TEST_F(ServerSave, ALongAnswerIsShownCutWithWhatWasLeftOut)
{
    TestHttpServer server(TestHttpServer::answer(200, QByteArray(5000, 'a')));
    auto w = serverWindow(*this, server.port());
    w->execute(cmd::Save);
    EXPECT_FALSE(w->bTextChanged) << "still a successful upload";
    ASSERT_EQ(prompt.informed.size(), 1);
    EXPECT_EQ(prompt.informed.first(), QString(4000, u'a') + QStringLiteral("\n…(其余 1000 个字符未显示)"));
}

const QByteArray kSaved = QStringLiteral("保存成功").toUtf8();

TEST_F(ServerSave, FailedUploadsSayWhyAndKeepTheChanges)
{
    const QString failed = QStringLiteral("上传失败,文件没有保存到服务器: ");
    TestHttpServer erring(TestHttpServer::answer(500, "<html>Internal error</html>"));
    TestHttpServer emptyError(TestHttpServer::answer(500, QByteArray()));
    TestHttpServer moved(TestHttpServer::answer(302, QByteArray()));
    TestHttpServer savedYetError(TestHttpServer::answer(500, kSaved));
    TestHttpServer stalled(TestHttpServer::Mode::Stall);
    // Says 200, yet cannot be read as what the server meant (the parser's own tests hold the other ways).
    TestHttpServer shorterThanItsLength("HTTP/1.1 200 OK\r\nContent-Length: 40\r\n\r\n" + kSaved);
    // whole: otherwise the transfer's own reason follows
    const struct { int port; QString message; bool whole; } failures[] = {
        // The status first, then the answer as the server sent it.
        {erring.port(), QStringLiteral("上传失败,服务器返回 HTTP 500\n<html>Internal error</html>"), true},
        {emptyError.port(), QStringLiteral("上传失败,服务器返回 HTTP 500"), true},
        {moved.port(), QStringLiteral("上传失败,服务器返回 HTTP 302"), true},
        {savedYetError.port(), QStringLiteral("上传失败,服务器返回 HTTP 500\n保存成功"), true},
        {refusedPort(), failed, false},
        {stalled.port(), failed + QStringLiteral("等待服务器超时"), true},
        {shorterThanItsLength.port(), failed + QStringLiteral("服务器的应答不完整"), true},
    };
    for (const auto &[port, message, whole] : failures) {
        prompt.informed.clear();
        auto w = serverWindow(*this, port);
        if (port == stalled.port())
            w->servletTimeout = 300ms; // only the stalled server waits out its deadline
        EXPECT_FALSE(w->SaveDefineToServer());
        EXPECT_TRUE(w->bTextChanged);
        ASSERT_EQ(prompt.informed.size(), 1);
        const QString shown = prompt.informed.first();
        EXPECT_EQ(whole ? shown : shown.left(message.size()), message);
    }
}

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
