#pragma once
// The define language's words, kept in one place: the tags the platform knows, the kinds of
// `sql` it runs, and the tag list that completion offers after "<". The checker reads the same
// lists, so a word the list offers is never reported as unknown.

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

namespace define_vocabulary {

// The tags, spelled as the platform spells them ("sucess" included).
inline constexpr std::array<std::string_view, 9> kTags = {
    "defineSqls", "define", "sql", "condition", "select", "exec", "error", "confirm", "sucess",
};

// The values of `sql`'s `type` attribute.
inline constexpr std::array<std::string_view, 6> kSqlTypes = {
    "condition", "class", "define", "procedure", "setValue", "setInputType",
};

// The completion list offered after "<", item by item, in its order.
inline constexpr std::array<std::string_view, 16> kTagListItems = {
    "condition></condition>",
    "define name=\"\"></define>",
    "defineSqls></defineSqls>",
    "error></error>",
    "exec condition=\"\"></exec>",
    "select></select>",
    "sql></sql>",
    "sql type=\"condition\"></sql>",
    "sql type=\"class\"></sql>",
    "sql type=\"define\"></sql>",
    "sql type=\"procedure\"></sql>",
    "sql type=\"setValue\"></sql>",
    "sql type=\"setInputType\"></sql>",
    "!-- -->",
    "confirm yesDefine=\" noDefine=\"></confirm>",
    "sucess></sucess>",
};

// Letters, digits and the punctuation XML allows in names, and any byte of a non-ASCII character,
// so that "<define名" or "<error_count" is another word and not the tag.
constexpr bool isNameByte(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.' || c == ':' || c >= 0x80;
}

// The index of a tag in kTags, or -1.
constexpr int tagIndex(std::string_view name)
{
    const auto it = std::find(kTags.begin(), kTags.end(), name);
    return it == kTags.end() ? -1 : static_cast<int>(it - kTags.begin());
}

// The attributes each tag takes, by the tag's index in kTags. `caption` names a define for people;
// `condition` guards a statement, as `exec` shows in the tag list.
inline constexpr std::array<std::string_view, 0> kNoAttributes = {};
inline constexpr std::array<std::string_view, 2> kDefineAttributes = {"name", "caption"};
inline constexpr std::array<std::string_view, 2> kSqlAttributes = {"type", "condition"};
inline constexpr std::array<std::string_view, 1> kStatementAttributes = {"condition"};
inline constexpr std::array<std::string_view, 3> kConfirmAttributes = {"yesDefine", "noDefine", "condition"};

constexpr std::span<const std::string_view> attributesOf(int tag)
{
    switch (tag) {
    case 1: return kDefineAttributes;
    case 2: return kSqlAttributes;
    case 4: case 5: case 6: case 8: return kStatementAttributes;
    case 7: return kConfirmAttributes;
    default: return kNoAttributes; // defineSqls, condition
    }
}

// Where a tag may stand: the root, directly in the root, or anywhere inside a define.
enum class Place { Root, InRoot, InDefine };
constexpr Place placeOf(int tag) { return tag == 0 ? Place::Root : tag == 1 ? Place::InRoot : Place::InDefine; }

constexpr bool isSqlType(std::string_view value)
{
    return std::find(kSqlTypes.begin(), kSqlTypes.end(), value) != kSqlTypes.end();
}

namespace detail {
static_assert(tagIndex("defineSqls") == 0 && tagIndex("define") == 1 && tagIndex("sql") == 2 &&
              tagIndex("select") == 4 && tagIndex("exec") == 5 && tagIndex("error") == 6 &&
              tagIndex("confirm") == 7 && tagIndex("sucess") == 8);

// Every type has its item in the tag list, and every tag the list opens is a known tag.
consteval bool listsAgree()
{
    for (std::string_view type : kSqlTypes) {
        bool offered = false;
        for (std::string_view item : kTagListItems)
            offered = offered || (item.starts_with("sql type=\"") && item.substr(10).starts_with(type) &&
                                  item.substr(10 + type.size()).starts_with("\">"));
        if (!offered)
            return false;
    }
    for (std::string_view item : kTagListItems) {
        if (item.starts_with("!--"))
            continue;
        const std::string_view name = item.substr(0, item.find_first_of(" >"));
        if (tagIndex(name) < 0)
            return false;
    }
    return true;
}
static_assert(listsAgree(), "the tag list and the vocabulary must name the same tags and sql types");
} // namespace detail

} // namespace define_vocabulary
