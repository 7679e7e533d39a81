// The flat menus at 96, 120, 144 and 192 dpi: entries measured with the item
// font at its point size and the scaled icon column and margins, and the
// icon column's gradient keeping its shape over the wider column; a scale
// change while a popup menu or a styled dialog is open.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>

#include "core/dpi_scale.h"
#include "dpi_test_support.h"
#include "menu_fixture.h"
#include "style_test_support.h"
#include "styling/controls/control_subclass.h"
#include "styling/menu/menu_window.h"
#include "styling/menu_skin.h"
#include "ui/dialogs.h"
#include "ui/gdi.h"
#include "ui/std_controls.h"

namespace quillory::styling {
namespace {

using testing::Fill;
using testing::NewMenuForm;
using testing::ScopedDpiPlatform;
using testing::TMenuTestForm;

SIZE Measure(ui::TMenuItem* item) {
    ui::WindowDC screen(nullptr);
    ui::TCanvas canvas(screen.Get());
    int width = 0, height = 0;
    item->MeasureItem(canvas, width, height);
    return SIZE{width, height};
}

// A form with the main window's menu style, laid out at `dpi`.
std::unique_ptr<TMenuTestForm> FormAt(int dpi) {
    ScopedDpiPlatform scale(dpi);
    return NewMenuForm();
}

// A popup entry painted on white, as the system asks for it.
void PaintEntry(ui::TMenuItem* item, int dpi, ui::TBitmap& target) {
    const int margin = ScaleForDpi(4, dpi);
    const RECT rect{margin, 0, margin + ScaleForDpi(150, dpi), ScaleForDpi(23, dpi)};
    Fill(target, rect.right + 10, rect.bottom + 10, clWhite);
    ui::TCanvas canvas(target.DC());
    item->OnDrawItem(item, canvas, rect, false);
}

class MenuDpiTest : public ::testing::TestWithParam<int> {};

// An entry's height for its text's height: three quarters more, a half to
// the even side (14 gains 10.5: 10), worked out for texts 12 to 30 high.
int EntryHeightFor(int textHeight) {
    static const int heights[] = {21, 23, 24, 26, 28, 30, 32, 33, 35, 37,
                                  38, 40, 42, 44, 46, 47, 49, 51, 52};
    if (textHeight < 12 || textHeight > 30) ADD_FAILURE() << "no row for " << textHeight;
    return textHeight < 12 || textHeight > 30 ? 0 : heights[textHeight - 12];
}

TEST_P(MenuDpiTest, EntriesMeasuredAtTheScale) {
    const int dpi = GetParam();
    auto form = FormAt(dpi);
    ui::TFont font = form->Skin->Font();
    font.SetPixelsPerInch(dpi);
    ui::TBitmap scratch(1, 1);
    scratch.Canvas().Font = font;
    const int th = scratch.Canvas().TextHeight("New gameF9WWW");
    // The 5-pixel gap with the 24-pixel icon column, the sub-menu arrow's 6
    // and the separator's 4, at each scale (halves rounded up).
    struct Scaled {
        int dpi, gapAndColumn, arrow, separator;
    };
    const Scaled rows[] = {{96, 29, 6, 4}, {120, 36, 8, 5}, {144, 44, 9, 6}, {192, 58, 12, 8}};
    const Scaled* at = std::find_if(std::begin(rows), std::end(rows),
                                    [dpi](const Scaled& r) { return r.dpi == dpi; });
    ASSERT_NE(at, std::end(rows));
    const SIZE newGame = Measure(form->NewGame);
    EXPECT_EQ(newGame.cx, scratch.Canvas().TextWidth("New gameF9WWW") + at->gapAndColumn);
    EXPECT_EQ(newGame.cy, EntryHeightFor(th));
    EXPECT_EQ(Measure(form->Line).cy, at->separator) << "the separator";
    EXPECT_EQ(Measure(form->More).cx,
              scratch.Canvas().TextWidth("More") + at->gapAndColumn + at->arrow);

    // In proportion: at twice the scale, within a few pixels of twice the
    // height, within a twentieth of twice the width (text is hinted per size).
    auto twice = FormAt(2 * dpi);
    const SIZE atTwice = Measure(twice->NewGame);
    EXPECT_NEAR(atTwice.cy, 2 * newGame.cy, 2 + 2 * dpi / 96);
    EXPECT_NEAR(atTwice.cx, 2 * newGame.cx, newGame.cx / 10);
}

// Painted at the scale and at twice it (never the same form twice).
TEST_P(MenuDpiTest, TheIconColumnGradientKeepsItsShapeThePopupShadowScales) {
    const int dpi = GetParam();
    ui::TBitmap twicePicture, scaledPicture;
    {
        auto twice = FormAt(2 * dpi);
        PaintEntry(twice->Pause, 2 * dpi, twicePicture);
    }
    auto form = FormAt(dpi);
    PaintEntry(form->Pause, dpi, scaledPicture);
    // The design's column x (from the entry's left) is at its scaled x in both.
    for (int x : {0, 1, 5, 10, 20, 28, 29, 33, 40, 60, 120}) {
        EXPECT_EQ(scaledPicture.Pixel(ScaleForDpi(4, dpi) + ScaleForDpi(x, dpi), 1),
                  twicePicture.Pixel(ScaleForDpi(4, 2 * dpi) + ScaleForDpi(x, 2 * dpi), 1))
            << "column " << x;
    }
    // The window margin left of the entry, at its scaled width.
    EXPECT_TRUE(testing::AllPixels(scaledPicture, RECT{0, 0, ScaleForDpi(4, dpi), 2},
                                   LightenColor(clSkyBlue, 1)));

    // The popup's shadow at the scale of the form; the frame and margins stay
    // on the system's own border.
    ASSERT_EQ(form->Dpi(), dpi);
    constexpr int kWidth = 120, kHeight = 90;
    HWND window =
        CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 300,
                        200, kWidth, kHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(window);
    UpdateWindow(window);
    bool painting = false;
    PaintMenuWindowBorder(*form->Skin, window, false, {.SystemShadows = false}, painting);
    ui::TBitmap shot(kWidth, kHeight);
    {
        ui::WholeWindowDC dc(window);
        BitBlt(shot.DC(), 0, 0, kWidth, kHeight, dc.Get(), 0, 0, SRCCOPY);
    }
    const int shadow = ScaleForDpi(2, dpi), frame = 1;
    const COLORREF border = testing::Rgb(DarkenColor(testing::Rgb(clBtnFace), 90));
    const COLORREF shade = testing::Rgb(DarkenColor(testing::Rgb(clBtnFace), 76));
    for (int i = 0; i < shadow; ++i) {
        EXPECT_EQ(shot.Pixel(kWidth - 1 - i, kHeight / 2), shade) << "right shadow column " << i;
        EXPECT_EQ(shot.Pixel(kWidth / 2, kHeight - 1 - i), shade) << "bottom shadow row " << i;
    }
    EXPECT_NE(shot.Pixel(kWidth - 1 - shadow, kHeight / 2), shade) << "no wider than scaled";
    for (int i = 0; i < frame; ++i)
        EXPECT_EQ(shot.Pixel(i, kHeight / 2), border) << "left frame column " << i;
    EXPECT_EQ(shot.Pixel(frame, kHeight / 2), testing::Rgb(clSkyBlue)) << "the icon colour inside";
    EXPECT_EQ(shot.Pixel(frame + 1, kHeight / 2), testing::Rgb(clSkyBlue));
    SetWindowRgn(window, nullptr, FALSE);
    DestroyWindow(window);
}

INSTANTIATE_TEST_SUITE_P(EveryScale, MenuDpiTest, ::testing::Values(96, 120, 144, 192));

// The system's message for a window moved from a screen at 96 dpi to one at 144.
void MoveTo144(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    r = RECT{r.left, r.top, r.left + (r.right - r.left) * 3 / 2,
             r.top + (r.bottom - r.top) * 3 / 2};
    ScopedDpiPlatform scale(144);
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&r));
}

// The region's top-right notch is `shadow` pixels wide.
bool NotchedFor(HWND window, int shadow) {
    ui::RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    RECT box{};
    if (GetWindowRgn(window, region.Get()) == ERROR || !GetRgnBox(region.Get(), &box)) return false;
    return !PtInRegion(region.Get(), box.right - shadow, 0) &&
           PtInRegion(region.Get(), box.right - shadow - 1, 0);
}

// The form moves to a screen of 144 dpi while its popup menu is open (painted
// shadows, the look with the most to lose), then while a styled dialog waits
// for its answer: the popup keeps its frame, cut anew for the wider shadow;
// the dialog's controls are laid out at the new scale and still styled.
TEST(ScaleChange, WhileAPopupMenuOrAStyledDialogIsOpen) {
    testing::ScopedSystemSettings settings(false, false);
    auto form = FormAt(96);
    auto* popup = ui::Create<ui::TPopupMenu>(form.get());
    testing::AddItem(form.get(), popup->Items(), "First");
    form->Skin->StyleComponent(popup, true, true);
    form->Show();
    testing::Pump();
    bool cutAt96 = false, cutAt144 = false, flat = false;
    testing::OpenPopup::Run(*popup, [&] {
        HWND window = testing::FindPopupWindow();
        cutAt96 = testing::PumpUntil([&] { return NotchedFor(window, 2); });
        MoveTo144(form->Handle());
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        cutAt144 = testing::PumpUntil([&] { return NotchedFor(window, ScaleForDpi(2, 144)); });
        flat = IsFlatMenuWindow(window);
    });
    EXPECT_TRUE(cutAt96 && cutAt144 && flat);
    EXPECT_EQ(form->Dpi(), 144);

    std::unique_ptr<ui::TForm> dialog(ui::CreateInputDialog("Game Over!", "Your name :", ""));
    auto* ok = static_cast<ui::TButton*>(dialog->FindComponent("OK"));
    testing::ModalActs answer([&](ui::TForm& shown) {
        MoveTo144(shown.Handle());
        const RECT button = testing::RectIn(ok->Handle(), shown.Handle());
        EXPECT_EQ(button.right - button.left, ScaleForDpi(75, 144));
        EXPECT_EQ(button.bottom - button.top, ScaleForDpi(25, 144));
        const long paints = TControlSubClass::PaintCount();
        RedrawWindow(shown.Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        EXPECT_GT(TControlSubClass::PaintCount(), paints) << "its controls still painted flat";
        EXPECT_NE(TControlSubClass::RecordOf(*ok), nullptr);
        testing::ClickButton(shown, "OK");
    });
    EXPECT_EQ(dialog->ShowModal(), ui::mrOk);
}

}  // namespace
}  // namespace quillory::styling
