#include "controls/demo/ColorBoxDemo.h"

#include "controls/ColorPalette.h"
#include "controls/MireloColorBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
QString colourText(const QString &name, uint value)
{
    const QString hex = QString::number(value, 16).toUpper().rightJustified(8, QLatin1Char('0'));
    return QStringLiteral("%1 0x%2").arg(name.isEmpty() ? QStringLiteral("-") : name, hex);
}
} // namespace

ColorBoxDemo::ColorBoxDemo(QWidget *parent)
    : QWidget(parent), m_box(new MireloColorBox(this)), m_palette(new QComboBox(this)),
      m_popupEnabled(new QCheckBox(QStringLiteral("允许弹出 (PopupEnabled)"), this)), m_lastEvent(new QLabel(this))
{
    setWindowTitle(QStringLiteral("MireloColorBox"));
    m_box->setObjectName(QStringLiteral("ctlColor"));
    m_palette->setObjectName(QStringLiteral("cmbPalette"));
    m_popupEnabled->setObjectName(QStringLiteral("chkPopupEnabled"));
    m_lastEvent->setObjectName(QStringLiteral("lblEvent"));

    for (int mode = ColorPalette::kFirstMode; mode <= ColorPalette::kLastMode; ++mode) {
        const PaletteGrid g = ColorPalette::Grid(mode);
        m_palette->addItem(QStringLiteral("%1  (%2 × %3)").arg(mode).arg(g.Columns).arg(g.Rows), mode);
    }
    m_popupEnabled->setChecked(true);
    m_lastEvent->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lastEvent->setMinimumWidth(420);
    m_lastEvent->setWordWrap(true);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("颜色 (Color)"), m_box);
    form->addRow(QStringLiteral("调色板 (Palette)"), m_palette);
    form->addRow(QString(), m_popupEnabled);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_lastEvent);
    layout->addStretch();

    connect(m_palette, &QComboBox::currentIndexChanged, this, [this] {
        m_box->setPaletteMode(m_palette->currentData().toInt());
        report(QStringLiteral("Palette %1").arg(m_box->Palette()));
    });
    connect(m_popupEnabled, &QCheckBox::toggled, m_box, &MireloColorBox::setPopupEnabled);
    connect(m_box, &MireloColorBox::Click, this, [this] { report(QStringLiteral("Click")); });
    connect(m_box, &MireloColorBox::DblClick, this, [this] { report(QStringLiteral("DblClick")); });
    connect(m_box, &MireloColorBox::Popup, this, [this] { report(QStringLiteral("Popup")); });
    connect(m_box, &MireloColorBox::Change, this, [this](uint active) {
        report(QStringLiteral("Change"), QStringLiteral("  active: %1").arg(colourText(m_box->ActiveText(), active)));
    });
    report(QStringLiteral("-"));
    m_box->setFocus();
}

void ColorBoxDemo::report(const QString &event, const QString &detail)
{
    m_lastEvent->setText(QStringLiteral("%1  selected: %2%3")
                             .arg(event, colourText(m_box->Text(), m_box->SelectedColor()), detail));
}
