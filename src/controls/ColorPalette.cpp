#include "controls/ColorPalette.h"

#include <span>

namespace ColorPalette {

namespace {

struct Named {
    int value;
    const char *name;
};

using List = std::span<const Named>;

constexpr Named kHues6[] = {{0, "Red"}, {40, "Yellow"}, {80, "Green"}, {120, "Cyan"}, {160, "Blue"}, {200, "Magenta"}};
constexpr Named kHues7[] = {{0, "Red"}, {20, "Orange"}, {40, "Yellow"}, {80, "Green"},
                            {120, "Cyan"}, {160, "Blue"}, {200, "Magenta"}};
constexpr Named kH15[] = {{0, "Red"}, {12, "Copper"}, {20, "Orange"}, {30, "Gold"}, {40, "Yellow"},
                          {60, "Lime"}, {80, "Green"}, {110, "Turquoise"}, {120, "Cyan"}, {130, "Teal"},
                          {160, "Blue"}, {180, "Lavender"}, {200, "Magenta"}, {210, "Fuschia"}, {220, "Pink"}};
constexpr Named kH23[] = {{0, "Red"}, {12, "Copper"}, {20, "Orange"}, {30, "Gold"}, {35, "Topaz"},
                          {40, "Yellow"}, {50, "Lemon"}, {60, "Lime"}, {80, "Green"}, {100, "Jade"},
                          {110, "Turquoise"}, {120, "Cyan"}, {125, "Aqua"}, {130, "Teal"}, {140, "Azure"},
                          {150, "Sapphire"}, {160, "Blue"}, {180, "Lavender"}, {190, "Violet"},
                          {200, "Magenta"}, {210, "Fuschia"}, {220, "Pink"}, {230, "Crimson"}};
constexpr Named kHues8[] = {{0, "Red"}, {20, "Orange"}, {40, "Yellow"}, {50, "Lemon"}, {80, "Green"},
                            {110, "Turquoise"}, {220, "Pink"}, {200, "Magenta"}, {160, "Blue"},
                            {130, "Teal"}, {120, "Cyan"}};
constexpr Named kHues9[] = {{0, "Red"}, {12, "Copper"}, {20, "Orange"}, {30, "Gold"}, {40, "Yellow"},
                            {60, "Lime"}, {80, "Green"}, {110, "Turquoise"}, {220, "Pink"}, {210, "Fuschia"},
                            {200, "Magenta"}, {180, "Lavender"}, {160, "Blue"}, {130, "Teal"}, {120, "Cyan"}};
constexpr Named kHues10[] = {{0, "Red"}, {12, "Copper"}, {20, "Orange"}, {30, "Gold"}, {35, "Topaz"},
                             {40, "Yellow"}, {50, "Lemon"}, {60, "Lime"}, {150, "Sapphire"}, {140, "Azure"},
                             {130, "Teal"}, {125, "Aqua"}, {120, "Cyan"}, {110, "Turquoise"}, {100, "Jade"},
                             {80, "Green"}, {160, "Blue"}, {180, "Lavender"}, {190, "Violet"},
                             {200, "Magenta"}, {210, "Fuschia"}, {220, "Pink"}, {230, "Crimson"}};
constexpr Named kHues11[] = {{0, "Red"}, {12, "Copper"}, {20, "Orange"}, {25, "Bronze"}, {30, "Gold"},
                             {35, "Topaz"}, {37, "Tourmaline"}, {40, "Yellow"}, {110, "Turquoise"},
                             {100, "Jade"}, {90, "Beryl"}, {80, "Green"}, {70, "Emerald"}, {60, "Lime"},
                             {50, "Lemon"}, {45, "Citrine"}, {120, "Cyan"}, {125, "Aqua"}, {130, "Teal"},
                             {140, "Azure"}, {150, "Sapphire"}, {160, "Blue"}, {170, "Indigo"},
                             {180, "Lavender"}, {230, "Crimson"}, {220, "Pink"}, {210, "Fuschia"},
                             {200, "Magenta"}, {195, "Cobalt"}, {190, "Violet"}, {185, "Amethyst"}};

constexpr Named kLums0[] = {{120, ""}, {60, "Dark "}};
constexpr Named kLums1[] = {{180, "Light "}, {120, ""}, {60, "Dark "}};
constexpr Named kL8[] = {{225, "Faint "}, {210, "Pale "}, {180, "Light "}, {120, ""},
                         {105, "Dense "}, {90, "Deep "}, {60, "Dark "}, {40, "Pitch "}};
constexpr Named kL10[] = {{225, "Faint "}, {210, "Pale "}, {180, "Light "}, {150, "Soft "}, {120, ""},
                          {105, "Dense "}, {90, "Deep "}, {75, "Murky "}, {60, "Dark "}, {40, "Pitch "}};
constexpr Named kOneLum[] = {{120, ""}};

constexpr Named kGreys0[] = {{240, "White"}, {120, "Grey"}, {180, "Chrome"}, {0, "Black"}};
constexpr Named kGreys1[] = {{240, "White"}, {180, "Chrome"}, {60, "Charcoal"},
                             {210, "Silver"}, {120, "Grey"}, {0, "Black"}};
constexpr Named kG8[] = {{240, "White"}, {210, "Silver"}, {180, "Chrome"}, {150, "Titanium"},
                         {120, "Grey"}, {90, "Dark Grey"}, {60, "Charcoal"}, {0, "Black"}};
constexpr Named kG10[] = {{240, "White"}, {210, "Silver"}, {180, "Chrome"}, {150, "Titanium"}, {120, "Grey"},
                          {90, "Dark Grey"}, {80, "Ebony"}, {60, "Charcoal"}, {30, "Pitch"}, {0, "Black"}};
constexpr Named kWhite[] = {{240, "White"}};

struct Mode {
    List hues, luminances, greys;
    PaletteGrid grid;
};

const Mode kModes[] = {
    {kHues6, kLums0, kGreys0, {8, 2, 14, 4}},
    {kHues7, kLums1, kGreys1, {9, 3, 12, 3}},
    {kHues7, kL8, kG8, {8, 8, 11, 2}},
    {kH15, kL8, kG8, {16, 8, 10, 2}},
    {kH23, kL8, kG8, {24, 8, 9, 2}},
    {kH23, kL10, kG10, {24, 10, 9, 2}},
    {kHues7, kOneLum, kWhite, {2, 4, 12, 3}},
    {kHues7, kOneLum, kWhite, {1, 8, 11, 2}},
    {kHues8, kOneLum, kWhite, {2, 6, 11, 2}},
    {kHues9, kOneLum, kWhite, {2, 8, 11, 2}},
    {kHues10, kOneLum, kWhite, {3, 8, 10, 2}},
    {kHues11, kOneLum, kWhite, {4, 8, 10, 2}},
};
static_assert(std::size(kModes) == kLastMode + 1);

constexpr int kFullSaturation = 240;

PaletteEntry makeEntry(int hue, int saturation, int luminance, QString name, bool isHue)
{
    PaletteEntry e;
    e.HSL = {hue, saturation, luminance};
    e.Color = MireloLibColor::HSLToRGB(e.HSL);
    e.Name = std::move(name);
    e.IsHue = isHue;
    return e;
}

QString hueName(int hue)
{
    for (const Named &h : kH23)
        if (h.value == hue)
            return QString::fromLatin1(h.name);
    for (const Named &h : kHues11)
        if (h.value == hue)
            return QString::fromLatin1(h.name);
    return {};
}

} // namespace

bool IsValidMode(int mode) { return mode >= kFirstMode && mode <= kLastMode; }
bool HasLuminanceStrip(int mode) { return mode >= 6 && mode <= kLastMode; }

PaletteGrid Grid(int mode) { return IsValidMode(mode) ? kModes[mode].grid : PaletteGrid{}; }

std::vector<PaletteEntry> Build(int mode)
{
    std::vector<PaletteEntry> entries;
    if (!IsValidMode(mode))
        return entries;
    const Mode &m = kModes[mode];
    entries.reserve(m.hues.size() * m.luminances.size() + m.greys.size());
    for (const Named &hue : m.hues)
        for (const Named &lum : m.luminances)
            entries.push_back(makeEntry(hue.value, kFullSaturation, lum.value,
                                        QString::fromLatin1(lum.name) + QString::fromLatin1(hue.name), true));
    for (const Named &grey : m.greys)
        entries.push_back(makeEntry(0, 0, grey.value, QString::fromLatin1(grey.name), false));
    return entries;
}

std::vector<PaletteEntry> LuminanceStrip(const PaletteEntry &around)
{
    std::vector<PaletteEntry> strip;
    strip.reserve(kStripCells);
    if (around.IsHue) {
        // Hue names come from the tables; a hue that none of them names keeps the entry's name.
        const int hue = around.HSL.Hue;
        QString name = hueName(hue);
        if (name.isEmpty())
            name = around.Name;
        for (const Named &lum : kL8)
            strip.push_back(makeEntry(hue, kFullSaturation, lum.value, QString::fromLatin1(lum.name) + name, true));
    } else {
        for (const Named &grey : kG8)
            strip.push_back(makeEntry(0, 0, grey.value, QString::fromLatin1(grey.name), false));
    }
    return strip;
}

} // namespace ColorPalette
