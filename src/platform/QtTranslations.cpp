#include "platform/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace platform {

bool installQtChineseTranslations(QCoreApplication &app)
{
    // "qt_zh_CN" gathers the catalogues of Qt's modules (qtbase_zh_CN and the others).
    auto *translator = new QTranslator(&app); // owned by the application
    if (!translator->load(QStringLiteral("qt_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace platform
