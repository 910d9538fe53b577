#pragma once
// The checker's findings before they become messages: what kind, where, and the words the
// message will name. Only the first ones by position are kept, so a document full of problems
// costs no more memory than a clean one.

#include "document/DefineCheck.h"

#include <QString>
#include <queue>
#include <string_view>
#include <vector>

namespace define_check {

enum class Kind {
    RuleFailure,
    UnclosedStart,
    StrayEnd,
    CrossingEnd,
    EndTagUnterminated,
    StartTagUnterminated,
    UnclosedValue,
    AttributeWithoutValue,
    UnquotedValue,
    StrayInTag,
    UnclosedComment,
    DefineWithoutName,
    DefineNameEmpty,
    DuplicateDefine,
    UnknownSqlType,
    Unencodable,
};

DefineProblem::Severity severityOf(Kind kind);

struct Finding {
    Kind kind = Kind::UnclosedStart;
    qsizetype offset = 0;
    qsizetype length = 0;
    int tag = -1;            // the tag the message names
    int otherTag = -1;       // the element an end tag crosses
    qsizetype related = -1;  // an earlier place the message names by its line
    std::string_view detail; // a word of the text (attribute, value, characters); the text outlives it
    QString note;            // a rule file's failure, the only message not made of the text
    qsizetype sequence = 0;  // keeps findings at one place in the order they were found
};

// The first `limit` findings by position, however out of order they arrive, and counts of all.
class Findings {
public:
    explicit Findings(qsizetype limit) : m_limit(limit) {}
    void add(Finding finding);
    qsizetype errors() const { return m_errors; }
    qsizetype warnings() const { return m_warnings; }
    // The kept findings in position order; the collector is empty afterwards.
    std::vector<Finding> takeSorted();

private:
    struct Later {
        bool operator()(const Finding &a, const Finding &b) const
        {
            return a.offset != b.offset ? a.offset < b.offset : a.sequence < b.sequence;
        }
    };
    qsizetype m_limit;
    qsizetype m_errors = 0;
    qsizetype m_warnings = 0;
    qsizetype m_sequence = 0;
    std::priority_queue<Finding, std::vector<Finding>, Later> m_kept; // the latest kept on top
};

// The problems of the text for the kept findings: positions resolved in one pass over the text.
std::vector<DefineProblem> describe(QByteArrayView utf8, const std::vector<Finding> &findings,
                                    const QString &codePageName);

} // namespace define_check
