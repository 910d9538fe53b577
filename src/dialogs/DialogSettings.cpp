#include "dialogs/DialogSettings.h"

#include "platform/Twips.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace dialogs {
namespace {
const QString kApp = QStringLiteral("ScintillaClass");
const QString kSection = QStringLiteral("Settings");
} // namespace

void restorePosition(QWidget &dialog, const ISettingsStore &store, const QString &leftKey, const QString &topKey)
{
    using namespace platform;
    const QSize size = dialog.sizeHint().expandedTo(dialog.minimumSize());
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    // The default centres the dialog on the screen.
    const double left = store.readNumber(kApp, kSection, leftKey,
                                         static_cast<int>(pixelsToTwipsX(area.width() - size.width()) / 2));
    const double top = store.readNumber(kApp, kSection, topKey,
                                        static_cast<int>(pixelsToTwipsY(area.height() - size.height()) / 2));
    dialog.move(twipsToPixelsX(left), twipsToPixelsY(top));
}

void storePosition(const QWidget &dialog, ISettingsStore &store, const QString &leftKey, const QString &topKey)
{
    store.writeNumber(kApp, kSection, leftKey, platform::pixelsToTwipsX(dialog.x()));
    store.writeNumber(kApp, kSection, topKey, platform::pixelsToTwipsY(dialog.y()));
}

void restoreCheck(QCheckBox &box, const ISettingsStore &store, const QString &key, bool defaultValue)
{
    box.setChecked(store.readNumber(kApp, kSection, key, defaultValue ? 1 : 0) != 0);
}

void storeCheck(const QCheckBox &box, ISettingsStore &store, const QString &key)
{
    store.write(kApp, kSection, key, box.isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

bool readTrueFalse(const ISettingsStore &store, const QString &key, bool defaultValue)
{
    const QString text = store.read(kApp, kSection, key, QString()).trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || text == QLatin1String("-1"))
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || text == QLatin1String("0"))
        return false;
    return defaultValue;
}

SearchChecks createSearchChecks(QWidget *parent)
{
    const auto make = [parent](const char *name, const QString &caption) {
        auto *box = new QCheckBox(caption, parent);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    return {make("chkCase", QStringLiteral("区分大小写(&C)")), make("chkWhole", QStringLiteral("全字匹配(&W)")),
            make("chkRegExp", QStringLiteral("正则表达式(&E)")), make("chkWrap", QStringLiteral("环绕处理(&D)"))};
}

void restoreSearchChecks(const SearchChecks &checks, const ISettingsStore &store, const QString &prefix)
{
    restoreCheck(*checks.chkCase, store, prefix + QStringLiteral("chkCase"), false);
    restoreCheck(*checks.chkRegExp, store, prefix + QStringLiteral("chkRegEx"), false);
    restoreCheck(*checks.chkWhole, store, prefix + QStringLiteral("chkWhole"), false);
    restoreCheck(*checks.chkWrap, store, prefix + QStringLiteral("chkWrap"), true);
}

void storeSearchChecks(const SearchChecks &checks, ISettingsStore &store, const QString &prefix)
{
    storeCheck(*checks.chkCase, store, prefix + QStringLiteral("chkCase"));
    storeCheck(*checks.chkRegExp, store, prefix + QStringLiteral("chkRegEx"));
    storeCheck(*checks.chkWhole, store, prefix + QStringLiteral("chkWhole"));
    storeCheck(*checks.chkWrap, store, prefix + QStringLiteral("chkWrap"));
}

} // namespace dialogs
