#include "controls/designer/PlendorControlsPlugin.h"

#include "controls/MireloColorBox.h"

#include <QIcon>
#include <QMetaClassInfo>
#include <QPainter>
#include <QPixmap>

MireloColorBoxPlugin::MireloColorBoxPlugin(QObject *parent) : QObject(parent) {}

QString MireloColorBoxPlugin::name() const { return QStringLiteral("MireloColorBox"); }
QString MireloColorBoxPlugin::group() const { return QStringLiteral("Plendor"); }
QString MireloColorBoxPlugin::toolTip() const { return QStringLiteral("Drop-down colour picker with named palettes"); }

QString MireloColorBoxPlugin::whatsThis() const
{
    return QStringLiteral("A closed box showing the selected colour and its name; a click opens a grid of named "
                          "colours. Palette: %1")
        .arg(QString::fromLatin1(MireloColorBox::staticMetaObject.classInfo(
                                                    MireloColorBox::staticMetaObject.indexOfClassInfo("Palette"))
                                     .value()));
}

QString MireloColorBoxPlugin::includeFile() const { return QStringLiteral("controls/MireloColorBox.h"); }

QIcon MireloColorBoxPlugin::icon() const
{
    // Four swatches of the first palette, drawn rather than shipped as a file.
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.fillRect(0, 0, 8, 8, Qt::red);
    p.fillRect(8, 0, 8, 8, Qt::yellow);
    p.fillRect(0, 8, 8, 8, Qt::green);
    p.fillRect(8, 8, 8, 8, Qt::blue);
    return QIcon(pixmap);
}

bool MireloColorBoxPlugin::isContainer() const { return false; }
QWidget *MireloColorBoxPlugin::createWidget(QWidget *parent) { return new MireloColorBox(parent); }
bool MireloColorBoxPlugin::isInitialized() const { return m_initialized; }
void MireloColorBoxPlugin::initialize(QDesignerFormEditorInterface *) { m_initialized = true; }

QString MireloColorBoxPlugin::domXml() const
{
    return QStringLiteral(R"(<ui language="c++">
 <widget class="MireloColorBox" name="ctlColor">
  <property name="geometry">
   <rect><x>0</x><y>0</y><width>140</width><height>24</height></rect>
  </property>
 </widget>
</ui>
)");
}

PlendorControlsPlugin::PlendorControlsPlugin(QObject *parent) : QObject(parent)
{
    m_widgets.append(new MireloColorBoxPlugin(this));
}

QList<QDesignerCustomWidgetInterface *> PlendorControlsPlugin::customWidgets() const { return m_widgets; }
