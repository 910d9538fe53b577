// Crash recovery in the real window: a killed editor's edit offered at the next start and saved
// where it belongs, nothing left behind after a save, a No or a clean end, and two editors at
// once leaving each other's files alone.

#include "app/DocumentRecovery.h"
#include "app/MainStatusBar.h"
#include "recovery/RecoveryFolder.h"
#include "support/MainWindowFixture.h"
#include "support/TestHttpServer.h"
#include "support/Typing.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <cstdio>

using namespace std::chrono_literals;
using platform::Answer;

namespace {
// A stored define whose readable form is stored back to the same bytes.
const QByteArray kStored =
    gbk(QStringLiteral("<define name=&quot;保存&quot;&gt;\r\n<sql type=\"exec&quot;&gt;a&lt;b &amp; c</sql>\r\n</define>"));

bool waitFor(const std::function<bool()> &condition, std::chrono::milliseconds limit = 30s)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > limit.count())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// A window on a data folder of its own, so that recovery files of other tests never show.
struct Recovery : MainWindowFixture {
    QByteArray savedDataHome;
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        savedDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dataHome().toUtf8());
    }
    void TearDown() override
    {
        qputenv("XDG_DATA_HOME", savedDataHome);
        MainWindowFixture::TearDown();
    }
    QString dataHome() const { return path(QStringLiteral("data")); }
    QString folder() const { return dataHome() + QStringLiteral("/Plendor/recovery"); }
    QStringList recoveryFiles() const { return QDir(folder()).entryList({QStringLiteral("*.recovery")}, QDir::Files); }

    // What an editor killed while editing leaves: its file, and a lock that no one holds.
    void leaveOrphan(const QString &token, RecoveryRecord record)
    {
        ASSERT_TRUE(recovery::ensurePrivateFolder(folder()));
        record.owner = token;
        record.pid = 999999;
        record.writtenAt = QDateTime::currentDateTimeUtc();
        writeFile(QDir(folder()).filePath(recovery::recoveryFileName(token)), serializeRecovery(record));
        writeFile(QDir(folder()).filePath(recovery::lockFileName(token)), {});
    }
    // Lets the window reach the point where it offers what it finds.
    std::unique_ptr<frmMain> startedWindow(const QString &commandLine = QString())
    {
        auto w = makeWindow(commandLine);
        w->show();
        EXPECT_TRUE(waitFor([&] { return !w->Timer1.isActive(); }));
        QCoreApplication::processEvents();
        return w;
    }
};

// The editor that is killed: run on its own by the test below, never in a test run.
using RecoveryEditorProcess = MainWindowFixture;
TEST_F(RecoveryEditorProcess, DISABLED_EditsThenWaitsToBeKilled)
{
    const QString file = qEnvironmentVariable("PLENDOR_TEST_RECOVERY_FILE");
    if (file.isEmpty())
        GTEST_SKIP() << "started by Recovery.AKilledEditorsEditIsOfferedRecoveredAndSavedWhereItBelongs";
    qputenv("XDG_DATA_HOME", qgetenv("PLENDOR_TEST_RECOVERY_DATA"));
    auto w = makeWindow(file);
    w->show();
    w->documentRecovery()->pause = 10ms;
    ASSERT_TRUE(waitFor([&] { return w->strFileName == file; }));
    w->wrapper().SendEditor(QsciScintillaBase::SCI_DOCUMENTEND);
    QTest::keyClick(w->wrapper().widget(), Qt::Key_Return);
    typeText(*w->wrapper().widget(), QStringLiteral("-- 恢复 x=1"));
    // Written by the pause after the last keystroke, not asked for.
    ASSERT_TRUE(waitFor([&] {
        const auto written = parseRecovery(readFile(w->documentRecovery()->filePath()));
        return written && written->text.endsWith(QStringLiteral("-- 恢复 x=1").toUtf8());
    }));
    std::printf("READY\n");
    std::fflush(stdout);
    waitFor([] { return false; }, 120s);
    FAIL() << "never killed";
}

TEST_F(Recovery, AKilledEditorsEditIsOfferedRecoveredAndSavedWhereItBelongs)
{
    writeFile(path("site.xml"), kStored);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PLENDOR_TEST_RECOVERY_FILE"), path("site.xml"));
    env.insert(QStringLiteral("PLENDOR_TEST_RECOVERY_DATA"), dataHome());
    // A killed process leaves its temporary folders: they go with this test's.
    QDir().mkpath(path("childtmp"));
    env.insert(QStringLiteral("TMPDIR"), path("childtmp"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=RecoveryEditorProcess.DISABLED_EditsThenWaitsToBeKilled")});
    QByteArray out;
    ASSERT_TRUE(waitFor([&] {
        out += child.readAllStandardOutput();
        return out.contains("READY\n") || child.state() == QProcess::NotRunning;
    }, 120s));
    ASSERT_TRUE(out.contains("READY\n")) << out.toStdString() << child.readAllStandardError().toStdString();

    {
        // A second editor while the first still runs: its file is not offered.
        auto beside = startedWindow();
        EXPECT_TRUE(prompt.asked.isEmpty());
        ASSERT_EQ(recoveryFiles().size(), 1);
    }
    const QString left = QDir(folder()).filePath(recoveryFiles().first());
    const std::optional<RecoveryRecord> edited = parseRecovery(readFile(left));
    ASSERT_TRUE(edited);
    ASSERT_TRUE(edited->text.contains(QStringLiteral("-- 恢复 x=1").toUtf8()));

    ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
    ASSERT_TRUE(child.waitForFinished(30000));
    ASSERT_EQ(child.exitStatus(), QProcess::CrashExit);

    prompt.answers = {Answer::Yes};
    auto w = startedWindow();
    ASSERT_EQ(prompt.asked.size(), 1);
    EXPECT_TRUE(prompt.asked.first().startsWith(QStringLiteral("发现上次未保存的修改:") + path("site.xml") + "("));
    EXPECT_TRUE(prompt.asked.first().endsWith(QStringLiteral(")。是否恢复?")));
    EXPECT_EQ(w->wrapper().GetTextBytes(), edited->text) << "the text as the killed editor held it";
    EXPECT_TRUE(w->bTextChanged);
    EXPECT_EQ(w->strFileName, path("site.xml"));
    EXPECT_FALSE(QFileInfo::exists(left)) << "the killed editor's file is taken over";
    EXPECT_EQ(recoveryFiles(), QStringList{QFileInfo(w->documentRecovery()->filePath()).fileName()});

    ASSERT_EQ(w->SaveLocal(), 1);
    w->documentRecovery()->waitIdle();
    EXPECT_TRUE(recoveryFiles().isEmpty()) << "a save leaves no recovery file";
    const QByteArray saved = readFile(path("site.xml"));
    EXPECT_TRUE(saved.startsWith(kStored));
    EXPECT_TRUE(saved.contains(gbk(QStringLiteral("-- 恢复 x=1"))));
    EXPECT_EQ(prompt.asked.size(), 1) << "the save asked nothing";
}

TEST_F(Recovery, NoDeletesTheFileAndTheNextStartAsksNothing)
{
    RecoveryRecord untitled;
    untitled.text = "draft";
    leaveOrphan(QStringLiteral("999999-0000aaaa"), untitled);
    prompt.answers = {Answer::No};
    {
        auto w = startedWindow();
        ASSERT_EQ(prompt.asked.size(), 1);
        EXPECT_TRUE(prompt.asked.first().startsWith(QStringLiteral("发现上次未保存的修改:未命名(")));
        EXPECT_TRUE(w->wrapper().GetTextBytes().isEmpty());
        EXPECT_TRUE(recoveryFiles().isEmpty());
    }
    auto again = startedWindow();
    EXPECT_EQ(prompt.asked.size(), 1);
}

TEST_F(Recovery, ASaveANoOnCloseAndACleanEndLeaveNoFile)
{
    auto w = makeWindow();
    w->show();
    DocumentRecovery &recovery = *w->documentRecovery();
    const auto writtenNow = [&] {
        recovery.writeNow();
        recovery.waitIdle();
        return QFileInfo::exists(recovery.filePath());
    };
    typeText(*w->wrapper().widget(), QStringLiteral("select 1"));
    ASSERT_TRUE(writtenNow());
    prompt.saveFiles = {path("new.xml")};
    ASSERT_EQ(w->SaveLocal(), 1);
    recovery.waitIdle();
    EXPECT_FALSE(QFileInfo::exists(recovery.filePath())) << "after a save";

    typeText(*w->wrapper().widget(), QStringLiteral(" 2"));
    ASSERT_TRUE(writtenNow());
    prompt.answers = {Answer::No};
    EXPECT_TRUE(w->close());
    recovery.waitIdle();
    EXPECT_FALSE(QFileInfo::exists(recovery.filePath())) << "after No at the save question";

    auto other = makeWindow();
    typeText(*other->wrapper().widget(), QStringLiteral("x"));
    other->documentRecovery()->writeNow();
    other->documentRecovery()->waitIdle();
    ASSERT_TRUE(QFileInfo::exists(other->documentRecovery()->filePath()));
    other.reset();
    w.reset();
    EXPECT_TRUE(QDir(folder()).entryList(QDir::Files | QDir::Hidden).isEmpty()) << "a clean end leaves nothing";
}

TEST_F(Recovery, AFolderThatCannotBeWrittenIsSaidOnceAndEditingGoesOn)
{
    writeFile(dataHome(), "a file where the data folder would be");
    auto w = makeWindow();
    w->show();
    ASSERT_TRUE(waitFor([&] { return !w->mainStatusBar()->currentMessage().isEmpty(); }));
    EXPECT_TRUE(w->mainStatusBar()->currentMessage().startsWith(QStringLiteral("无法保存恢复文件")));
    typeText(*w->wrapper().widget(), QStringLiteral("abc"));
    w->documentRecovery()->writeNow();
    EXPECT_EQ(w->wrapper().GetTextBytes(), QByteArray("abc"));
    EXPECT_TRUE(prompt.informed.isEmpty()) << "no message box";
}

TEST_F(Recovery, AServerDocumentIsOfferedToTheEditorStartedForTheSameDefineAndUploadedThere)
{
    TestHttpServer server(TestHttpServer::answer(200, QStringLiteral("保存成功").toUtf8()));
    RecoveryRecord serverEdit;
    serverEdit.server = {{QStringLiteral("Host"), QStringLiteral("127.0.0.1")},
                         {QStringLiteral("Port"), QString::number(server.port())},
                         {QStringLiteral("UpLoadFileName"), QStringLiteral("单据.xml")}};
    serverEdit.text = QStringLiteral("<sql type=\"exec\">a<b 恢复</sql>").toUtf8();
    leaveOrphan(QStringLiteral("999999-0000bbbb"), serverEdit);
    RecoveryRecord localEdit;
    localEdit.localPath = path("elsewhere.xml");
    localEdit.text = "local";
    leaveOrphan(QStringLiteral("999999-0000cccc"), localEdit);

    writeFile(path("copy.xml"), gbk(QStringLiteral("<sql type=\"exec&quot;&gt;old</sql>")));
    prompt.answers = {Answer::Yes};
    auto w = makeWindow(QStringLiteral("getHost=127.0.0.1,getPort=%1,UpLoadFileName=单据.xml,OpenFileName=%2")
                            .arg(server.port())
                            .arg(path("copy.xml")));
    w->servletTimeout = 5s;
    ASSERT_TRUE(waitFor([&] { return !prompt.asked.isEmpty(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(prompt.asked.size(), 1) << "the local document waits for an editor in local mode";
    EXPECT_TRUE(prompt.asked.first().startsWith(QStringLiteral("发现上次未保存的修改:单据.xml(")));
    EXPECT_EQ(w->wrapper().GetTextBytes(), serverEdit.text);
    ASSERT_TRUE(w->SaveDefineToServer());
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_TRUE(server.requests().first().endsWith(gbk(QStringLiteral("<sql type=\"exec&quot;&gt;a&lt;b 恢复</sql>"))));
    w->documentRecovery()->waitIdle();
    EXPECT_EQ(recoveryFiles(), QStringList{QStringLiteral("999999-0000cccc.recovery")});
}
} // namespace
