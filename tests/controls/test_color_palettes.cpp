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

struct ModeRow {
    const char *name;
    int mode;
    int count;
    const char *first, *last;
    int hueCount;
};

const ModeRow kModes[] = {
    {"Mode0", 0, 16, "Red", "Black", 12},          {"Mode1", 1, 27, "Light Red", "Black", 21},
    {"Mode2", 2, 64, "Faint Red", "Black", 56},     {"Mode3", 3, 128, "Faint Red", "Black", 120},
    {"Mode4", 4, 192, "Faint Red", "Black", 184},   {"Mode5", 5, 240, "Faint Red", "Black", 230},
    {"Mode6", 6, 8, "Red", "White", 7},             {"Mode7", 7, 8, "Red", "White", 7},
    {"Mode8", 8, 12, "Red", "White", 11},           {"Mode9", 9, 16, "Red", "White", 15},
    {"Mode10", 10, 24, "Red", "White", 23},         {"Mode11", 11, 32, "Red", "White", 31},
};

struct Modes : testing::TestWithParam<ModeRow> {};

TEST_P(Modes, CountNamesAndGrid)
{
    const ModeRow &row = GetParam();
    const std::vector<PaletteEntry> entries = ColorPalette::Build(row.mode);
    const PaletteGrid grid = ColorPalette::Grid(row.mode);
    ASSERT_EQ(int(entries.size()), row.count);
    EXPECT_EQ(grid.Columns * grid.Rows, row.count);
    EXPECT_EQ(entries.front().Name, QString::fromLatin1(row.first));
    EXPECT_EQ(entries.back().Name, QString::fromLatin1(row.last));
    int hues = 0;
    for (const PaletteEntry &e : entries) {
        hues += e.IsHue;
        EXPECT_EQ(e.Color, MireloLibColor::HSLToRGB(e.HSL)) << e.Name.toStdString();
        EXPECT_EQ(e.HSL.Saturation, e.IsHue ? 240 : 0) << e.Name.toStdString();
    }
    EXPECT_EQ(hues, row.hueCount);
    // Hue colours first, greys after.
    EXPECT_TRUE(std::is_partitioned(entries.begin(), entries.end(), [](const PaletteEntry &e) { return e.IsHue; }));
    EXPECT_EQ(ColorPalette::HasLuminanceStrip(row.mode), row.mode >= 6);
}

INSTANTIATE_TEST_SUITE_P(All, Modes, testing::ValuesIn(kModes),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ColorPalette, ModeZeroInOrder)
{
    EXPECT_EQ(names(ColorPalette::Build(0)),
              QStringList({"Red", "Dark Red", "Yellow", "Dark Yellow", "Green", "Dark Green", "Cyan", "Dark Cyan",
                           "Blue", "Dark Blue", "Magenta", "Dark Magenta", "White", "Grey", "Chrome", "Black"}));
}

TEST(ColorPalette, ModeFiveStartsFaintPaleLight)
{
    const QStringList n = names(ColorPalette::Build(5));
    EXPECT_EQ(n.mid(0, 3), QStringList({"Faint Red", "Pale Red", "Light Red"}));
    EXPECT_EQ(n.mid(230), QStringList({"White", "Silver", "Chrome", "Titanium", "Grey", "Dark Grey", "Ebony",
                                       "Charcoal", "Pitch", "Black"}));
    EXPECT_EQ(n.at(10), QStringLiteral("Faint Copper"));
}

TEST(ColorPalette, ModesElevenAndTenKeepTheirOwnHueOrder)
{
    const QStringList eleven = names(ColorPalette::Build(11));
    EXPECT_EQ(eleven.mid(6, 4), QStringList({"Tourmaline", "Yellow", "Turquoise", "Jade"}));
    EXPECT_EQ(names(ColorPalette::Build(10)).mid(7, 3), QStringList({"Lime", "Sapphire", "Azure"}));
    EXPECT_EQ(names(ColorPalette::Build(8)).mid(5, 3), QStringList({"Turquoise", "Pink", "Magenta"}));
}

struct ColourRow {
    const char *name;
    int mode;
    const char *entry;
    ColorValue colour;
};

// Worked by hand from the tables and the conversion formulas.
const ColourRow kColours[] = {
    {"DarkRed", 0, "Dark Red", 0x000080},   {"Grey", 0, "Grey", 0x808080},
    {"Chrome", 0, "Chrome", 0xC0C0C0},      {"White", 0, "White", 0xFFFFFF},
    {"LightRed", 1, "Light Red", 0x8080FF}, {"Orange", 1, "Orange", 0x0080FF},
    {"FaintGreen", 2, "Faint Green", 0xE0FFE0}, {"PitchBlue", 2, "Pitch Blue", 0x550000},
    {"Ebony", 5, "Ebony", 0x555555},        {"Lemon", 8, "Lemon", 0x00FFC0},
};

struct Colours : testing::TestWithParam<ColourRow> {};

TEST_P(Colours, ByHand)
{
    const std::vector<PaletteEntry> entries = ColorPalette::Build(GetParam().mode);
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [](const PaletteEntry &e) { return e.Name == QString::fromLatin1(GetParam().entry); });
    ASSERT_NE(it, entries.end());
    EXPECT_EQ(it->Color, GetParam().colour);
}

INSTANTIATE_TEST_SUITE_P(Entries, Colours, testing::ValuesIn(kColours),
                         [](const auto &info) { return std::string(info.param.name); });

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
const SizeRow kSizes[] = {
    {"Mode0", 0, 8 + 140 + 8, 8 + 32 + 8},
    {"Mode5", 5, 8 + 24 * 11 - 2 + 8, 8 + 10 * 11 - 2 + 8},
    {"Mode6WithStrip", 6, 8 + 27 + 8 + 12 + 8, 8 + 117 + 8},
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
