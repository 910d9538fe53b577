// The highlighter file reader and the readable source parser of the highlighter compiler. Any
// bytes read as a file must dump to a source that compiles back to the same record; any bytes
// read as a source must either be refused or compile to a file that dumps and compiles again
// to the same bytes.

#include "FuzzSupport.h"
#include "highlight/HighlighterRecord.h"
#include "highlight/HighlighterSource.h"

namespace {

QByteArray compiled(const HighlighterSource &source)
{
    QByteArray bytes;
    if (!writeHighlighterRecord(source.numbers, source.texts, bytes))
        fuzz::fail("a parsed source has a text too long for its count", QByteArray(), QByteArray());
    return bytes;
}

// The file's bytes dumped and compiled again.
QByteArray recompiled(const QByteArray &file)
{
    HighlighterRecord numbers;
    HighlighterTextBytes texts;
    readHighlighterRaw(file, numbers, texts);
    const QByteArray source = highlighterSourceText(numbers, texts);
    const HighlighterSource back = parseHighlighterSource(source);
    if (!back.ok)
        fuzz::fail("a dump does not compile", back.error.toUtf8(), source);
    return compiled(back);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);

    (void)readHighlighterRecord(input);
    HighlighterRecord numbers;
    HighlighterTextBytes texts;
    readHighlighterRaw(input, numbers, texts);
    QByteArray canonical;
    writeHighlighterRecord(numbers, texts, canonical);
    fuzz::expectEqual("compile(dump(file))", recompiled(input), canonical);

    const HighlighterSource source = parseHighlighterSource(input);
    if (source.ok) {
        const QByteArray file = compiled(source);
        fuzz::expectEqual("compile(dump(compile(source)))", recompiled(file), file);
    }
    return 0;
}
