// Geometry of the colour pop-up: cell rectangles (column by column, each hue's luminances down one
// column), the luminance strip to the right of the grid, the pop-up's size and its place on screen.
#pragma once

#include "controls/ColorPalette.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

namespace PopupLayout {

constexpr int kMargin = 8;

QSize GridSize(const PaletteGrid &grid);
QSize PopupSize(int mode);
// Sets each entry's Cell, in pop-up coordinates.
void PlaceCells(const PaletteGrid &grid, std::vector<PaletteEntry> &entries);
void PlaceStrip(const PaletteGrid &grid, std::vector<PaletteEntry> &strip);

// Below the box, or above it when the screen's bottom is in the way; moved left to end at the
// screen's right edge; and always kept inside the screen where it fits.
QPoint PlacePopup(const QRect &boxOnScreen, const QSize &popup, const QRect &screen);

// Index of the entry whose cell holds the point, or -1.
int EntryAt(const std::vector<PaletteEntry> &entries, const QPoint &point);

} // namespace PopupLayout
