// The component's style buffer, which skips writing the zero styles of new text into memory it
// has never written: whatever the buffer held before (styles of deleted text, grown room), new
// text reads back unstyled and the styles around it stay.

#include "support/EditorHost.h"

#include <gtest/gtest.h>

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

} // namespace
