#include "core/shade_math.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "color_test_support.h"
#include "core/hsl_colors.h"

namespace quillory {
namespace {

using test::Grey;
using test::ScopedSysColors;

TEST(ShiftLightness, LiftsByTenThenShiftsAndClampsZeroPercentKeepsTheColour) {
    // Grey 212 has lightness 200: 210 + 10 is past 100, so lighter clamps to
    // 100 and comes out darker than the base.
    EXPECT_EQ(ShiftLightness(Grey(212), clWhite, 10, sdLighter), Grey(106));  // 106.25
    EXPECT_EQ(ShiftLightness(Grey(212), clWhite, 30, sdDarker), Grey(191));   // 180 -> 191.25
    EXPECT_EQ(ShiftLightness(clBlack, clWhite, 50, sdDarker), clBlack);
    EXPECT_EQ(ShiftLightness(clBlack, clWhite, 10, sdLighter), Grey(21));  // 20 -> 21.25
    EXPECT_EQ(ShiftLightness(clBlack, clWhite, 100, sdLighter), Grey(106));
    // Zero per cent keeps the current colour, whatever the base.
    EXPECT_EQ(ShiftLightness(clWhite, 0x123456u, 0, sdLighter), 0x123456u);
    EXPECT_EQ(ShiftLightness(clBlack, clBtnFace, 0, sdDarker), clBtnFace);
}

TEST(ShiftLightness, KeepsHueAndSaturationOfAColour) {
    int h, s, l;
    ColorToHslScaled(clSkyBlue, h, s, l);
    for (TShadeDirection dir : {sdLighter, sdDarker}) {
        const Color shifted = ShiftLightness(clSkyBlue, clBlack, 20, dir);
        int h2, s2, l2;
        ColorToHslScaled(shifted, h2, s2, l2);
        EXPECT_EQ(l2, dir == sdLighter ? 100 : l + 10 - 20);
        EXPECT_LE(std::abs(h2 - h), 2);
        EXPECT_LE(std::abs(s2 - s), 4);
    }
}

TEST(ShiftLightness, LightnessAboveTheScaleSaturatesToWhite) {
    // White darker by 5: 240 + 10 - 5 = 245 lies past the top of the scale.
    EXPECT_EQ(ShiftLightness(clWhite, clBlack, 5, sdDarker), clWhite);
    const Color pink = ShiftLightness(MakeColor(255, 240, 240), clBlack, 1, sdDarker);
    EXPECT_EQ(RedOf(pink), 255);
    EXPECT_GE(GreenOf(pink), 240);
    EXPECT_GE(BlueOf(pink), 240);
}

TEST(ShiftLightness, ResolvesASystemBase) {
    // Classic button face 0xC0C0C0 has lightness 181; darker by 50 gives 141.
    EXPECT_EQ(ShiftLightness(clBtnFace, clBlack, 50, sdDarker), Grey(150));
    ScopedSysColors sys([](int index) { return index == 15 ? Grey(128) : clWhite; });
    EXPECT_EQ(ShiftLightness(clBtnFace, clBlack, 50, sdDarker), Grey(85));  // 120 + 10 - 50
}

TEST(CalcLayout, GlyphCellSize) {
    EXPECT_EQ(GlyphCellSize(64, 16, 4), (Size{16, 16}));
    EXPECT_EQ(GlyphCellSize(50, 10, 3), (Size{16, 10}));
    EXPECT_EQ(GlyphCellSize(40, 16, 0), (Size{40, 16}));
}

// Client 60 x 40 at (10, 20), offset (1, 1), glyph 16 x 12, caption 20 x 8.
// Cases: margin/spacing both computed, margin computed, spacing computed, both given.
struct LayoutCase {
    TButtonLayout layout;
    int margin;
    int spacing;
    Point glyph;  // before client origin and offset
    Point text;
};

TEST(CalcLayout, AllLayoutsAndMarginSpacingCombinations) {
    const LayoutCase cases[] = {
        {blGlyphLeft, -1, -1, {8, 14}, {32, 16}},  // margin = spacing = (60 - 36) / 3
        {blGlyphLeft, -1, 4, {10, 14}, {30, 16}},  // margin = (60 - 40 + 1) / 2
        {blGlyphLeft, 3, -1, {3, 14}, {29, 16}},   // spacing = (60 - 19 - 20) / 2
        {blGlyphLeft, 3, 4, {3, 14}, {23, 16}},
        {blGlyphRight, -1, -1, {36, 14}, {8, 16}},
        {blGlyphRight, -1, 4, {34, 14}, {10, 16}},
        {blGlyphRight, 3, -1, {41, 14}, {11, 16}},
        {blGlyphRight, 3, 4, {41, 14}, {17, 16}},
        {blGlyphTop, -1, -1, {22, 6}, {20, 24}},  // margin = spacing = (40 - 20) / 3
        {blGlyphTop, -1, 4, {22, 8}, {20, 24}},   // margin = (40 - 24 + 1) / 2
        {blGlyphTop, 3, -1, {22, 3}, {20, 23}},   // spacing = (40 - 15 - 8) / 2
        {blGlyphTop, 3, 4, {22, 3}, {20, 19}},
        {blGlyphBottom, -1, -1, {22, 22}, {20, 8}},
        {blGlyphBottom, -1, 4, {22, 20}, {20, 8}},
        {blGlyphBottom, 3, -1, {22, 25}, {20, 9}},
        {blGlyphBottom, 3, 4, {22, 25}, {20, 13}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "layout " << int(c.layout) << " margin " << c.margin
                                        << " spacing " << c.spacing);
        const auto r =
            CalcLayout({10, 20, 70, 60}, {1, 1}, c.layout, c.spacing, c.margin, {16, 12}, {20, 8});
        EXPECT_EQ(r.GlyphOrigin, (Point{c.glyph.X + 11, c.glyph.Y + 21}));
        EXPECT_EQ(r.TextRect, (Rect{c.text.X + 11, c.text.Y + 21, c.text.X + 31, c.text.Y + 29}));
    }
}

TEST(CalcLayout, SpacingIsDroppedWithoutGlyphOrCaptionDivisionsTruncateTowardZero) {
    // No glyph: spacing 4 counts as 0, so the caption sits centred.
    auto r = CalcLayout({0, 0, 60, 40}, {0, 0}, blGlyphLeft, 4, -1, {0, 0}, {20, 8});
    EXPECT_EQ(r.GlyphOrigin, (Point{20, 20}));
    EXPECT_EQ(r.TextRect, (Rect{20, 16, 40, 24}));
    // A requested -1 is dropped as well, and the margin computed from the rest.
    r = CalcLayout({0, 0, 60, 40}, {0, 0}, blGlyphTop, -1, -1, {16, 12}, {0, 0});
    EXPECT_EQ(r.GlyphOrigin, (Point{22, 14}));  // (40 - 12 + 1) / 2
    EXPECT_EQ(r.TextRect, (Rect{30, 26, 30, 26}));
    // Caption wider and glyph taller than the client: negative quotients
    // truncate toward zero.
    r = CalcLayout({0, 0, 20, 10}, {0, 0}, blGlyphLeft, -1, -1, {16, 16}, {30, 8});
    EXPECT_EQ(r.GlyphOrigin, (Point{-8, -2}));  // -26 / 3, -5 / 2
    EXPECT_EQ(r.TextRect, (Rect{0, 1, 30, 9}));
}

}  // namespace
}  // namespace quillory
