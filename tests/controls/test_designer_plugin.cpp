#include <gtest/gtest.h>

#ifdef PLENDOR_DESIGNER_PLUGIN
#include <QColor>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QWidget>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#endif

namespace {

#ifdef PLENDOR_DESIGNER_PLUGIN
TEST(DesignerPlugin, OffersTheColourBoxWithItsProperties)
{
    QPluginLoader loader(QStringLiteral(PLENDOR_DESIGNER_PLUGIN));
    ASSERT_TRUE(loader.load()) << loader.errorString().toStdString();
    auto *collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(loader.instance());
    ASSERT_TRUE(collection);
    const QList<QDesignerCustomWidgetInterface *> widgets = collection->customWidgets();
    ASSERT_EQ(widgets.size(), 1);
    QDesignerCustomWidgetInterface *w = widgets.front();
    EXPECT_EQ(w->name(), QStringLiteral("MireloColorBox"));
    EXPECT_EQ(w->includeFile(), QStringLiteral("controls/MireloColorBox.h"));
    EXPECT_FALSE(w->icon().isNull());
    EXPECT_TRUE(w->domXml().contains(QStringLiteral("class=\"MireloColorBox\"")));

    QWidget form;
    QWidget *created = w->createWidget(&form);
    ASSERT_TRUE(created);
    EXPECT_EQ(created->parentWidget(), &form);
    // The plugin carries its own copy of the class, so it is checked by name and properties.
    EXPECT_STREQ(created->metaObject()->className(), "MireloColorBox");
    // Designer offers the colours as colours and Qt's own font and enabled rows; the platform's
    // integer colours and duplicate rows stay properties for code, out of the editor.
    const auto property = [&](const char *name) {
        const int index = created->metaObject()->indexOfProperty(name);
        EXPECT_GE(index, 0) << name;
        return created->metaObject()->property(index);
    };
    for (const char *name : {"Palette", "PopupEnabled", "BackQColor", "ForeQColor", "SelectedQColor"}) {
        EXPECT_TRUE(property(name).isDesignable()) << name;
        EXPECT_TRUE(property(name).isWritable()) << name;
    }
    for (const char *name : {"BackQColor", "ForeQColor", "SelectedQColor"})
        EXPECT_EQ(property(name).metaType(), QMetaType::fromType<QColor>()) << name;
    for (const char *name : {"Font", "BackColor", "ForeColor", "Enabled", "SelectedColor"}) {
        EXPECT_FALSE(property(name).isDesignable()) << name;
        EXPECT_TRUE(property(name).isWritable()) << name;
    }
    for (const char *name : {"ActiveColor", "ActiveText", "Text"}) {
        const int index = created->metaObject()->indexOfProperty(name);
        ASSERT_GE(index, 0) << name;
        EXPECT_FALSE(created->metaObject()->property(index).isStored()) << name;
    }
    delete created;
}
#else
TEST(DesignerPlugin, OffersTheColourBoxWithItsProperties)
{
    GTEST_SKIP() << "built without Qt Designer's development files";
}
#endif

} // namespace
