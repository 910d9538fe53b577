// The whole path from the real component to the form: signal, WM_NOTIFY, hook, wrapper, control.
#include "hooks/MSubclass.h"
#include "support/EditorHost.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

TEST(Notifications, TypedCharactersReachTheFormAsCharAdded)
{
    EditorHost host;
    std::vector<int> chars;
    QObject::connect(host.control.get(), &usrScintilla::CharAdded, [&](int ch) { chars.push_back(ch); });
    QTest::keyClicks(&host.widget(), QStringLiteral("ab;"));
    EXPECT_EQ(chars, (std::vector<int>{'a', 'b', ';'}));
    EXPECT_EQ(host.sci().GetText(), QStringLiteral("ab;"));
    EXPECT_EQ(host.ownProcMessages, 0) << "the wrapper consumes WM_NOTIFY";
}

TEST(Notifications, WmNotifyFromAnotherWindowIsSwallowed)
{
    EditorHost host;
    QSignalSpy spy(host.control.get(), &usrScintilla::CharAdded);
    SCNotification record;
    record.nmhdr.hwndFrom = host.hwnd; // not the editing window
    record.nmhdr.code = 2001;
    record.ch = 'x';
    const auto result = platform::WindowSystem::instance().sendMessage(host.hwnd, platform::WM_NOTIFY, 0,
                                                                       reinterpret_cast<platform::LParam>(&record));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(host.ownProcMessages, 0);
    // Other messages still reach the form's own procedure.
    EXPECT_EQ(platform::WindowSystem::instance().sendMessage(host.hwnd, 5, 0, 0), 77);
}

TEST(Notifications, MarginTwoClickTogglesAFoldAndMarginZeroDoesNot)
{
    EditorHost host;
    clsScintilla &s = host.sci();
    s.SetText(QStringLiteral("head\nbody1\nbody2\ntail"));
    s.SendEditor(Sci::SCI_SETFOLDLEVEL, 0, Sci::SC_FOLDLEVELBASE | Sci::SC_FOLDLEVELHEADERFLAG);
    s.SendEditor(Sci::SCI_SETFOLDLEVEL, 1, Sci::SC_FOLDLEVELBASE + 1);
    s.SendEditor(Sci::SCI_SETFOLDLEVEL, 2, Sci::SC_FOLDLEVELBASE + 1);
    s.SendEditor(Sci::SCI_SETFOLDLEVEL, 3, Sci::SC_FOLDLEVELBASE);
    QSignalSpy margin(host.control.get(), &usrScintilla::MarginClick);

    const int lineY = static_cast<int>(s.SendEditor(Sci::SCI_TEXTHEIGHT, 0)) / 2;
    QWidget *viewport = host.widget().viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(5, lineY)); // margin 0 (not sensitive)
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETFOLDEXPANDED, 0), 1);

    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(40 + 16 + 10, lineY)); // margin 2
    EXPECT_EQ(margin.count(), 1);
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETFOLDEXPANDED, 0), 0);
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETLINEVISIBLE, 1), 0);

    // The same notification for margin 0 raises MarginClick without folding.
    s.SendEditor(Sci::SCI_SETMARGINSENSITIVEN, 0, 1);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(5, lineY));
    EXPECT_EQ(margin.count(), 2);
    EXPECT_EQ(s.SendEditor(Sci::SCI_GETFOLDEXPANDED, 0), 0);
}

// Each of the eleven events, sent as the editing window sends its notification, reaches the
// control's signal once with its value (Painted, which the control does not re-raise, the wrapper's).
// signal: as SIGNAL() spells it; expected: the signal's one argument, if it has one
struct EventRow { const char *name; std::uint32_t code; const char *signal; bool onWrapper; QVariant expected; };

class EveryEvent : public ::testing::TestWithParam<EventRow> {};

TEST_P(EveryEvent, ReachesTheControlOnce)
{
    const EventRow &row = GetParam();
    EditorHost host;
    QObject *source = row.onWrapper ? static_cast<QObject *>(&host.sci()) : host.control.get();
    QSignalSpy spy(source, row.signal);
    ASSERT_TRUE(spy.isValid()) << row.signal;
    const QByteArray text = QByteArrayLiteral("/tmp/单据.xml");
    SCNotification record;
    record.nmhdr.hwndFrom = host.sci().hWnd();
    record.nmhdr.code = row.code;
    record.ch = 'x';
    record.text = text.constData();
    platform::WindowSystem::instance().sendMessage(host.hwnd, platform::WM_NOTIFY, 0,
                                                   reinterpret_cast<platform::LParam>(&record));
    ASSERT_EQ(spy.count(), 1);
    if (row.expected.isValid()) {
        EXPECT_EQ(spy.at(0).at(0), row.expected);
    }
}

const EventRow kEvents[] = {
    {"OnModified", 2008, SIGNAL(OnModified(int)), false, QVariant(int('x'))},
    {"StyleNeeded", 2000, SIGNAL(StyleNeeded()), false, {}},
    {"CharAdded", 2001, SIGNAL(CharAdded(int)), false, QVariant(int('x'))},
    {"SavePointReached", 2002, SIGNAL(SavePointReached()), false, {}},
    {"SavePointLeft", 2003, SIGNAL(SavePointLeft()), false, {}},
    {"DoubleClick", 2006, SIGNAL(DoubleClick()), false, {}},
    {"UpdateUI", 2007, SIGNAL(UpdateUI()), false, {}},
    {"MarginClick", 2010, SIGNAL(MarginClick()), false, {}},
    {"Painted", 2013, SIGNAL(Painted()), true, {}},
    {"UserListSelection", 2014, SIGNAL(UserListSelection()), false, {}},
    {"AutoCSelection", 2022, SIGNAL(UserListSelection()), false, {}},
    {"UriDroppedAsOpenFileUrl", 2015, SIGNAL(OpenFileUrl(QString)), false, QVariant(QStringLiteral("/tmp/单据.xml"))},
};
INSTANTIATE_TEST_SUITE_P(Events, EveryEvent, ::testing::ValuesIn(kEvents),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Notifications, RealEditsRaiseModifiedAndSavePointEvents)
{
    EditorHost host;
    QSignalSpy modified(host.control.get(), &usrScintilla::OnModified);
    QSignalSpy left(host.control.get(), &usrScintilla::SavePointLeft);
    QSignalSpy reached(host.control.get(), &usrScintilla::SavePointReached);
    QTest::keyClicks(&host.widget(), QStringLiteral("x"));
    EXPECT_GT(modified.count(), 0);
    EXPECT_EQ(left.count(), 1);
    host.sci().Undo();
    EXPECT_EQ(reached.count(), 1);
}

TEST(Notifications, DetachedWrapperHearsNothing)
{
    EditorHost host;
    QSignalSpy spy(host.control.get(), &usrScintilla::CharAdded);
    host.sci().Detach(host.hwnd);
    QTest::keyClicks(&host.widget(), QStringLiteral("q"));
    EXPECT_EQ(spy.count(), 0);
    EXPECT_GT(host.ownProcMessages, 0) << "unhooked: the form sees WM_NOTIFY itself";
    host.sci().Attach(host.hwnd);
    QTest::keyClicks(&host.widget(), QStringLiteral("q"));
    EXPECT_EQ(spy.count(), 1);
}

TEST(Notifications, DroppedFileTextIsForwardedAsOpenFileUrl)
{
    EditorHost host;
    QString received;
    QObject::connect(host.control.get(), &usrScintilla::OpenFileUrl, [&](const QString &file) { received = file; });
    emit host.widget().SCN_URIDROPPED(QUrl::fromLocalFile(QStringLiteral("/tmp/单据 1.xml")));
    EXPECT_EQ(received, QStringLiteral("/tmp/单据 1.xml"));
}
} // namespace
