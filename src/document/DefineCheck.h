#pragma once
// Checks the readable form of a define document as the define language, not as XML: only the
// language's tags (DefineVocabulary.h) and comments are markup, every other "<" and "&" is text,
// as in SQL. One pass over the bytes, no recursion however deep the nesting, and a bounded list:
// the first problems by position, with a count of the rest.

#include "document/DefineEscaping.h"
#include "document/DefineOutline.h"

#include <QByteArrayView>
#include <QString>
#include <atomic>
#include <vector>

struct DefineProblem {
    enum class Severity { Error, Warning };
    Severity severity = Severity::Error;
    qsizetype line = 1;   // from 1; a line ends at "\n", "\r\n" or a lone "\r", as the component's do
    qsizetype column = 1; // from 1, in characters of the line
    qsizetype offset = 0; // byte offset in the checked UTF-8 text, as the component counts positions
    qsizetype length = 0; // bytes the problem covers; 0 for a place rather than a range
    QString message;      // Chinese, for the problems list and plendor-cli
};

struct DefineCheckOptions {
    // The site rules escaping will use; none is a missing rule file.
    const KeyWordRules *rules = nullptr;
    // A pattern of the rule file that cannot compile, reported on line 1 of the text; off where
    // the rule file's own problems are shown once for many texts.
    bool reportRuleFile = true;
    int codePage = 936;        // the code page of the byte form that saving writes
    // What a U+FFFD in the text stands for: a character typed (the code page cannot hold it),
    // bytes of a file that did not decode, or such bytes already reported for the whole file.
    enum class Replacement { Typed, UndecodableBytes, AlreadyReported };
    Replacement replacement = Replacement::Typed;
    qsizetype maxProblems = 1000;
    // Only problems at offsets inside (after, before) are listed, the first ones or, with
    // keepLast, the last ones; the counts still cover all. -1 leaves a side open.
    qsizetype after = -1;
    qsizetype before = -1;
    bool keepLast = false;
    // Set by another thread to stop the check early: the text may be about to change under it.
    const std::atomic_bool *cancel = nullptr;
    // Also list the defines, read in the same pass.
    bool outline = false;
};

struct DefineCheckResult {
    std::vector<DefineProblem> problems; // the first maxProblems by position
    qsizetype errors = 0;                // every one found, listed or not
    qsizetype warnings = 0;
    bool cancelled = false;              // stopped early: nothing above holds
    DefineOutline outline;               // with DefineCheckOptions::outline
    qsizetype omitted() const { return errors + warnings - static_cast<qsizetype>(problems.size()); }
};

// Checks the text as the language, and against its stored form: the save's own escaping, with the
// same rules, must leave a raw "<" only where the check read a tag of that name, and must read back
// to the same text; a tag the save stores as text is a warning.
DefineCheckResult checkDefineText(QByteArrayView utf8, const DefineCheckOptions &options = {});

// A line of the rule file whose pattern cannot compile.
struct RuleFileProblem {
    int line = 0;
    QString message;
};
std::vector<RuleFileProblem> checkRuleFile(const KeyWordRules &rules);

// "LINE:COLUMN: error: message" (or "warning"), the form compilers use, for plendor-cli.
QString problemLine(const DefineProblem &problem);
// "还有 N 个问题未列出" for what the list leaves out; empty when nothing is.
QString omittedProblemsNote(const DefineCheckResult &result);
