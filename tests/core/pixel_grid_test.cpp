#include "core/pixel_grid.h"

#include <gtest/gtest.h>

#include <climits>

#include "color_test_support.h"
#include "core/menu_colors.h"

namespace quillory {
namespace {

using test::Grey;
using test::ScopedSysColors;

PixelGrid GridOf(int width, int height, std::initializer_list<Color> pixels) {
    PixelGrid grid(width, height);
    grid.Pixels.assign(pixels);
    return grid;
}

int CountOf(const PixelGrid& grid, Color c) {
    int n = 0;
    for (Color p : grid.Pixels) n += p == c;
    return n;
}

TEST(PixelGrid, ShapeAndAddressing) {
    PixelGrid grid(3, 2, clNavy);
    EXPECT_EQ(grid.Pixels.size(), 6u);
    grid.At(2, 0) = clWhite;  // top row, right end
    grid.At(0, 1) = clBlack;  // bottom row, left end
    EXPECT_EQ(grid.Pixels[2], clWhite);
    EXPECT_EQ(grid.Pixels[3], clBlack);
    EXPECT_TRUE(grid.Contains(2, 1));
    EXPECT_FALSE(grid.Contains(3, 0));
    EXPECT_FALSE(grid.Contains(0, -1));
    EXPECT_TRUE(PixelGrid(-4, 5).Pixels.empty());
}

TEST(GrayBitmapPixels, BlackLeadingPixelsAreStillTransformed) {
    PixelGrid grid = GridOf(3, 2, {clBlack, clBlack, clWhite, clBlack, clWhite, clWhite});
    GrayBitmapPixels(grid, 10);
    EXPECT_EQ(grid.Pixels,
              (std::vector<Color>{Grey(10), Grey(10), Grey(240), Grey(10), Grey(240), Grey(240)}));
}

TEST(LightenBitmapPixels, RunsAndAlternationsEachGetTheirOwnResult) {
    const Color a = clBlack, b = MakeColor(55, 155, 255), c = clNavy;
    PixelGrid grid = GridOf(4, 2, {a, a, b, a, c, c, b, b});
    LightenBitmapPixels(grid, 50);
    const Color la = Grey(128), lb = MakeColor(155, 205, 255), lc = MakeColor(128, 128, 192);
    EXPECT_EQ(grid.Pixels, (std::vector<Color>{la, la, lb, la, lc, lc, lb, lb}));
}

TEST(LightenBitmapPixels, CapsThePercentAndMatchesThePerPixelFunction) {
    PixelGrid grid(5, 4);
    for (std::size_t i = 0; i < grid.Pixels.size(); ++i) {
        grid.Pixels[i] = MakeColor(int(i * 37 % 256), int(i / 3 * 50 % 256), int(i / 7 * 90 % 256));
    }
    const PixelGrid before = grid;
    LightenBitmapPixels(grid, 33);
    for (std::size_t i = 0; i < grid.Pixels.size(); ++i) {
        ASSERT_EQ(grid.Pixels[i], LightenColor(before.Pixels[i], 33)) << i;
    }
    LightenBitmapPixels(grid, 250);
    EXPECT_EQ(CountOf(grid, clWhite), 20);
}

// A 3 x 3 source whose key (bottom left) is white; an L of red elsewhere.
PixelGrid Glyph() {
    const Color k = clWhite, r = MakeColor(255, 0, 0);
    return GridOf(3, 3, {r, k, k, r, k, k, k, r, r});
}

TEST(PaintBitmapSilhouette, PaintsEveryNonKeyPixel) {
    PixelGrid target(5, 5, clSkyBlue);
    PaintBitmapSilhouette(Glyph(), target, 1, 2, clNavy);
    EXPECT_EQ(CountOf(target, clNavy), 4);
    EXPECT_EQ(target.At(1, 2), clNavy);  // the source's top-left differs from the key
    EXPECT_EQ(target.At(1, 3), clNavy);
    EXPECT_EQ(target.At(2, 4), clNavy);
    EXPECT_EQ(target.At(3, 4), clNavy);
    EXPECT_EQ(target.At(1, 4), clSkyBlue);  // key pixels leave the target alone
}

TEST(PaintBitmapSilhouette, AllKeySourceChangesNothing) {
    PixelGrid target(4, 4, clMoneyGreen);
    PaintBitmapSilhouette(PixelGrid(3, 3, clNavy), target, 0, 0, clBlack);
    EXPECT_EQ(CountOf(target, clMoneyGreen), 16);
    PaintBitmapSilhouette(PixelGrid(), target, 0, 0, clBlack);
    EXPECT_EQ(CountOf(target, clMoneyGreen), 16);
}

TEST(PaintBitmapSilhouette, ClipsToTheTarget) {
    const PixelGrid glyph = Glyph();
    struct Case {
        int x, y, painted;
    } cases[] = {
        {-1, 0, 2},          {0, -2, 2},  {3, 3, 0},       {-3, 0, 0},
        {2, 2, 1},           {-2, -2, 1}, {INT_MAX, 0, 0}, {INT_MIN, INT_MIN, 0},
        {0, INT_MAX - 1, 0},
    };
    for (const Case& c : cases) {
        PixelGrid target(3, 3, clSkyBlue);
        PaintBitmapSilhouette(glyph, target, c.x, c.y, clNavy);
        EXPECT_EQ(CountOf(target, clNavy), c.painted) << c.x << ',' << c.y;
        EXPECT_EQ(target.Pixels.size(), 9u);
    }
}

TEST(PaintBitmapSilhouette, ResolvesTheColour) {
    ScopedSysColors sys([](int) { return MakeColor(1, 2, 3); });
    PixelGrid target(3, 3, clWhite);
    PaintBitmapSilhouette(Glyph(), target, 0, 0, clHighlight);
    EXPECT_EQ(CountOf(target, MakeColor(1, 2, 3)), 4);
}

}  // namespace
}  // namespace quillory
