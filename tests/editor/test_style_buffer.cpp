// The component's style buffer, which skips writing the zero styles of new text into memory it
// has never written: whatever the buffer held before (styles of deleted text, grown room), new
// text reads back unstyled and the styles around it stay. Styles set and read in bulk are those
// set and read one by one, and the editor hears of exactly the span that changed.

#include "support/EditorHost.h"

#include <gtest/gtest.h>
#include <vector>

using Sci = QsciScintillaBase;
using platform::LParam;
using platform::WParam;

namespace {

class StyleBuffer : public ::testing::Test {
protected:
    EditorHost host;
    clsScintilla &s = host.sci();

    StyleBuffer() { s.SendEditor(Sci::SCI_SETLEXER, 0); } // styles stay as set: no lexer restyles them
    int styleAt(int pos) { return static_cast<int>(s.SendEditor(Sci::SCI_GETSTYLEAT, static_cast<WParam>(pos))); }
    void styleAll(int style)
    {
        s.SendEditor(Sci::SCI_STARTSTYLING, 0);
        s.SendEditor(Sci::SCI_SETSTYLING, static_cast<WParam>(s.GetLen()), style);
    }
    void insert(int pos, const QByteArray &text)
    {
        s.SendEditor(Sci::SCI_INSERTTEXT, static_cast<WParam>(pos), reinterpret_cast<LParam>(text.constData()));
    }
    // Every style in [from, to) is expected, looked at in steps that miss no run of a few hundred.
    void expectStyles(int from, int to, int expected, const char *what)
    {
        for (int pos = from; pos < to; pos += 211)
            ASSERT_EQ(styleAt(pos), expected) << what << " at " << pos;
        ASSERT_EQ(styleAt(to - 1), expected) << what << " at " << to - 1;
    }
};

TEST_F(StyleBuffer, NewTextIsUnstyledWhereDeletedStylesAndGrownRoomLay)
{
    s.LoadTextBytes(QByteArray(200'000, 'a'));
    expectStyles(0, 200'000, 0, "a loaded text");
    styleAll(7);

    s.SendEditor(Sci::SCI_DELETERANGE, 1000, 149'000); // the gap now holds styles of 7
    insert(1000, QByteArray(100'000, 'b'));
    expectStyles(0, 1000, 7, "before the insertion");
    expectStyles(1000, 101'000, 0, "text inserted where styled text was deleted");
    expectStyles(101'000, s.GetLen(), 7, "after the insertion");

    styleAll(5);
    const int before = s.GetLen();
    insert(before, QByteArray(3'000'000, 'c')); // more than the room left: the buffer grows
    expectStyles(0, before, 5, "kept across the growth");
    expectStyles(before, s.GetLen(), 0, "text in grown room");
    insert(0, QByteArray(5000, 'd'));
    expectStyles(0, 5000, 0, "text inserted at the start");
    expectStyles(5000, 5000 + before, 5, "moved by the insertion");
}

// The component's own message of this build: the style bytes of a range, without the text.
constexpr unsigned kGetStyleRange = 2990;

struct StyleChange {
    int position = -1;
    int length = 0;
};

TEST_F(StyleBuffer, BulkStylingReportsTheSpanThatChangedAndReadsBackAcrossTheGap)
{
    QsciScintillaBase &widget = *s.widget();
    s.SendEditor(Sci::SCI_SETMODEVENTMASK, Sci::SC_MOD_CHANGESTYLE);
    std::vector<StyleChange> changes;
    QObject::connect(&widget, &QsciScintillaBase::SCN_MODIFIED,
                     [&](int position, int type, const char *, int length, int, int, int, int, int, int) {
                         if (type & Sci::SC_MOD_CHANGESTYLE)
                             changes.push_back({position, length});
                     });
    const auto setStyles = [&](int from, const QByteArray &styles) {
        changes.clear();
        s.SendEditor(Sci::SCI_STARTSTYLING, static_cast<WParam>(from));
        s.SendEditor(Sci::SCI_SETSTYLINGEX, static_cast<WParam>(styles.size()),
                     reinterpret_cast<LParam>(styles.constData()));
    };

    // Never styled: zero styles change nothing, one style changes only its byte.
    s.LoadTextBytes(QByteArray(200'000, 'q'));
    QByteArray styles(200'000, '\0');
    setStyles(0, styles);
    EXPECT_TRUE(changes.empty());
    styles[150'000] = 2;
    setStyles(0, styles);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].position, 150'000);
    EXPECT_EQ(changes[0].length, 1);
    EXPECT_EQ(styleAt(149'999), 0);
    EXPECT_EQ(styleAt(150'000), 2);

    // Styled, with the gap inside the range: the span from the first change to the last.
    styleAll(3);
    insert(50'000, "xyz");
    styleAll(3);
    styles = QByteArray(s.GetLen(), '\3');
    for (int pos = 49'990; pos < 50'020; ++pos)
        styles[pos] = 4;
    styles[70'000] = 9;
    setStyles(0, styles);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].position, 49'990);
    EXPECT_EQ(changes[0].length, 70'000 - 49'990 + 1);
    setStyles(0, styles);
    EXPECT_TRUE(changes.empty()) << "the same styles again change nothing";

    QByteArray read(30'000, '\x7F');
    EXPECT_EQ(widget.SendScintilla(kGetStyleRange, 45'000L, 75'000L, read.data()), 30'000);
    for (int i = 0; i < read.size(); ++i)
        ASSERT_EQ(static_cast<unsigned char>(read[i]), styleAt(45'000 + i)) << "at " << 45'000 + i;
    const long length = s.GetLen();
    EXPECT_EQ(widget.SendScintilla(kGetStyleRange, length - 10, length + 1000, read.data()), 10)
        << "a range past the end stops at the end";
}

} // namespace
