#pragma once
// The real main window, offscreen, for the benchmarks that measure what a user waits for in it:
// its settings, program folder and recovery copies in a private folder, every question answered
// with its default, shown at a common size.
#include "support/ScriptedPrompt.h"

#include "app/frmMain.h"
#include "platform/SettingsStore.h"

#include <QTemporaryDir>

#include <memory>

struct BenchWindow {
    QTemporaryDir dir;
    QSettingsStore settings{dir.filePath(QStringLiteral("settings"))};
    ScriptedPrompt prompt; // nothing scripted: every question takes its default, every dialog is cancelled
    std::unique_ptr<frmMain> window;

    BenchWindow();
    BenchWindow(const BenchWindow &) = delete;
    BenchWindow &operator=(const BenchWindow &) = delete;

    // The text as a new document, the check without its pause, and its results shown.
    void loadAndCheck(const QByteArray &utf8);
    // The caret at the end of a line (counted from the end when negative), shown.
    void caretAtLineEnd(int line);
    // A space typed at the caret, or taken back, then the check it sets off and its results shown.
    void keyAndCheck(bool type);
};

// Lets the event loop run what is queued.
void settle();
