#pragma once
// Position and check-box options of the search dialogs in the settings store
// ("ScintillaClass"/"Settings"): positions in twips, centred when absent; boxes as "0"/"1".

#include "platform/SettingsStore.h"

class QCheckBox;
class QWidget;

namespace dialogs {

void restorePosition(QWidget &dialog, const ISettingsStore &store, const QString &leftKey, const QString &topKey);
void storePosition(const QWidget &dialog, ISettingsStore &store, const QString &leftKey, const QString &topKey);
void restoreCheck(QCheckBox &box, const ISettingsStore &store, const QString &key, bool defaultValue);
void storeCheck(const QCheckBox &box, ISettingsStore &store, const QString &key);

// The four option boxes the find and replace dialogs share, with their captions and names.
struct SearchChecks {
    QCheckBox *chkCase = nullptr;
    QCheckBox *chkWhole = nullptr;
    QCheckBox *chkRegExp = nullptr;
    QCheckBox *chkWrap = nullptr;
};
SearchChecks createSearchChecks(QWidget *parent);
// Keys are the prefix ("F" or "R") followed by "chkCase", "chkRegEx", "chkWhole", "chkWrap".
void restoreSearchChecks(const SearchChecks &checks, const ISettingsStore &store, const QString &prefix);
void storeSearchChecks(const SearchChecks &checks, ISettingsStore &store, const QString &prefix);

// "True"/"False" as the direction option is kept; anything else is the default.
bool readTrueFalse(const ISettingsStore &store, const QString &key, bool defaultValue);

} // namespace dialogs
