#include "controls/QtColors.h"

#include <array>

namespace QtColors {

namespace {

struct SystemRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The system colour indices of the classic window system, 0 to 30, by the role they play here.
constexpr std::array<SystemRole, 31> kSystemRoles = {{
    {QPalette::Active, QPalette::Button},          // scroll bar
    {QPalette::Active, QPalette::Window},          // desktop
    {QPalette::Active, QPalette::Highlight},       // active caption
    {QPalette::Inactive, QPalette::Mid},           // inactive caption
    {QPalette::Active, QPalette::Window},          // menu
    {QPalette::Active, QPalette::Base},            // window
    {QPalette::Active, QPalette::Shadow},          // window frame
    {QPalette::Active, QPalette::WindowText},      // menu text
    {QPalette::Active, QPalette::Text},            // window text
    {QPalette::Active, QPalette::HighlightedText}, // caption text
    {QPalette::Active, QPalette::Button},          // active border
    {QPalette::Inactive, QPalette::Button},        // inactive border
    {QPalette::Active, QPalette::Mid},             // application workspace
    {QPalette::Active, QPalette::Highlight},       // highlight
    {QPalette::Active, QPalette::HighlightedText}, // highlighted text
    {QPalette::Active, QPalette::Button},          // button face
    {QPalette::Active, QPalette::Mid},             // button shadow
    {QPalette::Disabled, QPalette::Text},          // grey text
    {QPalette::Active, QPalette::ButtonText},      // button text
    {QPalette::Disabled, QPalette::WindowText},    // inactive caption text
    {QPalette::Active, QPalette::Light},           // button highlight
    {QPalette::Active, QPalette::Shadow},          // 3D dark shadow
    {QPalette::Active, QPalette::Midlight},        // 3D light
    {QPalette::Active, QPalette::ToolTipText},     // info text
    {QPalette::Active, QPalette::ToolTipBase},     // info background
    {QPalette::Active, QPalette::Button},          // (unused index)
    {QPalette::Active, QPalette::Link},            // hot light
    {QPalette::Active, QPalette::Highlight},       // gradient active caption
    {QPalette::Inactive, QPalette::Mid},           // gradient inactive caption
    {QPalette::Active, QPalette::Highlight},       // menu highlight
    {QPalette::Active, QPalette::Window},          // menu bar
}};

} // namespace

bool IsSystemColor(ColorValue value) { return (value & 0xFF000000u) == kSystemColorFlag; }

QColor ToQColor(ColorValue value, const QPalette &palette)
{
    if (IsSystemColor(value)) {
        const ColorValue index = value & 0x00FFFFFFu;
        if (index < kSystemRoles.size())
            return palette.color(kSystemRoles[index].group, kSystemRoles[index].role);
        return palette.color(QPalette::Active, QPalette::WindowText);
    }
    return QColor(MireloLibColor::Red(value), MireloLibColor::Green(value), MireloLibColor::Blue(value));
}

ColorValue Resolve(ColorValue value, const QPalette &palette) { return FromQColor(ToQColor(value, palette)); }

ColorValue FromQColor(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return MireloLibColor::RGB(rgb.red(), rgb.green(), rgb.blue());
}

} // namespace QtColors
