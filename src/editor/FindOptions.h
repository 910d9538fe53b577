#pragma once
// The options of one search, as the engine remembers them for find-next and find-previous.

#include <QString>

struct FindOptions {
    bool FindReverse = false;
    bool findinrng = false;
    bool WrapDocument = false;
    bool CaseSensative = false;
    bool WordStart = false;
    bool WholeWord = false;
    bool RegExp = false;
};

// Where the search dialogs keep their options and ask their questions; not owned.
class ISettingsStore;
namespace platform {
class IPrompt;
}
struct DialogServices {
    ISettingsStore *settings = nullptr;
    platform::IPrompt *prompt = nullptr;
    bool ready() const { return settings && prompt; }
};
