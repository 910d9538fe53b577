// Opening a document of many pieces: both editors hold what the conversions give on the whole
// text, the open cannot be undone, and an open from a drop onto the editor can.
#include "document/DefineEscaping.h"
#include "support/GbkSamples.h"
#include "support/MainWindowFixture.h"

#include <gtest/gtest.h>

namespace {
using OpenLarge = MainWindowFixture;

// Stored text of about 3 MB: samples with their entities, and a line longer than a piece.
QByteArray storedFile()
{
    return GbkSamples::largeFile(31, "\r\n", QByteArray("&lt;\xD6\xD0&amp;lt;").repeated(200 * 1024) + "\n&quot");
}

TEST_F(OpenLarge, BothEditorsHoldTheWholeConversion)
{
    const QByteArray stored = storedFile();
    writeFile(path("large.xml"), stored);
    const QString storedText = platform::AnsiCodec().decode(stored);
    auto w = makeWindow();
    w->wrapper().SetText(QStringLiteral("before"));
    w->openDropped({path("large.xml")});
    EXPECT_TRUE(w->objWindow().wrapper().GetText() == storedText);
    EXPECT_TRUE(w->wrapper().GetText() == UnescapeDefineText(storedText));
    EXPECT_FALSE(w->wrapper().Modified());
    w->wrapper().Undo();
    EXPECT_TRUE(w->wrapper().GetText() == UnescapeDefineText(storedText)) << "the open cannot be undone";
}

TEST_F(OpenLarge, AnOpenFromTheEditorCanBeUndone)
{
    writeFile(path("first.xml"), "first &lt;");
    writeFile(path("second.xml"), "second &amp;quot;");
    auto w = makeWindow();
    w->openDropped({path("first.xml")});
    emit w->editor().OpenFileUrl(path("second.xml"));
    EXPECT_EQ(w->wrapper().GetText(), QStringLiteral("second \""));
    EXPECT_EQ(w->strFileName, path("second.xml"));
    w->wrapper().Undo();
    EXPECT_EQ(w->wrapper().GetText(), QStringLiteral("first <"));
}

} // namespace
