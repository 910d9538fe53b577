// Completion while typing in the main window's real editor, offscreen: which list pops up, and
// what choosing an item writes.

#include "app/CommandIds.h"
#include "completion/SchemaLookup.h"
#include "completion/Vocabularies.h"
#include "editor/CompletionList.h"
#include "link/RequestToken.h"
#include "support/MainWindowFixture.h"
#include "support/TestHttpServer.h"
#include "support/Typing.h"

#include <QAction>
#include <QLabel>

namespace {

const QString kTables = QStringLiteral("tblUser:用户|tblBill:单据|tblBillDetail:明细|tblNoCaption:|ShipOrder:发货单");

QStringList sorted(const QString &list) { return list.isEmpty() ? QStringList() : SortString(list).split(u'|'); }

struct TypingRow { const char *name; bool schemaOn; const char *typed; const char *shown; };
// shown: the list expected open afterwards, "-" for none; "=TABLES" for the table list.
const TypingRow kTyping[] = {
    {"LessThanOffersTags", false, "<", "=TAGS"},
    {"AtOffersVariables", false, "x @", "=AT"},
    {"SessColon", false, "@Sess:", "=SESS"},
    {"LowerCaseSessColon", false, "@sess:", "=SESS"},
    {"MemColon", false, "@MEM:", "=MEM"},
    {"CodeColon", false, "@CODE:", "=CODE"},
    {"OtherWordColonNothing", false, "Other:", "-"},
    {"ValueofDbColonNeedsCompletionOn", false, "ValueofDB:", "-"},
    {"ValueofDbColonOffersTables", true, "@ValueofDB:", "=TABLES"},
    {"DotWithCompletionOffNothing", false, "tblBill.", "-"},
    {"UnderscoreWithCompletionOffNothing", false, "t_", "-"},
    {"QuestionWithCompletionOffNothing", false, "单据?", "-"},
    {"SpaceWithCompletionOffNothing", false, "from ", "-"},
    {"LettersWithCompletionOffNothing", false, "from tb", "-"},
    {"FromSpaceOffersTables", true, "select * from ", "=TABLES"},
    {"UpperCaseJoinSpaceOffersTables", true, "a JOIN ", "=TABLES"},
    {"FromxSpaceClosesTheList", true, "select * from fromx ", "-"},
    {"LoneTDotOffersTables", true, "t.", "=TABLES"},
    {"ChineseTextBeforeQuestion", true, "select 单据?", "tblBill:单据"},
    {"QuestionSearchesCaptionsAndNames", true, "BILL?", "tblBill:单据|tblBillDetail:明细"},
    {"QuestionSearchThenNarrowed", true, "bill?detail", "tblBillDetail:明细"},
    {"QuestionWithNothingBeforeIt", true, "x ?", "-"},
    {"UnclosedBracketBeforeQuestion", true, "[?", "-"},
    {"QuestionMatchingNothing", true, "zzz?", "-"},
    {"ChineseCharacterOnlyMarksChanged", true, "单", "-"},
    {"EqualsClosesTheList", true, "from =", "-"},
    {"CommaClosesTheList", true, "<,", "-"},
};

class Typing : public MainWindowFixture, public ::testing::WithParamInterface<TypingRow> {};

TEST_P(Typing, OffersTheList)
{
    const TypingRow &row = GetParam();
    auto w = makeWindow();
    w->SchemaCompletionOn = row.schemaOn;
    w->completionLists.AllTablesList = kTables;
    QsciScintillaBase &editor = *w->wrapper().widget();
    typeText(editor, QString::fromUtf8(row.typed));

    const QString shown = QString::fromUtf8(row.shown);
    QStringList expected;
    if (shown == "=TAGS")
        expected = sorted(TagList());
    else if (shown == "=AT")
        expected = sorted(AtVariableList());
    else if (shown == "=SESS")
        expected = sorted(SessVariableList());
    else if (shown == "=MEM")
        expected = sorted(MemVariableList());
    else if (shown == "=CODE")
        expected = sorted(CodeVariableList());
    else if (shown == "=TABLES")
        expected = sorted(kTables);
    else if (shown != "-")
        expected = sorted(shown);
    EXPECT_EQ(listActive(editor), !expected.isEmpty());
    EXPECT_EQ(shownItems(editor), expected);
    EXPECT_TRUE(w->bTextChanged);
    // The typed text is all there, whatever was offered.
    EXPECT_EQ(documentText(editor), QString::fromUtf8(row.typed));
}
INSTANTIATE_TEST_SUITE_P(Rows, Typing, ::testing::ValuesIn(kTyping),
                         [](const auto &info) { return std::string(info.param.name); });

struct ChoiceRow { const char *name; const char *typed; const char *chosen; const char *document; const char *after = ""; };
// The item is chosen with Return after it was selected in the list. after: text typed first, the
// caret then taken to the line's start (Home) before typing.
const ChoiceRow kChoices[] = {
    {"TableReplacesTypedLetters", "select * from tb", "tblBill:单据", "select * from tblBill"},
    {"TableWithoutCaption", "from tblN", "tblNoCaption:", "from tblNoCaption"},
    {"SearchTextReplacedByName", "select 单据?", "tblBill:单据", "select tblBill"},
    {"NarrowedSearchReplaced", "bill?det", "tblBillDetail:明细", "tblBillDetail"},
    {"TagInsertedByTheComponent", "<", "sucess></sucess>", "<sucess></sucess>"},
    {"VariableInsertedByTheComponent", "@Sess:", "UserId", "@Sess:UserId"},
    // The word runs on past the caret, and the replaced range reaches back by that much, as the
    // platform's users know it; counted in code-page bytes, it never cuts a character.
    {"AsciiAfterTheCaretReachesBack", "abc==from Ship", "ShipOrder:发货单", "abc==frShipOrderxyz", "xyz"},
    {"ChineseAfterTheCaret", "发货单==from Ship", "ShipOrder:发货单", "发货单=ShipOrder中文字", "中文字"},
    {"ChineseAfterTheTableName", "select * from Ship", "ShipOrder:发货单", "select *ShipOrder发货单", "发货单"},
    {"CountEndingInsideACharacterKeepsItWhole", "from 中，Ship", "ShipOrder:发货单", "from 中ShipOrderx字", "x字"},
    {"ChineseBeforeTheSearch", "中文 单据?", "tblBill:单据", "中文 tblBill"},
};

class Choosing : public MainWindowFixture, public ::testing::WithParamInterface<ChoiceRow> {};

TEST_P(Choosing, WritesTheName)
{
    const ChoiceRow &row = GetParam();
    auto w = makeWindow();
    w->SchemaCompletionOn = true;
    w->completionLists.AllTablesList = kTables;
    QsciScintillaBase &editor = *w->wrapper().widget();
    const QString after = QString::fromUtf8(row.after);
    if (!after.isEmpty()) {
        typeText(editor, after);
        QTest::keyClick(&editor, Qt::Key_Home);
    }
    typeText(editor, QString::fromUtf8(row.typed));
    ASSERT_TRUE(listActive(editor));
    w->wrapper().SendEditor(QsciScintillaBase::SCI_AUTOCSELECT, 0, QString::fromUtf8(row.chosen));
    ASSERT_EQ(w->wrapper().GetSelectText(), QString::fromUtf8(row.chosen));
    chooseCurrent(editor);
    EXPECT_FALSE(listActive(editor));
    EXPECT_EQ(documentText(editor), QString::fromUtf8(row.document));
    // The editor goes on taking keystrokes, at the caret left after the name.
    const QString document = documentText(editor);
    const int caret = w->wrapper().GetCurPos();
    typeText(editor, QStringLiteral(" x"));
    const QByteArray bytes = document.toUtf8();
    EXPECT_EQ(documentText(editor), QString::fromUtf8(bytes.left(caret) + " x" + bytes.mid(caret)));
}
INSTANTIATE_TEST_SUITE_P(Rows, Choosing, ::testing::ValuesIn(kChoices),
                         [](const auto &info) { return std::string(info.param.name); });

// Server mode: the field lookups go to a stand-in servlet on 127.0.0.1.
struct ServerTyping : MainWindowFixture {
    static QByteArray fieldsAnswer()
    {
        return TestHttpServer::answer(200, "<?xml version=\"1.0\" encoding=\"GBK\"?><data result=\"ok\">"
                                           "<row fieldName=\"code:\xB1\xE0\xC2\xEB\"/><row fieldName=\"billDate:\"/>"
                                           "<row fieldName=\"amount:\"/></data>");
    }
    // schemaOn: completion from the servlet already on, as after a connect.
    std::unique_ptr<frmMain> serverWindow(const TestHttpServer &server, bool schemaOn = true)
    {
        auto w = makeWindow(QStringLiteral("getHost=127.0.0.1,getPort=%1,OpenFileName=%2,UserId=u1,JsessionID=s1")
                                .arg(server.port())
                                .arg(path("none.xml")));
        w->servletTimeout = std::chrono::seconds(5);
        w->SchemaCompletionOn = schemaOn;
        return w;
    }
    static QByteArray sqlBody(const QString &sql)
    {
        return MakeRequestToken(sql, servletSessionFrom(launchParams())).toLatin1();
    }
};

TEST_F(ServerTyping, DotOffersTheFieldsAndTypingNarrowsThem)
{
    TestHttpServer server(fieldsAnswer());
    auto w = serverWindow(server);
    QsciScintillaBase &editor = *w->wrapper().widget();
    typeText(editor, QStringLiteral("select tblBill."));
    ASSERT_TRUE(QTest::qWaitFor([&] { return listActive(editor); }, 10000));
    EXPECT_EQ(shownItems(editor), (QStringList{"amount:", "billDate:", "code:编码"}));
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_TRUE(server.requests().at(0).endsWith("\r\n\r\n" + sqlBody(fieldsQuery("TBLBILL"))));

    typeText(editor, QStringLiteral("co"));
    EXPECT_EQ(shownItems(editor), QStringList{"code:编码"});
    chooseCurrent(editor);
    EXPECT_EQ(documentText(editor), QStringLiteral("select tblBill.code"));
    // Narrowing reuses the list: one lookup per "." only.
    EXPECT_EQ(server.requests().size(), 1);
}

TEST_F(ServerTyping, UnderscoreLooksUpTheNameWithoutSeparators)
{
    TestHttpServer server(fieldsAnswer());
    auto w = serverWindow(server);
    typeText(*w->wrapper().widget(), QStringLiteral("tbl_bill_"));
    // The lookup after "tbl_" gives way to the one after "tbl_bill_".
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->fieldLookupBusy(); }, 10000));
    ASSERT_FALSE(server.requests().isEmpty());
    EXPECT_TRUE(server.requests().last().endsWith(sqlBody(fieldsQuery("TBLBILL"))));
    EXPECT_EQ(w->completionLists.FieldList, QStringLiteral("code:编码|billDate:|amount:"));
}

TEST_F(ServerTyping, LoneTDotAsksNothing)
{
    TestHttpServer server(fieldsAnswer());
    auto w = serverWindow(server);
    w->completionLists.AllTablesList = kTables;
    typeText(*w->wrapper().widget(), QStringLiteral("t."));
    EXPECT_EQ(shownItems(*w->wrapper().widget()), sorted(kTables));
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(ServerTyping, ConnectTogglesAndReloadsTheTablesEvenWhenSwitchingOff)
{
    TestHttpServer server(TestHttpServer::answer(
        200, "<?xml version=\"1.0\" encoding=\"GBK\"?><data result=\"ok\"><row tablename=\"tblBill:\xB5\xA5\xBE\xDD\"/><row tablename=\"tblUser:\"/></data>"));
    auto w = serverWindow(server, false);
    QAction *connectDb = w->action(cmd::ConnectDevDb);
    connectDb->trigger();
    EXPECT_TRUE(w->SchemaCompletionOn);
    EXPECT_TRUE(connectDb->isChecked());
    EXPECT_EQ(w->completionLists.AllTablesList, QStringLiteral("tblBill:单据|tblUser:"));
    EXPECT_EQ(prompt.dialogsShown, 0);
    w->completionLists.AllTablesList.clear();
    connectDb->trigger();
    EXPECT_FALSE(w->SchemaCompletionOn);
    EXPECT_FALSE(connectDb->isChecked());
    EXPECT_EQ(w->completionLists.AllTablesList, QStringLiteral("tblBill:单据|tblUser:"));
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_TRUE(server.requests().at(0).endsWith(sqlBody(allTablesQuery())));
}

TEST_F(ServerTyping, ServletDownShowsNothingAndTypingGoesOn)
{
    int port = 0;
    const int s = bindLoopback(&port); // bound, never listening: connections are refused
    auto w = makeWindow(QStringLiteral("getHost=127.0.0.1,getPort=%1,OpenFileName=%2").arg(port).arg(path("n.xml")));
    w->SchemaCompletionOn = true;
    QsciScintillaBase &editor = *w->wrapper().widget();
    typeText(editor, QStringLiteral("tblBill.co"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->fieldLookupBusy(); }, 10000));
    EXPECT_FALSE(listActive(editor));
    EXPECT_EQ(documentText(editor), QStringLiteral("tblBill.co"));
    ::close(s);
}

// A servlet that thinks: the lookup runs away from the window, which takes keys meanwhile and
// marks the wait in its status bar.
struct SlowServlet : ServerTyping {
    TestHttpServer server{TestHttpServer::Script{.reply = fieldsAnswer(), .mode = TestHttpServer::Mode::Hold}};
    std::unique_ptr<frmMain> w;
    QsciScintillaBase *sci = nullptr;
    QLabel *busyMark() const { return w->findChild<QLabel *>(QStringLiteral("lblLookupBusy")); }
    bool idle() const { return QTest::qWaitFor([&] { return !w->fieldLookupBusy(); }, 10000); }
    void SetUp() override
    {
        ServerTyping::SetUp();
        w = serverWindow(server);
        sci = w->wrapper().widget();
        typeText(*sci, QStringLiteral("select tblBill."));
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests().size() == 1; }, 10000));
        ASSERT_TRUE(w->fieldLookupBusy());
        ASSERT_NE(busyMark(), nullptr);
        EXPECT_FALSE(busyMark()->isHidden());
    }
};

TEST_F(SlowServlet, ListComesWhenTheAnswerDoes)
{
    QsciScintillaBase &editor = *sci;
    EXPECT_FALSE(listActive(editor));
    server.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return listActive(editor); }, 10000));
    EXPECT_EQ(shownItems(editor), (QStringList{"amount:", "billDate:", "code:编码"}));
    EXPECT_TRUE(busyMark()->isHidden());
}

TEST_F(SlowServlet, TypingGoesOnAndTheLateListIsDropped)
{
    QsciScintillaBase &editor = *sci;
    typeText(editor, QStringLiteral("co"));
    EXPECT_EQ(documentText(editor), QStringLiteral("select tblBill.co"));
    EXPECT_TRUE(w->fieldLookupBusy());
    server.release();
    ASSERT_TRUE(idle());
    EXPECT_FALSE(listActive(editor));
    EXPECT_TRUE(busyMark()->isHidden());
    // The fields are there for the next letter.
    typeText(editor, QStringLiteral("d"));
    EXPECT_EQ(shownItems(editor), QStringList{"code:编码"});
}

TEST_F(SlowServlet, EscapeCancels)
{
    QsciScintillaBase &editor = *sci;
    QTest::keyClick(&editor, Qt::Key_Escape);
    EXPECT_FALSE(w->fieldLookupBusy());
    EXPECT_TRUE(busyMark()->isHidden());
    server.release();
    // The next lookup's list comes; the cancelled one never shows.
    typeText(editor, QStringLiteral(" tblUser."));
    ASSERT_TRUE(QTest::qWaitFor([&] { return listActive(editor); }, 10000));
    EXPECT_EQ(w->completionLists.FieldList, QStringLiteral("code:编码|billDate:|amount:"));
    EXPECT_EQ(documentText(editor), QStringLiteral("select tblBill. tblUser."));
    EXPECT_TRUE(server.requests().last().endsWith(sqlBody(fieldsQuery("TBLUSER"))));
}

// Whatever goes wrong with the table lookup, the table list is empty: no list opens anywhere it
// would be offered, and the next Enter breaks the line.
struct FailingAnswer { const char *name; TestHttpServer::Script script; };
const FailingAnswer kFailingAnswers[] = {
    {"HtmlErrorPage", {.reply = TestHttpServer::answer(500, "<html><body>500</body></html>")}},
    {"UpperCaseOk", {.reply = TestHttpServer::answer(200, "<data result=\"OK\"><row tablename=\"a:\"/></data>")}},
    {"BadRow", {.reply = TestHttpServer::answer(200, "<data result=\"ok\"><row tablename=\"a:\"/><row other=\"b\"/></data>")}},
    {"NoResult", {.reply = TestHttpServer::answer(200, "<data result=\"ok\"></data>")}},
    {"OnlyEmptyNames", {.reply = TestHttpServer::answer(200, "<data result=\"ok\"><row tablename=\"\"/><row tablename=\"\"/></data>")}},
    {"ClosedWithoutAnswer", {.mode = TestHttpServer::Mode::Close}},
};
class EmptyTableList : public ServerTyping, public ::testing::WithParamInterface<FailingAnswer> {};
TEST_P(EmptyTableList, OpensNoListAndEnterBreaksTheLine)
{
    TestHttpServer server(GetParam().script);
    auto w = serverWindow(server, false);
    w->action(cmd::ConnectDevDb)->trigger();
    ASSERT_TRUE(w->SchemaCompletionOn);
    ASSERT_EQ(w->completionLists.AllTablesList, QString());
    QsciScintillaBase &editor = *w->wrapper().widget();
    for (const QString typed : {"select * from ", "a join ", "x = t.", "@ValueofDB:"}) {
        w->wrapper().SetText(QString());
        typeText(editor, typed);
        EXPECT_FALSE(listActive(editor)) << typed.toStdString();
        chooseCurrent(editor);
        typeText(editor, QStringLiteral("where"));
        EXPECT_EQ(documentText(editor), typed + QStringLiteral("\r\nwhere"));
    }
}
INSTANTIATE_TEST_SUITE_P(Rows, EmptyTableList, ::testing::ValuesIn(kFailingAnswers),
                         [](const auto &info) { return std::string(info.param.name); });

using LocalConnect = MainWindowFixture;
TEST_F(LocalConnect, CancelledLoginLeavesCompletionOffAndLoadsNothing)
{
    auto w = makeWindow();
    w->action(cmd::ConnectDevDb)->trigger();
    EXPECT_EQ(prompt.dialogsShown, 1);
    EXPECT_FALSE(w->SchemaCompletionOn);
    EXPECT_FALSE(w->action(cmd::ConnectDevDb)->isChecked());
    EXPECT_TRUE(w->completionLists.AllTablesList.isEmpty());
}

} // namespace
