#include "core/hsl_colors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>

#include "color_test_support.h"

namespace quillory {
namespace {

using test::Grey;

std::array<int, 3> Scaled(Color c) {
    int h, s, l;
    ColorToHslScaled(c, h, s, l);
    return {h, s, l};
}

Color ScaledTrip(Color c) {
    const auto [h, s, l] = Scaled(c);
    return HslScaledToColor(h, s, l);
}

int ChannelError(Color a, Color b) {
    return std::max({std::abs(RedOf(a) - RedOf(b)), std::abs(GreenOf(a) - GreenOf(b)),
                     std::abs(BlueOf(a) - BlueOf(b))});
}

TEST(HslColors, ColorToHslAndBackExamples) {
    double h, s, l;
    ColorToHsl(MakeColor(255, 0, 0), h, s, l);
    EXPECT_EQ((std::array{h, s, l}), (std::array{0.0, 1.0, 0.5}));
    ColorToHsl(Grey(128), h, s, l);
    EXPECT_EQ((std::array{h, s, l}), (std::array{0.0, 0.0, 128.0 / 255}));
    ColorToHsl(MakeColor(0, 0, 255), h, s, l);
    EXPECT_DOUBLE_EQ(h, 2.0 / 3);
    ColorToHsl(MakeColor(255, 0, 255), h, s, l);  // negative raw hue wraps
    EXPECT_DOUBLE_EQ(h, 5.0 / 6);
    // Dark and light halves use different saturation formulas.
    ColorToHsl(MakeColor(0, 0, 102), h, s, l);
    EXPECT_DOUBLE_EQ(s, 1);
    ColorToHsl(MakeColor(255, 153, 153), h, s, l);
    EXPECT_DOUBLE_EQ(s, 1);
    // And back: the hue's segments and its wrap.
    EXPECT_EQ(HueToChannel(0.1, 0, 1), 153);       // rising: 0.6
    EXPECT_EQ(HueToChannel(0.25, 0.2, 0.6), 153);  // plateau at m2
    EXPECT_EQ(HueToChannel(0.6, 0, 1), 102);       // falling: 0.4
    EXPECT_EQ(HueToChannel(0.9, 0.2, 0.6), 51);    // m1
    EXPECT_EQ(HueToChannel(-0.75, 0, 1), 255);     // wraps to 0.25
    EXPECT_EQ(HueToChannel(1.1, 0, 1), 153);       // wraps to 0.1
    EXPECT_EQ(HslToColor(1.0 / 3, 1, 0.5), MakeColor(0, 255, 0));
    EXPECT_EQ(HslToColor(0, 0, 0.5), Grey(128));  // 127.5 to even
}

TEST(HslColors, ScaledExamplesAndHalvesToEven) {
    EXPECT_EQ(Scaled(clWhite), (std::array{0, 0, 240}));
    EXPECT_EQ(Scaled(MakeColor(0, 0, 255)), (std::array{159, 240, 120}));
    EXPECT_EQ(Scaled(MakeColor(255, 0, 1))[0], 239);  // just below a full turn
    EXPECT_EQ(HslScaledToColor(0, 0, 120), Grey(128));
    // Greys whose 255 x l lands on a half go to the even neighbour.
    EXPECT_EQ(HslScaledToColor(0, 0, 8), Grey(8));    // 8.5
    EXPECT_EQ(HslScaledToColor(0, 0, 24), Grey(26));  // 25.5
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3);
    // Out-of-range inputs saturate instead of spilling.
    EXPECT_EQ(HslScaledToColor(0, 0, 250), clWhite);
    EXPECT_EQ(HslScaledToColor(0, 0, -20), clBlack);
    const Color c = HslScaledToColor(30, 240, 245);
    EXPECT_EQ(c & 0xFF000000u, 0u);
    EXPECT_EQ(RedOf(c), 255);
}

TEST(HslColors, RoundTrips) {
    // Through reals: exact.
    for (int r = 0; r < 256; r += 3) {
        for (int g = 0; g < 256; g += 5) {
            for (int b = 0; b < 256; b += 7) {
                double h, s, l;
                ColorToHsl(MakeColor(r, g, b), h, s, l);
                ASSERT_EQ(HslToColor(h, s, l), MakeColor(r, g, b));
            }
        }
    }
    // Through the scale: hue 0 and black and white exactly; greys stay grey
    // within one (256 levels onto 241); elsewhere a hue step of 1/239 turn
    // moves a channel by up to 255 x 6 x 0.5 / 239 = 3.2, plus the rest.
    for (Color c : {clBlack, clWhite, MakeColor(255, 0, 0)}) EXPECT_EQ(ScaledTrip(c), c);
    EXPECT_NE(ScaledTrip(MakeColor(0, 255, 0)), MakeColor(0, 255, 0));  // 79.7 is off the scale
    for (int v = 0; v < 256; ++v) {
        const Color back = ScaledTrip(Grey(v));
        ASSERT_EQ(back, Grey(RedOf(back)));
        ASSERT_LE(std::abs(RedOf(back) - v), 1) << v;
    }
    int worst = 0;
    for (int r = 0; r < 256; r += 5) {
        for (int g = 0; g < 256; g += 3) {
            for (int b = 0; b < 256; b += 4) {
                worst = std::max(worst,
                                 ChannelError(ScaledTrip(MakeColor(r, g, b)), MakeColor(r, g, b)));
            }
        }
    }
    EXPECT_LE(worst, 4);
    EXPECT_GE(worst, 2);
    // Rounding each channel moves (max + min) / 2 by under half a step of
    // 1/240, so a scaled lightness comes back exactly.
    for (int h = 0; h < HslScale; h += 7) {
        for (int s = 0; s <= HslScale; s += 16) {
            for (int l = 0; l <= HslScale; ++l) {
                ASSERT_EQ(Scaled(HslScaledToColor(h, s, l))[2], l) << h << ' ' << s << ' ' << l;
            }
        }
    }
}

}  // namespace
}  // namespace quillory
