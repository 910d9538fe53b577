#pragma once
// The search dialogs as the editor asks for them: frmFind and frmGoto modally through the
// prompt, the one frmReplace modelessly, options and positions in the settings store.

#include "dialogs/FindHistory.h"
#include "editor/SearchDialogs.h"
#include "platform/Prompt.h"
#include "platform/SettingsStore.h"

class SearchDialogService : public ISearchDialogs {
public:
    // The store and the prompt outlive the service.
    SearchDialogService(ISettingsStore &settings, platform::IPrompt &prompt) : m_settings(settings), m_prompt(prompt) {}

    std::optional<FindRequest> askFind(clsScintilla &editor, const QString &selectedText) override;
    void showReplace(clsScintilla &editor, const QString &selectedText) override;
    std::optional<GotoRequest> askGoto(clsScintilla &editor, const QString &curLine, const QString &lastLine,
                                       const QString &column) override;
    void reportInvalidPattern(const QString &pattern) override;

private:
    ISettingsStore &m_settings;
    platform::IPrompt &m_prompt;
    FindHistory::Recorder m_history{m_prompt};
};
