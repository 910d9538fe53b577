#pragma once
// The plain definition of the fixed conversions, against which the one-pass ones are checked:
// every replacement row over the whole text, one after another.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <type_traits>

namespace reference {

struct Row {
    const char *find;
    const char *replace;
};

inline constexpr Row kUnescapeRows[] = {{"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}};
inline constexpr Row kEscapeRows[] = {{"&", "&amp;"}, {"<", "&lt;"}, {">", "&gt;"}, {"\"", "&quot;"}};
inline constexpr Row kTagRows[] = {
    {"type=&quot;condition", "type=\"condition"}, {"type=&quot;define", "type=\"define"},
    {"type=&quot;procedure", "type=\"procedure"}, {"condition=&quot;true", "condition=\"true"},
    {"type=&quot;", "type=\""}, {"condition=&quot;", "condition=\""}, {"&lt;define&gt;", "<define>"},
    {"&lt;define", "<define"}, {"&lt;/define&gt;", "</define>"}, {"&lt;sql&gt;", "<sql>"}, {"&lt;sql", "<sql"},
    {"&lt;/sql&gt;", "</sql>"}, {"&lt;condition&gt;", "<condition>"}, {"&lt;condition", "<condition"},
    {"&lt;/condition&gt;", "</condition>"}, {"&lt;select&gt;", "<select>"}, {"&lt;select", "<select"},
    {"&lt;/select&gt;", "</select>"}, {"&lt;exec&gt;", "<exec>"}, {"&lt;exec", "<exec"},
    {"&lt;/exec&gt;", "</exec>"}, {"&lt;error&gt;", "<error>"}, {"&lt;error", "<error"},
    {"&lt;/error&gt;", "</error>"}, {"&lt;!--", "<!--"}, {"--&gt;", "-->"},
};

// Text is a QString or the bytes of one (UTF-8 or any other ASCII-compatible encoding).
template <typename Text, std::size_t N> Text applyRows(Text text, const Row (&rows)[N])
{
    for (const Row &row : rows) {
        if constexpr (std::is_same_v<Text, QString>)
            text.replace(QString::fromLatin1(row.find), QString::fromLatin1(row.replace));
        else
            text.replace(row.find, row.replace);
    }
    return text;
}

template <typename Text> Text unescape(const Text &text) { return applyRows(text, kUnescapeRows); }
template <typename Text> Text restoreTags(const Text &text) { return applyRows(text, kTagRows); }
// Escaping without a rule file: every entity, then the tags back.
template <typename Text> Text escape(const Text &text) { return restoreTags(applyRows(text, kEscapeRows)); }

} // namespace reference
