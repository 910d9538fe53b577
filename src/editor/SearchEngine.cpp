#include "editor/SearchEngine.h"

#include "editor/BulkChange.h"
#include "editor/MatchCandidates.h"
#include "editor/OnePassReplace.h"
#include "editor/ReplacementPlan.h"
#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>

using platform::LParam;
using platform::WParam;
using Sci = QsciScintillaBase;

namespace {
WParam w(long long value) { return static_cast<WParam>(value); }
LParam ptr(const void *p) { return reinterpret_cast<LParam>(p); }
// The component's status after a regular expression it could not compile.
constexpr int kStatusRegexWarning = 1001;
// The component takes one change of a span at about 25 ns a byte (its line index is made anew,
// and undo keeps both texts), and one small change at about 5 microseconds: one pass pays when
// the matches lie closer than some 200 bytes on average. Fewer than these are not many.
constexpr qsizetype kManyReplacements = 64;
constexpr qsizetype kSpanBytesPerReplacement = 200;

bool worthOnePass(const ReplacementPlan &plan)
{
    return plan.size() >= kManyReplacements &&
           (plan.spanEnd() - plan.spanStart()) / plan.size() <= kSpanBytesPerReplacement;
}

// Everything done while it lives is one step for undo.
class UndoStep {
public:
    explicit UndoStep(clsScintilla &editor) : m_editor(editor) { m_editor.SendEditor(Sci::SCI_BEGINUNDOACTION); }
    ~UndoStep() { m_editor.SendEditor(Sci::SCI_ENDUNDOACTION); }
    UndoStep(const UndoStep &) = delete;
    UndoStep &operator=(const UndoStep &) = delete;

private:
    clsScintilla &m_editor;
};
} // namespace

void SearchEngine::setSearchFlags(const FindOptions &o)
{
    int flags = 0;
    if (o.CaseSensative)
        flags |= Sci::SCFIND_MATCHCASE;
    if (o.WordStart)
        flags |= Sci::SCFIND_WORDSTART;
    if (o.WholeWord)
        flags |= Sci::SCFIND_WHOLEWORD;
    // ECMAScript patterns, so alternation, \b and counted repeats work.
    if (o.RegExp)
        flags |= Sci::SCFIND_REGEXP | Sci::SCFIND_CXX11REGEX;
    m_editor.SendEditor(Sci::SCI_SETSEARCHFLAGS, w(flags));
}

int SearchEngine::searchInTarget(const QByteArray &text, int start, int end, bool &invalid)
{
    m_editor.SendEditor(Sci::SCI_SETTARGETSTART, w(start));
    m_editor.SendEditor(Sci::SCI_SETTARGETEND, w(end));
    m_editor.SendEditor(Sci::SCI_SETSTATUS, 0);
    const auto pos = m_editor.SendEditor(Sci::SCI_SEARCHINTARGET, w(text.size()), ptr(text.constData()));
    if (m_editor.SendEditor(Sci::SCI_GETSTATUS) == kStatusRegexWarning) {
        invalid = true;
        m_editor.SendEditor(Sci::SCI_SETSTATUS, 0);
        return -1;
    }
    return static_cast<int>(pos);
}

FindOutcome SearchEngine::find(const QString &txttofind, const FindOptions &o)
{
    FindOutcome outcome;
    if (txttofind.isEmpty())
        return outcome;
    setSearchFlags(o);
    const QByteArray text = txttofind.toUtf8();
    const int length = m_editor.GetLen();
    bool &invalid = outcome.invalidPattern;
    int pos;
    if (o.findinrng)
        pos = searchInTarget(text, m_editor.GetSelStart(), m_editor.GetSelEnd(), invalid);
    else if (o.FindReverse)
        pos = searchInTarget(text, m_editor.GetSelStart(), 0, invalid);
    else
        pos = searchInTarget(text, m_editor.GetSelEnd(), length, invalid);
    if (pos < 0 && o.WrapDocument && !invalid)
        pos = o.FindReverse ? searchInTarget(text, length, 0, invalid) : searchInTarget(text, 0, length, invalid);
    if (pos >= 0) {
        outcome.found = true;
        outcome.start = static_cast<int>(m_editor.SendEditor(Sci::SCI_GETTARGETSTART));
        outcome.end = static_cast<int>(m_editor.SendEditor(Sci::SCI_GETTARGETEND));
        m_editor.SetSel(outcome.start, outcome.end);
    }
    m_lastSearch = txttofind;
    m_lastOptions = o;
    m_searchDone = true;
    return outcome;
}

FindOutcome SearchEngine::findAgain(bool reverse)
{
    if (!m_searchDone)
        return {};
    FindOptions o = m_lastOptions;
    o.FindReverse = reverse;
    return find(m_lastSearch, o);
}

void SearchEngine::replaceTarget(int length, const QString &replacement)
{
    const QByteArray bytes = replacement.toUtf8();
    m_editor.SendEditor(Sci::SCI_REPLACETARGET, w(qMin<qsizetype>(length, bytes.size())), ptr(bytes.constData()));
}

int SearchEngine::replaceEachFrom(const QByteArray &text, const QByteArray &replacement, int from, bool &invalid)
{
    int count = 0;
    int pos = searchInTarget(text, from, m_editor.GetLen(), invalid);
    while (pos >= 0) {
        const int start = static_cast<int>(m_editor.SendEditor(Sci::SCI_GETTARGETSTART));
        const bool emptyMatch = m_editor.SendEditor(Sci::SCI_GETTARGETEND) == start;
        m_editor.SendEditor(Sci::SCI_REPLACETARGET, w(replacement.size()), ptr(replacement.constData()));
        ++count;
        int next = start + static_cast<int>(replacement.size());
        // An empty match would be found again at the same place: step over one character.
        if (emptyMatch) {
            if (next >= m_editor.GetLen())
                break;
            next = static_cast<int>(m_editor.SendEditor(Sci::SCI_POSITIONAFTER, w(next)));
        }
        pos = searchInTarget(text, next, m_editor.GetLen(), invalid);
    }
    return count;
}

MatchContext SearchEngine::matchContext(const FindOptions &o)
{
    MatchContext::AsciiClasses classes;
    classes.fill(MatchContext::AsciiClass::NewLine);
    if (o.RegExp)
        return MatchContext(MatchContext::Looks::LineStart, classes);
    if (!o.WholeWord && !o.WordStart)
        return MatchContext(MatchContext::Looks::Nothing, classes);
    // The component's classes as set now; those it does not list are line ends.
    const auto fill = [&](unsigned int message, MatchContext::AsciiClass cls) {
        QByteArray chars(static_cast<qsizetype>(m_editor.SendEditor(message)), '\0');
        m_editor.SendEditor(message, 0, ptr(chars.data()));
        for (const char c : chars) {
            if (static_cast<unsigned char>(c) < 0x80)
                classes[static_cast<unsigned char>(c)] = cls;
        }
    };
    fill(Sci::SCI_GETWORDCHARS, MatchContext::AsciiClass::Word);
    fill(Sci::SCI_GETWHITESPACECHARS, MatchContext::AsciiClass::Space);
    fill(Sci::SCI_GETPUNCTUATIONCHARS, MatchContext::AsciiClass::Punctuation);
    return MatchContext(MatchContext::Looks::WordStart, classes);
}

int SearchEngine::collectMatches(const QByteArray &text, const FindOptions &o, ReplacementPlan &plan, bool &invalid)
{
    const MatchContext context = matchContext(o);
    const int length = m_editor.GetLen();
    // The text does not change while the matches are found.
    const QByteArrayView old = m_editor.TextBytesView();
    const QByteArray &replacement = plan.replacement();
    const char32_t replacementLast = MatchContext::characterBefore(replacement, replacement.size());
    // Without case, the component folds every character it passes, which is slow: it is asked
    // only where a quick scan cannot rule a match out, over the few bytes a match there spans.
    std::optional<MatchCandidates> candidates;
    if (!o.RegExp && !o.CaseSensative)
        candidates = MatchCandidates::forText(text);
    const auto search = [&](int from) {
        if (!candidates)
            return searchInTarget(text, from, length, invalid);
        for (qsizetype c = candidates->next(old, from); c >= 0; c = candidates->next(old, c + 1)) {
            const auto windowEnd = static_cast<int>(qMin<qsizetype>(length, c + candidates->window()));
            if (searchInTarget(text, static_cast<int>(c), windowEnd, invalid) == c)
                return static_cast<int>(c);
        }
        return -1;
    };
    int from = 0;
    // The character before from once the replacements so far are made, unless it is the old one.
    char32_t beforeFrom = 0;
    bool beforeFromChanged = false;
    int pos = search(from);
    while (pos >= 0) {
        const int start = static_cast<int>(m_editor.SendEditor(Sci::SCI_GETTARGETSTART));
        const int end = static_cast<int>(m_editor.SendEditor(Sci::SCI_GETTARGETEND));
        plan.add(start, end);
        if (start == end) {
            // As one at a time would, step over the character after an empty match.
            if (end >= length)
                return -1;
            from = static_cast<int>(m_editor.SendEditor(Sci::SCI_POSITIONAFTER, w(end)));
            beforeFromChanged = false;
        } else {
            char32_t before = replacementLast;
            if (replacement.isEmpty())
                before = start == from && beforeFromChanged ? beforeFrom : MatchContext::characterBefore(old, start);
            if (!context.actAlike(MatchContext::characterBefore(old, end), before))
                return end;
            from = end;
            beforeFrom = before;
            beforeFromChanged = true;
        }
        pos = search(from);
    }
    return -1;
}

ReplaceOutcome SearchEngine::replaceAll(const QString &searchFor, const QString &replaceWith, const FindOptions &o)
{
    ReplaceOutcome outcome;
    if (searchFor.isEmpty())
        return outcome;
    setSearchFlags(o);
    const QByteArray text = searchFor.toUtf8();
    const QByteArray replacement = replaceWith.toUtf8();
    // One Undo takes back the whole replace-all; and the many changes stay linear in time.
    const BulkChange bulk(m_editor);
    const UndoStep step(m_editor);
    if (m_replaceAllPath == ReplaceAllPath::EachMatch) {
        outcome.count = replaceEachFrom(text, replacement, 0, outcome.invalidPattern);
        return outcome;
    }
    ReplacementPlan plan(replacement);
    const int unsureFrom = collectMatches(text, o, plan, outcome.invalidPattern);
    if (plan.empty())
        return outcome;
    const bool onePass = m_replaceAllPath == ReplaceAllPath::OnePass || worthOnePass(plan);
    if (!onePass || !replaceInOnePass(m_editor, plan)) {
        qsizetype shift = 0;
        for (const ReplacementPlan::Match &m : plan.matches()) {
            m_editor.SendEditor(Sci::SCI_SETTARGETSTART, w(m.start + shift));
            m_editor.SendEditor(Sci::SCI_SETTARGETEND, w(m.end + shift));
            m_editor.SendEditor(Sci::SCI_REPLACETARGET, w(replacement.size()), ptr(replacement.constData()));
            shift += replacement.size() - (m.end - m.start);
        }
    }
    outcome.count = static_cast<int>(plan.size());
    if (unsureFrom >= 0)
        outcome.count += replaceEachFrom(text, replacement, static_cast<int>(unsureFrom + plan.growth()),
                                         outcome.invalidPattern);
    return outcome;
}

void SearchEngine::replaceSelections(const QString &searchFor, const QString &replaceWith, bool all,
                                     const FindOptions &options)
{
    FindOptions o = options;
    o.FindReverse = false;
    o.findinrng = false;
    o.WrapDocument = true;
    // Wrapping around, a replacement holding the search text would be found for ever: bound it.
    const int bound = m_editor.GetLen() + 1;
    for (int i = 0; i < bound && find(searchFor, o).found; ++i) {
        m_editor.ReplaceSel(replaceWith);
        if (!all)
            break;
    }
}

void SearchEngine::gotoLine(int line)
{
    // A line before the first is the first line, as the component treats it.
    const WParam target = w(qMax(0, line));
    m_editor.SendEditor(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, target);
    m_editor.SendEditor(Sci::SCI_GOTOLINE, target);
}

void SearchEngine::gotoLineColumn(int line, int column)
{
    const int target = qBound(0, line, qMax(0, m_editor.GetLineCount() - 1));
    const auto pos = m_editor.SendEditor(Sci::SCI_FINDCOLUMN, w(target), qMax(0, column));
    m_editor.SendEditor(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, w(target));
    m_editor.SetSel(static_cast<int>(pos), static_cast<int>(pos));
}
