#pragma once
// Conversion between the readable form of a define document (every entity resolved) and
// its stored form (SQL XML-escaped, the define language's tags kept as markup), with the
// optional site rules of "KeyWord.txt".

#include "document/DefineBytes.h"
#include "document/RuleRegex.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class CompiledRules;

// One non-empty line of the rule file, split at "|".
struct KeyWordRule {
    int lineNumber = 0;
    QStringList fields;
};

struct KeyWordRules {
    bool present = false; // a missing file skips both rule passes
    QString path;
    std::vector<KeyWordRule> rules;
    // The patterns made ready by fromText and load, shared by copies; a conversion compiles them
    // itself when the rules were put together by hand.
    std::shared_ptr<const CompiledRules> compiled;

    // Reads the rule file (ANSI code page); a missing or unreadable file gives no rules.
    static KeyWordRules load(const QString &path);
    // The rule file beside the program, or else in the shared data folder of an installation.
    static KeyWordRules fromProgramFolder();
    static KeyWordRules fromText(const QString &text);
};

struct EscapeOutcome {
    QString text;
    QString error; // empty on success; names the rule file's line otherwise
    bool cancelled = false; // stopped by the user: nothing to report
    bool ok() const { return error.isEmpty(); }
};

QString UnescapeDefineText(const QString &text);
QString EscapeEntities(const QString &text);
// A rule that cannot finish (an invalid pattern, the engine's limits, too much time, a text grown
// past the limits' length) fails the whole conversion with a message naming its line.
EscapeOutcome EscapeDefineText(const QString &text, const KeyWordRules &rules);
EscapeOutcome EscapeDefineText(const QString &text, const KeyWordRules &rules, const RuleLimits &limits);
// The same conversion giving the stored form as UTF-8 bytes, for callers that read it as bytes.
struct EscapedUtf8 {
    QByteArray bytes;
    QString error;
    bool cancelled = false;
    bool ok() const { return error.isEmpty(); }
};
// The text is taken by value: a caller that hands its only copy over lets it go early.
EscapedUtf8 EscapeDefineTextUtf8(QString text, const KeyWordRules &rules, const RuleLimits &limits);
// Reads "KeyWord.txt" from the program folder for this call.
EscapeOutcome EscapeDefineText(const QString &text);

// Case-insensitive, every match; "$1".."$99", "$&" and "$$" in the replacement.
// A pattern that is invalid or cannot finish gives std::nullopt.
std::optional<QString> RegexReplaceAll(const QString &text, const QString &pattern, const QString &replacement);
