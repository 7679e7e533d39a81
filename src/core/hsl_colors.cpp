#include "core/hsl_colors.h"

#include <algorithm>
#include <cmath>

namespace quillory {

int RoundHalfEven(double v) {
    // nearbyint follows the current rounding mode, which is to-nearest-even
    // unless someone changed it; the program never does.
    return static_cast<int>(std::nearbyint(v));
}

void ColorToHsl(Color rgb, double& h, double& s, double& l) {
    const double r = RedOf(rgb) / 255.0;
    const double g = GreenOf(rgb) / 255.0;
    const double b = BlueOf(rgb) / 255.0;
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    l = (max + min) / 2;
    if (max == min) {
        h = 0;
        s = 0;
        return;
    }
    const double delta = max - min;
    s = l < 0.5 ? delta / (max + min) : delta / (2 - max - min);
    // Tested in this order: red wins a tie with green or blue, green one with blue.
    if (r == max) {
        h = (g - b) / delta;
    } else if (g == max) {
        h = 2 + (b - r) / delta;
    } else {
        h = 4 + (r - g) / delta;
    }
    h /= 6;
    if (h < 0) h += 1;
}

int HueToChannel(double x, double m1, double m2) {
    if (x < 0) {
        x += 1;
    } else if (x > 1) {
        x -= 1;
    }
    double v;
    if (6 * x < 1) {
        v = m1 + (m2 - m1) * x * 6;
    } else if (2 * x < 1) {
        v = m2;
    } else if (3 * x < 2) {
        v = m1 + (m2 - m1) * (2.0 / 3 - x) * 6;
    } else {
        v = m1;
    }
    // Lightness or saturation beyond 1 would give channels past 255, which
    // must not spill into the neighbouring byte.
    return ClampChannel(RoundHalfEven(255 * v));
}

Color HslToColor(double h, double s, double l) {
    if (s == 0) {
        const int v = ClampChannel(RoundHalfEven(255 * l));
        return MakeColor(v, v, v);
    }
    const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    const double m1 = 2 * l - m2;
    return MakeColor(HueToChannel(h + 1.0 / 3, m1, m2), HueToChannel(h, m1, m2),
                     HueToChannel(h - 1.0 / 3, m1, m2));
}

void ColorToHslScaled(Color rgb, int& hue, int& saturation, int& lightness) {
    double h, s, l;
    ColorToHsl(rgb, h, s, l);
    hue = RoundHalfEven(h * (HslScale - 1));
    saturation = RoundHalfEven(s * HslScale);
    lightness = RoundHalfEven(l * HslScale);
}

Color HslScaledToColor(int hue, int saturation, int lightness) {
    return HslToColor(static_cast<double>(hue) / (HslScale - 1),
                      static_cast<double>(saturation) / HslScale,
                      static_cast<double>(lightness) / HslScale);
}

}  // namespace quillory
