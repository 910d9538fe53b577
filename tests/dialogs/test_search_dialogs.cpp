#include "app/CommandIds.h"
#include "dialogs/FindHistory.h"
#include "dialogs/frmReplace.h"
#include "platform/ProgramFolder.h"
#include "support/MainWindowFixture.h"
#include "support/ScopedEnv.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <filesystem>

namespace {

struct SearchDialogs : MainWindowFixture {
    std::unique_ptr<frmMain> w;
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        QDir().mkpath(path("program"));
        w = makeWindow();
    }
    void TearDown() override
    {
        if (frmReplace *r = frmReplace::instance())
            r->close();
        w.reset();
        platform::setSharedDataFolder(QString());
        MainWindowFixture::TearDown();
    }
    template <typename T> static T *child(QWidget &d, const char *name)
    {
        T *c = d.findChild<T *>(QString::fromLatin1(name));
        EXPECT_TRUE(c) << name;
        return c;
    }
    static void type(QWidget &d, const char *name, const QString &text)
    {
        QWidget *target = d.findChild<QWidget *>(QString::fromLatin1(name));
        if (auto *combo = qobject_cast<QComboBox *>(target))
            target = combo->lineEdit();
        QTest::keyClicks(target, text);
    }
    static void click(QWidget &d, const char *name) { QTest::mouseClick(child<QPushButton>(d, name), Qt::LeftButton); }
    // Clicks a check box or option button on its indicator, as a person would.
    static void tick(QWidget &d, const char *name)
    {
        QAbstractButton *b = child<QAbstractButton>(d, name);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
    // Types the text into the find box and presses Find.
    static std::function<void(QDialog &)> find(const QString &text)
    {
        return [text](QDialog &d) {
            type(d, "cmbFind", text);
            click(d, "cmdFind");
        };
    }
    // The find dialog, opened and used to search for the text.
    void findWithTheDialog(const QString &text) { prompt.dialogScripts.push_back(find(text)); w->execute(cmd::Find); }
    clsScintilla &s() { return w->wrapper(); }
    QString history() { return QString::fromLatin1(readFile(path("program/findList.txt"))); }
};

TEST_F(SearchDialogs, FindDialogDefaultsSearchAndSettingsRoundTrip)
{
    s().SetText(QStringLiteral("one Two two"));
    s().SetSel(0, 0);
    prompt.dialogScripts.push_back([](QDialog &d) {
        EXPECT_TRUE(child<QCheckBox>(d, "chkWrap")->isChecked());
        EXPECT_FALSE(child<QCheckBox>(d, "chkCase")->isChecked());
        EXPECT_TRUE(child<QRadioButton>(d, "optDown")->isChecked());
        EXPECT_TRUE(child<QPushButton>(d, "cmdFind")->property("flatBorder").toBool());
        EXPECT_FALSE(child<QComboBox>(d, "cmbFind")->property("flatBorder").toBool());
        tick(d, "chkCase");
        find("two")(d);
    });
    w->execute(cmd::Find);
    EXPECT_EQ(s().GetSelText(), QStringLiteral("two"));
    EXPECT_EQ(s().GetSelStart(), 8) << "match case skipped Two";
    EXPECT_EQ(history(), QStringLiteral("two\r\n"));
    EXPECT_EQ(settings.read("ScintillaClass", "Settings", "FchkCase", ""), QStringLiteral("1"));
    EXPECT_EQ(settings.read("ScintillaClass", "Settings", "FOptUp", ""), QStringLiteral("False"));

    // The next dialog comes back with the stored options, the history and the selection.
    prompt.dialogScripts.push_back([](QDialog &d) {
        EXPECT_TRUE(child<QCheckBox>(d, "chkCase")->isChecked());
        EXPECT_EQ(child<QComboBox>(d, "cmbFind")->count(), 1);
        EXPECT_EQ(child<QComboBox>(d, "cmbFind")->currentText(), QStringLiteral("two"));
        tick(d, "optUp");
        click(d, "cmdCancel");
    });
    w->execute(cmd::Find);
    EXPECT_EQ(settings.read("ScintillaClass", "Settings", "FOptUp", ""), QStringLiteral("True"));
    EXPECT_EQ(history(), QStringLiteral("two\r\n")) << "cancel leaves the history alone";

    w->execute(cmd::FindNext);
    EXPECT_EQ(s().GetSelStart(), 8) << "F3 repeats the last search (wrapping to the only match)";
}

TEST_F(SearchDialogs, HistoryKeepsFiftyTwoNewestFirstWithoutDuplicateCheck)
{
    QByteArray sixty;
    for (int i = 0; i < 60; ++i)
        sixty += "old" + QByteArray::number(i) + "\r\n";
    writeFile(path("program/findList.txt"), sixty);
    writeFile(path("program/findlist.bak"), "leftover\r\n");
    prompt.dialogScripts.push_back([](QDialog &d) {
        EXPECT_EQ(child<QComboBox>(d, "cmbFind")->count(), 60);
        find("  new  ")(d);
    });
    w->execute(cmd::Find);
    const QStringList lines = FindHistory::LoadFindList(path("program"));
    ASSERT_EQ(lines.size(), 52);
    EXPECT_EQ(lines.first(), QStringLiteral("  new  "));
    EXPECT_EQ(lines.at(1), QStringLiteral("old0"));
    EXPECT_EQ(lines.last(), QStringLiteral("old50"));
    EXPECT_FALSE(QFile::exists(path("program/findlist.bak")));

    EXPECT_TRUE(FindHistory::AddToFindList(path("program"), "  new  "));
    EXPECT_EQ(FindHistory::LoadFindList(path("program")).mid(0, 2), (QStringList{"  new  ", "  new  "}));

    findWithTheDialog("   ");
    EXPECT_EQ(FindHistory::LoadFindList(path("program")).first(), QStringLiteral("  new  ")) << "blanks are not stored";

    EXPECT_TRUE(FindHistory::AddToFindList(path("program"), "two\nlines"));
    EXPECT_TRUE(FindHistory::AddToFindList(path("program"), "cr\rhere"));
    const QStringList after = FindHistory::LoadFindList(path("program"));
    EXPECT_EQ(after.size(), 52);
    EXPECT_EQ(after.first(), QStringLiteral("  new  ")) << "an entry with a line break is not stored";
}

TEST_F(SearchDialogs, UnwritableProgramFolderKeepsTheHistoryInTheUsersDataFolder)
{
    // An installed program: its folder cannot be written (a folder below a plain file cannot be
    // made, whoever runs the test).
    writeFile(path("plain"), "");
    platform::setProgramFolder(path("plain/bin"));
    const ScopedEnv dataHome("XDG_DATA_HOME", path("data").toUtf8());
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    EXPECT_TRUE(dataFolder.startsWith(path("data")));
    EXPECT_EQ(FindHistory::historyFolder(path("plain/bin")), dataFolder);
    EXPECT_EQ(FindHistory::historyFolder(path("program")), path("program")) << "a writable program folder is kept";

    s().SetText(QStringLiteral("abc abc"));
    findWithTheDialog("abc");
    EXPECT_EQ(s().GetSelText(), QStringLiteral("abc"));
    EXPECT_TRUE(prompt.informed.isEmpty()) << prompt.informed.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(readFile(QDir(dataFolder).filePath("findList.txt")), QByteArray("abc\r\n"));
    prompt.dialogScripts.push_back([](QDialog &d) {
        EXPECT_EQ(child<QComboBox>(d, "cmbFind")->count(), 1) << "the list is read from the same folder";
        click(d, "cmdCancel");
    });
    w->execute(cmd::Find);
}

TEST_F(SearchDialogs, InstalledProgramKeepsAPrivateHistoryInTheUsersDataFolderOnly)
{
    // Installed (its shared data folder exists), even as root, with a writable program folder.
    QDir().mkpath(path("share/plendor"));
    platform::setSharedDataFolder(path("share/plendor"));
    const ScopedEnv dataHome("XDG_DATA_HOME", path("data").toUtf8());
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);

    s().SetText(QStringLiteral("abc abc"));
    findWithTheDialog("abc");
    EXPECT_TRUE(prompt.informed.isEmpty()) << prompt.informed.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(QFile::exists(path("program/findList.txt"))) << "nothing is written beside the program";
    const QString history = QDir(dataFolder).filePath("findList.txt");
    EXPECT_EQ(readFile(history), QByteArray("abc\r\n"));
    const auto mode = [](const QString &file) {
        return std::filesystem::status(file.toStdString()).permissions() & std::filesystem::perms::all;
    };
    using std::filesystem::perms;
    EXPECT_EQ(mode(history), perms::owner_read | perms::owner_write);
    EXPECT_EQ(mode(dataFolder), perms::owner_all) << "the data folder it made";

    // A history made readable by others is private again once rewritten.
    QFile::setPermissions(history, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    EXPECT_TRUE(FindHistory::AddToFindList(FindHistory::historyFolder(path("program")), "def"));
    EXPECT_EQ(mode(history), perms::owner_read | perms::owner_write);
}

TEST_F(SearchDialogs, UnwritableHistoryStillSearchesAndABadPatternIsReported)
{
    platform::setProgramFolder(path("no/such/folder"));
    // Neither the program folder nor the user's data folder can be written.
    writeFile(path("plain"), "");
    const ScopedEnv dataHome("XDG_DATA_HOME", path("plain/data").toUtf8());
    s().SetText(QStringLiteral("abc abc"));
    findWithTheDialog("abc");
    EXPECT_EQ(s().GetSelText(), QStringLiteral("abc"));
    ASSERT_EQ(prompt.informed.size(), 1);
    EXPECT_TRUE(prompt.informed.first().contains(QStringLiteral("findList.txt"))) << "told once";
    s().SetSel(3, 3);
    findWithTheDialog("abc");
    EXPECT_EQ(s().GetSelStart(), 4) << "the search still runs";
    EXPECT_EQ(prompt.informed.size(), 1) << "and is not told again";
    prompt.informed.clear();

    prompt.dialogScripts.push_back([](QDialog &d) {
        tick(d, "chkRegExp");
        find("a(")(d);
    });
    w->execute(cmd::Find);
    ASSERT_EQ(prompt.informed.size(), 1);
    EXPECT_TRUE(prompt.informed.first().contains(QStringLiteral("正则表达式无效")));
}

TEST_F(SearchDialogs, ReplaceRuleCountAndNotFound)
{
    s().SetText(QStringLiteral("foobar foo FOO"));
    s().SetSel(0, 6);
    w->execute(cmd::Replace);
    frmReplace *r = frmReplace::instance();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->cmbFind()->currentText(), QStringLiteral("foobar"));
    r->cmbFind()->setEditText(QString());
    type(*r, "cmbFind", "foo");
    type(*r, "cmbReplace", "x");
    click(*r, "cmdReplace");
    EXPECT_EQ(s().GetText(), QStringLiteral("x foo FOO")) << "the whole selection that begins with the text";
    EXPECT_EQ(s().GetSelStart(), 2);

    s().SetSel(6, 9); // FOO
    click(*r, "cmdReplace");
    EXPECT_EQ(s().GetText(), QStringLiteral("x foo FOO")) << "compared with case: only finds";
    EXPECT_EQ(s().GetSelStart(), 2);

    s().SetText(QStringLiteral("a.a.a"));
    r->cmbFind()->setEditText(QStringLiteral("a"));
    r->cmbReplace()->setEditText(QStringLiteral("b"));
    click(*r, "cmdReplaceAll");
    EXPECT_EQ(s().GetText(), QStringLiteral("b.b.b"));
    EXPECT_EQ(child<QLabel>(*r, "lblReplace")->text(), QStringLiteral("替换了 3 次"));
    click(*r, "cmdReplaceAll");
    EXPECT_EQ(child<QLabel>(*r, "lblReplace")->text(), QStringLiteral("替换了 3 次"));
    EXPECT_EQ(prompt.informed, QStringList{QStringLiteral("内容 \"a\"  没有找到")});
}

TEST_F(SearchDialogs, ReplaceDialogIsRetargetedAndRemembersItsOptions)
{
    s().SetText(QStringLiteral("main text"));
    w->objWindow().wrapper().SetText(QStringLiteral("object text"));
    w->execute(cmd::Replace);
    frmReplace *r = frmReplace::instance();
    EXPECT_EQ(r->cScintilla, &s());
    w->objWindow().wrapper().DoReplace();
    EXPECT_EQ(frmReplace::instance(), r) << "one dialog for the process";
    EXPECT_EQ(r->cScintilla, &w->objWindow().wrapper());
    r->cmbFind()->setEditText(QStringLiteral("text"));
    r->cmbReplace()->setEditText(QStringLiteral("T"));
    tick(*r, "chkWrap");
    click(*r, "cmdReplaceAll");
    EXPECT_EQ(w->objWindow().wrapper().GetText(), QStringLiteral("object T"));
    EXPECT_EQ(s().GetText(), QStringLiteral("main text"));
    click(*r, "cmdClose");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmReplace::instance(), nullptr);
    EXPECT_EQ(settings.read("ScintillaClass", "Settings", "RchkWrap", ""), QStringLiteral("0"));
    w->execute(cmd::Replace);
    EXPECT_FALSE(child<QCheckBox>(*frmReplace::instance(), "chkWrap")->isChecked());
}

TEST_F(SearchDialogs, GotoDialogFiltersKeysAndMovesTheCaret)
{
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    s().SetText(QStringLiteral("l1\nline two\nl3"));
    s().SetSel(4, 4);
    prompt.dialogScripts.push_back([](QDialog &d) {
        EXPECT_EQ(child<QLabel>(d, "lblCurLine")->text(), QStringLiteral("Current Line: 2"));
        EXPECT_EQ(child<QLabel>(d, "lblLineCount")->text(), QStringLiteral("Last Line: 3"));
        EXPECT_EQ(child<QLabel>(d, "lblColumn")->text(), QStringLiteral("Column: 1"));
        QLineEdit *line = child<QLineEdit>(d, "txtLine");
        QTest::keyClicks(line, "2a- 9");
        EXPECT_EQ(line->text(), QStringLiteral("29"));
        QTest::keyClick(line, Qt::Key_Backspace);
        EXPECT_EQ(line->text(), QStringLiteral("2"));
        QTest::keyClicks(child<QLineEdit>(d, "txtColumn"), "x6");
        click(d, "cmdGo");
    });
    QTest::keyClick(s().widget(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(prompt.dialogsShown, 1) << "Ctrl+G opens the go-to dialog";
    EXPECT_EQ(s().GetCurPos(), 3 + 5);

    struct Row { const char *line, *column; int pos; };
    for (const Row row : {Row{"", "", 0}, Row{"0", "0", 0}, Row{"abc", "x", 0}, Row{"99999999999999999999", "5", 14},
                          Row{"2", "99999999999", 11}}) {
        prompt.dialogScripts.push_back([row](QDialog &d) {
            child<QLineEdit>(d, "txtLine")->setText(QString::fromLatin1(row.line)); // pasted, unfiltered
            child<QLineEdit>(d, "txtColumn")->setText(QString::fromLatin1(row.column));
            click(d, "cmdGo");
        });
        s().DoGoto();
        EXPECT_EQ(s().GetCurPos(), row.pos) << row.line << "/" << row.column;
    }
    s().SetSel(4, 4);
    prompt.dialogScripts.push_back([](QDialog &d) {
        child<QLineEdit>(d, "txtLine")->setText("1");
        click(d, "cmdCancel");
    });
    s().DoGoto();
    EXPECT_EQ(s().GetCurPos(), 4) << "cancel leaves the caret";
    EXPECT_FALSE(settings.read("ScintillaClass", "Settings", "GotoLeft", "").isEmpty());
}

TEST_F(SearchDialogs, ServerStartSelectsTheQuotedDefineName)
{
    writeFile(path("copy.xml"), "<define name=&quot;listBill&quot;&gt;\n<define name=&quot;saveBill&quot;&gt;");
    auto server = makeWindow("getHost=h,DefineName=saveBill,OpenFileName=" + path("copy.xml"));
    EXPECT_EQ(server->wrapper().GetSelText(), QStringLiteral("\"saveBill\""));
}
} // namespace
