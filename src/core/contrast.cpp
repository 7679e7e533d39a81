#include "core/contrast.h"

#include <algorithm>
#include <cmath>

namespace quillory {
namespace {

double Linear(int channel) {
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double Luminance(Color c) {
    return 0.2126 * Linear(RedOf(c)) + 0.7152 * Linear(GreenOf(c)) + 0.0722 * Linear(BlueOf(c));
}

}  // namespace

double ContrastRatio(Color a, Color b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::vector<Color> PickContrastColors(Color background, std::span<const Color> candidates,
                                      int count) {
    std::vector<Color> picked;
    const auto take = [&](Color c) {
        if (static_cast<int>(picked.size()) < count &&
            std::find(picked.begin(), picked.end(), c) == picked.end() &&
            ContrastRatio(c, background) >= kMinimumContrast)
            picked.push_back(c);
    };
    for (Color c : candidates) take(c);
    const bool blackFirst =
        ContrastRatio(clBlack, background) >= ContrastRatio(clWhite, background);
    take(blackFirst ? clBlack : clWhite);
    take(blackFirst ? clWhite : clBlack);
    // Fewer colours than symbols: the best one again, told apart by shape alone.
    while (static_cast<int>(picked.size()) < count)
        picked.push_back(blackFirst ? clBlack : clWhite);
    return picked;
}

}  // namespace quillory
