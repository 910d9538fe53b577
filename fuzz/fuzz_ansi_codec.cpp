// The ANSI code page (GBK) at every file and request boundary: bytes that decode cleanly come
// back unchanged, damaged bytes are found where they start, a text said to be lossless comes
// back unchanged, and a lossy text always names the characters it would lose.

#include "FuzzSupport.h"
#include "document/GbkBytes.h"
#include "platform/AnsiCodec.h"

#include <QStringDecoder>
#include <vector>

namespace {
bool isLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x81 && static_cast<unsigned char>(c) <= 0xFE; }
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray raw = fuzz::bytes(data, size);
    const platform::AnsiCodec codec;

    const QString decoded = codec.decode(raw);
    QStringDecoder check("GBK", QStringConverter::Flag::Stateless);
    const QString checked = check(raw);
    fuzz::expectEqual("decode is the code page's decoding", decoded, checked);
    const platform::AnsiCodec::Decoded checkedByCodec = codec.decodeChecked(raw);
    fuzz::expectEqual("the checked decoding gives the same text", checkedByCodec.text, checked);
    fuzz::expect("unreadable bytes are found exactly when there are some",
                 (checkedByCodec.firstInvalidByte >= 0) == check.hasError());
    fuzz::expect("the byte check without decoding agrees with the decoder",
                 firstInvalidGbkByte(raw) == checkedByCodec.firstInvalidByte);
    if (check.hasError()) {
        const qsizetype first = checkedByCodec.firstInvalidByte;
        fuzz::expect("the first unreadable byte lies in the input", first < raw.size());
        QStringDecoder before("GBK", QStringConverter::Flag::Stateless);
        before(raw.left(first));
        fuzz::expect("the bytes before the first unreadable one read cleanly", !before.hasError());
    } else {
        bool lossless = false;
        fuzz::expectEqual("valid bytes come back from decode then encode", codec.encode(decoded, &lossless), raw);
        fuzz::expect("valid bytes decode to a lossless text", lossless);
        // Where characters start, read backwards from any byte, as a forward reading finds them.
        std::vector<bool> starts(static_cast<std::size_t>(raw.size()) + 1, false);
        for (qsizetype i = 0; i < raw.size(); i += isLeadByte(raw[i]) ? 2 : 1)
            starts[static_cast<std::size_t>(i)] = true;
        starts.back() = true;
        const qsizetype step = 1 + raw.size() / 64; // a few places are enough, and keep a run short
        for (qsizetype i = raw.size() % step; i <= raw.size(); i += step) {
            fuzz::expect("gbkCharacterStartsAt agrees with a forward reading",
                         gbkCharacterStartsAt(raw.constData(), raw.constData() + i) == starts[static_cast<std::size_t>(i)]);
        }
    }

    const QString text = QString::fromUtf8(raw);
    bool lossless = false;
    const QByteArray encoded = codec.encode(text, &lossless);
    if (lossless)
        fuzz::expectEqual("a lossless text comes back from encode then decode", codec.decode(encoded), text);
    fuzz::expect("a lossy text names what it loses, a lossless one nothing",
                 lossless == codec.unencodableSample(text).isEmpty());
    return 0;
}
