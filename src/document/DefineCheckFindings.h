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
    RawInStored,       // the save leaves a "<" raw where the check read text
    StoredAsText,      // the save escapes markup the check read
    LiteralEntity,     // "&lt;" typed as letters opens again as "<"
    StoredDiffers,     // the rule file changes what the stored form reads back as
    UnknownTag,
    UnknownAttribute,
    DuplicateAttribute,
    BlankAroundEquals,
    SingleQuotes,
    SelfClosing,
    Misplaced,
    SecondRoot,
    TextOutsideRoot,
    NulCharacter,
    Undecodable,
};

DefineProblem::Severity severityOf(Kind kind);

struct Finding {
    Kind kind = Kind::UnclosedStart;
    qsizetype offset = 0;
    qsizetype length = 0;
    int tag = -1;            // the tag the message names
    int otherTag = -1;       // the element an end tag crosses; the known tag an unknown one is close to
    bool closing = false;    // the tag is an end tag
    qsizetype related = -1;  // an earlier place the message names by its line
    std::string_view detail; // a word of the text (attribute, value, characters); the text outlives it
    std::string_view suggestion; // a known word close to detail
    QString note;            // a rule file's failure, the only message not made of the text
    qsizetype sequence = 0;  // keeps findings at one place in the order they were found
};

// The first `limit` findings by position (or the last, for a look backwards), however out of
// order they arrive, among those inside (after, before); counts of all.
class Findings {
public:
    explicit Findings(qsizetype limit, qsizetype after = -1, qsizetype before = -1, bool keepLast = false)
        : m_limit(limit), m_after(after), m_before(before), m_kept(Later{keepLast})
    {
    }
    void add(Finding finding);
    qsizetype errors() const { return m_errors; }
    qsizetype warnings() const { return m_warnings; }
    // The kept findings in position order; the collector is empty afterwards.
    std::vector<Finding> takeSorted();

private:
    // The order of the heap: the finding to drop first on top.
    struct Later {
        bool keepLast = false;
        bool operator()(const Finding &a, const Finding &b) const
        {
            const bool earlier = a.offset != b.offset ? a.offset < b.offset : a.sequence < b.sequence;
            return keepLast ? !earlier : earlier;
        }
    };
    qsizetype m_limit;
    qsizetype m_after;
    qsizetype m_before;
    qsizetype m_errors = 0;
    qsizetype m_warnings = 0;
    qsizetype m_sequence = 0;
    struct Heap : std::priority_queue<Finding, std::vector<Finding>, Later> {
        using priority_queue::priority_queue;
        const Later &order() const { return comp; }
    };
    Heap m_kept;
};

// The problems of the text for the kept findings: positions resolved in one pass over the text.
std::vector<DefineProblem> describe(QByteArrayView utf8, const std::vector<Finding> &findings,
                                    const QString &codePageName);

} // namespace define_check
