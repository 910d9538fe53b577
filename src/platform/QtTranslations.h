#pragma once
// Qt's own texts (the buttons of message boxes, the file and print dialogs) in Chinese, as the
// rest of the program is: loaded always, whatever the system's locale.

class QCoreApplication;

namespace platform {

// False when Qt's Chinese translations are not installed; Qt's texts then stay English.
bool installQtChineseTranslations(QCoreApplication &app);

} // namespace platform
