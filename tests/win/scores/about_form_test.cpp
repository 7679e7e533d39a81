// The about window: the picture it paints, and how it takes the main
// window's place and gives it back (its frame: dialogs_dpi_test).
#include "dialogs/about_form.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <cstdlib>
#include <thread>

#include "scores_test_support.h"
#include "ui/canvas.h"
#include "ui/gdi.h"

namespace quillory::testing {
namespace {

class AboutFormTest : public ::testing::Test {
protected:
    void TearDown() override {
        delete about;
        delete main;
    }
    ui::TForm* main = MakeMainWindow(200, 150);
    TAboutForm* about = ui::Create<TAboutForm>(ui::Application, main);
};

int ColourDistance(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
}

// The window is seldom opened: making it at start-up must not read its picture.
TEST_F(AboutFormTest, ThePictureIsReadWhenFirstWanted) {
    delete about;
    const ui::GdiOwnerCounts before = ui::LiveGdiOwners();
    about = ui::Create<TAboutForm>(ui::Application, main);
    EXPECT_EQ(ui::LiveGdiOwners().Objects, before.Objects) << "no bitmap made with the window";
    EXPECT_EQ(about->Image1->Picture().Width(), 300);
    EXPECT_EQ(about->Image1->Picture().Height(), 250);
    EXPECT_GT(ui::LiveGdiOwners().Objects, before.Objects);
}

TEST_F(AboutFormTest, PaintsThePictureStretchedOverTheWholeClientArea) {
    const ui::TBitmap& picture = about->Image1->Picture();
    ASSERT_FALSE(picture.Empty()) << "the ABOUTPICTURE resource";
    ui::TBitmap painted(316, 247);
    SendMessageA(about->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(painted.DC()),
                 PRF_CLIENT);
    GdiFlush();

    // Compared with the picture sampled at the stretched positions, and with
    // the picture copied at its own size: the painting must be the first.
    long long stretchedOff = 0, unstretchedOff = 0;
    int samples = 0;
    for (int y = 0; y < 247; y += 3) {
        for (int x = 0; x < 316; x += 3) {
            const COLORREF shown = painted.Pixel(x, y);
            stretchedOff += ColourDistance(shown, picture.Pixel(x * 300 / 316, y * 250 / 247));
            unstretchedOff +=
                ColourDistance(shown, x < 300 ? picture.Pixel(x, y) : GetSysColor(COLOR_BTNFACE));
            ++samples;
        }
    }
    EXPECT_LT(stretchedOff / samples, 30);
    EXPECT_LT(stretchedOff * 2, unstretchedOff);
    // The right and bottom edges come from the picture's edges, not from the face colour.
    for (int y : {0, 123, 246}) {
        EXPECT_LT(ColourDistance(painted.Pixel(315, y), picture.Pixel(299, y * 250 / 247)), 60)
            << y;
        EXPECT_GT(ColourDistance(painted.Pixel(315, y), GetSysColor(COLOR_BTNFACE)), 100) << y;
    }
}

// Colours of the picture tools/make_art.py draws (title, snake, apple, credits
// panel); stretched, each stays nearer its own colour than any other's.
TEST_F(AboutFormTest, ThePictureIsTheOneDrawnForIt) {
    const struct { int X, Y; COLORREF Colour; } known[] = {{66, 57, RGB(223, 168, 68)},
        {128, 121, RGB(77, 139, 43)}, {257, 121, RGB(225, 58, 49)}, {39, 234, RGB(3, 12, 11)}};
    ui::TBitmap painted;
    RenderClient(*about, painted);
    for (const auto& k : known) {
        EXPECT_EQ(about->Image1->Picture().Pixel(k.X, k.Y), k.Colour) << k.X << "," << k.Y;
        const COLORREF shown = painted.Pixel(k.X * 316 / 300, k.Y * 247 / 250);
        for (const auto& other : known)
            EXPECT_LE(ColourDistance(shown, k.Colour), ColourDistance(shown, other.Colour)) << k.X;
    }
}

TEST_F(AboutFormTest, ShowsItsFaceWhereThePictureCannotBeRead) {
    about->Image1->SetPictureResource(GetModuleHandleA(nullptr), "BROKENPICTURE");
    ui::TBitmap painted;
    RenderClient(*about, painted);
    EXPECT_EQ(painted.Pixel(158, 123), GetSysColor(COLOR_BTNFACE));
}

TEST(AboutPicture, LeavesTheThreadsApartmentAsItFoundIt) {
    for (const auto& [before, after] : {std::pair{~0ul, S_OK},
             {COINIT_APARTMENTTHREADED, RPC_E_CHANGED_MODE}, {COINIT_MULTITHREADED, S_FALSE}}) {
        std::thread([&] {
            const bool joined = before != ~0ul && SUCCEEDED(CoInitializeEx(nullptr, before));
            EXPECT_TRUE(ui::TBitmap().LoadFromResourceName(nullptr, kAboutPictureResource));
            const HRESULT again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            EXPECT_EQ(again, after) << before;
            for (int n = joined + SUCCEEDED(again); n > 0; --n) CoUninitialize();
        }).join();
    }
}

TEST_F(AboutFormTest, TakesTheMainWindowsPlaceAndGivesItBack) {
    // First showing: centred over the main window, which is then hidden.
    const RECT mainRect = WindowRect(main->Handle());
    about->ShowInPlaceOfMainWindow();
    Pump();
    RECT own = WindowRect(about->Handle());
    EXPECT_TRUE(IsWindowVisible(about->Handle()));
    EXPECT_FALSE(IsWindowVisible(main->Handle()));
    EXPECT_EQ(own.left, mainRect.left + (ui::RectWidth(mainRect) - ui::RectWidth(own)) / 2);
    EXPECT_EQ(own.top, mainRect.top + (ui::RectHeight(mainRect) - ui::RectHeight(own)) / 2);

    // Closed where it was centred: the main window comes back at its corner,
    // shifted by the centring offset.
    SendMessageA(about->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_FALSE(IsWindowVisible(about->Handle()));
    EXPECT_TRUE(IsWindowVisible(main->Handle()));
    RECT back = WindowRect(main->Handle());
    EXPECT_EQ(back.left, own.left);
    EXPECT_EQ(back.top, own.top);
    EXPECT_EQ(ui::RectWidth(back), ui::RectWidth(mainRect)) << "moved, not resized";

    // Later showings, and the main window following a moved one: game_over_flow_test.
}

}  // namespace
}  // namespace quillory::testing
