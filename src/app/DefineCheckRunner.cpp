#include "app/DefineCheckRunner.h"

#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;
using Clock = std::chrono::steady_clock;

namespace {
// Below this size a timing says more about the clock than about the checker.
constexpr qsizetype kMeasurableBytes = 256 * 1024;
} // namespace

DefineCheckRunner::DefineCheckRunner(clsScintilla &editor, QObject *parent)
    : QObject(parent), m_editor(editor), m_indicators(editor)
{
    m_indicators.setUp();
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &DefineCheckRunner::checkNow);
    connect(editor.widget(), &Sci::SCN_MODIFIED, this,
            [this](int, int type, const char *, int, int, int, int, int, int, int) { textChanged(type); });
}

DefineCheckRunner::~DefineCheckRunner() { stopWorker(); }

void DefineCheckRunner::stop()
{
    m_stopped = true;
    m_timer.stop();
    stopWorker();
}

void DefineCheckRunner::stopWorker()
{
    if (!m_worker.joinable())
        return;
    m_cancel = true;
    m_worker.join();
    m_cancel = false;
}

void DefineCheckRunner::textChanged(int modificationType)
{
    // Large changes announce themselves only before they are made (BulkChange.h).
    constexpr int kTextChanges = Sci::SC_MOD_INSERTTEXT | Sci::SC_MOD_DELETETEXT | Sci::SC_MOD_BEFOREINSERT |
                                 Sci::SC_MOD_BEFOREDELETE;
    if (!(modificationType & kTextChanges))
        return;
    // The worker reads the text in place: it stops before the text moves. Its report, if already
    // on its way, belongs to a run that no longer counts.
    if (m_worker.joinable()) {
        stopWorker();
        m_again = false;
    }
    ++m_generation;
    if (!m_stopped)
        m_timer.start(pause);
}

void DefineCheckRunner::checkNow()
{
    m_timer.stop();
    if (m_stopped)
        return;
    if (m_worker.joinable()) {
        m_again = true;
        return;
    }
    std::shared_ptr<const KeyWordRules> rules = m_rules.current();
    DefineCheckOptions options;
    options.codePage = m_editor.codec().codePage();
    options.outline = true;
    const QByteArrayView text = m_editor.TextBytesView();
    // With site rules the check escapes the text through them, whose cost the text's size does
    // not tell: such a check always runs beside the window.
    const bool withRules = rules->present && !rules->rules.empty();
    if (withRules || static_cast<double>(text.size()) / bytesPerMs >= static_cast<double>(inlineBudget.count())) {
        runOnWorker(text, options, std::move(rules));
        return;
    }
    options.rules = rules.get();
    const Clock::time_point start = Clock::now();
    DefineCheckResult result = checkDefineText(text, options);
    measure(text.size(), Clock::now() - start);
    accept(std::move(result));
}

std::optional<qsizetype> DefineCheckRunner::findProblem(qsizetype after, qsizetype before, bool last)
{
    const std::shared_ptr<const KeyWordRules> rules = m_rules.current();
    DefineCheckOptions options;
    options.rules = rules.get();
    options.codePage = m_editor.codec().codePage();
    options.maxProblems = 1;
    options.after = after;
    options.before = before;
    options.keepLast = last;
    const DefineCheckResult found = checkDefineText(m_editor.TextBytesView(), options);
    if (found.problems.empty())
        return std::nullopt;
    return found.problems.front().offset;
}

void DefineCheckRunner::runOnWorker(QByteArrayView text, DefineCheckOptions options,
                                    std::shared_ptr<const KeyWordRules> rules)
{
    const quint64 generation = m_generation;
    const quint64 run = ++m_run;
    m_worker = std::thread([this, text, options, rules, generation, run]() mutable {
        options.rules = rules.get();
        options.cancel = &m_cancel;
        const Clock::time_point start = Clock::now();
        auto result = std::make_shared<DefineCheckResult>(checkDefineText(text, options));
        const auto took = Clock::now() - start;
        const qsizetype bytes = result->cancelled ? 0 : text.size();
        // This object outlives the thread: its destructor joins it.
        QMetaObject::invokeMethod(this, [this, result, generation, run, bytes, took] {
            measure(bytes, took);
            workerDone(result, generation, run);
        }, Qt::QueuedConnection);
    });
}

void DefineCheckRunner::workerDone(std::shared_ptr<DefineCheckResult> result, quint64 generation, quint64 run)
{
    if (run != m_run || !m_worker.joinable())
        return; // stopped by a change, which asks for its own check
    m_worker.join();
    if (generation == m_generation && !result->cancelled)
        accept(std::move(*result));
    if (m_again) {
        m_again = false;
        checkNow();
    }
}

void DefineCheckRunner::accept(DefineCheckResult result)
{
    m_outline = std::make_shared<const DefineOutline>(std::move(result.outline));
    result.outline.clear();
    m_result = std::move(result);
    std::vector<ProblemIndicators::Range> ranges;
    ranges.reserve(m_result.problems.size());
    for (const DefineProblem &p : m_result.problems)
        ranges.push_back({p.offset, p.length, p.severity == DefineProblem::Severity::Error});
    m_indicators.show(ranges);
    emit checked();
}

void DefineCheckRunner::measure(qsizetype bytes, Clock::duration took)
{
    const double ms = std::chrono::duration<double, std::milli>(took).count();
    if (bytes >= kMeasurableBytes && ms > 0)
        bytesPerMs = static_cast<double>(bytes) / ms;
}
