// The check's promise about the stored form, on define-like texts built from the input: when the
// check finds no error, the save (with no rule file, the example rule file, or rules that restore
// more tags) reads back to the same text, leaves a raw "<" only where a tag of the language starts
// with exactly that name (or inside a comment), and every tag it stores as text was warned about.

#include "FuzzSupport.h"
#include "document/DefineCheck.h"
#include "document/DefineEscaping.h"
#include "document/DefineVocabulary.h"

#include <set>
#include <string_view>

namespace {

// Pieces a define text is made of, and the near misses that catch a save out.
constexpr std::string_view kPieces[] = {
    "<defineSqls>", "</defineSqls>", "<define name=\"a\">", "<define name=\"b\" caption=\"单据\">", "</define>",
    "<sql>", "<sql type=\"condition\">", "<sql type=\"procedure\">", "</sql>", "<condition>", "</condition>",
    "<select>", "</select>", "<exec condition=\"'@a'=='1'\">", "</exec>", "<error>", "</error>",
    "<confirm yesDefine=\"a\" noDefine=\"b\">", "</confirm>", "<sucess>", "</sucess>", "<!-- ", " -->",
    "<error_count", "<selectivity", "<sqlcode", "<define_no", "<execute", "<sqll>", "</sqll>", "<SQL>", "</sq>",
    "<defin name=\"x\">", "<sql/>", "typ=", "Type=", "conditon=", "name=", " ", "\"", "'", "=", ">", "<", "/", "&",
    "&lt;", "&gt;", "&amp;", "&quot;", "--", "-->", "a<b", "x > 1", " and ", "'A & B'", "单据", "\n", "\r\n", "\t",
    "select * from t where ", "@billId", "&lt;sql", "type=\"", "condition=\"true\"", "<!--", "<?xml version=\"1.0\"?>",
};

const KeyWordRules &rulesFor(unsigned char choice)
{
    static const KeyWordRules none;
    static const KeyWordRules example =
        KeyWordRules::fromText(QStringLiteral("<defineSqls>|<defineSqls>\n</defineSqls>|</defineSqls>\n"));
    static const KeyWordRules more = KeyWordRules::fromText(QStringLiteral(
        "<defineSqls>|<defineSqls>\n</defineSqls>|</defineSqls>\n<confirm|<confirm\n</confirm>|</confirm>\n"
        "<sucess>|<sucess>\n</sucess>|</sucess>\n&quot;&gt;|MARK|\">\n"));
    return choice % 3 == 0 ? none : choice % 3 == 1 ? example : more;
}

using define_vocabulary::isNameByte;

// The readable offset of each stored byte, read the slow way the open reads it.
std::vector<qsizetype> readableOffsets(const QByteArray &stored)
{
    std::vector<qsizetype> at(static_cast<size_t>(stored.size()) + 1);
    qsizetype r = 0;
    qsizetype j = 0;
    while (j < stored.size()) {
        at[static_cast<size_t>(j)] = r;
        qsizetype next = j + 1;
        if (stored[j] == '&') {
            qsizetype q = j + 1;
            if (stored.mid(q, 4) == "amp;")
                q += 4;
            for (const char *entity : {"lt;", "gt;", "quot;"}) {
                if (stored.mid(q, qstrlen(entity)) == entity) {
                    next = q + qstrlen(entity);
                    break;
                }
            }
            if (next == j + 1 && q != j + 1)
                next = q;
        }
        for (qsizetype k = j + 1; k < next; ++k)
            at[static_cast<size_t>(k)] = r;
        j = next;
        ++r;
    }
    at[static_cast<size_t>(stored.size())] = r;
    return at;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    QByteArray text;
    for (std::size_t i = 1; i < size; ++i)
        text += QByteArray::fromStdString(std::string(kPieces[data[i] % std::size(kPieces)]));
    const KeyWordRules &rules = rulesFor(data[0]);

    DefineCheckOptions options;
    options.rules = &rules;
    options.maxProblems = 1'000'000;
    const DefineCheckResult result = checkDefineText(text, options);
    const EscapeOutcome saved = EscapeDefineText(QString::fromUtf8(text), rules);
    if (!saved.ok()) {
        fuzz::expect("a save that fails is an error", result.errors > 0);
        return 0;
    }
    if (result.errors > 0)
        return 0;

    const QByteArray stored = saved.text.toUtf8();
    fuzz::expectEqual("the stored form opens as the text", UnescapeDefineText(saved.text).toUtf8(), text);

    std::set<qsizetype> warned;
    for (const DefineProblem &p : result.problems)
        warned.insert(p.offset);

    // Every raw "<" starts a tag of the language, by its exact name, where the text has it.
    const std::vector<qsizetype> at = readableOffsets(stored);
    std::set<qsizetype> raw;
    for (qsizetype j = 0; j < stored.size(); ++j) {
        if (stored[j] != '<')
            continue;
        raw.insert(at[static_cast<size_t>(j)]);
        fuzz::expect("a raw \"<\" stands where the text has one", text[at[static_cast<size_t>(j)]] == '<');
        if (stored.mid(j, 4) == "<!--") {
            const qsizetype close = stored.indexOf("-->", j + 4);
            fuzz::expect("a comment that the check passes ends", close >= 0);
            j = close + 2;
            continue;
        }
        qsizetype k = j + 1 + (j + 1 < stored.size() && stored[j + 1] == '/');
        const qsizetype nameStart = k;
        while (k < stored.size() && isNameByte(static_cast<unsigned char>(stored[k])))
            ++k;
        const QByteArray name = stored.mid(nameStart, k - nameStart);
        fuzz::expect("a raw \"<\" starts a tag of the language by its exact name",
                     define_vocabulary::tagIndex(name.toStdString()) >= 0);
    }

    // Every tag of the language in the text (outside comments) that is stored as text was warned about.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.mid(i, 4) == "<!--") {
            const qsizetype close = text.indexOf("-->", i + 4);
            if (close < 0)
                break;
            i = close + 2;
            continue;
        }
        if (text[i] != '<')
            continue;
        qsizetype k = i + 1 + (i + 1 < text.size() && text[i + 1] == '/');
        const qsizetype nameStart = k;
        while (k < text.size() && isNameByte(static_cast<unsigned char>(text[k])))
            ++k;
        if (define_vocabulary::tagIndex(text.mid(nameStart, k - nameStart).toStdString()) < 0)
            continue;
        fuzz::expect("a tag stored as text is warned about", raw.count(i) || warned.count(i));
    }
    return 0;
}
