// Styles: the four built-in language set-ups (Visual Basic, C++, HTML, Pascal). Each sends its
// rows style by style, then its keyword lists in index order, then its lexer. The lists are kept
// exactly as the platform has always sent them, cut words included.

#include "editor/Styles.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

namespace {

constexpr int kUnset = -1;

// One style's attributes; kUnset, nullptr and false leave an attribute as it was.
struct StyleRow {
    int style;
    int fore = kUnset;
    int back = kUnset;
    const char *font = nullptr;
    int size = kUnset;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

constexpr int kWhite = 0xFFFFFF;
constexpr const char *kComic = "Comic Sans MS";
constexpr const char *kCourier = "Courier New";

void send(Styles &styles, std::span<const StyleRow> rows)
{
    for (const StyleRow &r : rows) {
        if (r.fore != kUnset)
            styles.setFore(r.style, r.fore);
        if (r.back != kUnset)
            styles.setBack(r.style, r.back);
        if (r.font)
            styles.setFont(r.style, QString::fromLatin1(r.font));
        if (r.size != kUnset)
            styles.setSize(r.style, r.size);
        if (r.bold)
            styles.setBold(r.style, true);
        if (r.italic)
            styles.setItalic(r.style, true);
        if (r.underline)
            styles.setUnderline(r.style, true);
    }
}

void sendKeywords(Styles &styles, std::span<const std::pair<int, const char *>> lists)
{
    for (const auto &[index, words] : lists)
        styles.setKeywords(index, QString::fromLatin1(words));
}

const char kVbKeywords[] =
    "and begin case call class continue do each else elseif end erase error event exit false for function get "
    "gosub goto if implement in load loop lset me mid new next not nothing on or property raiseevent rem resume "
    "return rset select set stop sub then to true unload until wend while with withevents attribute alias as "
    "boolean byref byte byval const compare currency date declare dim double enum explicit friend global integer "
    "let lib long module object option optional preserve private property public redim single static string type "
    "variant";

} // namespace

void Styles::visualBasic()
{
    const StyleRow rows[] = {
        {.style = 1, .fore = 0x007F00, .font = kComic, .size = 10, .italic = true},
        {.style = 2, .fore = 0x0000FF, .size = 10},
        {.style = 3, .fore = 0x800000, .size = 10, .bold = true},
        {.style = 4, .fore = 0x800080, .size = 10, .italic = true},
        {.style = 32, .fore = 0x000000, .back = kWhite, .size = 10},
        {.style = 35, .fore = 0x0000FF, .bold = true},
        {.style = 34, .fore = 0x800000, .bold = true},
    };
    send(*this, rows);
    const std::pair<int, const char *> lists[] = {{0, kVbKeywords}};
    sendKeywords(*this, lists);
    setLexer(8);
}

void Styles::cpp()
{
    const StyleRow rows[] = {
        {.style = 0, .fore = 0x808080, .back = kWhite},
        {.style = 1, .fore = 0x007F00, .back = kWhite, .font = kComic, .size = 9},
        {.style = 2, .fore = 0x007F00, .back = kWhite, .font = kComic, .size = 9},
        {.style = 3, .fore = 0x3F703F, .back = kWhite, .font = kComic, .size = 9},
        {.style = 4, .fore = 0x7F7F00, .back = kWhite},
        {.style = 5, .fore = 0x800000, .back = kWhite, .bold = true},
        {.style = 6, .fore = 0x7F007F, .back = kWhite, .italic = true},
        {.style = 7, .fore = 0x7F007F, .back = 0xE0C0E0, .italic = true, .underline = true},
        {.style = 8, .fore = 0x804080, .back = kWhite},
        {.style = 9, .fore = 0x007F7F, .back = kWhite},
        {.style = 10, .fore = 0x7F7F00, .back = kWhite},
        {.style = 11, .fore = 0x000000, .back = kWhite},
        {.style = 12, .fore = 0x000000, .back = 0xE0C0E0, .font = kCourier},
        {.style = 13, .fore = 0x007F00, .back = 0xE0FFE0, .font = kCourier},
        {.style = 14, .fore = 0x3F7F3F, .back = 0xE0F0FF, .font = kCourier},
        {.style = 15, .fore = 0x007F00, .back = kWhite, .font = kComic, .size = 9},
        {.style = 16, .fore = 0xB00040, .back = kWhite},
        {.style = 17, .fore = 0x3060A0, .back = kWhite, .font = kComic},
        {.style = 18, .fore = 0x804020, .back = kWhite, .font = kComic, .size = 9},
        {.style = 32, .fore = 0x000000, .back = kWhite},
        {.style = 33, .fore = 0xBD7173, .back = 0xEFEFEF, .font = kCourier, .size = 8},
        {.style = 34, .fore = 0xFF0000, .back = kWhite, .bold = true},
        {.style = 35, .fore = 0x0000FF, .back = kWhite, .bold = true},
        {.style = 37, .fore = 0x000000, .back = kWhite},
    };
    send(*this, rows);
    const std::pair<int, const char *> lists[] = {
        {0, "asm auto bool break case catch char class const const_cast continue default delete do double "
            "dynamic_cast else enum explicit export extern false float for friend goto if inline int long mutable "
            "namespace new operator private protected public register rei"},
        {2, "a addindex addtogroup anchor arg attention author b brief bug c class code date def defgroup deprecated "
            "dontinclude e em endcode endhtmlonly endif endlatexonly endlink endverbatim enum example exception f$ "
            "f[ f] file fn hideinitializer htmlinclude htmlon"},
    };
    sendKeywords(*this, lists);
    setLexer(3);
}

void Styles::pascal()
{
    const StyleRow rows[] = {
        {.style = 0, .fore = 0x000000, .back = kWhite},
        {.style = 1, .fore = 0x007F00, .back = kWhite, .font = kComic, .size = 9},
        {.style = 2, .fore = 0x007F00, .back = kWhite, .font = kComic, .size = 9},
        {.style = 3, .fore = 0x7F7F7F, .back = kWhite, .font = kComic, .size = 9},
        {.style = 4, .fore = 0x7F7F00, .back = kWhite},
        {.style = 5, .fore = 0x7F0000, .back = kWhite, .bold = true},
        {.style = 6, .fore = 0x7F7F00, .back = kWhite, .italic = true},
        {.style = 7, .fore = 0x7F7F00, .back = kWhite, .italic = true},
        {.style = 8, .fore = 0x007F7F, .back = kWhite, .bold = true},
        {.style = 9, .fore = 0x7F7F00, .back = kWhite},
        {.style = 10, .fore = 0x7F7F00, .back = kWhite},
        {.style = 32, .fore = 0x000000, .back = kWhite},
        {.style = 33, .fore = 0xBD7173, .back = 0xEFEFEF, .font = kCourier, .size = 8},
        {.style = 34, .fore = 0xFF0000, .back = kWhite, .bold = true},
        {.style = 35, .fore = 0x0000FF, .back = kWhite, .bold = true},
        {.style = 37, .fore = 0x000000, .back = kWhite},
    };
    send(*this, rows);
    const std::pair<int, const char *> lists[] = {
        {0, "program const type var begin end array set packed record string if then else while for to downto do "
            "with repeat until case of goto exit label procedure function nil file and or not xor div mod unit uses "
            "implementation interface external asm inline object"},
        {1, "write read default public protected private property published stored"},
    };
    sendKeywords(*this, lists);
    setLexer(18);
}

namespace {

// The HTML set-up's 103 rows: the telling rows as the platform has them, the others in the
// colours of their neighbours on a light background per embedded language.
std::vector<StyleRow> htmlRows()
{
    struct Range {
        int first;
        int last;
        int back;
    };
    const Range ranges[] = {{0, 31, kWhite},    {32, 39, kWhite},   {40, 52, 0xFFF0F0},  {71, 77, 0xFFEFEF},
                            {81, 87, 0xCFCFEF}, {90, 102, kWhite}, {105, 117, kWhite}, {118, 127, 0xF8F8FF}};
    // Fore colours cycled within each language: tags, comments, numbers, keywords, strings.
    const int palette[] = {0x000000, 0x800000, 0x008080, 0x808000, 0x800080, 0x007F00, 0x7F007F, 0x808080};
    const int boldStyles[] = {22, 34, 35, 41, 44, 47, 48, 49, 50, 74, 84, 96, 99, 100, 101, 111, 114, 115, 116};
    const int italicStyles[] = {121, 123, 126};
    std::vector<StyleRow> rows;
    for (const Range &range : ranges) {
        for (int s = range.first; s <= range.last; ++s) {
            StyleRow row{.style = s, .fore = palette[(s - range.first) % 8], .back = range.back};
            row.bold = std::find(std::begin(boldStyles), std::end(boldStyles), s) != std::end(boldStyles);
            row.italic = std::find(std::begin(italicStyles), std::end(italicStyles), s) != std::end(italicStyles);
            rows.push_back(row);
        }
    }
    const auto set = [&rows](StyleRow telling) {
        for (StyleRow &row : rows) {
            if (row.style == telling.style)
                row = telling;
        }
    };
    set({.style = 0, .fore = 0x000000, .back = kWhite});
    set({.style = 1, .fore = 0x800000, .back = kWhite, .font = kCourier, .size = 10});
    set({.style = 9, .fore = 0xFF8080, .back = kWhite, .font = "Verdana", .size = 9});
    set({.style = 10, .fore = 0x800080, .back = kWhite, .font = "Times New Roman", .size = 11});
    set({.style = 22, .fore = 0x800000, .back = 0xFFEFEF, .bold = true});
    set({.style = 33, .fore = 0xBD7173, .back = 0xEFEFEF, .font = kCourier, .size = 8});
    set({.style = 34, .fore = 0xFF0000, .back = kWhite, .font = "Times New Roman", .size = 11, .bold = true});
    set({.style = 41, .fore = 0x000000, .back = 0xFFF0F0, .font = kComic, .size = 9, .bold = true});
    set({.style = 71, .fore = 0x000000, .back = 0xFFEFEF, .font = "Lucida Sans Unicode", .size = 10});
    set({.style = 81, .fore = 0x000000, .back = 0xCFCFEF, .font = "Lucida Sans Unicode", .size = 10});
    set({.style = 90, .fore = 0x808080, .back = kWhite});
    set({.style = 105, .fore = 0x808080, .back = kWhite});
    set({.style = 118, .fore = 0x330000, .back = 0xF8F8FF});
    set({.style = 127, .fore = 0x000000, .back = 0xF8F8FF});
    return rows;
}

} // namespace

void Styles::html()
{
    const std::vector<StyleRow> rows = htmlRows();
    send(*this, rows);
    const std::pair<int, const char *> lists[] = {
        {0, "a abbr acronym address applet area b base basefont bdo big blockquote body br button caption center "
            "cite code col colgroup dd del dfn dir div dl dt em fieldset font form frame frameset h1 h2 h3 h4 h5 h6 "
            "head hr html i iframe img input ins isindex kbd lab"},
        {1, "abstract boolean break byte case catch char class const continue debugger default delete do double else "
            "enum export extends final finally float for function goto if implements import in instanceof int "
            "interface long native new package private protected p"},
        {2, "and begin case call class continue do each else elseif end erase error event exit false for function get "
            "gosub goto if implement in load loop lset me mid new next not nothing on or property raiseevent rem "
            "resume return rset select set stop sub then to tr"},
        {3, "and assert break class continue def del elif else except exec finally for from global if import in is "
            "lambda None not or pass print raise return try while yield"},
        {4, "and argv as argc break case cfunction class continue declare default do die echo else elseif empty "
            "enddeclare endfor endforeach endif endswitch endwhile e_all e_parse e_error e_warning eval exit extends "
            "false for foreach function global http_cookie_vars "},
        {5, "ELEMENT DOCTYPE ATTLIST ENTITY NOTATION"},
    };
    sendKeywords(*this, lists);
    setLexer(4);
}
