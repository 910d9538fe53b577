#pragma once
// The find history "findList.txt" in the program folder: ANSI text, CRLF lines, newest first,
// at most 52 entries, rewritten through "findlist.bak".

#include "platform/Prompt.h"

#include <QString>
#include <QStringList>

namespace FindHistory {

constexpr int kMaxEntries = 52;

// The folder that holds the history: the program folder, or, when that cannot be written (an
// installed program in a system folder), the user's data folder, so that the history is kept.
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
