#include "support/MainWindowFixture.h"

#include <QDir>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <csignal>
#include <sys/resource.h>

using platform::Answer;

namespace {
using Lifecycle = MainWindowFixture;

const QString kReadable = QStringLiteral("<define name=\"保存\">\r\n<sql type=\"exec\">a<b & c</sql>\r\n</define>");
const QByteArray kStored =
    gbk(QStringLiteral("<define name=&quot;保存&quot;&gt;\r\n<sql type=\"exec&quot;&gt;a&lt;b &amp; c</sql>\r\n</define>"));

TEST_F(Lifecycle, NeverSavedDocumentAsksForANameOnceAndWritesTheStoredForm)
{
    auto w = makeWindow();
    w->wrapper().SetText(kReadable);
    w->bTextChanged = true;
    prompt.saveFiles = {path("new.xml")};
    EXPECT_EQ(w->SaveLocal(), 1);
    EXPECT_EQ(readFile(path("new.xml")), kStored);
    EXPECT_EQ(w->objWindow().wrapper().GetText(), platform::AnsiCodec().decode(kStored))
        << "the object window holds exactly the bytes written";
    EXPECT_EQ(w->windowTitle(), titleWith(path("new.xml")));
    EXPECT_FALSE(w->bTextChanged);
    EXPECT_TRUE(prompt.asked.isEmpty());

    w->wrapper().SetText(QStringLiteral("second"));
    EXPECT_EQ(w->SaveLocal(), 1);
    EXPECT_EQ(readFile(path("new.xml")), QByteArray("second"));
    EXPECT_TRUE(prompt.saveFiles.empty());
    EXPECT_TRUE(prompt.asked.isEmpty()) << "the second save asks nothing";
}

TEST_F(Lifecycle, DecliningTheOverwriteKeepsTheNameForTheNextSave)
{
    writeFile(path("old.xml"), "old");
    auto w = makeWindow();
    w->wrapper().SetText(QStringLiteral("new"));
    prompt.saveFiles = {path("old.xml")};
    prompt.answers = {Answer::No};
    EXPECT_EQ(w->SaveLocal(), -1);
    EXPECT_EQ(prompt.asked, QStringList{QStringLiteral("文件已存在,是否覆盖?")});
    EXPECT_EQ(readFile(path("old.xml")), QByteArray("old"));
    EXPECT_EQ(w->SaveLocal(), 1);
    EXPECT_EQ(readFile(path("old.xml")), QByteArray("new"));
    EXPECT_EQ(prompt.asked.size(), 1);
}

TEST_F(Lifecycle, RefusedAndFailingWritesLeaveTheOldFileByteIdentical)
{
    writeFile(path("ro.xml"), "keep");
    QFile::setPermissions(path("ro.xml"), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    auto w = makeWindow();
    w->wrapper().SetText(QString(5000, QLatin1Char('x')));
    w->bTextChanged = true;
    w->strFileName = path("ro.xml");
    EXPECT_EQ(w->SaveLocal(), -1);
    w->strFileName = path("no/such/folder/doc.xml");
    EXPECT_EQ(w->SaveLocal(), -1);

    writeFile(path("doc.xml"), "original bytes");
    w->strFileName = path("doc.xml");
    // A file-size limit makes the write fail part-way, whoever runs the test.
    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0) << errno;
    const int result = w->SaveLocal();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result, -1);
    EXPECT_EQ(readFile(path("ro.xml")), QByteArray("keep"));
    EXPECT_EQ(readFile(path("doc.xml")), QByteArray("original bytes"));
    ASSERT_EQ(prompt.informed.size(), 3);
    EXPECT_EQ(prompt.informed.first(), QStringLiteral("只读文件,不能保存"));
    for (const QString &message : prompt.informed.mid(1))
        EXPECT_TRUE(message.endsWith(QStringLiteral("文件只读或被占用"))) << message.toStdString();
    EXPECT_TRUE(w->bTextChanged);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"doc.xml", "ro.xml"})) << "no temporary file left";
}

TEST_F(Lifecycle, BadRuleFileStopsTheSaveWithItsLine)
{
    QDir().mkpath(path("program"));
    writeFile(path("program/KeyWord.txt"), "ok|fine\n[bad|x\n");
    writeFile(path("doc.xml"), "before");
    auto w = makeWindow();
    w->strFileName = path("doc.xml");
    w->wrapper().SetText(QStringLiteral("after"));
    EXPECT_EQ(w->SaveLocal(), -1);
    EXPECT_EQ(readFile(path("doc.xml")), QByteArray("before"));
    ASSERT_EQ(prompt.informed.size(), 1);
    EXPECT_TRUE(prompt.informed.first().contains(QStringLiteral("第 2 行")));

    prompt.informed.clear();
    w->objWindow().wrapper().SetText(QStringLiteral("untouched"));
    w->escapeCommand();
    EXPECT_EQ(w->objWindow().wrapper().GetText(), QStringLiteral("untouched"));
    EXPECT_EQ(prompt.informed.size(), 1);
}

TEST_F(Lifecycle, ASlowSaveShowsItsBusyDialogAndCancelLeavesEverythingAsItWas)
{
    QDir().mkpath(path("program"));
    // Every start place costs millions of steps: the rule runs for seconds.
    writeFile(path("program/KeyWord.txt"), "(*NO_START_OPT)a{0,46}a{0,46}a{0,46}a{0,46}a{0,46}c|X\n");
    writeFile(path("doc.xml"), "before");
    auto w = makeWindow();
    w->strFileName = path("doc.xml");
    w->wrapper().SetText(QString(20000, u'a'));
    w->bTextChanged = true;
    w->busyAfter = std::chrono::milliseconds(0);
    prompt.cancelBusy = true;
    EXPECT_EQ(w->SaveLocal(), -1);
    EXPECT_EQ(prompt.busyShown, 1);
    EXPECT_TRUE(prompt.informed.isEmpty()) << "a cancelled save needs no message";
    EXPECT_EQ(readFile(path("doc.xml")), QByteArray("before"));
    EXPECT_EQ(w->wrapper().GetText(), QString(20000, u'a'));
    EXPECT_TRUE(w->bTextChanged);
}

TEST_F(Lifecycle, UnencodableTextAsksBeforeSaving)
{
    auto w = makeWindow();
    w->strFileName = path("emoji.xml");
    w->wrapper().SetText(QStringLiteral("a😀b"));
    prompt.answers = {Answer::No};
    EXPECT_EQ(w->SaveLocal(), -1);
    EXPECT_FALSE(QFile::exists(path("emoji.xml")));
    ASSERT_EQ(prompt.asked.size(), 1);
    EXPECT_TRUE(prompt.asked.first().contains(QStringLiteral("😀")));
    prompt.answers = {Answer::Yes};
    EXPECT_EQ(w->SaveLocal(), 1);
    EXPECT_EQ(readFile(path("emoji.xml")), QByteArray("a?b"));
}

TEST_F(Lifecycle, OpenWithUnsavedChangesSavesAndOpensNothing)
{
    writeFile(path("other.xml"), kStored);
    auto w = makeWindow();
    w->wrapper().SetText(QStringLiteral("draft"));
    w->bTextChanged = true;
    prompt.answers = {Answer::Yes};
    prompt.saveFiles = {path("draft.xml")};
    prompt.openFiles = {path("other.xml")};
    w->openCommand();
    EXPECT_EQ(prompt.asked.first(), QStringLiteral("内容已被修改,是否保存?"));
    EXPECT_EQ(readFile(path("draft.xml")), QByteArray("draft"));
    EXPECT_EQ(w->wrapper().GetText(), QStringLiteral("draft"));
    EXPECT_EQ(prompt.openFiles.size(), 1u) << "no open dialog was shown";

    w->openCommand();
    EXPECT_EQ(w->wrapper().GetText(), kReadable);
    EXPECT_EQ(w->strFileName, path("other.xml"));
    EXPECT_EQ(w->windowTitle(), titleWith(path("other.xml")));
    EXPECT_FALSE(w->wrapper().Modified());
    w->wrapper().Undo();
    EXPECT_EQ(w->wrapper().GetText(), kReadable) << "the open cannot be undone";
}

TEST_F(Lifecycle, DroppingSeveralFilesOpensTheFirst)
{
    writeFile(path("first.xml"), "1 &lt; 2");
    writeFile(path("second.xml"), "second");
    auto w = makeWindow();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path("first.xml")), QUrl::fromLocalFile(path("second.xml"))});
    EXPECT_TRUE(w->filesDropped(&mime));
    EXPECT_EQ(w->wrapper().GetText(), QStringLiteral("1 < 2"));
    EXPECT_EQ(w->strFileName, path("first.xml"));

    QMimeData text;
    text.setText("not a file");
    EXPECT_FALSE(w->filesDropped(&text));
    EXPECT_EQ(w->strFileName, path("first.xml"));
}

TEST_F(Lifecycle, CommandLinePathOpensFromTheTimer)
{
    writeFile(path("my file.xml"), gbk(QStringLiteral("&lt;中&gt;")));
    auto w = makeWindow("\"" + path("my file.xml") + "\"");
    EXPECT_EQ(w->wrapper().GetText(), QString()) << "nothing before the window is shown";
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->wrapper().GetText() == QStringLiteral("<中>"); }, 3000));
    EXPECT_EQ(w->windowTitle(), titleWith(path("my file.xml")));
}

TEST_F(Lifecycle, BadFilesOpenWithoutACrash)
{
    const std::pair<const char *, QByteArray> files[] = {
        {"empty.xml", QByteArray()},
        {"notxml.xml", QByteArray("<<<&&&;;;<define")},
        {"cutentity.xml", QByteArray("\xFF\xFE\x80&lt")}, // ending in an entity cut short
    };
    auto w = makeWindow();
    for (const auto &[name, bytes] : files) {
        writeFile(path(name), bytes);
        w->openDropped({path(name)});
        EXPECT_EQ(w->strFileName, path(name));
    }
    w->openDropped({path("missing.xml")});
    EXPECT_EQ(w->strFileName, path("missing.xml"));
}

TEST_F(Lifecycle, BytesTheCodePageCannotReadOpenOnlyWhenTheUserSaysSo)
{
    const QByteArray bad("ok\x81\x20rest\xD6", 9); // a lead byte before a space, and one at the end
    writeFile(path("good.xml"), "good");
    writeFile(path("bad.xml"), bad);
    auto w = makeWindow();
    w->openDropped({path("good.xml")});

    prompt.answers = {platform::Answer::No};
    w->openDropped({path("bad.xml")});
    ASSERT_EQ(prompt.asked.size(), 1);
    EXPECT_TRUE(prompt.asked.first().contains(QStringLiteral("第 3 个字节"))) << prompt.asked.first().toStdString();
    EXPECT_EQ(w->strFileName, path("good.xml")) << "declined: nothing changes";
    EXPECT_EQ(w->wrapper().GetText(), QStringLiteral("good"));

    prompt.answers = {platform::Answer::Yes};
    w->openDropped({path("bad.xml")});
    EXPECT_EQ(w->strFileName, path("bad.xml"));
    EXPECT_TRUE(w->wrapper().GetText().startsWith(QStringLiteral("ok")));
}

TEST_F(Lifecycle, ASaveOverAFileAnotherProgramChangedAsksFirst)
{
    writeFile(path("shared.xml"), "mine");
    auto w = makeWindow();
    w->openDropped({path("shared.xml")});
    w->wrapper().SetText(QStringLiteral("my edit"));
    writeFile(path("shared.xml"), "theirs"); // another editor saved meanwhile

    prompt.answers = {Answer::No};
    EXPECT_EQ(w->SaveLocal(), -1);
    EXPECT_EQ(prompt.asked, QStringList{QStringLiteral("文件已被其他程序修改。是否覆盖?")});
    EXPECT_EQ(readFile(path("shared.xml")), QByteArray("theirs"));

    prompt.answers = {Answer::Yes};
    EXPECT_EQ(w->SaveLocal(), 1);
    EXPECT_EQ(readFile(path("shared.xml")), QByteArray("my edit"));
    w->wrapper().SetText(QStringLiteral("my second edit"));
    EXPECT_EQ(w->SaveLocal(), 1);
    EXPECT_EQ(prompt.asked.size(), 2) << "what this window saved itself is no one else's change";

    writeFile(path("shared.xml"), "my second edit"); // rewritten with the same bytes: no change
    EXPECT_EQ(w->SaveLocal(), 1);
    EXPECT_EQ(prompt.asked.size(), 2);
}

TEST_F(Lifecycle, NulBytesWarnThenOpenWholeAndSaveWhole)
{
    QByteArray stored = gbk(QStringLiteral("<define name=\"空\">\r\n<sql type=\"select\">select 1"));
    stored += '\0';
    stored += gbk(QStringLiteral(" 之后 from t where a &lt; 2</sql>\r\n</define>\r\n"));
    writeFile(path("nul.xml"), stored);
    auto w = makeWindow();

    prompt.answers = {Answer::No};
    w->openDropped({path("nul.xml")});
    ASSERT_EQ(prompt.asked.size(), 1);
    EXPECT_TRUE(prompt.asked.first().startsWith(QStringLiteral("文件中有 NUL 字符(第 48 个字节)")))
        << prompt.asked.first().toStdString();
    EXPECT_TRUE(w->strFileName.isEmpty()) << "declined: nothing opened";

    prompt.answers = {Answer::Yes};
    w->openDropped({path("nul.xml")});
    const QString text = w->wrapper().GetText();
    EXPECT_TRUE(text.contains(QStringLiteral("1") + QChar(0) + QStringLiteral(" 之后 from t where a < 2")));
    EXPECT_EQ(w->objWindow().wrapper().GetLen(), stored.size() + 3) << "the stored form whole (GBK to UTF-8)";
    w->bTextChanged = true;
    EXPECT_EQ(w->SaveLocal(), 1);
    const QByteArray saved = readFile(path("nul.xml"));
    QByteArray afterNul("1");
    afterNul += '\0';
    afterNul += gbk(QStringLiteral(" 之后 from t where a &lt; 2</sql>\r\n</define>\r\n"));
    EXPECT_TRUE(saved.endsWith(afterNul)) << "the stored form after the NUL, whole";
}

TEST_F(Lifecycle, AFileThatIsNotADefineFileAsksOnceBeforeItsFirstSave)
{
    writeFile(path("q.sql"), "select a from t where a < b\r\n");
    writeFile(path("bill.xml"), "<defineSqls>\r\n</defineSqls>\r\n");
    auto w = makeWindow(path("q.sql"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->strFileName == path("q.sql"); }, 3000));

    prompt.answers = {Answer::No};
    EXPECT_EQ(w->SaveLocal(), -1);
    EXPECT_EQ(prompt.asked, QStringList{QStringLiteral("该文件不像定义文件,保存时将按定义文件转义。是否继续保存?")});
    EXPECT_EQ(readFile(path("q.sql")), QByteArray("select a from t where a < b\r\n"));
    prompt.answers = {Answer::Yes};
    EXPECT_EQ(w->SaveLocal(), 1);
    EXPECT_EQ(w->SaveLocal(), 1);
    EXPECT_EQ(prompt.asked.size(), 2) << "asked before the first save only";

    auto defineWindow = makeWindow(path("bill.xml"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return defineWindow->strFileName == path("bill.xml"); }, 3000));
    EXPECT_EQ(defineWindow->SaveLocal(), 1);
    EXPECT_EQ(prompt.asked.size(), 2) << "a define file is saved without a question";
}

TEST_F(Lifecycle, TheOldTextOfAnInterruptedSaveIsOfferedBackOnOpen)
{
    writeFile(path("bill.xml"), "half of the new t");
    writeFile(path(".bill.xml.plendor.orig"), "the whole old text");
    auto w = makeWindow();
    prompt.answers = {Answer::Yes};
    w->openDropped({path("bill.xml")});
    ASSERT_EQ(prompt.asked.size(), 1);
    EXPECT_TRUE(prompt.asked.first().startsWith(QStringLiteral("上次保存该文件时被中断")));
    EXPECT_EQ(w->wrapper().GetText(), QStringLiteral("the whole old text"));
    EXPECT_FALSE(QFile::exists(path(".bill.xml.plendor.orig")));
}

TEST_F(Lifecycle, ServerModeStartLoadsTheCopyUnescaped)
{
    writeFile(path("copy.xml"), kStored);
    auto w = makeWindow("getHost=srv,getPort=8080,UpLoadFileName=bill.xml,OpenFileName=" + path("copy.xml"));
    EXPECT_EQ(w->wrapper().GetText(), kReadable);
    EXPECT_EQ(w->objWindow().wrapper().GetText(), platform::AnsiCodec().decode(kStored));
    EXPECT_EQ(w->windowTitle(), titleWith(QStringLiteral("bill.xml")));
    EXPECT_FALSE(w->bTextChanged);
    w->wrapper().Undo();
    EXPECT_EQ(w->wrapper().GetText(), kReadable);

    prompt.saveFiles = {path("local.xml")};
    w->SaveLocalAs();
    EXPECT_EQ(readFile(path("local.xml")), kStored);
    EXPECT_EQ(w->windowTitle(), titleWith(path("local.xml")));
    EXPECT_EQ(readFile(path("copy.xml")), kStored) << "the local copy is never written";
}
} // namespace
