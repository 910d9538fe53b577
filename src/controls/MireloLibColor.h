// Colour conversions of the colour picker: parts of a colour value, RGB <-> HSL on the 0-240
// scale of the classic colour dialog. Colours are colour values 0x00BBGGRR.
#pragma once

#include <cstdint>
#include <initializer_list>

using ColorValue = std::uint32_t;

struct HSLValue {
    std::int32_t Hue = 0;
    std::int32_t Saturation = 0;
    std::int32_t Luminance = 0;
    friend bool operator==(const HSLValue &, const HSLValue &) = default;
};

namespace MireloLibColor {

int Red(ColorValue colour);
int Green(ColorValue colour);
int Blue(ColorValue colour);
// Parts are clamped to 0-255.
ColorValue RGB(int red, int green, int blue);

HSLValue RGBToHSL(ColorValue colour);
ColorValue HSLToRGB(const HSLValue &hsl);
int HueToRGB(int m1, int m2, int hue);

int Largest(std::initializer_list<int> values);
int Smallest(std::initializer_list<int> values);

// Nearest integer to numerator / denominator, halves to even, computed without floating point so
// that exact halves are recognised as such.
long long RoundQuotient(long long numerator, long long denominator);

} // namespace MireloLibColor
