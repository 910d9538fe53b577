#include "controls/MireloColorPopup.h"

#include "controls/MireloColorBox.h"
#include "controls/PopupLayout.h"
#include "controls/QtColors.h"

#include <QMouseEvent>
#include <QPainter>

MireloColorPopup::MireloColorPopup(MireloColorBox &box)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      m_box(box)
{
    // The host keeps the keyboard focus, so Space and Escape still reach the box.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setObjectName(QStringLiteral("picPopup"));
}

void MireloColorPopup::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::Shadow));
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    const QColor selectedMark = palette().color(QPalette::WindowText);
    const QColor activeMark = palette().color(QPalette::Highlight);
    const PaletteEntry *active = m_box.entry(m_box.m_active);
    auto drawCells = [&](const std::vector<PaletteEntry> &cells) {
        for (const PaletteEntry &e : cells) {
            // The cell itself is always the pure colour; marks go in the spacing around it.
            p.fillRect(e.Cell, QtColors::ToQColor(e.Color, palette()));
            const bool isActive = active == &e;
            const bool isSelected = e.Color == m_box.m_selectedColor && e.Name == m_box.m_selectedName;
            if (isActive || isSelected) {
                p.setPen(isActive ? activeMark : selectedMark);
                p.drawRect(e.Cell.adjusted(-1, -1, 0, 0));
            }
        }
    };
    drawCells(m_box.m_entries);
    if (!m_box.m_strip.empty()) {
        const int x = m_box.m_strip.front().Cell.left() - PopupLayout::kMargin / 2;
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(x, PopupLayout::kMargin, x, height() - PopupLayout::kMargin - 1);
        drawCells(m_box.m_strip);
    }
}

void MireloColorPopup::mousePressEvent(QMouseEvent *event)
{
    m_box.popupPressed(event->position().toPoint());
    event->accept();
}

void MireloColorPopup::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() != Qt::NoButton)
        m_box.popupPressed(event->position().toPoint());
    event->accept();
}

void MireloColorPopup::mouseReleaseEvent(QMouseEvent *event)
{
    m_box.popupReleased(event->position().toPoint());
    event->accept();
}
