#pragma once
// Checks the readable form of a define document as the define language, not as XML: only the
// language's tags (DefineVocabulary.h) and comments are markup, every other "<" and "&" is text,
// as in SQL. One pass over the bytes, no recursion however deep the nesting, and a bounded list:
// the first problems by position, with a count of the rest.

#include "document/DefineEscaping.h"

#include <QByteArrayView>
#include <QString>
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
    // The site rules escaping will use; a pattern that cannot compile is reported on line 1.
    const KeyWordRules *rules = nullptr;
    int codePage = 936;        // the code page of the byte form that saving writes
    qsizetype maxProblems = 1000;
};

struct DefineCheckResult {
    std::vector<DefineProblem> problems; // the first maxProblems by position
    qsizetype errors = 0;                // every one found, listed or not
    qsizetype warnings = 0;
    qsizetype omitted() const { return errors + warnings - static_cast<qsizetype>(problems.size()); }
};

DefineCheckResult checkDefineText(QByteArrayView utf8, const DefineCheckOptions &options = {});

// "LINE:COLUMN: error: message" (or "warning"), the form compilers use, for plendor-cli.
QString problemLine(const DefineProblem &problem);
// "还有 N 个问题未列出" for what the list leaves out; empty when nothing is.
QString omittedProblemsNote(const DefineCheckResult &result);
