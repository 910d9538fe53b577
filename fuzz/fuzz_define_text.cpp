// The stored and the readable form of a define document: the one-pass conversions (on UTF-8, in
// place, piece by piece, on GBK bytes) must give exactly what the replacement tables give when
// applied row by row, and a readable text comes back unchanged from the stored form unless it
// literally holds an entity.

#include "FuzzSupport.h"
#include "document/DefineEscaping.h"
#include "document/GbkBytes.h"
#include "platform/AnsiCodec.h"
#include "support/ReferenceEscaping.h"

namespace {

using reference::applyRows;
using reference::kEscapeRows;
using reference::kTagRows;
using reference::kUnescapeRows;

// The characters "&lt;", "&gt;" or "&quot;" in a readable text open again as one character.
bool holdsEntity(const QString &text)
{
    return text.contains(QLatin1String("&lt;")) || text.contains(QLatin1String("&gt;")) ||
           text.contains(QLatin1String("&quot;"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray raw = fuzz::bytes(data, size);

    // Byte paths, on any bytes at all (UTF-8 or not).
    fuzz::expectEqual("unescapeDefineUtf8 equals the rows", unescapeDefineUtf8(raw), applyRows(raw, kUnescapeRows));
    fuzz::expectEqual("escapeEntitiesUtf8 equals the rows", escapeEntitiesUtf8(raw), applyRows(raw, kEscapeRows));
    QByteArray restored = raw;
    restoreTagsUtf8(restored);
    fuzz::expectEqual("restoreTagsUtf8 equals the rows", restored, applyRows(raw, kTagRows));

    QByteArray inPlace = raw;
    unescapeDefineInPlace(inPlace);
    fuzz::expectEqual("unescapeDefineInPlace equals the rows", inPlace, applyRows(raw, kUnescapeRows));

    // Piece by piece, with pieces of a size the input chooses (its length, so the cuts move).
    UnescapingReader reader(raw, 1 + raw.size() % 61);
    QByteArray joined;
    for (QByteArray piece; !(piece = reader.next()).isEmpty();)
        joined += piece;
    fuzz::expectEqual("the pieces of the reader join into the readable form", joined, inPlace);
    fuzz::expect("the reader counts the readable form", UnescapingReader(raw).readableSize() == inPlace.size());

    // GBK bytes, escaped without decoding, equal decoding, escaping and encoding again.
    if (firstInvalidGbkByte(raw) < 0) {
        const platform::AnsiCodec codec;
        const EscapeOutcome viaText = EscapeDefineText(codec.decode(raw), KeyWordRules{});
        fuzz::expectEqual("escapeDefineGbk equals escaping the decoded text", escapeDefineGbk(raw),
                          codec.encode(viaText.text));
    }

    // Text paths.
    const QString text = QString::fromUtf8(raw);
    fuzz::expectEqual("UnescapeDefineText equals the rows", UnescapeDefineText(text), applyRows(text, kUnescapeRows));
    const QString escaped = EscapeEntities(text);
    fuzz::expectEqual("EscapeEntities equals the rows", escaped, applyRows(text, kEscapeRows));
    const EscapeOutcome stored = EscapeDefineText(text, KeyWordRules{});
    fuzz::expect("EscapeDefineText without rules succeeds", stored.ok());
    fuzz::expectEqual("EscapeDefineText equals the rows", stored.text,
                      applyRows(applyRows(text, kEscapeRows), kTagRows));

    if (!holdsEntity(text)) {
        fuzz::expectEqual("entities round trip", UnescapeDefineText(escaped), text);
        fuzz::expectEqual("stored form round trip", UnescapeDefineText(stored.text), text);
    }
    return 0;
}
