// The flat button's drawing routines on real bitmaps: the embossed disabled
// glyph, the layout measured with a canvas's font, the transparent draw.
#include "widgets/shade_utils.h"

#include <gtest/gtest.h>

#include "widget_test_support.h"

namespace quillory::widgets {
namespace {

using testing::Fill;

constexpr ui::TColor kBackground = 0x00112233;
constexpr ui::TColor kHighlight = 0x00AABBCC;
constexpr ui::TColor kShadow = 0x00445566;
constexpr ui::TColor kRed = 0x000000FF;
constexpr ui::TColor kMagenta = 0x00FF00FF;
constexpr ui::TColor kGreen = 0x0000FF00;
constexpr ui::TColor kBlue = 0x00FF0000;

// The outline becomes the shadow, with the highlight one down and right
// where asked for; other detail vanishes. (The flat button's disabled case
// reads the same rule through the button.)
TEST(MakeDisabledGlyph, OutlineBecomesShadowWithHighlightOneDownRightAndDetailVanishes) {
    ui::TBitmap source;
    Fill(source, 8, 8, clWhite);
    source.Canvas().SetPixelColor(2, 2, clBlack);
    source.Canvas().SetPixelColor(3, 2, clBlack);
    source.Canvas().SetPixelColor(6, 6, kRed);

    auto result = MakeDisabledGlyph(source, clBlack, kBackground, kHighlight, kShadow, true);
    ASSERT_EQ(result->Width(), 8);
    ASSERT_EQ(result->Height(), 8);
    EXPECT_EQ(result->Pixel(2, 2), kShadow);
    EXPECT_EQ(result->Pixel(3, 2), kShadow) << "the shadow is painted over the highlight";
    EXPECT_EQ(result->Pixel(3, 3), kHighlight);
    EXPECT_EQ(result->Pixel(4, 3), kHighlight);
    EXPECT_EQ(result->Pixel(4, 2), kBackground);
    EXPECT_EQ(result->Pixel(2, 3), kBackground);
    EXPECT_EQ(result->Pixel(6, 6), kBackground) << "colours other than the outline disappear";
    EXPECT_EQ(result->Pixel(0, 0), kBackground);

    auto flat = MakeDisabledGlyph(source, clBlack, kBackground, kHighlight, kShadow, false);
    EXPECT_EQ(flat->Pixel(2, 2), kShadow);
    EXPECT_EQ(flat->Pixel(3, 3), kBackground) << "no highlight when it is not asked for";
    EXPECT_EQ(source.Pixel(2, 2), clBlack) << "the source is left alone";

    // Another outline colour: black is detail then.
    auto red = MakeDisabledGlyph(source, kRed, kBackground, kHighlight, kShadow, true);
    EXPECT_EQ(red->Pixel(6, 6), kShadow);
    EXPECT_EQ(red->Pixel(7, 7), kHighlight);
    EXPECT_EQ(red->Pixel(2, 2), kBackground) << "black is not the outline here";
    ui::TBitmap white;
    Fill(white, 6, 4, clWhite);
    auto plain = MakeDisabledGlyph(white, clBlack, kBackground, kHighlight, kShadow, true);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) ASSERT_EQ(plain->Pixel(x, y), kBackground) << x << "," << y;
    ui::TBitmap empty;
    EXPECT_TRUE(
        MakeDisabledGlyph(empty, clBlack, kBackground, kHighlight, kShadow, true)->Empty());
}

// Nothing to place centres the empty caption; a caption is measured with
// the canvas's font, without the access mark.
TEST(CalcLayoutOnCanvas, EmptyCaptionCentredCaptionMeasuredWithTheCanvasFont) {
    ui::TBitmap surface{200, 100};
    const RECT empty_client{0, 0, 9, 73};
    ui::TBitmap empty;
    const ui::TBitmap* glyphs[] = {nullptr, &empty};
    for (const ui::TBitmap* glyph : glyphs) {
        const auto placed =
            CalcLayout(surface.Canvas(), empty_client, POINT{0, 0}, blGlyphTop, 4, -1, glyph, 1, "");
        EXPECT_EQ(placed.GlyphOrigin.x, 5);
        EXPECT_EQ(placed.GlyphOrigin.y, 37);
        EXPECT_EQ(placed.TextRect.left, 5);
        EXPECT_EQ(placed.TextRect.top, 37);
        EXPECT_EQ(placed.TextRect.right, 5);
        EXPECT_EQ(placed.TextRect.bottom, 37);
    }

    ui::TCanvas& canvas = surface.Canvas();
    canvas.Font.SetName("Tahoma");
    canvas.Font.SetHeight(-30);
    RECT go{0, 0, 0, 0};
    canvas.DrawText("Go", go, DT_CALCRECT | DT_SINGLELINE);
    const int textWidth = go.right;
    const int textHeight = go.bottom;
    ASSERT_GE(textHeight, 28) << "the canvas font sets the caption's height";

    ui::TBitmap glyph;
    Fill(glyph, 48, 16, clWhite);  // three images of 16 x 16
    const RECT client{10, 20, 130, 80};      // 120 x 60
    const auto placed =
        CalcLayout(canvas, client, POINT{1, 1}, blGlyphLeft, 4, -1, &glyph, 3, "&Go");
    // Glyph, 4 pixels, caption: centred as one in the client moved by the
    // offset (11, 21 to 131, 81), an odd pixel on the left or top side.
    const auto expectCentred = [](int before, int after, const char* what) {
        EXPECT_TRUE(before - after == 0 || before - after == 1) << what << before << "/" << after;
    };
    expectCentred(placed.GlyphOrigin.x - 11, 131 - placed.TextRect.right, "across ");
    expectCentred(placed.GlyphOrigin.y - 21, 81 - (placed.GlyphOrigin.y + 16), "glyph down ");
    expectCentred(placed.TextRect.top - 21, 81 - placed.TextRect.bottom, "caption down ");
    EXPECT_EQ(placed.TextRect.left, placed.GlyphOrigin.x + 16 + 4);
    EXPECT_EQ(placed.TextRect.right - placed.TextRect.left, textWidth);
    EXPECT_EQ(placed.TextRect.bottom - placed.TextRect.top, textHeight);
}

TEST(DrawTransparent, PixelsOfTheTransparentColourStayUnpainted) {
    ui::TBitmap image;
    Fill(image, 4, 4, kMagenta);
    image.Canvas().SetPixelColor(1, 1, kGreen);
    image.Canvas().SetPixelColor(3, 0, clBlack);
    ui::TBitmap target;
    Fill(target, 10, 10, kBlue);
    DrawTransparent(target.DC(), 2, 3, image, kMagenta);
    EXPECT_EQ(target.Pixel(3, 4), kGreen);
    EXPECT_EQ(target.Pixel(5, 3), clBlack) << "black is not transparent";
    EXPECT_EQ(target.Pixel(2, 3), kBlue);
    EXPECT_EQ(target.Pixel(4, 5), kBlue);
    EXPECT_EQ(target.Pixel(6, 6), kBlue) << "nothing beyond the image";
}

}  // namespace
}  // namespace quillory::widgets
