#include "controls/MireloLibColor.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace MireloLibColor {

namespace {
// The formulas take the RGB scale as 256 and the HSL scale as 240.
constexpr long long kRgbScale = 256;
constexpr long long kHslScale = 240;
// A sixth of the hue circle.
constexpr long long kSextant = kHslScale / 6;

int clampPart(long long v) { return static_cast<int>(std::clamp<long long>(v, 0, 255)); }
} // namespace

long long RoundQuotient(long long numerator, long long denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    long long q = numerator / denominator;
    long long r = numerator % denominator;
    if (r < 0) {
        --q;
        r += denominator;
    }
    if (2 * r > denominator || (2 * r == denominator && (q & 1) != 0))
        ++q;
    return q;
}

int Red(ColorValue colour) { return static_cast<int>(colour & 0xFFu); }
// Only the green byte: a wider mask would let bit 24 of palette-index colours into the part.
int Green(ColorValue colour) { return static_cast<int>((colour & 0xFF00u) >> 8); }
int Blue(ColorValue colour) { return static_cast<int>((colour & 0xFF0000u) >> 16); }

ColorValue RGB(int red, int green, int blue)
{
    return static_cast<ColorValue>(clampPart(red)) | static_cast<ColorValue>(clampPart(green)) << 8
        | static_cast<ColorValue>(clampPart(blue)) << 16;
}

int Largest(std::initializer_list<int> values) { return values.size() ? std::max(values) : 0; }
int Smallest(std::initializer_list<int> values) { return values.size() ? std::min(values) : 0; }

HSLValue RGBToHSL(ColorValue colour)
{
    const long long r = Red(colour), g = Green(colour), b = Blue(colour);
    const long long mx = Largest({int(r), int(g), int(b)});
    const long long mn = Smallest({int(r), int(g), int(b)});
    HSLValue out;
    out.Luminance = int(RoundQuotient((mx + mn) * kHslScale, 2 * kRgbScale));
    if (mx == mn)
        return out;
    const long long span = mx - mn;
    out.Saturation = out.Luminance > kHslScale / 2 ? int(RoundQuotient(span * kHslScale, 2 * kRgbScale - mx - mn))
                                                   : int(RoundQuotient(span * kHslScale, mx + mn));
    // dR = (mx - r) / span * 40 and so on; the hue is kept as a multiple of 1 / span until rounded.
    const long long dR = (mx - r) * kSextant, dG = (mx - g) * kSextant, dB = (mx - b) * kSextant;
    long long hueTimesSpan;
    if (r == mx)
        hueTimesSpan = dB - dG;
    else if (g == mx)
        hueTimesSpan = 2 * kSextant * span + dR - dB;
    else
        hueTimesSpan = 4 * kSextant * span + dG - dR;
    long long hue = RoundQuotient(hueTimesSpan, span);
    if (hue < 0)
        hue += kHslScale;
    out.Hue = int(hue);
    return out;
}

namespace {
// HueToRGB in 64 bits: HSLToRGB feeds it the m1 and m2 of any int input, far outside an int.
long long hueToRGBWide(long long m1, long long m2, long long h)
{
    // One turn brings the hues the formulas produce (within 240 either side) into 0-240; the
    // modulo does the same for any other value.
    if (h < 0)
        h = h % kHslScale + kHslScale;
    else if (h > kHslScale)
        h = (h - 1) % kHslScale + 1;
    if (h < kSextant)
        return RoundQuotient(m1 * kSextant + (m2 - m1) * h, kSextant);
    if (h < 3 * kSextant)
        return m2;
    if (h < 4 * kSextant)
        return RoundQuotient(m1 * kSextant + (m2 - m1) * (4 * kSextant - h), kSextant);
    return m1;
}
} // namespace

int HueToRGB(int m1, int m2, int hue)
{
    const long long part = hueToRGBWide(m1, m2, hue);
    return static_cast<int>(std::clamp<long long>(part, INT_MIN, INT_MAX));
}

ColorValue HSLToRGB(const HSLValue &hsl)
{
    // In 64 bits every product below holds for any int input (|L × S| <= 2^62); the hue only
    // matters modulo one turn.
    const long long H = hsl.Hue % kHslScale, S = hsl.Saturation, L = hsl.Luminance;
    if (S == 0) {
        const int grey = clampPart(RoundQuotient(L * kRgbScale, kHslScale));
        return RGB(grey, grey, grey);
    }
    const long long m2 = L > kHslScale / 2 ? RoundQuotient(L * kHslScale + S * kHslScale - L * S, kHslScale)
                                           : RoundQuotient(L * (kHslScale + S), kHslScale);
    const long long m1 = 2 * L - m2;
    // A part far outside 0-240 ends as 0 or 255 either way; bounded first, it cannot overflow.
    auto part = [&](long long hue) {
        const long long p = std::clamp<long long>(hueToRGBWide(m1, m2, hue), -kHslScale, 2 * kHslScale);
        return clampPart(RoundQuotient(p * kRgbScale, kHslScale));
    };
    return RGB(part(H + 2 * kSextant), part(H), part(H - 2 * kSextant));
}

} // namespace MireloLibColor
