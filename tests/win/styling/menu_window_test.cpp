// Popup windows with the flat frame: both looks (system shadows or painted
// ones) on a window of our own, the replacement procedure's hand-back, and a
// real popup menu opened in-process, read back and closed from a timer.
#include "styling/menu/menu_window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "core/menu_colors.h"
#include "menu_fixture.h"
#include "style_test_support.h"
#include "styling/menu/menu_item_paint.h"
#include "styling/menu_skin.h"
#include "styling/menu_skin_manager.h"
#include "ui/gdi.h"

namespace quillory::styling {
namespace {

using testing::AllPixels;
using testing::FindPopupWindow;
using testing::MenuForm;
using testing::OpenPopup;
using testing::Pump;
using testing::Rgb;

constexpr int kWidth = 120, kHeight = 90;
constexpr ui::TColor kFirstRow = 0x3060C0;

// A bare popup window: white, with a coloured row at y = 3 where the first
// entry's look would be.
LRESULT CALLBACK PatternProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        ui::PaintDC paint(window);
        RECT client{};
        GetClientRect(window, &client);
        FillRect(paint.Get(), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        ui::BrushHandle row(CreateSolidBrush(kFirstRow));
        RECT line{0, 3, client.right, 4};
        FillRect(paint.Get(), &line, row.Get());
        return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    return DefWindowProcA(window, msg, wParam, lParam);
}

HWND CreatePatternWindow(int x = 200, int y = 200) {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = PatternProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "StyleTestPopup";
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "StyleTestPopup", "",
                                  WS_POPUP | WS_VISIBLE, x, y, kWidth, kHeight, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(window);
    Pump();
    return window;
}

// The whole window as it is on screen now.
void ReadWindow(HWND window, ui::TBitmap& bitmap) {
    RECT rect{};
    GetWindowRect(window, &rect);
    bitmap.SetSize(rect.right - rect.left, rect.bottom - rect.top);
    ui::WholeWindowDC dc(window);
    BitBlt(bitmap.DC(), 0, 0, bitmap.Width(), bitmap.Height(), dc.Get(), 0, 0, SRCCOPY);
}

class MenuWindowTest : public ::testing::Test {
protected:
    void SetUp() override { window = CreatePatternWindow(); }
    void TearDown() override {
        if (IsWindow(window)) DestroyWindow(window);
        Pump();
    }
    void PaintBorder(bool systemShadows, bool rightToLeft = false) {
        bool painting = false;
        PaintMenuWindowBorder(*menu.Skin, window, rightToLeft, {.SystemShadows = systemShadows},
                              painting);
        EXPECT_FALSE(painting) << "the guard is down again afterwards";
    }

    MenuForm menu;
    HWND window = nullptr;
    ui::TBitmap shot;
};

TEST_F(MenuWindowTest, PaintedShadowAndNotchedRegionWhereTheSystemDrawsNone) {
    const WNDPROC before = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    bool painting = true;  // a request while painting is ignored
    PaintMenuWindowBorder(*menu.Skin, window, false, {}, painting);
    EXPECT_TRUE(painting);
    EXPECT_FALSE(IsFlatMenuWindow(window));
    ReadWindow(window, shot);
    EXPECT_EQ(shot.Pixel(0, 0), Rgb(clWhite)) << "nothing painted";
    PaintBorder(false);
    ReadWindow(window, shot);
    constexpr int W = kWidth - 2, H = kHeight - 2;  // the body, shadow strips off
    const ui::TColor frame = DarkenColor(Rgb(clBtnFace), 90);
    const ui::TColor shadow = DarkenColor(Rgb(clBtnFace), 76);
    EXPECT_TRUE(AllPixels(shot, RECT{0, 0, W, 1}, frame)) << "top";
    EXPECT_TRUE(AllPixels(shot, RECT{0, 0, 1, H}, frame)) << "left";
    EXPECT_TRUE(AllPixels(shot, RECT{W - 1, 0, W, H}, frame)) << "right";
    EXPECT_TRUE(AllPixels(shot, RECT{0, H - 1, W, H}, frame)) << "bottom";
    EXPECT_TRUE(AllPixels(shot, RECT{1, 2, 3, H - 1}, clSkyBlue)) << "the icon colour inside";
    EXPECT_TRUE(AllPixels(shot, RECT{1, 1, 3, 3}, clSkyBlue)) << "top margin from row 3";
    EXPECT_TRUE(AllPixels(shot, RECT{3, 1, W - 1, 3}, kFirstRow));
    EXPECT_TRUE(AllPixels(shot, RECT{2, H, kWidth, kHeight}, shadow)) << "bottom shadow";
    EXPECT_TRUE(AllPixels(shot, RECT{W, 2, kWidth, kHeight}, shadow)) << "right shadow";
    EXPECT_TRUE(AllPixels(shot, RECT{3, 4, W - 1, H - 1}, clWhite)) << "the inside untouched";

    ui::RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(window, region.Get()), ERROR);
    EXPECT_FALSE(PtInRegion(region.Get(), kWidth - 1, 0)) << "top-right notch";
    EXPECT_FALSE(PtInRegion(region.Get(), 0, kHeight - 1)) << "bottom-left notch";
    EXPECT_TRUE(PtInRegion(region.Get(), kWidth - 1, 2));
    EXPECT_TRUE(PtInRegion(region.Get(), 2, kHeight - 1));
    EXPECT_TRUE(PtInRegion(region.Get(), kWidth - 3, 0));

    EXPECT_TRUE(IsFlatMenuWindow(window));
    EXPECT_EQ(PreviousMenuWindowProc(window), before);
}

TEST_F(MenuWindowTest, SystemShadowLookHasNoRegionAndRepeatsTheFirstRowAtTheBottom) {
    PaintBorder(true, true);  // right to left: the icon colour inside the right frame
    ReadWindow(window, shot);
    EXPECT_TRUE(AllPixels(shot, RECT{kWidth - 3, 2, kWidth - 1, kHeight - 1}, clSkyBlue));
    EXPECT_EQ(shot.Pixel(1, 10), Rgb(clWhite));
    PatBlt(ui::WholeWindowDC(window).Get(), kWidth - 3, 0, 2, kHeight, WHITENESS);
    PaintBorder(true);
    ReadWindow(window, shot);
    constexpr int W = kWidth, H = kHeight;
    const ui::TColor frame = DarkenColor(Rgb(clBtnFace), 90);
    EXPECT_TRUE(AllPixels(shot, RECT{0, 0, W, 1}, frame));
    EXPECT_TRUE(AllPixels(shot, RECT{W - 1, 0, W, H}, frame));
    EXPECT_TRUE(AllPixels(shot, RECT{0, H - 1, W, H}, frame));
    EXPECT_TRUE(AllPixels(shot, RECT{3, H - 3, W - 3, H - 1}, kFirstRow)) << "bottom margin";
    EXPECT_TRUE(AllPixels(shot, RECT{W - 3, 1, W - 1, H - 1}, clSkyBlue))
        << "right margin in the background colour";
    ui::RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(window, region.Get()), ERROR) << "no region";
}

TEST_F(MenuWindowTest, RegionKeptWhileItFitsAndRenewedAfterAResize) {
    PaintBorder(false);
    ui::RegionHandle first(CreateRectRgn(0, 0, 0, 0));
    GetWindowRgn(window, first.Get());
    // Five pixels wider still fits: the region stays as it was.
    SetWindowPos(window, nullptr, 0, 0, kWidth + 5, kHeight, SWP_NOMOVE | SWP_NOZORDER);
    PaintBorder(false);
    ui::RegionHandle kept(CreateRectRgn(0, 0, 0, 0));
    GetWindowRgn(window, kept.Get());
    EXPECT_TRUE(EqualRgn(first.Get(), kept.Get()));
    SetWindowPos(window, nullptr, 0, 0, kWidth + 6, kHeight, SWP_NOMOVE | SWP_NOZORDER);
    PaintBorder(false);
    ui::RegionHandle renewed(CreateRectRgn(0, 0, 0, 0));
    GetWindowRgn(window, renewed.Get());
    RECT box{};
    GetRgnBox(renewed.Get(), &box);
    EXPECT_EQ(box.right, kWidth + 6);
}

// Hiding gives the procedure back, removes the region and repaints the flat
// popup two pixels to the right (where the shadow lay).
TEST_F(MenuWindowTest, HidingGivesTheProcedureBackRemovesTheRegionAndRepaintsTheRight) {
    const WNDPROC before = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    HWND right = CreatePatternWindow(200 + kWidth, 200);
    PaintBorder(false);
    bool painting = false;
    PaintMenuWindowBorder(*menu.Skin, right, false, {}, painting);
    ASSERT_TRUE(IsFlatMenuWindow(window));
    EXPECT_EQ(SendMessageA(window, WM_ERASEBKGND, 0, 0), 1) << "answered without erasing";
    Pump();
    ValidateRect(right, nullptr);
    ShowWindow(window, SW_HIDE);
    EXPECT_TRUE(GetUpdateRect(right, nullptr, FALSE)) << "the neighbour is to be repainted";
    DestroyWindow(right);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)), before);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), 0);
    ui::RegionHandle region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(window, region.Get()), ERROR);

    ShowWindow(window, SW_SHOW);
    PaintBorder(false);
    ASSERT_TRUE(IsFlatMenuWindow(window));
    SendMessageA(window, WM_CLOSE, 0, 0);  // the pattern window's procedure destroys it
    EXPECT_FALSE(IsWindow(window));
}

// Windows repaints a popup's own frame (WM_NCPAINT) and prints the popup to fade
// it in (WM_PRINT): the flat frame follows both, as messages sent here show.
TEST_F(MenuWindowTest, TheFlatFrameFollowsTheSystemsOwnFramePaintsAndPrints) {
    PaintBorder(false);
    PatBlt(ui::WholeWindowDC(window).Get(), 0, 0, kWidth, kHeight, WHITENESS);  // the system's
    SendMessageA(window, WM_NCPAINT, 1, 0);
    ReadWindow(window, shot);
    EXPECT_TRUE(AllPixels(shot, RECT{0, 0, 1, kHeight - 2}, testing::MenuFrameColor()));
    for (const auto& [flags, framed] :
         {std::pair{PRF_NONCLIENT | PRF_CLIENT, true}, std::pair{PRF_CLIENT, false}}) {
        testing::Fill(shot, kWidth, kHeight, clWhite);
        SendMessageA(window, WM_PRINT, reinterpret_cast<WPARAM>(shot.DC()), flags);
        EXPECT_EQ(shot.Pixel(0, kHeight / 2) == Rgb(testing::MenuFrameColor()), framed) << flags;
    }
}

// Windows 11 rounds popup windows: square corners asked for once, through a fake
// of the desktop window manager's call that refuses as Windows 10 does.
TEST_F(MenuWindowTest, SquareCornersAreAskedForOnce) {
    std::vector<std::tuple<HWND, DWORD, DWORD, DWORD>> asked;
    testing::ScopedSystemSettings settings(
        false, false, nullptr, [&](HWND w, DWORD attribute, LPCVOID value, DWORD size) {
            asked.emplace_back(w, attribute, *static_cast<const DWORD*>(value), size);
            return E_INVALIDARG;
        });
    for (int paint = 0; paint < 2; ++paint) PaintBorder(false);
    EXPECT_EQ(asked, (decltype(asked){{window, 33, 1, sizeof(DWORD)}}));
    EXPECT_TRUE(IsFlatMenuWindow(window));
}

TEST_F(MenuWindowTest, AnEmptyStoredProcedureIsNeverCalled) {
    PaintBorder(false);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);  // someone cleared the slot
    char text[8] = "x";
    EXPECT_EQ(SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text)), 0);
    ShowWindow(window, SW_HIDE);  // nothing to hand back: the window keeps going
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(205, 205)), HTCLIENT);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PatternProc));
}

// Opened for real under both of the system's answers: while it draws menu
// shadows itself (every current Windows by default) the popup keeps its shape
// and gets no painted shadow; otherwise the notched region and the strips.
class RealPopupMenu : public ::testing::TestWithParam<bool> {};

TEST_P(RealPopupMenu, OpensWithTheFlatFrameAndHandsItsProcedureBack) {
    const bool systemShadows = GetParam();
    // Wine reports a version after 5.1: the drop-shadow setting decides.
    testing::ScopedSystemSettings settings(systemShadows, false);
    MenuForm menu;
    auto* popup = ui::Create<ui::TPopupMenu>(menu.Form);
    testing::AddItem(menu.Form, popup->Items(), "First", ui::ShortCut(VK_F9));
    testing::AddItem(menu.Form, popup->Items(), "-");
    testing::AddItem(menu.Form, popup->Items(), "Second");
    menu.Skin->StyleComponent(popup, true, true);
    ASSERT_TRUE(TMenuSkin::HasSkinDrawHandler(*popup->Items()->Items(0)));
    ASSERT_EQ(MenuSkinManager->ActiveSkin(), menu.Skin);
    // A border request left waiting by an earlier paint would hold back the
    // popup's own: at most one waits at a time.
    Pump();

    bool flat = false, restored = false, regionGone = false, hadRegion = false;
    LONG_PTR userData = -1;
    ui::TBitmap shot;
    RECT rect{};
    OpenPopup::Run(*popup, [&] {
        HWND window = FindPopupWindow();
        ASSERT_NE(window, nullptr);
        // The request is answered by the menu's own message loop.
        flat = testing::PumpUntil([window] { return IsFlatMenuWindow(window); });
        if (!flat) return;
        userData = GetWindowLongPtrA(window, GWLP_USERDATA);
        GetWindowRect(window, &rect);
        ReadWindow(window, shot);
        ui::RegionHandle shown(CreateRectRgn(0, 0, 0, 0));
        hadRegion = GetWindowRgn(window, shown.Get()) != ERROR;
        const WNDPROC previous = PreviousMenuWindowProc(window);
        SendMessageA(window, WM_SHOWWINDOW, FALSE, 0);
        restored = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)) == previous;
        ui::RegionHandle region(CreateRectRgn(0, 0, 0, 0));
        regionGone = GetWindowRgn(window, region.Get()) == ERROR;
    });
    ASSERT_TRUE(flat) << "the popup got its flat frame";
    EXPECT_NE(userData, 0) << "the previous procedure was kept";
    const int strips = systemShadows ? 0 : 2;
    const int W = shot.Width() - strips, H = shot.Height() - strips;
    const ui::TColor frame = DarkenColor(Rgb(clBtnFace), 90);
    const ui::TColor shadow = DarkenColor(Rgb(clBtnFace), 76);
    EXPECT_TRUE(AllPixels(shot, RECT{0, 0, W, 1}, frame));
    EXPECT_TRUE(AllPixels(shot, RECT{0, 0, 1, H}, frame));
    EXPECT_TRUE(AllPixels(shot, RECT{W - 1, 0, W, H}, frame)) << "the right frame";
    EXPECT_TRUE(AllPixels(shot, RECT{1, 2, 3, H - 1}, clSkyBlue)) << "icon colour inside the frame";
    EXPECT_EQ(hadRegion, !systemShadows) << "a notched region only for a painted shadow";
    if (!systemShadows) {
        EXPECT_TRUE(AllPixels(shot, RECT{2, H, W + 2, H + 2}, shadow));
        EXPECT_TRUE(AllPixels(shot, RECT{W, 2, W + 2, H + 2}, shadow));
    }
    EXPECT_TRUE(restored);
    EXPECT_TRUE(regionGone);
    if (const char* folder = std::getenv("QUILLORY_SCREENSHOT_DIR"))
        testing::SaveBitmap(shot, std::string(folder) + (systemShadows ? "/popup_menu_system_shadow.bmp"
                                                                       : "/popup_menu.bmp"));
}

INSTANTIATE_TEST_SUITE_P(ShadowsOfTheSystemOrOurs, RealPopupMenu, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "SystemDrawsShadows" : "NoSystemShadows");
                         });

// Windows prints a popup to fade or slide it in before any entry has painted or any posted
// message is handled; Wine does not, so here the print goes in front of its first frame paint.
struct FirstPrint {
    static inline ui::TBitmap* shot = nullptr;
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
        const auto& sent = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (sent.message == WM_ENTERIDLE) EndMenu();
        if (sent.message == WM_NCPAINT && shot && !shot->Width() &&
            sent.hwnd == FindPopupWindow()) {
            testing::Fill(*shot, 200, 100, clWhite);  // larger than the popup
            SendMessageA(sent.hwnd, WM_PRINT, reinterpret_cast<WPARAM>(shot->DC()), PRF_NONCLIENT);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
};

// That print is flat for a menu the style paints; the form's window menu, which it leaves to
// the system, keeps the system's frame. Each ends once its loop is idle.
TEST(RealPopupMenuFirstPrint, IsFlatOnlyForAMenuTheStylePaints) {
    MenuForm menu;
    auto* popup = ui::Create<ui::TPopupMenu>(menu.Form);
    testing::AddItem(menu.Form, popup->Items(), "First");
    menu.Skin->StyleComponent(popup, true, true);
    HHOOK hook =
        SetWindowsHookExA(WH_CALLWNDPROC, FirstPrint::Watch, nullptr, GetCurrentThreadId());
    for (const bool styled : {true, false}) {
        ui::TBitmap shot;
        FirstPrint::shot = &shot;
        TrackPopupMenu(styled ? popup->Handle() : GetSystemMenu(menu.Form->Handle(), FALSE), 0, 300,
                       250, 0, ui::Application->Handle(), nullptr);
        FirstPrint::shot = nullptr;
        EXPECT_GT(shot.Width(), 0) << "printed before its first frame paint";
        EXPECT_EQ(shot.Width() && AllPixels(shot, RECT{0, 0, 1, 16}, testing::MenuFrameColor()),
                  styled);
    }
    UnhookWindowsHookEx(hook);
}

// Every GDI object an entry's paint or a popup's frame makes is gone again:
// the framework's count of live owners is the same before and after.
TEST(RealPopupMenuObjects, NoGdiObjectOutlivesPaintsAndOpenings) {
    MenuForm menu;
    auto* popup = ui::Create<ui::TPopupMenu>(menu.Form);
    testing::AddItem(menu.Form, popup->Items(), "First", ui::ShortCut(VK_F9))->SetChecked(true);
    testing::AddItem(menu.Form, popup->Items(), "-");
    testing::AddItem(menu.Form, popup->Items(), "Second")->SetDefault(true);
    menu.Skin->StyleComponent(popup, true, true);
    menu.Skin->SetIsNT51(false);
    ui::TBitmap& picture = menu.Pause->Bitmap();
    picture.SetSize(16, 16);
    picture.Canvas().FillRect(RECT{2, 2, 10, 10}, clRed);

    ui::TBitmap target(200, 30);
    auto paintAll = [&](int rounds) {
        for (int i = 0; i < rounds; ++i) {
            for (ui::TMenuItem* item : {menu.NewGame, menu.Pause, menu.Line}) {
                item->OnDrawItem(item, target.Canvas(), RECT{4, 0, 154, 23}, i % 2 == 0);
            }
            menu.Game->OnDrawItem(menu.Game, target.Canvas(), RECT{0, 0, 60, 19}, i % 2 == 0);
            Pump();  // the border requests
        }
    };
    // Each opening ends as soon as the popup has its frame and the menu's
    // loop is idle.
    int framed = 0;
    const int hook = ui::Application->HookMainWindow([&framed](ui::TMessage& message) {
        if (message.Msg == WM_ENTERIDLE) {
            HWND window = FindPopupWindow();
            if (window && IsFlatMenuWindow(window)) {
                ++framed;
                EndMenu();
            }
        }
        return false;
    });
    auto openAll = [&](int openings) {
        for (int i = 0; i < openings; ++i) popup->Popup(300, 250);
        Pump();
    };
    paintAll(1);
    openAll(1);
    framed = 0;
    const ui::GdiOwnerCounts before = ui::LiveGdiOwners();
    paintAll(250);  // 1,000 entries
    openAll(100);
    const ui::GdiOwnerCounts after = ui::LiveGdiOwners();
    ui::Application->UnhookMainWindow(hook);
    EXPECT_EQ(framed, 100) << "every popup got its frame";
    EXPECT_EQ(after.Objects, before.Objects);
    EXPECT_EQ(after.DeviceContexts, before.DeviceContexts);
}

}  // namespace
}  // namespace quillory::styling
