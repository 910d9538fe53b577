// Character counts between positions of the real component, re-used while one end stays put.
#include "editor/CharacterDistance.h"
#include "support/EditorHost.h"

#include <gtest/gtest.h>

namespace {

TEST(CharacterDistance, FollowsOneEndBothWaysAndForgetsChangesBeforeIt)
{
    EditorHost host;
    clsScintilla &s = host.sci();
    s.SetText(QStringLiteral("单a").repeated(1000)); // four bytes, two characters, a thousand times
    CharacterDistance d(s);
    EXPECT_EQ(d.between(0, 400), 200);
    EXPECT_EQ(d.between(0, 404), 202);
    EXPECT_EQ(d.between(0, 396), 198);
    EXPECT_EQ(d.between(400, 0), -200);
    EXPECT_EQ(d.between(400, 404), 2);

    // Text put in before the far end changes the count; after it, it does not.
    s.SetSel(4000, 4000);
    s.ReplaceSel(QStringLiteral("xy"));
    d.changedAt(4000);
    EXPECT_EQ(d.between(400, 408), 4);
    s.SetSel(404, 404);
    s.ReplaceSel(QStringLiteral("单"));
    d.changedAt(404);
    EXPECT_EQ(d.between(400, 411), 5);
}

} // namespace
