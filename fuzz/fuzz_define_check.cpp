// The define-file checker on any bytes: it ends, keeps the first problems by position (a smaller
// limit keeps a prefix of the same list), and every position agrees with a plain count of the
// lines and characters before its offset.

#include "FuzzSupport.h"
#include "document/DefineCheck.h"

namespace {

// Line and column of an offset, counted the slow and obvious way.
std::pair<qsizetype, qsizetype> plainPosition(const QByteArray &text, qsizetype offset)
{
    qsizetype line = 1, lineStart = 0;
    for (qsizetype i = 0; i < offset; ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && !(i + 1 < text.size() && text[i + 1] == '\n'))) {
            ++line;
            lineStart = i + 1;
        }
    }
    qsizetype column = 1;
    for (qsizetype i = lineStart; i < offset; ++i)
        column += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    return {line, column};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray text = fuzz::bytes(data, size);
    const DefineCheckResult all = checkDefineText(text);
    fuzz::expect("counts cover the list", all.errors + all.warnings >= static_cast<qsizetype>(all.problems.size()));
    fuzz::expect("at most 1000 listed", all.problems.size() <= 1000);
    for (size_t i = 0; i < all.problems.size(); ++i) {
        const DefineProblem &p = all.problems[i];
        fuzz::expect("inside the text", p.offset >= 0 && p.length >= 0 && p.offset + p.length <= text.size());
        fuzz::expect("in position order", i == 0 || all.problems[i - 1].offset <= p.offset);
        fuzz::expect("a message", !p.message.isEmpty());
        const auto [line, column] = plainPosition(text, p.offset);
        fuzz::expect("line and column of the offset", p.line == line && p.column == column);
    }

    DefineCheckOptions few;
    few.maxProblems = 3;
    const DefineCheckResult first = checkDefineText(text, few);
    fuzz::expect("same counts with a smaller limit", first.errors == all.errors && first.warnings == all.warnings);
    fuzz::expect("a smaller limit keeps the first ones",
                 first.problems.size() == std::min<size_t>(3, all.problems.size()));
    for (size_t i = 0; i < first.problems.size(); ++i)
        fuzz::expectEqual("the same first problems", problemLine(first.problems[i]), problemLine(all.problems[i]));
    return 0;
}
