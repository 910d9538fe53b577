#include "document/GbkBytes.h"

#include <cstdint>
#include <cstring>

namespace {

bool isTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

} // namespace

qsizetype firstInvalidGbkByte(QByteArrayView gbk)
{
    const auto *p = reinterpret_cast<const unsigned char *>(gbk.data());
    const qsizetype n = gbk.size();
    qsizetype i = 0;
    while (i < n) {
        if (i + 8 <= n && eightAsciiBytes(p + i)) {
            i += 8;
            continue;
        }
        if (!isGbkLeadByte(p[i])) {
            ++i;
            continue;
        }
        if (i + 1 >= n || !isTrail(p[i + 1]))
            return i;
        i += 2;
    }
    return -1;
}

bool gbkCharacterStartsAt(const char *begin, const char *p)
{
    // The byte before a run of possible lead bytes stands alone or ends a character, so the run
    // starts a character and pairs up from there: p is a second byte when the run is odd.
    const char *q = p;
    while (q > begin && isGbkLeadByte(static_cast<unsigned char>(q[-1])))
        --q;
    return (p - q) % 2 == 0;
}
