#include "controls/MireloColorBox.h"

#include "controls/MireloColorPopup.h"
#include "controls/PopupLayout.h"
#include "controls/QtColors.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <optional>

namespace {
constexpr int kArrowWidth = 16;
constexpr int kHoverInterval = 400;
} // namespace

MireloColorBox::MireloColorBox(QWidget *parent)
    : QWidget(parent), m_popup(std::make_unique<MireloColorPopup>(*this))
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_hoverTimer.setName(QStringLiteral("Hover Timer"));
    m_hoverTimer.setInterval(kHoverInterval);
    connect(&m_hoverTimer, &MireloTimer::OnTimer, this, &MireloColorBox::onHoverTick);
    buildPalette();
}

MireloColorBox::~MireloColorBox()
{
    m_hoverTimer.setEnabled(false);
    if (m_popup->isVisible())
        m_popup->releaseMouse();
}

void MireloColorBox::setBackColor(ColorValue colour)
{
    m_backColor = colour;
    update();
}

void MireloColorBox::setForeColor(ColorValue colour)
{
    m_foreColor = colour;
    update();
}

void MireloColorBox::setPaletteMode(int mode)
{
    if (!ColorPalette::IsValidMode(mode))
        return;
    if (isPopupOpen())
        closePopup();
    m_mode = mode;
    buildPalette();
    update();
}

void MireloColorBox::setPopupEnabled(bool enabled) { m_popupEnabled = enabled; }

void MireloColorBox::setSelectedColor(ColorValue colour)
{
    m_selectedColor = colour;
    findSelectedEntry();
    update();
    m_popup->update();
}

QColor MireloColorBox::BackQColor() const { return QtColors::ToQColor(m_backColor, palette()); }
void MireloColorBox::setBackQColor(const QColor &colour) { setBackColor(QtColors::FromQColor(colour)); }
QColor MireloColorBox::ForeQColor() const { return QtColors::ToQColor(m_foreColor, palette()); }
void MireloColorBox::setForeQColor(const QColor &colour) { setForeColor(QtColors::FromQColor(colour)); }
QColor MireloColorBox::SelectedQColor() const { return QtColors::ToQColor(m_selectedColor, palette()); }
void MireloColorBox::setSelectedQColor(const QColor &colour) { setSelectedColor(QtColors::FromQColor(colour)); }

ColorValue MireloColorBox::ActiveColor() const
{
    const PaletteEntry *e = entry(m_active);
    return e ? e->Color : 0;
}

QString MireloColorBox::ActiveText() const
{
    const PaletteEntry *e = entry(m_active);
    return e ? e->Name : QString();
}

void MireloColorBox::Refresh()
{
    update();
    if (isPopupOpen())
        m_popup->update();
}

void MireloColorBox::PaintMain() { repaint(); }

bool MireloColorBox::isPopupOpen() const { return m_popup->isVisible(); }
QWidget *MireloColorBox::popupWidget() const { return m_popup.get(); }

QSize MireloColorBox::sizeHint() const
{
    const QFontMetrics fm(font());
    const int h = std::max(fm.height() + 8, 20);
    return {h + fm.horizontalAdvance(QStringLiteral("Dark Magenta")) + kArrowWidth + 12, h};
}

QSize MireloColorBox::minimumSizeHint() const { return {sizeHint().height() + kArrowWidth, sizeHint().height()}; }

void MireloColorBox::buildPalette()
{
    m_active = {};
    m_entries = ColorPalette::Build(m_mode);
    const PaletteGrid grid = ColorPalette::Grid(m_mode);
    PopupLayout::PlaceCells(grid, m_entries);
    m_strip.clear();
    findSelectedEntry();
    if (ColorPalette::HasLuminanceStrip(m_mode) && !m_entries.empty())
        rebuildStrip(m_entries.front());
    m_popup->setFixedSize(PopupLayout::PopupSize(m_mode));
}

void MireloColorBox::findSelectedEntry()
{
    const ColorValue plain = QtColors::IsSystemColor(m_selectedColor) ? ~ColorValue{0} : m_selectedColor;
    const auto named = [&](const std::vector<PaletteEntry> &list, const QString &name) {
        return std::any_of(list.begin(), list.end(),
                           [&](const PaletteEntry &e) { return e.Color == plain && (name.isNull() || e.Name == name); });
    };
    // The entry chosen last keeps its name while it still holds the colour, in the grid or the strip.
    if (!m_selectedName.isEmpty() && (named(m_entries, m_selectedName) || named(m_strip, m_selectedName)))
        return;
    m_selectedName.clear();
    const auto nameIn = [&](const std::vector<PaletteEntry> &list) {
        for (const PaletteEntry &e : list)
            if (e.Color == plain) {
                m_selectedName = e.Name;
                return true;
            }
        return false;
    };
    if (nameIn(m_entries) || nameIn(m_strip) || !ColorPalette::HasLuminanceStrip(m_mode))
        return;
    // A shade that the strip of some hue of the mode offers.
    for (const PaletteEntry &hue : m_entries)
        if (hue.IsHue && nameIn(ColorPalette::LuminanceStrip(hue)))
            return;
}

void MireloColorBox::rebuildStrip(const PaletteEntry &around)
{
    if (!ColorPalette::HasLuminanceStrip(m_mode))
        return;
    m_strip = ColorPalette::LuminanceStrip(around);
    PopupLayout::PlaceStrip(ColorPalette::Grid(m_mode), m_strip);
    m_popup->update();
}

const PaletteEntry *MireloColorBox::entry(const EntryRef &ref) const
{
    const std::vector<PaletteEntry> *list = ref.where == EntryRef::Grid ? &m_entries
        : ref.where == EntryRef::Strip                                  ? &m_strip
                                                                        : nullptr;
    if (!list || ref.index < 0 || ref.index >= int(list->size()))
        return nullptr;
    return &(*list)[ref.index];
}

MireloColorBox::EntryRef MireloColorBox::entryAt(const QPoint &point) const
{
    if (const int i = PopupLayout::EntryAt(m_entries, point); i >= 0)
        return {EntryRef::Grid, i};
    if (const int i = PopupLayout::EntryAt(m_strip, point); i >= 0)
        return {EntryRef::Strip, i};
    return {};
}

void MireloColorBox::selectEntry(const PaletteEntry &chosen)
{
    if (chosen.Color == m_selectedColor)
        return;
    m_selectedColor = chosen.Color;
    m_selectedName = chosen.Name;
    update();
    emit Click();
}

void MireloColorBox::clickBox()
{
    if (m_popupEnabled) {
        if (isPopupOpen())
            closePopup();
        else
            openPopup();
        return;
    }
    if (isPopupOpen())
        closePopup();
    emit Popup();
}

void MireloColorBox::openPopup()
{
    if (m_entries.empty())
        return;
    // The strip opens on the selected colour's hue: kept when the selection came from it, else
    // the selected hue entry's, else the first hue's.
    auto isSelected = [this](const PaletteEntry &e) { return e.Color == m_selectedColor && e.Name == m_selectedName; };
    if (ColorPalette::HasLuminanceStrip(m_mode) && std::none_of(m_strip.begin(), m_strip.end(), isSelected)) {
        const PaletteEntry *around = &m_entries.front();
        for (const PaletteEntry &e : m_entries)
            if (isSelected(e) && e.IsHue)
                around = &e;
        rebuildStrip(*around);
    }
    m_active = {};
    const QRect box(mapToGlobal(QPoint(0, 0)), size());
    QScreen *shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect area = shown ? shown->availableGeometry() : QRect(box.topLeft(), m_popup->size());
    m_popup->move(PopupLayout::PlacePopup(box, m_popup->size(), area));
    m_popup->show();
    m_popup->raise();
    m_popup->update();
    m_popup->grabMouse();
    m_hoverTimer.setEnabled(true);
}

void MireloColorBox::closePopup()
{
    if (QWidget::mouseGrabber() == m_popup.get())
        m_popup->releaseMouse();
    m_popup->hide();
    m_hoverTimer.setEnabled(false);
}

void MireloColorBox::popupPressed(const QPoint &point)
{
    if (!isPopupOpen())
        return;
    if (!m_popup->rect().contains(point)) {
        closePopup();
        return;
    }
    const EntryRef under = entryAt(point);
    if (under.where == EntryRef::None || under == m_active)
        return;
    m_active = under;
    const PaletteEntry &e = *entry(under);
    if (under.where == EntryRef::Grid && e.IsHue && ColorPalette::HasLuminanceStrip(m_mode)
        && (m_strip.empty() || !m_strip.front().IsHue || m_strip.front().HSL.Hue != e.HSL.Hue))
        rebuildStrip(e);
    m_popup->update();
    emit Change(e.Color);
}

void MireloColorBox::popupReleased(const QPoint &point)
{
    if (!isPopupOpen())
        return;
    const EntryRef under = m_popup->rect().contains(point) ? entryAt(point) : EntryRef{};
    // Copied: closing and selecting may not keep the strip as it is.
    const PaletteEntry *e = entry(under);
    const std::optional<PaletteEntry> chosen = e ? std::optional<PaletteEntry>(*e) : std::nullopt;
    closePopup();
    if (chosen)
        selectEntry(*chosen);
}

void MireloColorBox::onHoverTick()
{
    const PaletteEntry *e = entry(m_active);
    if (!e || !isPopupOpen())
        return;
    const PaletteEntry around = *e;
    rebuildStrip(around);
}

void MireloColorBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QPalette &pal = palette();
    const QRect r = rect();
    p.fillRect(r, QtColors::ToQColor(m_backColor, pal));
    p.setPen(pal.color(hasFocus() ? QPalette::Highlight : QPalette::Mid));
    p.drawRect(r.adjusted(0, 0, -1, -1));

    const int side = std::max(0, r.height() - 8);
    const QRect swatch(4, 4, side, side);
    p.fillRect(swatch, QtColors::ToQColor(m_selectedColor, pal));
    p.setPen(pal.color(QPalette::Shadow));
    p.drawRect(swatch.adjusted(0, 0, -1, -1));

    const QRect arrow(r.right() - kArrowWidth, 0, kArrowWidth, r.height());
    QStyleOption option;
    option.initFrom(this);
    option.rect = arrow.adjusted(3, 0, -3, 0);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &p, this);

    const QRect textArea(swatch.right() + 6, 0, arrow.left() - swatch.right() - 8, r.height());
    p.setFont(font());
    p.setPen(isEnabled() ? QtColors::ToQColor(m_foreColor, pal) : pal.color(QPalette::Disabled, QPalette::Text));
    p.drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
               p.fontMetrics().elidedText(m_selectedName, Qt::ElideRight, textArea.width()));
}

void MireloColorBox::mousePressEvent(QMouseEvent *event)
{
    // A click is a press and a release both on the box; a release left over from a press that
    // closed the pop-up must not open it again.
    m_pressedInBox = event->button() == Qt::LeftButton;
    event->accept();
}

void MireloColorBox::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressedInBox && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressedInBox = false;
    event->accept();
    if (click)
        clickBox();
}

void MireloColorBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        emit DblClick();
}

void MireloColorBox::keyPressEvent(QKeyEvent *event)
{
    constexpr Qt::KeyboardModifiers chordKeys = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    if (event->key() == Qt::Key_Space && !(event->modifiers() & chordKeys)) {
        event->accept();
        if (!event->isAutoRepeat())
            clickBox();
        return;
    }
    // Escape is taken only while the pop-up is open, so it does not also close the host dialog.
    if (event->key() == Qt::Key_Escape && isPopupOpen()) {
        event->accept();
        closePopup();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool MireloColorBox::event(QEvent *event)
{
    // While the pop-up is open Escape belongs to it: asked first, the box takes it before any
    // Escape shortcut of the host (an action, a Cancel button) can close the host.
    if (event->type() == QEvent::ShortcutOverride && isPopupOpen()
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void MireloColorBox::focusOutEvent(QFocusEvent *event)
{
    // Focus gone elsewhere (Tab, a click in the host) closes the pop-up and frees the mouse.
    if (isPopupOpen())
        closePopup();
    QWidget::focusOutEvent(event);
}

void MireloColorBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled() && isPopupOpen())
        closePopup();
    QWidget::changeEvent(event);
}

void MireloColorBox::hideEvent(QHideEvent *event)
{
    if (isPopupOpen())
        closePopup();
    QWidget::hideEvent(event);
}
