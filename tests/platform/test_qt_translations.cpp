// Qt's own dialogs speak Chinese like the rest of the program, from Debian's translations.
#include "platform/QtTranslations.h"

#include <QCoreApplication>
#include <QTranslator>
#include <gtest/gtest.h>

TEST(QtTranslations, QtsOwnButtonsAndDialogTextsAreChinese)
{
    const QString before = QCoreApplication::translate("QPlatformTheme", "Cancel");
    ASSERT_TRUE(platform::installQtChineseTranslations(*QCoreApplication::instance()))
        << "Qt's Chinese translations (qt6-translations-l10n) are not installed";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("查找范围："));
    // Left installed would change the texts other tests read: removed again.
    for (QObject *child : QCoreApplication::instance()->children())
        if (auto *translator = qobject_cast<QTranslator *>(child)) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), before);
}
