#include "document/DefineOutline.h"

#include "document/DefineVocabulary.h"

#include <algorithm>
#include <cstring>

namespace vocab = define_vocabulary;

QString DefineOutlineEntry::statementList() const
{
    QStringList names;
    for (size_t tag = 0; tag < vocab::kTags.size(); ++tag) {
        if (statements & (1U << tag))
            names << QString::fromLatin1(vocab::kTags[tag].data(), static_cast<qsizetype>(vocab::kTags[tag].size()));
    }
    return names.join(QStringLiteral(", "));
}

void DefineOutline::add(DefineOutlineEntry entry, QByteArrayView utf8Name, QByteArrayView utf8Caption)
{
    entry.nameAt = m_texts.size();
    m_texts += QString::fromUtf8(utf8Name);
    entry.nameSize = m_texts.size() - entry.nameAt;
    entry.captionAt = m_texts.size();
    m_texts += QString::fromUtf8(utf8Caption);
    entry.captionSize = m_texts.size() - entry.captionAt;
    m_entries.push_back(entry);
}

qsizetype defineAt(const DefineOutline &outline, qsizetype offset)
{
    auto after = std::upper_bound(outline.begin(), outline.end(), offset,
                                  [](qsizetype at, const DefineOutlineEntry &e) { return at < e.offset; });
    // Defines inside defines are misplaced but read: a few steps back find the one that holds it.
    for (int steps = 0; after != outline.begin() && steps < 64; ++steps) {
        --after;
        if (offset < after->end)
            return after - outline.begin();
    }
    return -1;
}

qsizetype defineNamed(const DefineOutline &outline, const QString &name)
{
    const auto it =
        std::find_if(outline.begin(), outline.end(), [&](const DefineOutlineEntry &e) { return outline.name(e) == name; });
    return it == outline.end() ? -1 : it - outline.begin();
}

void numberOutlineLines(QByteArrayView utf8, DefineOutline &outline)
{
    const char *const begin = utf8.data();
    const char *p = begin;
    qsizetype line = 1;
    for (DefineOutlineEntry &entry : outline) {
        const char *const to = begin + std::clamp<qsizetype>(entry.offset, p - begin, utf8.size());
        // A line ends at "\n", "\r\n" or a lone "\r", as the component's do.
        while (p < to) {
            const char *const n = static_cast<const char *>(std::memchr(p, '\n', static_cast<size_t>(to - p)));
            const char *const stop = n ? n : to;
            for (const char *r = p; r < stop; ++r) {
                r = static_cast<const char *>(std::memchr(r, '\r', static_cast<size_t>(stop - r)));
                if (!r)
                    break;
                if (r + 1 >= begin + utf8.size() || r[1] != '\n')
                    ++line;
            }
            if (!n)
                break;
            ++line;
            p = n + 1;
        }
        p = to;
        entry.line = line;
    }
}
