#include "controls/MireloLibColor.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace MireloLibColor;

namespace {

enum class Way { Both, ToRgb, ToHsl };
struct HslRow {
    const char *name;
    ColorValue colour;
    HSLValue hsl;
    Way way;
};

// Both ways: colours whose HSL and RGB values map onto each other exactly. One way: the
// formulas' own roundings, checked by hand (the greys are checked whole further down).
const HslRow kHsl[] = {
    {"Red", 0x0000FF, {0, 240, 120}, Way::Both},
    {"Yellow", 0x00FFFF, {40, 240, 120}, Way::Both},
    {"Green", 0x00FF00, {80, 240, 120}, Way::Both},
    {"Cyan", 0xFFFF00, {120, 240, 120}, Way::Both},
    {"Blue", 0xFF0000, {160, 240, 120}, Way::Both},
    {"Magenta", 0xFF00FF, {200, 240, 120}, Way::Both},
    {"WhiteWhateverTheHue", 0xFFFFFF, {123, 0, 240}, Way::ToRgb},
    {"DarkRed", 0x000080, {0, 240, 60}, Way::ToRgb},
    {"LightRed", 0x8080FF, {0, 240, 180}, Way::ToRgb},
    {"OrangeHalfWayUp", 0x0080FF, {20, 240, 120}, Way::ToRgb},
    {"LemonHalfWayUp", 0x00FFC0, {50, 240, 120}, Way::ToRgb},
    {"PitchBlue", 0x550000, {160, 240, 40}, Way::ToRgb},
    {"FaintGreen", 0xE0FFE0, {80, 240, 225}, Way::ToRgb},
    {"HueAbove240WrapsOnce", 0x00FFFF, {280, 240, 120}, Way::ToRgb},
    {"NegativeHueWrapsOnce", 0xFF00FF, {-40, 240, 120}, Way::ToRgb},
    {"LuminanceBeyondScaleCapped", 0xFFFFFF, {0, 240, 300}, Way::ToRgb},
    {"NegativeLuminanceGivesBlack", 0x000000, {0, 240, -50}, Way::ToRgb},
    // Absurd inputs give a defined colour: the formulas run in 64 bits and the parts are capped.
    {"SaturationIntMaxIsPureRed", 0x0000FF, {0, INT_MAX, 120}, Way::ToRgb},
    {"SaturationIntMaxOnGreen", 0x00FF00, {80, INT_MAX, 120}, Way::ToRgb},
    {"SaturationIntMinInvertsTheHue", 0xFFFF00, {0, INT_MIN, 120}, Way::ToRgb},
    {"GreyAtLuminanceIntMaxIsWhite", 0xFFFFFF, {0, 0, INT_MAX}, Way::ToRgb},
    {"GreyAtLuminanceIntMinIsBlack", 0x000000, {0, 0, INT_MIN}, Way::ToRgb},
    {"HueIntMaxTurnsToHue127", 0xFFD300, {INT_MAX, 240, 120}, Way::ToRgb},
    {"HueIntMinTurnsToHue112", 0xCDFF00, {INT_MIN, 240, 120}, Way::ToRgb},
    {"EverythingIntMax", 0x0000FF, {INT_MAX, INT_MAX, INT_MAX}, Way::ToRgb},
    {"EverythingIntMin", 0xFFFF00, {INT_MIN, INT_MIN, INT_MIN}, Way::ToRgb},
    {"WhiteIs239OnThe256Scale", 0xFFFFFF, {0, 0, 239}, Way::ToHsl},
    // (24 + 24) / 512 * 240 = 22.5: halves go to even.
    {"LuminanceHalfToEven", 0x181818, {0, 0, 22}, Way::ToHsl},
    {"LuminanceHalfToEvenUp", 0x080808, {0, 0, 8}, Way::ToHsl},
    // (121 - 71) / (121 + 71) * 240 = 62.5 exactly.
    {"SaturationHalfToEven", 0x794747, {160, 62, 90}, Way::ToHsl},
    {"LightSideSaturation", 0xC0C0FF, {0, 233, 210}, Way::ToHsl},
    {"HueBelowZeroWraps", 0x8000FF, {220, 240, 120}, Way::ToHsl},
    // Bit 24 (palette-index colours) is not part of the green part.
    {"HighBitsIgnored", 0x0100FF00, {80, 240, 120}, Way::ToHsl},
};

struct Hsl : testing::TestWithParam<HslRow> {};

TEST_P(Hsl, Converts)
{
    if (GetParam().way != Way::ToRgb) {
        EXPECT_EQ(RGBToHSL(GetParam().colour), GetParam().hsl);
    }
    if (GetParam().way != Way::ToHsl) {
        EXPECT_EQ(HSLToRGB(GetParam().hsl), GetParam().colour);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Hsl, testing::ValuesIn(kHsl), [](const auto &info) { return std::string(info.param.name); });

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
