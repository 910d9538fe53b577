#pragma once
// The stored form of a readable text read back as the platform reads it: the save's own escaping
// (the same functions and rule file) is run, and every "<" it leaves raw is mapped back to its
// place in the readable text. The checker claims the places where it recognised markup; a raw
// "<" nobody claims and a claimed place stored as text are what the two readings disagree on.
// Without a rule file, or with one whose patterns are all literals, the text is escaped a piece
// of whole lines at a time, so a large document costs a piece; other rules may match across
// lines and see the whole text, as the save does.

#include "document/DefineCheckFindings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <atomic>
#include <optional>
#include <string_view>
#include <vector>

namespace define_check {

class StoredReading {
public:
    // cancel, set by another thread, stops the rules' work (and so the check) early.
    StoredReading(QByteArrayView readable, const KeyWordRules *rules, Findings &findings,
                  const std::atomic_bool *cancel = nullptr);

    enum class Markup { Raw, Text, Unknown };
    // The stored form at readable offset `at`, where the checker read markup called `name`
    // ("sql", "/sql", "!--"). Offsets come in increasing order; a raw "<" passed on the way that
    // nobody claimed is reported. Unknown once the stored form no longer reads back to the text.
    Markup claim(qsizetype at, std::string_view name);
    // Raw "<" in [from, to) are no markup of their own (the inside of a comment).
    void skip(qsizetype from, qsizetype to);
    // Reports the raw "<" that are left.
    void finish();
    // The save cannot run (a rule that cannot compile): nothing is claimed or reported.
    void giveUp() { m_lost = true; }

private:
    struct RawTag {
        qsizetype at;       // readable offset of the "<"
        qsizetype nameFrom; // the name after it, in m_stored
        qsizetype nameLength;
    };

    bool nextPiece();
    // The stored form of the next piece, or of the whole text where rules may span lines.
    bool escapeNext(qsizetype from);
    qsizetype pieceEnd(qsizetype from) const;
    void walk(qsizetype readableFrom);
    void reportUnclaimed(const RawTag &raw);
    std::string_view nameOf(const RawTag &raw) const;
    // Moves past every raw "<" before `at`, reporting each; false once nothing is left to read.
    bool reach(qsizetype at);

    QByteArrayView m_readable;
    const KeyWordRules *m_rules;
    std::optional<KeyWordRules> m_compiledCopy; // rules put together by hand, made ready once here
    RuleLimits m_limits;      // the whole text's, as one save has them
    bool m_inPieces = true;
    qsizetype m_storedBytes = 0; // the stored form so far, for the growth limit
    Findings &m_findings;
    qsizetype m_pieceEnd = 0; // readable text up to here has been escaped and walked
    QByteArray m_stored;      // the stored form of the current piece
    std::vector<RawTag> m_raw;
    size_t m_next = 0;
    bool m_lost = false;      // the stored form stopped reading back to the text
};

} // namespace define_check
