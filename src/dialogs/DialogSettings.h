#pragma once
// Position and check-box options of the search dialogs in the settings store
// ("ScintillaClass"/"Settings"): positions in twips, centred when absent; boxes as "0"/"1".

#include "app/SettingsStore.h"

class QCheckBox;
class QWidget;

namespace dialogs {

void restorePosition(QWidget &dialog, const ISettingsStore &store, const QString &leftKey, const QString &topKey);
void storePosition(const QWidget &dialog, ISettingsStore &store, const QString &leftKey, const QString &topKey);
void restoreCheck(QCheckBox &box, const ISettingsStore &store, const QString &key, bool defaultValue);
void storeCheck(const QCheckBox &box, ISettingsStore &store, const QString &key);

// "True"/"False" as the direction option is kept; anything else is the default.
bool readTrueFalse(const ISettingsStore &store, const QString &key, bool defaultValue);

} // namespace dialogs
