#pragma once
// Runs the define-file checker over the main editor's text: at once when asked (a document
// opened or saved) and after typing stops for half a second. A check that would take longer than
// the user-interface thread can spare runs on a worker with a copy of the text; its result is
// dropped when the text changed meanwhile. The check never touches the text or its saving.

#include "app/RuleFileCache.h"
#include "document/DefineCheck.h"
#include "editor/ProblemIndicators.h"

#include <QObject>
#include <QTimer>
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
    // The offset of the first (or, with last, the last) problem of the text as it is now inside
    // (after, before), -1 leaving a side open; checked here and now.
    std::optional<qsizetype> findProblem(qsizetype after, qsizetype before, bool last);
    // True while a worker is checking.
    bool checking() const { return m_worker.joinable(); }

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
    void runOnWorker(QByteArray snapshot, DefineCheckOptions options, std::shared_ptr<const KeyWordRules> rules);
    void workerDone(std::shared_ptr<DefineCheckResult> result, quint64 generation);
    void accept(DefineCheckResult result);
    void measure(qsizetype bytes, std::chrono::steady_clock::duration took);

    clsScintilla &m_editor;
    ProblemIndicators m_indicators;
    QTimer m_timer;
    std::thread m_worker;
    quint64 m_generation = 0; // counts the text's changes
    bool m_again = false;     // asked again while the worker ran
    DefineCheckResult m_result;
    RuleFileCache m_rules;
};
