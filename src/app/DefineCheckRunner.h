#pragma once
// Runs the define-file checker over the main editor's text: at once when asked (a document
// opened or saved) and after typing stops for half a second. A check that would take longer than
// the user-interface thread can spare runs on a worker that reads the editor's own text, never a
// copy (a large file has no memory to spare): the first change to the text stops the worker, and
// waits for it, before the change is made. The check never touches the text or its saving.

#include "app/RuleFileCache.h"
#include "document/DefineCheck.h"
#include "editor/ProblemIndicators.h"

#include <QObject>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>

class clsScintilla;

class DefineCheckRunner : public QObject {
    Q_OBJECT
public:
    explicit DefineCheckRunner(clsScintilla &editor, QObject *parent = nullptr);
    ~DefineCheckRunner() override; // waits for a running worker

    // Checks the text as it is now.
    void checkNow();
    const DefineCheckResult &result() const { return m_result; }
    // The defines the same pass read, shared with whoever shows them.
    std::shared_ptr<const DefineOutline> outline() const { return m_outline; }
    // The offset of the first (or, with last, the last) problem of the text as it is now inside
    // (after, before), -1 leaving a side open; checked here and now.
    std::optional<qsizetype> findProblem(qsizetype after, qsizetype before, bool last);
    // True while a worker is checking.
    bool checking() const { return m_worker.joinable(); }
    // The rule file as the check uses it, read and made ready once until it changes; the save
    // uses it too.
    std::shared_ptr<const KeyWordRules> ruleFile() { return m_rules.current(); }
    // Stops checking for good; before the editor goes, as a worker may be reading its text.
    void stop();

    // How long the text must rest before a check, and the most a check may hold up the
    // user-interface thread.
    std::chrono::milliseconds pause{500};
    std::chrono::milliseconds inlineBudget{20};
    // The checker's pace, in bytes per millisecond, as last measured; it decides where a check runs.
    double bytesPerMs = 50'000;

signals:
    // result() holds the problems of the text as it is.
    void checked();

private:
    void textChanged(int modificationType);
    void runOnWorker(QByteArrayView text, DefineCheckOptions options, std::shared_ptr<const KeyWordRules> rules);
    void stopWorker();
    void workerDone(std::shared_ptr<DefineCheckResult> result, quint64 generation, quint64 run);
    void accept(DefineCheckResult result);
    void measure(qsizetype bytes, std::chrono::steady_clock::duration took);

    clsScintilla &m_editor;
    ProblemIndicators m_indicators;
    QTimer m_timer;
    std::thread m_worker;
    std::atomic_bool m_cancel{false};
    quint64 m_run = 0;       // counts the workers started, so a stopped one's report is ignored
    bool m_stopped = false;
    quint64 m_generation = 0; // counts the text's changes
    bool m_again = false;     // asked again while the worker ran
    DefineCheckResult m_result;
    std::shared_ptr<const DefineOutline> m_outline = std::make_shared<const DefineOutline>();
    RuleFileCache m_rules;
};
