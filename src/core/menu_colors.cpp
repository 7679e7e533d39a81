#include "core/menu_colors.h"

#include <cmath>

namespace quillory {

namespace {

constexpr int kMaxPercent = 100;
// Green darkens by this much less than red and blue.
constexpr int kGreenDarkenBias = 2;

int LightenChannel(int c, long double fraction) {
    // Formed in extended precision, as the result must match its rounding
    // exactly: a tie in the product goes to the even neighbour.
    const long double lift = static_cast<long double>(255 - c) * fraction;
    return ClampChannel(c + static_cast<int>(std::nearbyintl(lift)));
}

}  // namespace

Color DarkenColor(Color c, int amount) {
    c = ResolveColor(c);
    return MakeClampedColor(RedOf(c) - amount, GreenOf(c) - amount + kGreenDarkenBias,
                            BlueOf(c) - amount);
}

Color LightenColor(Color c, int percent) {
    c = ResolveColor(c);
    if (percent > kMaxPercent) percent = kMaxPercent;
    const long double fraction = static_cast<long double>(percent) / 100.0L;
    return MakeColor(LightenChannel(RedOf(c), fraction), LightenChannel(GreenOf(c), fraction),
                     LightenChannel(BlueOf(c), fraction));
}

Color AverageColors(std::span<const Color> colors) {
    if (colors.empty()) return clBlack;
    const int n = static_cast<int>(colors.size());
    int r = 0, g = 0, b = 0;
    for (Color c : colors) {
        c = ResolveColor(c);
        r += RedOf(c) / n;
        g += GreenOf(c) / n;
        b += BlueOf(c) / n;
    }
    return MakeColor(r, g, b);
}

Color AverageColors(std::initializer_list<Color> colors) {
    return AverageColors(std::span<const Color>(colors.begin(), colors.size()));
}

Color GrayLevelColor(Color c, int level) {
    c = ResolveColor(c);
    int v = (RedOf(c) + GreenOf(c) + BlueOf(c)) / 3 + level;
    if (v > kGrayLevelCeiling) v = kGrayLevelCeiling;
    v = ClampChannel(v);
    return MakeColor(v, v, v);
}

}  // namespace quillory
