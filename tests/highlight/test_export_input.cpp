// The input of plendor-cli's html and pdf commands: unescaped in place and handed to the component
// a piece of lines at a time, it must arrive as the whole text decoded at once would.
#include "CliEditor.h"
#include "document/DefineEscaping.h"
#include "platform/AnsiCodec.h"

#include <gtest/gtest.h>

namespace {

TEST(ExportInput, ALargeInputArrivesWholeAcrossPieces)
{
    const platform::AnsiCodec gbk(936);
    // Lines with two-byte characters and entities, past several pieces, and one long line
    // without a line feed that a piece cannot end in.
    QByteArray stored;
    while (stored.size() < (3 << 20))
        stored += gbk.encode(QStringLiteral("<sql>select 单据号 from t where a &lt; 1 and b = '&amp;lt;'</sql>\r\n"));
    stored += QByteArray(1 << 20, 'x') + gbk.encode(QStringLiteral("尾&quot;"));
    QByteArray readable = stored;
    unescapeDefineInPlace(readable);
    const QByteArray expected = gbk.decode(readable).toUtf8();

    CliEditor editor;
    QString error;
    editor.open(stored, error); // the text is loaded before the highlighter is looked for
    EXPECT_EQ(editor.wrapper().GetTextBytes(), expected);
}

} // namespace
