// GBK bytes turned straight into UTF-8: any bytes are refused or converted without harm, and
// valid ones give exactly what the codec decodes.

#include "FuzzSupport.h"
#include "document/GbkBytes.h"
#include "document/GbkToUtf8.h"
#include "platform/AnsiCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const platform::AnsiCodec codec(936);
    static GbkToUtf8 converter; // what it remembers carries over from one input to the next
    const QByteArray bytes = fuzz::bytes(data, size);
    QByteArray utf8 = "x";
    const bool converted = converter.append(bytes, utf8);
    if (firstInvalidGbkByte(bytes) >= 0) {
        fuzz::expect("a refusal leaves the output as it was", converted || utf8 == "x");
        return 0;
    }
    fuzz::expect("valid GBK is converted", converted);
    fuzz::expectEqual("the text is the codec's decoding", utf8, "x" + codec.decode(bytes).toUtf8());
    return 0;
}
