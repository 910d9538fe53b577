#include "controls/ColorPalette.h"
#include "controls/PopupLayout.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

QStringList names(const std::vector<PaletteEntry> &entries)
{
    QStringList out;
    for (const PaletteEntry &e : entries)
        out << e.Name;
    return out;
}

// The palette tables as the control's documentation gives them, written out here so that a slip
// in the control's own tables (a hue, a name, a luminance, a cell size) shows.
struct Named {
    int value;
    const char *name;
};
using Names = std::vector<Named>;
const Names kTableH7 = {{0, "Red"}, {20, "Orange"}, {40, "Yellow"}, {80, "Green"}, {120, "Cyan"}, {160, "Blue"}, {200, "Magenta"}};
const Names kTableH15 = {{0, "Red"}, {12, "Copper"}, {20, "Orange"}, {30, "Gold"}, {40, "Yellow"}, {60, "Lime"},
                         {80, "Green"}, {110, "Turquoise"}, {120, "Cyan"}, {130, "Teal"}, {160, "Blue"},
                         {180, "Lavender"}, {200, "Magenta"}, {210, "Fuschia"}, {220, "Pink"}};
const Names kTableH23 = {{0, "Red"}, {12, "Copper"}, {20, "Orange"}, {30, "Gold"}, {35, "Topaz"}, {40, "Yellow"},
                         {50, "Lemon"}, {60, "Lime"}, {80, "Green"}, {100, "Jade"}, {110, "Turquoise"},
                         {120, "Cyan"}, {125, "Aqua"}, {130, "Teal"}, {140, "Azure"}, {150, "Sapphire"},
                         {160, "Blue"}, {180, "Lavender"}, {190, "Violet"}, {200, "Magenta"}, {210, "Fuschia"},
                         {220, "Pink"}, {230, "Crimson"}};
const Names kTableL8 = {{225, "Faint "}, {210, "Pale "}, {180, "Light "}, {120, ""},
                        {105, "Dense "}, {90, "Deep "}, {60, "Dark "}, {40, "Pitch "}};
const Names kTableL10 = {{225, "Faint "}, {210, "Pale "}, {180, "Light "}, {150, "Soft "}, {120, ""},
                         {105, "Dense "}, {90, "Deep "}, {75, "Murky "}, {60, "Dark "}, {40, "Pitch "}};
const Names kTableG8 = {{240, "White"}, {210, "Silver"}, {180, "Chrome"}, {150, "Titanium"},
                        {120, "Grey"}, {90, "Dark Grey"}, {60, "Charcoal"}, {0, "Black"}};
const Names kTableG10 = {{240, "White"}, {210, "Silver"}, {180, "Chrome"}, {150, "Titanium"}, {120, "Grey"},
                         {90, "Dark Grey"}, {80, "Ebony"}, {60, "Charcoal"}, {30, "Pitch"}, {0, "Black"}};
const Names kTableOne = {{120, ""}};
const Names kTableWhite = {{240, "White"}};

struct TableMode {
    Names hues, luminances, greys;
    int columns, rows, cell, spacing;
};
const TableMode kTableModes[] = {
    {{{0, "Red"}, {40, "Yellow"}, {80, "Green"}, {120, "Cyan"}, {160, "Blue"}, {200, "Magenta"}},
     {{120, ""}, {60, "Dark "}}, {{240, "White"}, {120, "Grey"}, {180, "Chrome"}, {0, "Black"}}, 8, 2, 14, 4},
    {kTableH7, {{180, "Light "}, {120, ""}, {60, "Dark "}},
     {{240, "White"}, {180, "Chrome"}, {60, "Charcoal"}, {210, "Silver"}, {120, "Grey"}, {0, "Black"}}, 9, 3, 12, 3},
    {kTableH7, kTableL8, kTableG8, 8, 8, 11, 2},
    {kTableH15, kTableL8, kTableG8, 16, 8, 10, 2},
    {kTableH23, kTableL8, kTableG8, 24, 8, 9, 2},
    {kTableH23, kTableL10, kTableG10, 24, 10, 9, 2},
    {kTableH7, kTableOne, kTableWhite, 2, 4, 12, 3},
    {kTableH7, kTableOne, kTableWhite, 1, 8, 11, 2},
    {{{0, "Red"}, {20, "Orange"}, {40, "Yellow"}, {50, "Lemon"}, {80, "Green"}, {110, "Turquoise"}, {220, "Pink"},
      {200, "Magenta"}, {160, "Blue"}, {130, "Teal"}, {120, "Cyan"}},
     kTableOne, kTableWhite, 2, 6, 11, 2},
    {{{0, "Red"}, {12, "Copper"}, {20, "Orange"}, {30, "Gold"}, {40, "Yellow"}, {60, "Lime"}, {80, "Green"},
      {110, "Turquoise"}, {220, "Pink"}, {210, "Fuschia"}, {200, "Magenta"}, {180, "Lavender"}, {160, "Blue"},
      {130, "Teal"}, {120, "Cyan"}},
     kTableOne, kTableWhite, 2, 8, 11, 2},
    {{{0, "Red"}, {12, "Copper"}, {20, "Orange"}, {30, "Gold"}, {35, "Topaz"}, {40, "Yellow"}, {50, "Lemon"},
      {60, "Lime"}, {150, "Sapphire"}, {140, "Azure"}, {130, "Teal"}, {125, "Aqua"}, {120, "Cyan"},
      {110, "Turquoise"}, {100, "Jade"}, {80, "Green"}, {160, "Blue"}, {180, "Lavender"}, {190, "Violet"},
      {200, "Magenta"}, {210, "Fuschia"}, {220, "Pink"}, {230, "Crimson"}},
     kTableOne, kTableWhite, 3, 8, 10, 2},
    {{{0, "Red"}, {12, "Copper"}, {20, "Orange"}, {25, "Bronze"}, {30, "Gold"}, {35, "Topaz"}, {37, "Tourmaline"},
      {40, "Yellow"}, {110, "Turquoise"}, {100, "Jade"}, {90, "Beryl"}, {80, "Green"}, {70, "Emerald"},
      {60, "Lime"}, {50, "Lemon"}, {45, "Citrine"}, {120, "Cyan"}, {125, "Aqua"}, {130, "Teal"}, {140, "Azure"},
      {150, "Sapphire"}, {160, "Blue"}, {170, "Indigo"}, {180, "Lavender"}, {230, "Crimson"}, {220, "Pink"},
      {210, "Fuschia"}, {200, "Magenta"}, {195, "Cobalt"}, {190, "Violet"}, {185, "Amethyst"}},
     kTableOne, kTableWhite, 4, 8, 10, 2},
};

class PaletteTables : public testing::TestWithParam<int> {};

TEST_P(PaletteTables, EveryEntryAndTheGrid)
{
    const int mode = GetParam();
    const TableMode &table = kTableModes[mode];
    const PaletteGrid grid = ColorPalette::Grid(mode);
    EXPECT_EQ(grid.Columns, table.columns);
    EXPECT_EQ(grid.Rows, table.rows);
    EXPECT_EQ(grid.Cell, table.cell);
    EXPECT_EQ(grid.Spacing, table.spacing);
    EXPECT_EQ(ColorPalette::HasLuminanceStrip(mode), mode >= 6);

    struct Expected { QString name; HSLValue hsl; bool isHue; };
    std::vector<Expected> expected;
    for (const Named &hue : table.hues)
        for (const Named &lum : table.luminances)
            expected.push_back({QString::fromLatin1(lum.name) + QString::fromLatin1(hue.name), {hue.value, 240, lum.value}, true});
    for (const Named &grey : table.greys)
        expected.push_back({QString::fromLatin1(grey.name), {0, 0, grey.value}, false});
    ASSERT_EQ(int(expected.size()), table.columns * table.rows);

    const std::vector<PaletteEntry> entries = ColorPalette::Build(mode);
    ASSERT_EQ(entries.size(), expected.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string where = "entry " + std::to_string(i) + " " + expected[i].name.toStdString();
        EXPECT_EQ(entries[i].Name, expected[i].name) << where;
        EXPECT_EQ(entries[i].HSL.Hue, expected[i].hsl.Hue) << where;
        EXPECT_EQ(entries[i].HSL.Luminance, expected[i].hsl.Luminance) << where;
        EXPECT_EQ(entries[i].HSL.Saturation, expected[i].hsl.Saturation) << where;
        EXPECT_EQ(entries[i].IsHue, expected[i].isHue) << where;
        EXPECT_EQ(entries[i].Color, MireloLibColor::HSLToRGB(expected[i].hsl)) << where;
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, PaletteTables, testing::Range(0, 12),
                         [](const auto &info) { return "Mode" + std::to_string(info.param); });

TEST(ColorPalette, InvalidModesGiveNothing)
{
    EXPECT_TRUE(ColorPalette::Build(-1).empty());
    EXPECT_TRUE(ColorPalette::Build(12).empty());
    EXPECT_EQ(ColorPalette::Grid(12).Columns, 0);
}

TEST(ColorPalette, StripIsLuminanceVariantsOrGreys)
{
    PaletteEntry lime;
    lime.HSL = {60, 240, 120};
    lime.IsHue = true;
    lime.Name = QStringLiteral("Lime");
    const std::vector<PaletteEntry> strip = ColorPalette::LuminanceStrip(lime);
    EXPECT_EQ(names(strip), QStringList({"Faint Lime", "Pale Lime", "Light Lime", "Lime", "Dense Lime", "Deep Lime",
                                         "Dark Lime", "Pitch Lime"}));
    for (const PaletteEntry &e : strip)
        EXPECT_EQ(e.HSL.Hue, 60);
    const std::vector<PaletteEntry> greys = ColorPalette::LuminanceStrip(ColorPalette::Build(6).back());
    EXPECT_EQ(names(greys), QStringList({"White", "Silver", "Chrome", "Titanium", "Grey", "Dark Grey", "Charcoal",
                                         "Black"}));
}

struct SizeRow {
    const char *name;
    int mode;
    int width, height;
};

// Grid span = n * (cell + spacing) - spacing, 8-pixel margins; modes 6-11 add the strip column.
// (Modes 0 and 6 are the sizes the colour box tests open.)
const SizeRow kSizes[] = {
    {"Mode5", 5, 8 + 24 * 11 - 2 + 8, 8 + 10 * 11 - 2 + 8},
    {"Mode11WithStrip", 11, 8 + 46 + 8 + 10 + 8, 8 + 94 + 8},
};

struct Sizes : testing::TestWithParam<SizeRow> {};

TEST_P(Sizes, PopupSize)
{
    EXPECT_EQ(PopupLayout::PopupSize(GetParam().mode), QSize(GetParam().width, GetParam().height));
}

INSTANTIATE_TEST_SUITE_P(Modes, Sizes, testing::ValuesIn(kSizes),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(PopupLayout, CellsRunDownColumnsAndHitTestsFindThem)
{
    std::vector<PaletteEntry> entries = ColorPalette::Build(0);
    const PaletteGrid grid = ColorPalette::Grid(0);
    PopupLayout::PlaceCells(grid, entries);
    EXPECT_EQ(entries[0].Cell, QRect(8, 8, 14, 14));
    EXPECT_EQ(entries[1].Cell, QRect(8, 26, 14, 14)) << "Dark Red under Red";
    EXPECT_EQ(entries[2].Cell, QRect(26, 8, 14, 14));
    EXPECT_EQ(entries.back().Cell, QRect(8 + 7 * 18, 26, 14, 14));
    EXPECT_EQ(PopupLayout::EntryAt(entries, QPoint(8, 8)), 0);
    EXPECT_EQ(PopupLayout::EntryAt(entries, QPoint(21, 21)), 0);
    EXPECT_EQ(PopupLayout::EntryAt(entries, QPoint(23, 8)), -1) << "spacing";
    EXPECT_EQ(PopupLayout::EntryAt(entries, QPoint(2, 2)), -1) << "margin";
}

struct PlaceRow {
    const char *name;
    QRect box;
    QSize popup;
    QPoint expected;
};

const QRect kScreen(0, 0, 800, 600);

const PlaceRow kPlaces[] = {
    {"Below", QRect(100, 100, 120, 20), QSize(150, 50), QPoint(100, 120)},
    {"JustFitsBelow", QRect(100, 530, 120, 20), QSize(150, 50), QPoint(100, 550)},
    {"AboveNearBottom", QRect(100, 531, 120, 20), QSize(150, 50), QPoint(100, 481)},
    {"ShiftedAtRightEdge", QRect(700, 100, 90, 20), QSize(150, 50), QPoint(650, 120)},
    {"BottomRightCorner", QRect(780, 580, 20, 20), QSize(150, 50), QPoint(650, 530)},
    {"TopLeftCornerPartlyOff", QRect(-30, -10, 60, 20), QSize(150, 50), QPoint(0, 10)},
    {"TallerThanRoomEitherWay", QRect(100, 290, 120, 20), QSize(150, 400), QPoint(100, 0)},
};

struct Places : testing::TestWithParam<PlaceRow> {};

TEST_P(Places, OnScreen)
{
    const PlaceRow &row = GetParam();
    const QPoint at = PopupLayout::PlacePopup(row.box, row.popup, kScreen);
    EXPECT_EQ(at, row.expected);
    EXPECT_TRUE(kScreen.contains(QRect(at, row.popup)));
}

INSTANTIATE_TEST_SUITE_P(Rows, Places, testing::ValuesIn(kPlaces),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(PopupLayout, OffsetScreenOfASecondMonitor)
{
    const QRect second(1920, 0, 1280, 1024);
    EXPECT_EQ(PopupLayout::PlacePopup(QRect(3150, 1000, 40, 20), QSize(100, 60), second), QPoint(3100, 940));
}

} // namespace
