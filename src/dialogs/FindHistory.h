#pragma once
// The find history "findList.txt" (see historyFolder for where it lives): ANSI text, CRLF lines, newest first,
// at most 52 entries, rewritten through "findlist.bak".

#include "platform/Prompt.h"

#include <QString>
#include <QStringList>

namespace FindHistory {

constexpr int kMaxEntries = 52;

// The folder that holds the history: for an installed program always the user's data folder
// (~/.local/share/Plendor, made readable by its owner only), so that nothing is written into a
// system folder; for a program run from its build folder the program folder, or the user's data
// folder when that cannot be written. The history file is readable by its owner only.
QString historyFolder(const QString &programFolder);

QStringList LoadFindList(const QString &folder);
// False, with the cause in *error, when the folder could not be written; the history then stays
// as it was. A text holding a line break is not stored: it would become several entries.
bool AddToFindList(const QString &folder, const QString &text, QString *error = nullptr);

// Adds the searched texts of one program run; a history that cannot be written is told to the
// user once, not on every search.
class Recorder {
public:
    explicit Recorder(platform::IPrompt &prompt) : m_prompt(prompt) {}
    void record(const QString &folder, const QString &text);

private:
    platform::IPrompt &m_prompt;
    bool m_reported = false;
};

} // namespace FindHistory
