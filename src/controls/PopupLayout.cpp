#include "controls/PopupLayout.h"

#include <algorithm>

namespace PopupLayout {

namespace {
int pitch(const PaletteGrid &grid) { return grid.Cell + grid.Spacing; }
int span(int count, const PaletteGrid &grid) { return count > 0 ? count * pitch(grid) - grid.Spacing : 0; }
} // namespace

QSize GridSize(const PaletteGrid &grid) { return {span(grid.Columns, grid), span(grid.Rows, grid)}; }

QSize PopupSize(int mode)
{
    const PaletteGrid grid = ColorPalette::Grid(mode);
    QSize inner = GridSize(grid);
    if (ColorPalette::HasLuminanceStrip(mode)) {
        inner.rwidth() += kMargin + grid.Cell;
        inner.setHeight(std::max(inner.height(), span(ColorPalette::kStripCells, grid)));
    }
    return inner + QSize(2 * kMargin, 2 * kMargin);
}

void PlaceCells(const PaletteGrid &grid, std::vector<PaletteEntry> &entries)
{
    if (grid.Rows <= 0)
        return;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int column = int(i) / grid.Rows, row = int(i) % grid.Rows;
        entries[i].Cell = QRect(kMargin + column * pitch(grid), kMargin + row * pitch(grid), grid.Cell, grid.Cell);
    }
}

void PlaceStrip(const PaletteGrid &grid, std::vector<PaletteEntry> &strip)
{
    const int left = kMargin + GridSize(grid).width() + kMargin;
    for (std::size_t i = 0; i < strip.size(); ++i)
        strip[i].Cell = QRect(left, kMargin + int(i) * pitch(grid), grid.Cell, grid.Cell);
}

QPoint PlacePopup(const QRect &box, const QSize &popup, const QRect &screen)
{
    int x = box.left();
    int y = box.bottom() + 1;
    if (y + popup.height() > screen.bottom() + 1)
        y = box.top() - popup.height();
    if (x + popup.width() > screen.right() + 1)
        x = screen.right() + 1 - popup.width();
    // A box at the very corner (or partly off screen) must not push the pop-up off the other side.
    x = std::max(x, screen.left());
    y = std::clamp(y, screen.top(), std::max(screen.top(), screen.bottom() + 1 - popup.height()));
    return {x, y};
}

int EntryAt(const std::vector<PaletteEntry> &entries, const QPoint &point)
{
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].Cell.contains(point))
            return int(i);
    return -1;
}

} // namespace PopupLayout
