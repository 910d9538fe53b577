// The one place where colour values (0x00BBGGRR, or 0x800000nn for a system colour) meet QColor.
#pragma once

#include "controls/MireloLibColor.h"

#include <QColor>
#include <QPalette>

namespace QtColors {

constexpr ColorValue kSystemColorFlag = 0x80000000u;
constexpr ColorValue kSystemWindow = kSystemColorFlag | 5;
constexpr ColorValue kSystemButtonText = kSystemColorFlag | 18;

bool IsSystemColor(ColorValue value);
// System colours are looked up in the palette (an unknown index gives the window text colour);
// any other high byte is ignored.
QColor ToQColor(ColorValue value, const QPalette &palette);
// The plain 0x00BBGGRR value a colour value shows as, system colours resolved.
ColorValue Resolve(ColorValue value, const QPalette &palette);
ColorValue FromQColor(const QColor &colour);

} // namespace QtColors
