#include "controls/MireloLibColor.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace MireloLibColor;

namespace {

struct HslRow {
    const char *name;
    ColorValue colour;
    HSLValue hsl;
};

// Colours whose HSL value and RGB value map onto each other exactly, both ways.
const HslRow kBothWays[] = {
    {"Red", 0x0000FF, {0, 240, 120}},
    {"Yellow", 0x00FFFF, {40, 240, 120}},
    {"Green", 0x00FF00, {80, 240, 120}},
    {"Cyan", 0xFFFF00, {120, 240, 120}},
    {"Blue", 0xFF0000, {160, 240, 120}},
    {"Magenta", 0xFF00FF, {200, 240, 120}},
    {"Black", 0x000000, {0, 0, 0}},
};

struct BothWays : testing::TestWithParam<HslRow> {};

TEST_P(BothWays, RgbToHslAndBack)
{
    EXPECT_EQ(RGBToHSL(GetParam().colour), GetParam().hsl);
    EXPECT_EQ(HSLToRGB(GetParam().hsl), GetParam().colour);
}

INSTANTIATE_TEST_SUITE_P(Primaries, BothWays, testing::ValuesIn(kBothWays),
                         [](const auto &info) { return std::string(info.param.name); });

// One direction only: the formulas' own roundings, checked by hand.
const HslRow kToRgb[] = {
    {"WhiteCappedAt255", 0xFFFFFF, {0, 0, 240}},
    {"WhiteWhateverTheHue", 0xFFFFFF, {123, 0, 240}},
    {"GreyIs128", 0x808080, {0, 0, 120}},
    {"ChromeIs192", 0xC0C0C0, {0, 0, 180}},
    {"DarkRed", 0x000080, {0, 240, 60}},
    {"LightRed", 0x8080FF, {0, 240, 180}},
    {"OrangeHalfWayUp", 0x0080FF, {20, 240, 120}},
    {"PitchBlue", 0x550000, {160, 240, 40}},
    {"FaintGreen", 0xE0FFE0, {80, 240, 225}},
    {"HueAbove240WrapsOnce", 0x00FFFF, {280, 240, 120}},
    {"NegativeHueWrapsOnce", 0xFF00FF, {-40, 240, 120}},
    {"LuminanceBeyondScaleCapped", 0xFFFFFF, {0, 240, 300}},
    {"NegativeLuminanceGivesBlack", 0x000000, {0, 240, -50}},
};

struct ToRgb : testing::TestWithParam<HslRow> {};

TEST_P(ToRgb, GivesColour) { EXPECT_EQ(HSLToRGB(GetParam().hsl), GetParam().colour); }

INSTANTIATE_TEST_SUITE_P(HandChecked, ToRgb, testing::ValuesIn(kToRgb),
                         [](const auto &info) { return std::string(info.param.name); });

const HslRow kToHsl[] = {
    {"WhiteIs239OnThe256Scale", 0xFFFFFF, {0, 0, 239}},
    // (24 + 24) / 512 * 240 = 22.5: halves go to even.
    {"LuminanceHalfToEven", 0x181818, {0, 0, 22}},
    {"LuminanceHalfToEvenUp", 0x080808, {0, 0, 8}},
    // (121 - 71) / (121 + 71) * 240 = 62.5 exactly.
    {"SaturationHalfToEven", 0x794747, {160, 62, 90}},
    {"LightSideSaturation", 0xC0C0FF, {0, 233, 210}},
    {"HueBelowZeroWraps", 0x8000FF, {220, 240, 120}},
    // Bit 24 (palette-index colours) is not part of the green part.
    {"HighBitsIgnored", 0x0100FF00, {80, 240, 120}},
};

struct ToHsl : testing::TestWithParam<HslRow> {};

TEST_P(ToHsl, GivesHsl) { EXPECT_EQ(RGBToHSL(GetParam().colour), GetParam().hsl); }

INSTANTIATE_TEST_SUITE_P(HandChecked, ToHsl, testing::ValuesIn(kToHsl),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(MireloLibColor, PartsUseTheirOwnBytes)
{
    EXPECT_EQ(Red(0x00332211), 0x11);
    EXPECT_EQ(Green(0x00332211), 0x22);
    EXPECT_EQ(Blue(0x00332211), 0x33);
    EXPECT_EQ(Green(0x0133FF11), 0xFF) << "bit 24 would make green 65791";
    EXPECT_EQ(RGB(300, -4, 17), ColorValue(0x1100FF));
}

TEST(MireloLibColor, LargestAndSmallest)
{
    EXPECT_EQ(Largest({3, 9, -1}), 9);
    EXPECT_EQ(Smallest({3, 9, -1}), -1);
    EXPECT_EQ(Largest({7}), 7);
    EXPECT_EQ(Smallest({}), 0);
}

struct QuotientRow {
    const char *name;
    long long numerator, denominator, rounded;
};

const QuotientRow kQuotients[] = {
    {"HalfDownToEven", 5, 2, 2},     {"HalfUpToEven", 7, 2, 4},       {"BelowHalf", 12, 10, 1},
    {"AboveHalf", 16, 10, 2},        {"NegativeHalf", -5, 2, -2},     {"NegativeHalfUp", -3, 2, -2},
    {"NegativeDenominator", 5, -2, -2}, {"Exact", 480, 240, 2},
};

struct Quotient : testing::TestWithParam<QuotientRow> {};

TEST_P(Quotient, RoundsToNearestHalvesToEven)
{
    EXPECT_EQ(RoundQuotient(GetParam().numerator, GetParam().denominator), GetParam().rounded);
}

INSTANTIATE_TEST_SUITE_P(Rows, Quotient, testing::ValuesIn(kQuotients),
                         [](const auto &info) { return std::string(info.param.name); });

struct HueRow {
    const char *name;
    int m1, m2, hue, part;
};

const HueRow kHues[] = {
    {"StartOfRise", 0, 240, 0, 0},         {"MidRise", 0, 240, 20, 120},        {"PlateauStart", 0, 240, 40, 240},
    {"PlateauEnd", 0, 240, 119, 240},      {"Fall", 0, 240, 140, 120},          {"Floor", 0, 240, 160, 0},
    {"Full240IsFloor", 0, 240, 240, 0},    {"NegativeWraps", 0, 240, -200, 240}, {"Above240Wraps", 0, 240, 260, 120},
    {"RiseHalfToEvenDown", 0, 1, 20, 0},   {"RiseHalfToEvenUp", 0, 3, 20, 2},
    // m2 - m1 does not fit an int.
    {"WidestRise", INT_MIN, INT_MAX, 20, 0}, {"WidestPlateau", INT_MIN, INT_MAX, 60, INT_MAX},
    {"MostNegativeHue", 0, 240, INT_MIN, 240},
};

// Absurd inputs give a defined colour: the formulas run in 64 bits and the parts are capped.
const HslRow kAbsurd[] = {
    {"SaturationIntMaxIsPureRed", 0x0000FF, {0, INT_MAX, 120}},
    {"SaturationIntMaxOnGreen", 0x00FF00, {80, INT_MAX, 120}},
    {"SaturationIntMinInvertsTheHue", 0xFFFF00, {0, INT_MIN, 120}},
    {"GreyAtLuminanceIntMaxIsWhite", 0xFFFFFF, {0, 0, INT_MAX}},
    {"GreyAtLuminanceIntMinIsBlack", 0x000000, {0, 0, INT_MIN}},
    {"HueIntMaxTurnsToHue127", 0xFFD300, {INT_MAX, 240, 120}},
    {"HueIntMinTurnsToHue112", 0xCDFF00, {INT_MIN, 240, 120}},
    {"EverythingIntMax", 0x0000FF, {INT_MAX, INT_MAX, INT_MAX}},
    {"EverythingIntMin", 0xFFFF00, {INT_MIN, INT_MIN, INT_MIN}},
};

struct Absurd : testing::TestWithParam<HslRow> {};

TEST_P(Absurd, GivesADefinedColour) { EXPECT_EQ(HSLToRGB(GetParam().hsl), GetParam().colour); }

INSTANTIATE_TEST_SUITE_P(Rows, Absurd, testing::ValuesIn(kAbsurd),
                         [](const auto &info) { return std::string(info.param.name); });

struct Hue : testing::TestWithParam<HueRow> {};

TEST_P(Hue, Component) { EXPECT_EQ(HueToRGB(GetParam().m1, GetParam().m2, GetParam().hue), GetParam().part); }

INSTANTIATE_TEST_SUITE_P(Rows, Hue, testing::ValuesIn(kHues),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(MireloLibColor, EveryGreyHasNoHueNorSaturation)
{
    for (int v = 0; v <= 255; ++v) {
        const HSLValue hsl = RGBToHSL(RGB(v, v, v));
        EXPECT_EQ(hsl.Hue, 0) << v;
        EXPECT_EQ(hsl.Saturation, 0) << v;
        EXPECT_EQ(hsl.Luminance, RoundQuotient(2LL * v * 240, 512)) << v;
    }
    for (int l = 0; l <= 240; ++l) {
        const ColorValue c = HSLToRGB({0, 0, l});
        const int expected = std::min(255, int(RoundQuotient(l * 256LL, 240)));
        EXPECT_EQ(Red(c), expected) << l;
        EXPECT_EQ(Green(c), expected) << l;
        EXPECT_EQ(Blue(c), expected) << l;
    }
}

// RGB -> HSL -> RGB loses at most 5 per part; every one of the 16,777,216 colours was checked
// once to find that bound, and the grid here keeps it.
TEST(MireloLibColor, RoundTripStaysWithinFive)
{
    int worst = 0;
    for (int r = 0; r <= 255; r += 3)
        for (int g = 0; g <= 255; g += 3)
            for (int b = 0; b <= 255; b += 3) {
                const ColorValue back = HSLToRGB(RGBToHSL(RGB(r, g, b)));
                const int diff = std::max({std::abs(Red(back) - r), std::abs(Green(back) - g), std::abs(Blue(back) - b)});
                ASSERT_LE(diff, 5) << r << "," << g << "," << b;
                worst = std::max(worst, diff);
            }
    EXPECT_GE(worst, 4) << "the grid should reach near the bound";
}

} // namespace
