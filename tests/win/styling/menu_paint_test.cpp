// The menu painters on bitmaps: measuring entries, the icon column gradient,
// the selection rectangle, bar captions hot and selected, marks, pictures,
// separators, default entries and the border request a popup entry posts.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "core/menu_colors.h"
#include "menu_fixture.h"
#include "style_test_support.h"
#include "styling/menu/menu_item_paint.h"
#include "styling/menu_skin.h"
#include "ui/image_list.h"

namespace quillory::styling {
namespace {

using testing::AllPixels;
using testing::Fill;
using testing::MenuForm;
using testing::PixelsOf;
using testing::Rgb;

constexpr ui::TColor kMagenta = 0xFF00FF;

int TextWidth(const ui::TFont& font, const std::string& text) {
    ui::TBitmap scratch(1, 1);
    scratch.Canvas().Font = font;
    return scratch.Canvas().TextWidth(text);
}
int TextHeight(const ui::TFont& font, const std::string& text) {
    ui::TBitmap scratch(1, 1);
    scratch.Canvas().Font = font;
    return scratch.Canvas().TextHeight(text);
}

// Measured as the system asks: the framework's proposal, then the handler.
SIZE Measure(ui::TMenuItem* item, int width = 0, int height = 0) {
    ui::WindowDC screen(nullptr);
    ui::TCanvas canvas(screen.Get());
    if (width == 0 && height == 0) {
        item->MeasureItem(canvas, width, height);
    } else {
        item->OnMeasureItem(item, canvas, width, height);
    }
    return SIZE{width, height};
}

void DrainBorderRequests() {
    MSG msg;
    while (PeekMessageA(&msg, ui::Application->Handle(), WM_FLATBORDER_BYITEM,
                        WM_FLATBORDER_BYWINDOW, PM_REMOVE)) {
    }
}

int WaitingBorderRequests() {
    // Taken out to be counted, then put back in the same order.
    std::vector<MSG> waiting;
    MSG msg;
    while (PeekMessageA(&msg, ui::Application->Handle(), WM_FLATBORDER_BYITEM,
                        WM_FLATBORDER_BYWINDOW, PM_REMOVE))
        waiting.push_back(msg);
    for (const MSG& m : waiting) PostMessageA(m.hwnd, m.message, m.wParam, m.lParam);
    return static_cast<int>(waiting.size());
}

// The pointer moves as the player's does: with a message the thread takes.
void PointAt(int x, int y) {
    SetCursorPos(x, y);
    MSG msg;
    PostMessageA(ui::Application->Handle(), WM_APP, 0, 0);
    PeekMessageA(&msg, ui::Application->Handle(), WM_APP, WM_APP, PM_REMOVE);
}

class MenuPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        PointAt(1, 1);  // far from the test form: no bar caption is hot
    }
    void TearDown() override { DrainBorderRequests(); }

    // Paints `item` as the system would ask for it, on a bitmap of white.
    ui::TBitmap& Paint(ui::TMenuItem* item, const RECT& rect, bool selected) {
        Fill(target, 220, 40, clWhite);
        ui::TCanvas canvas(target.DC());
        item->OnDrawItem(item, canvas, rect, selected);
        return target;
    }

    MenuForm menu;
    ui::TBitmap target;
    const RECT kPopup{4, 0, 4 + 150, 23};
};

TEST_F(MenuPaintTest, HandlersAreInstalledOnEveryItemAndMenusAreOwnerDrawn) {
    EXPECT_TRUE(menu.Menu->OwnerDraw());
    for (ui::TMenuItem* item :
         {menu.Game, menu.NewGame, menu.Line, menu.More, menu.Deeper, menu.Options, menu.Level}) {
        EXPECT_TRUE(TMenuSkin::HasSkinDrawHandler(*item)) << item->Caption();
        EXPECT_TRUE(TMenuSkin::HasSkinMeasureHandler(*item)) << item->Caption();
    }
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoA(menu.Menu->Handle(), 0, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << "the system's menu was rebuilt owner-drawn";
}

// Caption, shortcut, gap, icon column, arrow and separator at 96 dpi are
// measured in menu_dpi_test's first row; here what the proposal and the
// accelerator marker change.
TEST_F(MenuPaintTest, MeasuresCaptionShortcutAndGapBesideTheIconColumn) {
    const ui::TFont& font = menu.Skin->Font();
    EXPECT_EQ(TextHeight(font, "New gameF9WWW"), 13) << "Tahoma 11 on a 96 dpi screen";
    EXPECT_EQ(Measure(menu.NewGame).cy, 23) << "13 and three quarters of it, 9.75, rounded";
    EXPECT_EQ(Measure(menu.Exit).cx, TextWidth(font, "E&xit") + 5 - TextWidth(font, "&") + 24)
        << "the accelerator marker is not drawn";
    EXPECT_EQ(Measure(menu.Line, 300, 30).cy, 4) << "a separator is 4 pixels, whatever was proposed";
    EXPECT_EQ(Measure(menu.Game, 1, 1).cx, TextWidth(font, "&Game") + 5 - TextWidth(font, "&"))
        << "no icon column on the bar";
    const SIZE proposed = Measure(menu.NewGame, 400, 40);
    EXPECT_EQ(proposed.cx, 400) << "never smaller than the proposal";
    EXPECT_EQ(proposed.cy, 40);
}

TEST_F(MenuPaintTest, GradientColumnsOfAPopupEntryOrAPlainBackground) {
    const ui::TBitmap& bitmap = Paint(menu.Pause, kPopup, false);
    auto column = [&](int x) { return bitmap.Pixel(x, 1); };
    EXPECT_EQ(column(4), LightenColor(clSkyBlue, 1));
    EXPECT_EQ(column(5), LightenColor(clSkyBlue, 4));
    EXPECT_EQ(column(32), LightenColor(clSkyBlue, 85));
    EXPECT_EQ(column(33), LightenColor(clSkyBlue, 86));
    EXPECT_EQ(column(44), LightenColor(clSkyBlue, 96));
    EXPECT_EQ(column(44), RGB(251, 253, 254));
    EXPECT_TRUE(AllPixels(bitmap, RECT{44, 0, 154, 2}, RGB(251, 253, 254)));
    EXPECT_TRUE(AllPixels(bitmap, RECT{0, 0, 4, 23}, LightenColor(clSkyBlue, 1)))
        << "the window margin left of the entry";
    EXPECT_TRUE(AllPixels(bitmap, RECT{154, 0, 220, 40}, clWhite)) << "nothing past the entry";
    for (int x = 4; x < 154; ++x)
        ASSERT_EQ(bitmap.Pixel(x, 0), bitmap.Pixel(x, 22)) << "columns of one colour, x " << x;

    // Without the gradient: a plain background, its colour changes resolved.
    menu.Skin->SetGradient(false);
    const ui::TBitmap& plain = Paint(menu.Pause, kPopup, false);
    EXPECT_TRUE(AllPixels(plain, RECT{0, 0, 28, 1}, clSkyBlue)) << "margin and icon column";
    EXPECT_TRUE(AllPixels(plain, RECT{28, 0, 154, 1}, clSkyBlue)) << "Color on the main window";
    menu.Skin->SetIconBackColor(clWhite);
    const ui::TBitmap& after = Paint(menu.Pause, kPopup, false);
    EXPECT_TRUE(AllPixels(after, RECT{4, 0, 28, 23}, clWhite)) << "a colour change is resolved";
    EXPECT_TRUE(AllPixels(after, RECT{0, 0, 4, 23}, clSkyBlue));
}

TEST(IconColumnGradient, CopiedColumnsEqualTheColumnByColumnRule) {
    testing::TestApplication();
    TSkinStyle style;
    style.Colors.FResIconBackColor = clSkyBlue;
    TGradientRow row;  // one for all: worked out anew for each change
    for (ui::TColor colour : {clSkyBlue, clNavy, clBtnFace}) {
        style.Colors.FResIconBackColor = colour;
        for (bool rtl : {false, true}) {
            for (RECT rect : {RECT{4, 0, 156, 24}, RECT{4, 0, 60, 24}, RECT{-3, 2, 90, 20},
                              RECT{10, 0, 250, 30}}) {
                ui::TBitmap slow, fast;
                Fill(slow, 200, 26, clWhite);
                Fill(fast, 200, 26, clWhite);
                PaintIconColumnGradient(style, slow.DC(), rect, rtl);
                PaintIconColumnGradient(style, fast, rect, rtl, row);
                for (int y = 0; y < 26; ++y)
                    for (int x = 0; x < 200; ++x)
                        ASSERT_EQ(fast.Pixel(x, y), slow.Pixel(x, y))
                            << x << "," << y << " rtl " << rtl << " from " << rect.left;
            }
        }
    }
    // Right to left the quick steps start at the right edge itself and take
    // the columns right of x = 156 - 24 + 5.
    style.Colors.FResIconBackColor = clSkyBlue;
    const TGradientColumns rtl = IconColumnGradient(style, RECT{4, 0, 156, 24}, true);
    ASSERT_EQ(rtl.Colors.size(), 153u);
    EXPECT_EQ(rtl.FirstX, 3) << "one column left of the rectangle";
    auto at = [&](int x) { return rtl.Colors[x - rtl.FirstX]; };
    EXPECT_EQ(at(155), LightenColor(clSkyBlue, 3));
    EXPECT_EQ(at(138), LightenColor(clSkyBlue, 3 * 18));
    EXPECT_EQ(at(137), LightenColor(clSkyBlue, 3 * 18 + 1));
    EXPECT_EQ(at(3), LightenColor(clSkyBlue, 96));
}

TEST_F(MenuPaintTest, SelectionRectangleIsOnePixelShortAtTheTopAndNarrowerWhenFlat) {
    const ui::TBitmap& bitmap = Paint(menu.Pause, kPopup, true);
    EXPECT_EQ(bitmap.Pixel(60, 0), RGB(251, 253, 254)) << "the top row keeps the background";
    EXPECT_TRUE(AllPixels(bitmap, RECT{4, 1, 153, 2}, clNavy)) << "top edge";
    EXPECT_TRUE(AllPixels(bitmap, RECT{4, 22, 153, 23}, clNavy)) << "bottom edge";
    EXPECT_TRUE(AllPixels(bitmap, RECT{4, 1, 5, 23}, clNavy)) << "left edge";
    EXPECT_TRUE(AllPixels(bitmap, RECT{152, 1, 153, 23}, clNavy)) << "right edge";
    EXPECT_TRUE(AllPixels(bitmap, RECT{153, 0, 154, 23}, RGB(251, 253, 254)))
        << "one column narrower with the flat frame";
    EXPECT_TRUE(AllPixels(bitmap, RECT{5, 2, 30, 5}, RGB(227, 238, 250)));

    menu.Skin->SetFlatMenu(false);
    const ui::TBitmap& wide = Paint(menu.Pause, kPopup, true);
    EXPECT_TRUE(AllPixels(wide, RECT{153, 1, 154, 23}, clNavy));

    menu.Pause->SetEnabled(false);
    const ui::TBitmap& disabled = Paint(menu.Pause, kPopup, true);
    EXPECT_TRUE(PixelsOf(disabled, clNavy).empty()) << "a disabled entry shows no selection";
}

TEST_F(MenuPaintTest, SeparatorLineInTheMiddleOfItsFourPixels) {
    const RECT rect{4, 0, 154, 4};
    const ui::TBitmap& bitmap = Paint(menu.Line, rect, false);
    EXPECT_TRUE(AllPixels(bitmap, RECT{4 + 24 + 7, 2, 154, 3}, clSkyBlue));
    EXPECT_NE(bitmap.Pixel(4 + 24 + 6, 2), Rgb(clSkyBlue));
    EXPECT_TRUE(PixelsOf(bitmap, clSkyBlue).size() == 154u - 35u) << "nothing else in that colour";
}

TEST_F(MenuPaintTest, CheckedEntryWithoutPictureHasItsMarkCentredInTheIconColumn) {
    menu.Pause->SetChecked(true);
    const ui::TColor frame = clHighlight;  // CheckedColor on the main window
    const ui::TBitmap& bitmap = Paint(menu.Pause, kPopup, false);
    // 10 x 10 at (4 + 7, (24 - 10) / 2): the item rectangle is one taller inside.
    EXPECT_TRUE(AllPixels(bitmap, RECT{11, 7, 21, 8}, frame));
    EXPECT_TRUE(AllPixels(bitmap, RECT{11, 7, 12, 17}, frame));
    EXPECT_EQ(bitmap.Pixel(11 + 7, 7 + 8), RGB(237, 244, 252));
    EXPECT_EQ(bitmap.Pixel(11 + 1, 7 + 5), Rgb(clBlack)) << "the tick";
    const ui::TBitmap& selected = Paint(menu.Pause, kPopup, true);
    EXPECT_EQ(selected.Pixel(11 + 7, 7 + 8), RGB(210, 228, 248));

    // A radio entry's mark in the same square: ring and dot in navy, the fill between.
    menu.Pause->SetRadioItem(true);
    const ui::TBitmap& radio = Paint(menu.Pause, kPopup, false);
    EXPECT_EQ(radio.Pixel(16, 12), Rgb(clNavy)) << "the dot";
    EXPECT_EQ(radio.Pixel(16, 7), Rgb(clNavy)) << "the ring";
    EXPECT_EQ(radio.Pixel(16, 8), RGB(237, 244, 252));
    EXPECT_NE(radio.Pixel(11, 7), Rgb(clNavy)) << "no corners";
    menu.Pause->SetChecked(false);
    EXPECT_TRUE(PixelsOf(Paint(menu.Pause, kPopup, false), clNavy).empty()) << "unchecked: none";
}

class MenuPictureTest : public MenuPaintTest {
protected:
    void SetUp() override {
        MenuPaintTest::SetUp();
        ui::TBitmap& picture = menu.Pause->Bitmap();
        Fill(picture, 16, 16, kMagenta);
        picture.Canvas().FillRect(RECT{4, 4, 12, 12}, clRed);
    }
    // The red square's top-left pixel, wherever it is drawn in its colour.
    std::pair<int, int> Square(const ui::TBitmap& bitmap, ui::TColor color) {
        const auto pixels = PixelsOf(bitmap, color);
        EXPECT_EQ(pixels.size(), 64u);
        return pixels.empty() ? std::pair{-1, -1} : *pixels.begin();
    }
};

TEST_F(MenuPictureTest, PictureDimmedGrayedRaisedAndBoxedWhenChecked) {
    // Centred: 4 + (24 - 16) / 2 - 1 = 7 across, 3 down; the square 4 further in.
    EXPECT_EQ(Square(Paint(menu.Pause, kPopup, false), LightenColor(clRed, 30)),
              (std::pair{11, 7}));
    EXPECT_EQ(menu.Pause->Bitmap().Pixel(5, 5), Rgb(clRed)) << "the item's own picture stays";

    const ui::TBitmap& selected = Paint(menu.Pause, kPopup, true);
    EXPECT_EQ(Square(selected, clRed), (std::pair{10, 6}));
    EXPECT_EQ(selected.Pixel(10 + 9, 6 + 9), DarkenColor(RGB(227, 238, 250), 50)) << "shadow";

    menu.Pause->SetEnabled(false);
    EXPECT_EQ(Square(Paint(menu.Pause, kPopup, false), LightenColor(GrayLevelColor(clRed, 10), 40)),
              (std::pair{11, 7}));
    EXPECT_EQ(Square(Paint(menu.Pause, kPopup, true), LightenColor(GrayLevelColor(clRed, 10), 40)),
              (std::pair{11, 7}))
        << "a selected disabled picture is not raised";

    menu.Pause->SetEnabled(true);
    menu.Pause->SetChecked(true);
    const ui::TBitmap& bitmap = Paint(menu.Pause, kPopup, false);
    EXPECT_EQ(Square(bitmap, clRed), (std::pair{11, 7})) << "undimmed, in place";
    // The box: the icon column shrunk to (5, 2, 25, 22).
    EXPECT_TRUE(AllPixels(bitmap, RECT{5, 2, 25, 3}, clNavy));
    EXPECT_TRUE(AllPixels(bitmap, RECT{5, 21, 25, 22}, clNavy));
    EXPECT_EQ(bitmap.Pixel(8, 10), RGB(237, 244, 252));
}

TEST_F(MenuPaintTest, DefaultEntryCaptionOnDarkerCopies) {
    menu.Skin->SetGradient(false);
    menu.Pause->SetDefault(true);
    const ui::TBitmap& bitmap = Paint(menu.Pause, kPopup, false);
    std::set<COLORREF> ink;
    for (const auto& [x, y] : PixelsOf(bitmap, clSkyBlue, false))
        if (x >= 28 && x < 154 && y < 23) ink.insert(bitmap.Pixel(x, y));
    EXPECT_EQ(ink, (std::set<COLORREF>{DarkenColor(clSkyBlue, 30), DarkenColor(clSkyBlue, 40),
                                       DarkenColor(clSkyBlue, 60), Rgb(clMenuText)}));
}

class BarCaptionTest : public MenuPaintTest {
protected:
    void SetUp() override {
        MenuPaintTest::SetUp();
        menu.Form->HandleNeeded();
    }
    const RECT kBar{0, 0, 60, 19};
};

TEST_F(BarCaptionTest, IdleOnTheBarColourHoveredWithTheRectangleSevenPixelsShort) {
    const ui::TBitmap& idle = Paint(menu.Game, kBar, false);  // the pointer is far away
    EXPECT_TRUE(AllPixels(idle, RECT{0, 0, 60, 3}, clBtnFace));
    EXPECT_TRUE(AllPixels(idle, RECT{0, 0, 2, 19}, clBtnFace));
    EXPECT_TRUE(AllPixels(idle, RECT{60, 0, 220, 40}, clWhite));
    const RECT window = menu.Form->WindowRect();
    PointAt(window.left + kBar.left + 10, window.top + kBar.top + 5);
    const ui::TBitmap& bitmap = Paint(menu.Game, kBar, false);
    EXPECT_TRUE(AllPixels(bitmap, RECT{0, 0, 53, 1}, clNavy));
    EXPECT_TRUE(AllPixels(bitmap, RECT{52, 0, 53, 19}, clNavy));
    EXPECT_TRUE(AllPixels(bitmap, RECT{53, 0, 60, 19}, clBtnFace)) << "7 pixels short";
    EXPECT_EQ(bitmap.Pixel(1, 1), RGB(227, 238, 250));

    PointAt(window.left + kBar.left + 10, window.top + kBar.bottom - 1);
    EXPECT_TRUE(PixelsOf(Paint(menu.Game, kBar, false), clNavy).empty())
        << "the bottom row does not count";
    menu.Game->SetEnabled(false);
    PointAt(window.left + kBar.left + 10, window.top + kBar.top + 5);
    EXPECT_TRUE(PixelsOf(Paint(menu.Game, kBar, false), clNavy).empty()) << "disabled";
}

TEST_F(BarCaptionTest, SelectedCaptionHasItsFrameAndShadowColumns) {
    const ui::TBitmap& b = Paint(menu.Game, kBar, true);
    const ui::TColor c = Rgb(clBtnFace);
    constexpr int W = 60, H = 19;
    EXPECT_TRUE(AllPixels(b, RECT{0, 0, 1, H}, clNavy)) << "left edge";
    EXPECT_TRUE(AllPixels(b, RECT{0, 0, W - 8, 1}, clNavy)) << "top edge";
    EXPECT_TRUE(AllPixels(b, RECT{W - 8, 0, W - 7, H}, clNavy)) << "right edge";
    EXPECT_EQ(b.Pixel(1, H - 1), RGB(227, 238, 250)) << "open at the bottom";
    EXPECT_EQ(b.Pixel(W - 7, 1), DarkenColor(c, 10));
    EXPECT_EQ(b.Pixel(W - 7, 4), DarkenColor(c, 30));
    EXPECT_EQ(b.Pixel(W - 5, H - 1), DarkenColor(c, 60));
    EXPECT_EQ(b.Pixel(W - 7, H - 1), DarkenColor(c, 100));
    EXPECT_EQ(b.Pixel(W - 6, 5), DarkenColor(c, 40));
    EXPECT_EQ(b.Pixel(W - 4, 7), DarkenColor(c, 30));
    EXPECT_EQ(b.Pixel(W - 4, 4), DarkenColor(c, 10));
    EXPECT_EQ(b.Pixel(W - 1, 3), c);
    EXPECT_EQ(b.Pixel(W - 2, 2), c);
    EXPECT_EQ(b.Pixel(W - 1, H - 1), DarkenColor(c, 10));
}

TEST_F(MenuPaintTest, APopupEntryAsksForOneBorderRequestAtATime) {
    DrainBorderRequests();
    Paint(menu.Pause, kPopup, false);
    Paint(menu.NewGame, kPopup, true);
    Paint(menu.Exit, kPopup, false);
    ASSERT_EQ(WaitingBorderRequests(), 1);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, ui::Application->Handle(), WM_FLATBORDER_BYITEM,
                             WM_FLATBORDER_BYWINDOW, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_FLATBORDER_BYITEM) << "a bitmap has no window";
    EXPECT_EQ(msg.lParam, reinterpret_cast<LPARAM>(menu.Pause));

    Paint(menu.Game, RECT{0, 0, 60, 19}, true);
    EXPECT_EQ(WaitingBorderRequests(), 0) << "bar captions ask for nothing";
    menu.Skin->SetFlatMenu(false);
    Paint(menu.Pause, kPopup, false);
    EXPECT_EQ(WaitingBorderRequests(), 0) << "nor does anything without the flat frame";

    // The request taken out above was never answered: the next entry asks
    // anew. Answered with the menu off screen, its entries ask again, once,
    // when a popup menu window has been made.
    menu.Skin->SetFlatMenu(true);
    Paint(menu.Pause, kPopup, false);
    ASSERT_EQ(WaitingBorderRequests(), 1) << "a request taken out unanswered is asked again";
    ASSERT_TRUE(PeekMessageA(&msg, ui::Application->Handle(), WM_FLATBORDER_BYITEM,
                             WM_FLATBORDER_BYWINDOW, PM_REMOVE));
    DispatchMessageA(&msg);
    Paint(menu.Exit, kPopup, false);
    EXPECT_EQ(WaitingBorderRequests(), 0) << "answered with its menu off screen";
    DestroyWindow(CreateWindowExA(WS_EX_TOOLWINDOW, "#32768", "", WS_POPUP, 0, 0, 9, 9, nullptr,
                                  nullptr, nullptr, nullptr));
    Paint(menu.Exit, kPopup, false);
    Paint(menu.NewGame, kPopup, false);
    EXPECT_EQ(WaitingBorderRequests(), 1) << "a popup menu window was made since";
}

TEST_F(MenuPaintTest, PicturesFromTheMenusAndTheParentsImageLists) {
    ui::TBitmap red, blue;
    Fill(red, 16, 16, kMagenta);
    red.Canvas().FillRect(RECT{4, 4, 12, 12}, clRed);
    Fill(blue, 20, 20, kMagenta);
    blue.Canvas().FillRect(RECT{0, 0, 20, 19}, clBlue);
    auto* menuImages = ui::Create<ui::TImageList>(menu.Form, 16, 16);
    menuImages->AddMasked(red, kMagenta);
    auto* subImages = ui::Create<ui::TImageList>(menu.Form, 20, 20);
    subImages->AddMasked(blue, kMagenta);
    menu.Menu->SetImages(menuImages);
    menu.Level->SetImageIndex(0);
    const auto square = PixelsOf(Paint(menu.Level, kPopup, false), LightenColor(clRed, 30));
    ASSERT_EQ(square.size(), 64u) << "the menu's list, dimmed";
    EXPECT_EQ(*square.begin(), (std::pair{11, 7}));

    menu.Game->SetSubMenuImages(subImages);
    menu.Pause->SetImageIndex(0);
    EXPECT_EQ(PixelsOf(Paint(menu.Pause, kPopup, false), LightenColor(clBlue, 30)).size(),
              400u - 20u)
        << "the parent's list comes first";
    EXPECT_EQ(Measure(menu.Pause, 1, 1).cy, 20 + 6) << "the picture's height decides";
    menu.Pause->SetImageIndex(-1);
    EXPECT_TRUE(PixelsOf(Paint(menu.Pause, kPopup, false), LightenColor(clBlue, 30)).empty());
}

class RightToLeftTest : public MenuPaintTest {
protected:
    void SetUp() override {
        MenuPaintTest::SetUp();
        menu.Menu->SetRightToLeft(true);
    }
};

TEST_F(RightToLeftTest, PopupEntrySeparatorAndBarCaptionAreMirrored) {
    menu.Pause->SetChecked(true);
    const ui::TBitmap& checked = Paint(menu.Pause, kPopup, false);
    // The gradient starts at the right, two columns past the entry (not seen).
    EXPECT_EQ(checked.Pixel(153, 1), LightenColor(clSkyBlue, 9));
    EXPECT_EQ(checked.Pixel(20, 1), RGB(251, 253, 254));
    // The mark centred in the icon column at the right: (130 + 7, 7).
    EXPECT_TRUE(AllPixels(checked, RECT{137, 7, 147, 8}, clHighlight));
    menu.Pause->SetChecked(false);
    const ui::TBitmap& bitmap = Paint(menu.Pause, kPopup, false);
    // The caption right-aligned 3 pixels before the icon column, read right
    // to left (its leading space goes to the right end); the shortcut 10
    // pixels inside the left edge; both below the text rectangle's top,
    // which is centred on the height of "W".
    const ui::TFont& font = menu.Skin->Font();
    const int top = (24 - TextHeight(font, "W")) / 2, bottom = top + TextHeight(font, "W");
    const int captionRight = 154 - 24 - 3, captionLeft = captionRight - TextWidth(font, " Pause");
    const RECT caption = testing::BoxOf(bitmap, clMenuText, RECT{60, 0, 154, 24});
    EXPECT_GE(caption.left, captionLeft);
    EXPECT_LE(caption.left, captionLeft + 1);
    EXPECT_LE(caption.right, captionRight - TextWidth(font, " "));
    const RECT shortCut = testing::BoxOf(bitmap, clMenuText, RECT{4, 0, 60, 24});
    EXPECT_GE(shortCut.left, 4 + 10);
    EXPECT_LE(shortCut.left, 4 + 10 + 1);
    EXPECT_LE(shortCut.right, 4 + 10 + TextWidth(font, "F10"));
    for (const RECT& box : {caption, shortCut}) {
        EXPECT_GE(box.top, top);
        EXPECT_LE(box.bottom, bottom);
    }

    const ui::TBitmap& line = Paint(menu.Line, RECT{4, 0, 154, 4}, false);
    EXPECT_TRUE(AllPixels(line, RECT{4, 2, 154 - 24 - 7, 3}, clSkyBlue));
    EXPECT_NE(line.Pixel(154 - 24 - 7, 2), Rgb(clSkyBlue));

    menu.Form->HandleNeeded();
    const ui::TBitmap& bar = Paint(menu.Game, RECT{0, 0, 60, 19}, true);
    EXPECT_TRUE(AllPixels(bar, RECT{0, 0, 58, 1}, clNavy))
        << "the frame runs to 3 short of the edge";
    EXPECT_TRUE(AllPixels(bar, RECT{57, 0, 58, 19}, clNavy));
    EXPECT_TRUE(AllPixels(bar, RECT{58, 2, 60, 19}, DarkenColor(Rgb(clBtnFace), 70))) << "shadow";
    EXPECT_TRUE(AllPixels(bar, RECT{58, 0, 60, 2}, clBtnFace));
}

}  // namespace
}  // namespace quillory::styling
