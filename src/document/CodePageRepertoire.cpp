#include "document/CodePageRepertoire.h"

#include <QStringEncoder>
#include <map>
#include <mutex>

namespace {

// The converter substitutes "?" for what it cannot hold. Its error flag stays set once raised,
// and resetting it does not bring the converter back, so only the bytes tell.
bool encodes(QStringEncoder &encoder, QStringView piece)
{
    const QByteArray out = encoder(piece);
    return !out.isEmpty() && !out.contains('?');
}

} // namespace

CodePageRepertoire::CodePageRepertoire(const platform::AnsiCodec &codec)
{
    QStringEncoder encoder(codec.name().constData(), QStringConverter::Flag::Stateless);
    if (!encoder.isValid()) {
        // The codec falls back to Latin-1.
        for (char32_t c = 0; c < 0x100; ++c)
            m_basic[c] = true;
        return;
    }
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (c < 0x80 || c == u'?') {
            m_basic[c] = true;
            continue;
        }
        if (c >= 0xD800 && c < 0xE000)
            continue; // half of a pair, never a character alone
        const char16_t unit = static_cast<char16_t>(c);
        m_basic[c] = encodes(encoder, QStringView(&unit, 1));
    }
    const char16_t smile[] = {0xD83D, 0xDE00};
    m_beyond = encodes(encoder, QStringView(smile, 2));
}

const CodePageRepertoire &CodePageRepertoire::of(const platform::AnsiCodec &codec)
{
    static std::mutex mutex;
    static std::map<int, std::unique_ptr<const CodePageRepertoire>> built;
    const std::lock_guard lock(mutex);
    auto &slot = built[codec.codePage()];
    if (!slot)
        slot.reset(new CodePageRepertoire(codec));
    return *slot;
}
