// The picker's twelve palette modes: hue, luminance and grey tables, the grid each mode is shown
// in, the entries generated from them, and the luminance strip of the one-luminance modes.
#pragma once

#include "controls/MireloLibColor.h"

#include <QRect>
#include <QString>
#include <vector>

struct PaletteEntry {
    HSLValue HSL;
    ColorValue Color = 0;
    QString Name;
    bool IsHue = false;
    // The cell in the pop-up, in the pop-up's coordinates; set by the layout.
    QRect Cell;
};

struct PaletteGrid {
    int Columns = 0;
    int Rows = 0;
    int Cell = 0;
    int Spacing = 0;
};

namespace ColorPalette {

constexpr int kFirstMode = 0;
constexpr int kLastMode = 11;
constexpr int kStripCells = 8;

bool IsValidMode(int mode);
// Modes 6 to 11 have one luminance per hue and show the luminance strip.
bool HasLuminanceStrip(int mode);
PaletteGrid Grid(int mode);
// Hue by hue (each hue's luminances in table order), then the greys. Empty for an invalid mode.
std::vector<PaletteEntry> Build(int mode);

// Lighter and darker variants of the entry's hue (named with the luminance prefixes), or the greys
// when the entry is a grey: always kStripCells entries, lightest first.
std::vector<PaletteEntry> LuminanceStrip(const PaletteEntry &around);

} // namespace ColorPalette
