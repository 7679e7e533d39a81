// The shared element painters on real bitmaps: the line glyphs pixel by
// pixel, the pixel transforms, the resolved colour set in its three columns,
// and the marks, pictures and captions of menu entries and buttons.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/menu_colors.h"
#include "style_test_support.h"
#include "styling/elements/bitmap_pixels.h"
#include "styling/elements/dc_tools.h"
#include "styling/elements/item_parts.h"
#include "styling/elements/line_glyphs.h"
#include "styling/elements/skin_style.h"

namespace quillory::styling {
namespace {

using testing::AllPixels;
using testing::BoxOf;
using testing::Describe;
using testing::Fill;
using testing::PixelSet;
using testing::PixelsOf;
using testing::Rgb;

constexpr ui::TColor kGreen = 0x00FF00;
constexpr ui::TColor kMagenta = 0xFF00FF;

struct Glyph {
    PixelSet Sure, Either;
};

// A glyph drawn as rows of text from (left, top): '#' a pixel that must be
// drawn, '?' one the rasterizer may or may not take at a tie.
Glyph Picture(int left, int top, std::initializer_list<const char*> rows) {
    Glyph glyph;
    for (const char* row : rows) {
        for (int x = left; *row; ++row, ++x) {
            if (*row == '#') glyph.Sure.insert({x, top});
            if (*row == '?') glyph.Either.insert({x, top});
        }
        ++top;
    }
    return glyph;
}

// Draws with a black pen on white and compares with the expected pixels.
template <typename Paint>
void ExpectGlyph(const Glyph& expected, Paint paint) {
    ui::TBitmap bitmap;
    Fill(bitmap, 40, 40, clWhite);
    {
        ScopedDCPen pen(bitmap.DC(), clBlack);
        paint(bitmap.DC());
    }
    const PixelSet drawn = PixelsOf(bitmap, clBlack);
    PixelSet missing, extra;
    for (const auto& p : expected.Sure)
        if (!drawn.count(p)) missing.insert(p);
    for (const auto& p : drawn)
        if (!expected.Sure.count(p) && !expected.Either.count(p)) extra.insert(p);
    EXPECT_TRUE(missing.empty()) << "missing: " << Describe(missing);
    EXPECT_TRUE(extra.empty()) << "extra: " << Describe(extra);
}

// The drop arrow is five, three and one pixels. The spin arrows: four rows
// under the apex; the up arrow's last row has a gap below the apex, the down
// arrow's first row two pixels the rasterizer may leave out; nothing for
// other directions. The check glyph: three stacked ticks.
TEST(LineGlyphs, DropSpinAndCheckGlyphsPixelByPixel) {
    Glyph arrow;
    arrow.Sure = {{10, 7}, {11, 7}, {12, 7}, {13, 7}, {14, 7}, {11, 8}, {12, 8}, {13, 8}, {12, 9}};
    ExpectGlyph(arrow, [](HDC dc) { PaintDropArrow(dc, 10, 7); });

    constexpr int x = 20, y = 20;
    const Glyph up = Picture(x - 3, y, {"   #   ",  //
                                        "  ###  ",  //
                                        " ##### ",  //
                                        "### ###"});
    ExpectGlyph(up, [](HDC dc) { PaintSpinArrow(dc, x, y, 0); });
    const Glyph down = Picture(x - 3, y, {"##? ?##",  //
                                          " ##### ",  //
                                          "  ###  ",  //
                                          "   #   "});
    ExpectGlyph(down, [](HDC dc) { PaintSpinArrow(dc, x, y, 1); });

    ExpectGlyph(Glyph{}, [](HDC dc) { PaintSpinArrow(dc, x, y, 2); });
    ExpectGlyph(Glyph{}, [](HDC dc) { PaintSpinArrow(dc, x, y, -1); });

    constexpr int cx = 5, cy = 20;
    Glyph tick;
    for (int i = 0; i < 3; ++i) {
        // Down two to the right, then up five; the corner belongs to both.
        for (int k = 0; k < 2; ++k) tick.Sure.insert({cx + 2 + k, cy - 5 - i + k});
        for (int k = 0; k < 5; ++k) tick.Sure.insert({cx + 4 + k, cy - 3 - i - k});
    }
    ExpectGlyph(tick, [](HDC dc) { PaintCheckGlyph(dc, cx, cy); });
}

// ------------------------------------------------------------ pixel transforms

ui::TColor Mixed(int i) {
    // Runs of equal pixels with black in front, so the run cache is exercised
    // and a black first pixel must still be transformed.
    static const ui::TColor kPattern[] = {clBlack, clBlack, clBlack,  0x102030, 0x102030,
                                          clWhite, clBlack, 0x00C0FF, 0x00C0FF, clBlack};
    return kPattern[i % 10];
}

// The pattern's colours as each transform leaves them, worked out by hand:
// gray 10 is (R + G + B) / 3 + 10, at most 240; lighten 30 adds 30 % of what
// is left to 255, a tie to the even side (black gains 76.5: 76).
COLORREF Expected(ui::TColor colour, bool gray) {
    struct Row {
        ui::TColor from;
        COLORREF gray10, lighten30;
    };
    static const Row rows[] = {{clBlack, RGB(10, 10, 10), RGB(76, 76, 76)},
                               {0x102030, RGB(42, 42, 42), RGB(110, 99, 88)},
                               {clWhite, RGB(240, 240, 240), RGB(255, 255, 255)},
                               {0x00C0FF, RGB(159, 159, 159), RGB(255, 211, 76)}};
    for (const Row& row : rows)
        if (row.from == colour) return gray ? row.gray10 : row.lighten30;
    ADD_FAILURE() << "no row for " << colour;
    return 0;
}

void FillMixed(ui::TBitmap& bitmap, int width, int height) {
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.Canvas().SetPixelColor(x, y, Mixed(y * width + x));
}

// Both transforms map every pixel, leading black ones too, on two widths.
TEST(BitmapPixels, GrayAndLightenMapEveryPixelAndLightenCapsAtWhite) {
    ui::TBitmap bitmap;
    for (const bool gray : {true, false}) {
        const int width = gray ? 7 : 5, height = gray ? 3 : 4;
        FillMixed(bitmap, width, height);
        if (gray)
            GrayBitmapPixels(bitmap, 10);
        else
            LightenBitmapPixels(bitmap, 30);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(bitmap.Pixel(x, y), Expected(Mixed(y * width + x), gray))
                    << x << "," << y << (gray ? " gray" : " lighten");
    }
    FillMixed(bitmap, 5, 4);
    LightenBitmapPixels(bitmap, 150);
    EXPECT_TRUE(AllPixels(bitmap, RECT{0, 0, 5, 4}, clWhite));
}

TEST(BitmapPixels, SilhouetteSkipsTheBottomLeftColour) {
    ui::TBitmap picture;
    Fill(picture, 4, 3, kMagenta);
    picture.Canvas().SetPixelColor(1, 0, clRed);
    picture.Canvas().SetPixelColor(3, 2, clBlue);
    ui::TBitmap target;
    Fill(target, 10, 10, clWhite);
    PaintBitmapSilhouette(picture, target.DC(), 5, 6, clNavy);
    const PixelSet painted = PixelsOf(target, clNavy);
    EXPECT_EQ(painted, (PixelSet{{6, 6}, {8, 8}})) << Describe(painted);
    EXPECT_EQ(PixelsOf(target, clWhite, false).size(), 2u) << "nothing else changes";

    Fill(picture, 4, 3, kGreen);
    PaintBitmapSilhouette(picture, target.DC(), 0, 0, clRed);
    EXPECT_TRUE(PixelsOf(target, clRed).empty()) << "a picture of one colour casts nothing";

    // Past the target's edge nothing is painted; a system colour is its RGB.
    Fill(target, 10, 10, clWhite);
    picture.Canvas().SetPixelColor(0, 0, clRed);
    picture.Canvas().SetPixelColor(3, 1, clRed);
    PaintBitmapSilhouette(picture, target.DC(), -2, 0, clHighlight);
    EXPECT_EQ(PixelsOf(target, GetSysColor(COLOR_HIGHLIGHT)), (PixelSet{{1, 1}}));
}

// ------------------------------------------------------------ resolved colours

// The main window's colour settings.
TSkinColorProperties MainWindowColors() {
    TSkinColorProperties p;
    p.Color = clSkyBlue;
    p.IconBackColor = clSkyBlue;
    p.MenuBarColor = clBtnFace;
    p.SelectColor = clSkyBlue;
    p.SelectBorderColor = clNavy;
    p.SelectFontColor = clMenuText;
    p.DisabledColor = clMoneyGreen;
    p.SeparatorColor = clSkyBlue;
    p.CheckedColor = clHighlight;
    return p;
}

// Every entry in the four columns: the main window's own colours on a high-
// and a low-colour screen, then the system's scheme on both. Each row is the
// entry as the style's table names it, system colours asked of GetSysColor.
TEST(ResolveSkinColors, EveryEntryInEachColumn) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE), shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT), text = GetSysColor(COLOR_MENUTEXT);
    const COLORREF frame = DarkenColor(face, 90), cast = DarkenColor(face, 76);
    constexpr COLORREF kFont = 0x123456, kWhite = 0xFFFFFF;
    using T = TResolvedColors;
    const struct Row {
        ui::TColor T::*entry;
        COLORREF ownHigh, ownLow, systemHigh, systemLow;
    } rows[] = {
        {&T::FResColor, clSkyBlue, clSkyBlue, LightenColor(face, 86), kWhite},
        {&T::FResIconBackColor, clSkyBlue, clSkyBlue, LightenColor(face, 16), face},
        {&T::FResSelectColor, RGB(227, 238, 250), clSkyBlue, LightenColor(highlight, 68), kWhite},
        {&T::FResSelectBorderColor, clNavy, clNavy, highlight, highlight},
        {&T::FResSelectFontColor, text, text, kFont, kFont},
        {&T::FResCheckedAreaColor, RGB(237, 244, 252), kWhite, LightenColor(highlight, 80), kWhite},
        {&T::FResCheckedAreaSelectColor, RGB(210, 228, 248), 0xC0C0C0, LightenColor(highlight, 50),
         kWhite},
        {&T::FResCheckedColor, highlight, highlight, highlight, highlight},
        {&T::FResMenuBarColor, face, face, face, face},
        {&T::FResDisabledColor, clMoneyGreen, clMoneyGreen, LightenColor(shadow, 10), shadow},
        {&T::FResSeparatorColor, clSkyBlue, clSkyBlue, LightenColor(shadow, 25), shadow},
        {&T::FResMenuBorderColor, frame, shadow, frame, shadow},
        {&T::FResMenuShadowColor, cast, shadow, cast, shadow},
    };
    const T columns[] = {ResolveSkinColors(MainWindowColors(), false, true, kFont, true),
                         ResolveSkinColors(MainWindowColors(), false, true, kFont, false),
                         ResolveSkinColors(MainWindowColors(), true, true, kFont, true),
                         ResolveSkinColors(MainWindowColors(), true, true, kFont, false)};
    for (const Row& row : rows) {
        const COLORREF wanted[] = {row.ownHigh, row.ownLow, row.systemHigh, row.systemLow};
        for (int column = 0; column < 4; ++column)
            EXPECT_EQ(Rgb(columns[column].*row.entry), wanted[column])
                << "row " << &row - rows << ", column " << column;
    }
    // Without UseDimColor the fills are the selection colour itself.
    const T plain = ResolveSkinColors(MainWindowColors(), false, false, kFont, true);
    for (ui::TColor T::*entry :
         {&T::FResSelectColor, &T::FResCheckedAreaColor, &T::FResCheckedAreaSelectColor})
        EXPECT_EQ(Rgb(plain.*entry), Rgb(clSkyBlue));
}

// ------------------------------------------------------------ marks

TSkinStyle MainStyle() {
    TSkinStyle style;
    style.Colors = ResolveSkinColors(MainWindowColors(), false, true, clMenuText, true);
    style.UseSystemColors = false;
    style.Font.SetName("Tahoma");
    style.Font.SetHeight(-11);
    style.Font.SetColor(clMenuText);
    return style;
}

constexpr RECT kMark{7, 6, 17, 16};

ui::TBitmap& MarkBitmap(const TMarkState& state, TSkinStyle style = MainStyle()) {
    static ui::TBitmap bitmap;
    Fill(bitmap, 24, 24, clWhite);
    PaintCheckMark(style, bitmap.DC(), kMark, state);
    return bitmap;
}

TEST(PaintCheckMark, CheckBoxAndRadioMarksSelectedDisabledAndAroundAPicture) {
    const TSkinStyle style = MainStyle();
    const ui::TBitmap& box = MarkBitmap({.Checked = true});
    EXPECT_TRUE(AllPixels(box, RECT{7, 6, 17, 7}, style.Colors.FResCheckedColor)) << "top";
    EXPECT_TRUE(AllPixels(box, RECT{7, 6, 8, 16}, style.Colors.FResCheckedColor)) << "left";
    EXPECT_TRUE(AllPixels(box, RECT{7, 15, 11, 16}, style.Colors.FResCheckedColor)) << "bottom";
    EXPECT_EQ(box.Pixel(14, 14), Rgb(style.Colors.FResCheckedAreaColor));
    EXPECT_EQ(box.Pixel(14, 14), RGB(237, 244, 252));
    for (auto [x, y] : {std::pair{8, 11}, {9, 12}, {10, 13}, {9, 10}, {12, 12}, {15, 9}})
        EXPECT_EQ(box.Pixel(x, y), Rgb(clBlack)) << "tick at " << x << "," << y;
    EXPECT_EQ(box.Pixel(18, 6), Rgb(clBlack)) << "the long stroke reaches past the box";
    EXPECT_EQ(box.Pixel(19, 5), Rgb(clWhite)) << "and ends there";

    const ui::TBitmap& selected = MarkBitmap({.Checked = true, .Selected = true});
    EXPECT_EQ(selected.Pixel(14, 14), RGB(210, 228, 248));

    const ui::TBitmap& disabled = MarkBitmap({.Checked = true, .Enabled = false});
    EXPECT_EQ(disabled.Pixel(7, 6), Rgb(style.Colors.FResDisabledColor));
    EXPECT_EQ(disabled.Pixel(8, 11), Rgb(style.Colors.FResDisabledColor));
    EXPECT_TRUE(PixelsOf(disabled, clBlack).empty());

    const ui::TBitmap& none = MarkBitmap({.Checked = false});
    EXPECT_EQ(PixelsOf(none, clWhite, false).size(), 0u) << "an unchecked entry has no mark";

    const ui::TBitmap& framed = MarkBitmap({.Checked = true, .HasImage = true});
    EXPECT_EQ(framed.Pixel(7, 6), Rgb(clNavy)) << "around a picture: the selection frame colour";
    EXPECT_EQ(framed.Pixel(16, 15), Rgb(clNavy));
    EXPECT_TRUE(AllPixels(framed, RECT{8, 7, 16, 15}, style.Colors.FResCheckedAreaColor))
        << "no tick around a picture";

    // Radio marks: a circle with a dot, or a rounded frame around a picture.
    const ui::TBitmap& dot = MarkBitmap({.RadioItem = true, .Checked = true});
    EXPECT_EQ(dot.Pixel(12, 11), Rgb(clNavy)) << "the dot in the pen colour";
    EXPECT_EQ(dot.Pixel(12, 7), Rgb(style.Colors.FResCheckedAreaColor)) << "between ring and dot";
    EXPECT_EQ(dot.Pixel(12, 6), Rgb(clNavy)) << "the ring";
    EXPECT_EQ(dot.Pixel(7, 6), Rgb(clWhite)) << "a circle leaves the corners";

    const ui::TBitmap& frame = MarkBitmap({.RadioItem = true, .Checked = true, .HasImage = true});
    EXPECT_EQ(frame.Pixel(12, 6), Rgb(clNavy));
    EXPECT_EQ(frame.Pixel(7, 6), Rgb(clWhite)) << "rounded corner";
    EXPECT_EQ(frame.Pixel(12, 11), Rgb(style.Colors.FResCheckedAreaColor)) << "no dot";

    const ui::TBitmap& radioOff =
        MarkBitmap({.RadioItem = true, .Checked = true, .Enabled = false});
    EXPECT_EQ(radioOff.Pixel(12, 11), Rgb(style.Colors.FResDisabledColor));

    EXPECT_TRUE(PixelsOf(MarkBitmap({.RadioItem = true}), clWhite, false).empty());
}

// ------------------------------------------------------------ pictures

// A 16 x 16 picture: magenta ground, a red square from 4 to 11.
void Picture(ui::TBitmap& picture) {
    Fill(picture, 16, 16, kMagenta);
    picture.Canvas().FillRect(RECT{4, 4, 12, 12}, clRed);
}

constexpr RECT kIconRect{4, 0, 28, 23};

ui::TBitmap& IconBitmap(const TIconState& state, TSkinStyle style = MainStyle()) {
    static ui::TBitmap bitmap;
    Fill(bitmap, 40, 30, clWhite);
    ui::TBitmap picture;
    Picture(picture);
    PaintItemIcon(style, bitmap.DC(), picture, kIconRect, state);
    return bitmap;
}

// Where an idle, a disabled and a selected picture lie in a popup entry, and
// their colours, menu_paint_test reads through the menu painter.
TEST(PaintItemIcon, IdlePictureIsDimmedOnlyWithManyColoursAndUnchecked) {
    const ui::TBitmap& bitmap = IconBitmap({});
    EXPECT_EQ(PixelsOf(bitmap, LightenColor(clRed, 30)).size(), 64u);
    EXPECT_EQ(PixelsOf(bitmap, clWhite, false).size(), 64u) << "the ground is transparent";

    TSkinStyle low = MainStyle();
    low.FHighColor = false;
    EXPECT_EQ(PixelsOf(IconBitmap({}, low), clRed).size(), 64u) << "not dimmed with few colours";
    EXPECT_EQ(PixelsOf(IconBitmap({.Checked = true}), clRed).size(), 64u)
        << "a checked picture is not dimmed";
}

TEST(PaintItemIcon, SelectedRisesWideRightToLeftAndOnAControl) {
    const TSkinStyle style = MainStyle();
    const ui::TBitmap& bitmap = IconBitmap({.Selected = true});
    const PixelSet square = PixelsOf(bitmap, clRed);
    ASSERT_EQ(square.size(), 64u) << "undimmed";
    EXPECT_EQ(*square.begin(), (std::pair{6 + 4, 2 + 4})) << "one up and one left";
    const PixelSet shadow = PixelsOf(bitmap, DarkenColor(Rgb(style.Colors.FResSelectColor), 50));
    EXPECT_EQ(shadow.size(), 64u - 36u) << "two down and right, under the picture";
    EXPECT_TRUE(shadow.count({6 + 4 + 2 + 7, 2 + 4 + 2 + 7}));

    const ui::TBitmap& checked = IconBitmap({.Selected = true, .Checked = true});
    EXPECT_EQ(*PixelsOf(checked, clRed).begin(), (std::pair{11, 7})) << "checked stays put";
    EXPECT_EQ(PixelsOf(checked, clWhite, false).size(), 64u) << "and casts nothing";

    const ui::TBitmap& top = IconBitmap({.Selected = true, .TopLevel = true});
    EXPECT_EQ(*PixelsOf(top, clRed).begin(), (std::pair{4 + 1 - 1 + 4, 3 - 2 + 4}))
        << "on the bar: at the left edge, two up";

    // Wide pictures, right to left, and a control's corner.
    ui::TBitmap row;
    Fill(row, 60, 30, clWhite);
    ui::TBitmap wide;
    Fill(wide, 30, 10, kMagenta);
    wide.Canvas().FillRect(RECT{0, 0, 1, 1}, clRed);
    wide.Canvas().FillRect(RECT{29, 0, 30, 1}, clRed);
    TSkinStyle few = MainStyle();
    few.FHighColor = false;
    PaintItemIcon(few, row.DC(), wide, RECT{0, 0, 50, 20}, {.RightToLeft = true});
    EXPECT_EQ(PixelsOf(row, clRed), (PixelSet{{50 - 30 - 2, 3}, {50 - 3, 3}}));

    Fill(row, 60, 30, clWhite);
    PaintItemIcon(few, row.DC(), wide, RECT{0, 0, 50, 20}, {});
    EXPECT_EQ(PixelsOf(row, clRed), (PixelSet{{2, 3}, {31, 3}}));

    Fill(row, 60, 30, clWhite);
    PaintItemIcon(few, row.DC(), wide, RECT{5, 5, 50, 20}, {.IsMenuItem = false});
    EXPECT_EQ(PixelsOf(row, clRed), (PixelSet{{5, 6}, {34, 6}})) << "a control's corner";
}

// ------------------------------------------------------------ captions

constexpr RECT kTextRect{30, 4, 200, 24};

ui::TBitmap& TextBitmap(const std::string& text, const std::string& shortCut,
                        const TTextState& state, TSkinStyle style = MainStyle(),
                        ui::TColor ground = clSkyBlue, UINT format = 0) {
    static ui::TBitmap bitmap;
    Fill(bitmap, 230, 30, ground);
    PaintItemText(style, bitmap.DC(), text, shortCut, kTextRect, state, style.Font, format);
    return bitmap;
}

// The colours the painted text left, the ground not counted.
std::set<COLORREF> InkColours(const ui::TBitmap& bitmap, ui::TColor ground) {
    std::set<COLORREF> colours;
    for (const auto& [x, y] : PixelsOf(bitmap, ground, false)) colours.insert(bitmap.Pixel(x, y));
    return colours;
}

int TextWidth(const ui::TFont& font, const std::string& text) {
    ui::TBitmap scratch(1, 1);
    scratch.Canvas().Font = font;
    return scratch.Canvas().TextWidth(text);
}

TEST(PaintItemText, CaptionColourFollowsSelectedEnabledAndOnTheBarTheIconColumn) {
    TSkinStyle style = MainStyle();
    style.Font.SetColor(clRed);
    style.Colors.FResSelectFontColor = clBlue;
    style.Colors.FResDisabledColor = clNavy;
    EXPECT_EQ(InkColours(TextBitmap("Pause", "", {}, style), clSkyBlue),
              std::set<COLORREF>{Rgb(clRed)});
    EXPECT_EQ(InkColours(TextBitmap("Pause", "", {.Selected = true}, style), clSkyBlue),
              std::set<COLORREF>{Rgb(clBlue)});
    EXPECT_EQ(
        InkColours(TextBitmap("Pause", "", {.Selected = true, .Enabled = false}, style), clSkyBlue),
        std::set<COLORREF>{Rgb(clNavy)});

    // A selected bar caption with the system's colours contrasts with the icon column.
    style.UseSystemColors = true;
    style.Colors.FResIconBackColor = clBlack;
    style.Colors.FResSelectFontColor = clBlue;
    const auto ink =
        InkColours(TextBitmap("&Game", "", {.Selected = true, .TopLevel = true}, style), clSkyBlue);
    EXPECT_EQ(ink, std::set<COLORREF>{RGB(230, 230, 230)});
    style.UseSystemColors = false;
    EXPECT_EQ(
        InkColours(TextBitmap("&Game", "", {.Selected = true, .TopLevel = true}, style), clSkyBlue),
        std::set<COLORREF>{Rgb(clBlue)});
}

TEST(PaintItemText, ShortCutTenPixelsInsideTheFarEdgeDefaultOnDarkerCopies) {
    const TSkinStyle style = MainStyle();
    const RECT all{0, 0, 230, 30};
    const RECT ink = BoxOf(TextBitmap("", "F12", {}), clMenuText, all);
    const int end = kTextRect.right - 10 - TextWidth(style.Font, " ");  // where "F12" ends
    EXPECT_LE(ink.right - 1, end);
    EXPECT_GE(ink.right - 1, end - 3);
    EXPECT_GE(ink.left, end - TextWidth(style.Font, "F12"));

    const RECT rtl = BoxOf(TextBitmap("", "F12", {.RightToLeft = true}), clMenuText, all);
    EXPECT_GE(rtl.left, kTextRect.left + 10);
    EXPECT_LE(rtl.left, kTextRect.left + 12);

    // A default entry lies on four darker copies, unless disabled.
    const auto copies = InkColours(TextBitmap("New game", "", {.Default = true}), clSkyBlue);
    for (int darken : {30, 40, 60})
        EXPECT_TRUE(copies.count(DarkenColor(clSkyBlue, darken))) << "copy darkened by " << darken;
    EXPECT_TRUE(copies.count(Rgb(clMenuText)));
    EXPECT_EQ(copies.size(), 4u);

    const auto disabled =
        InkColours(TextBitmap("New game", "", {.Enabled = false, .Default = true}), clSkyBlue);
    EXPECT_EQ(disabled, std::set<COLORREF>{Rgb(style.Colors.FResDisabledColor)});
}

TEST(ContrastFontColor, FontColourOnLightGroundsLightShadeOnDarkOnes) {
    TSkinStyle style = MainStyle();
    style.Font.SetColor(0x123456);
    EXPECT_EQ(ContrastFontColor(style, clWhite), 0x123456u);
    EXPECT_EQ(ContrastFontColor(style, clBlack), RGB(230, 230, 230));
    EXPECT_EQ(ContrastFontColor(style, RGB(0, 201, 0)), 0x123456u) << "green alone can be light";
    EXPECT_EQ(ContrastFontColor(style, RGB(151, 0, 151)), 0x123456u);
    EXPECT_EQ(ContrastFontColor(style, RGB(150, 200, 150)), LightenColor(RGB(150, 200, 150), 90));
}

}  // namespace
}  // namespace quillory::styling
