// The main window at 96, 120, 144 and 192 dpi: its layout, fonts at their
// point size, the status bar whole inside the window, the board drawn at its
// pitch, and a move to a screen of another scale during a game.
#include <windows.h>
// The common controls' header wants the types of windows.h before it.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "core/game_state.h"
#include "core/main_layout.h"
#include "dpi_test_support.h"
#include "game/main_form.h"
#include "screen_capture.h"
#include "win_test_support.h"

namespace quillory {
namespace {

using namespace ui;
using testing::FontHandleHeight;
using testing::OlderPlatformAt;
using testing::Pump;
using testing::RectIn;
using testing::RenderClient;
using testing::ScopedDpiPlatform;
using testing::TestApplication;

std::uint32_t FixedClock() {
    return 0x2468ACE1u;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

RECT ToRECT(const Rect& rect) {
    return RECT{rect.Left, rect.Top, rect.Right, rect.Bottom};
}

// Pixels of `color` in a rectangle of a picture.
int CountColor(const TBitmap& picture, const Rect& area, COLORREF color) {
    int count = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x) count += picture.Pixel(x, y) == color;
    return count;
}

struct MainFormAtScale {
    explicit MainFormAtScale(ui::TDpiPlatform platform) : scale(std::move(platform)) {
        TestApplication();
        game.Random.SetClock(&FixedClock);
        form.reset(Create<TMainForm>(Application, game));
        form->Timer->SetEnabled(false);
        form->Show();
        Pump();
    }
    ~MainFormAtScale() { form.reset(); }

    ScopedDpiPlatform scale;
    GameState game;
    std::unique_ptr<TMainForm> form;
};

class MainFormDpiTest : public ::testing::TestWithParam<int> {};

TEST_P(MainFormDpiTest, LayoutFontsAndStatusBar) {
    const int dpi = GetParam();
    MainFormAtScale at(testing::PlatformAt(dpi));
    TMainForm& form = *at.form;
    const MainLayout layout = MainLayoutForDpi(dpi);
    HWND window = form.Handle();
    EXPECT_EQ(form.Dpi(), dpi);
    EXPECT_EQ(form.CellSize(), ScaleForDpi(10, dpi));

    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, layout.Client.Width);
    EXPECT_EQ(client.bottom, layout.Client.Height);

    // The status bar whole inside the window, at the bottom, below the board.
    const RECT status = RectIn(form.Status->Handle(), window);
    EXPECT_TRUE(Inside(status, client));
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(status.bottom - status.top, ScaleForDpi(19, dpi));
    const RECT panel = RectIn(form.MainPanel->Handle(), window);
    EXPECT_LE(panel.bottom, status.top) << "the board and the status bar do not overlap";
    EXPECT_TRUE(Inside(panel, client));
    int edges[8] = {};
    ASSERT_EQ(SendMessageA(form.Status->Handle(), SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)),
              4);
    EXPECT_EQ(edges[0], ScaleForDpi(78, dpi));
    EXPECT_EQ(edges[1], 2 * ScaleForDpi(78, dpi));
    EXPECT_EQ(edges[2], 3 * ScaleForDpi(78, dpi));
    // Each panel's text fits its panel at the scaled font.
    HFONT statusFont =
        reinterpret_cast<HFONT>(SendMessageA(form.Status->Handle(), WM_GETFONT, 0, 0));
    EXPECT_EQ(FontHandleHeight(statusFont), MulDiv(-11, dpi, 96));
    form.Newgame1Click(nullptr);
    for (int part = 0; part < 3; ++part) {
        RECT bounds{};
        SendMessageA(form.Status->Handle(), SB_GETRECT, part, reinterpret_cast<LPARAM>(&bounds));
        TCanvas canvas(GetDC(form.Status->Handle()));
        canvas.Font = form.Status->Font();
        EXPECT_LT(canvas.TextWidth(form.Status->DisplayedText(part)), bounds.right - bounds.left)
            << "panel " << part;
        ReleaseDC(form.Status->Handle(), canvas.Handle());
    }

    // The board: cells at one pitch, the frame and the label around them.
    for (int n : {1, 30, 31, 275, 600}) {
        auto* cell =
            dynamic_cast<TCellButton*>(form.FindComponent("SpeedButton" + std::to_string(n)));
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->BoundsRect(), ToRECT(layout.Cell(n))) << n;
        EXPECT_EQ(FontHandleHeight(cell->Font().Handle()), MulDiv(-12, dpi, 96));
    }
    EXPECT_EQ(form.Bevel1->BoundsRect(), ToRECT(layout.Bevel));
    const RECT panelClient = form.MainPanel->ClientRect();
    EXPECT_TRUE(Inside(form.Bevel1->BoundsRect(), panelClient));
    EXPECT_EQ(FontHandleHeight(form.PausedLabel->Font().Handle()), MulDiv(-32, dpi, 96));
    EXPECT_TRUE(Inside(form.PausedLabel->BoundsRect(), panelClient));
    {
        WindowDC screen(nullptr);
        TCanvas canvas(screen.Get());
        canvas.Font = form.PausedLabel->Font();
        EXPECT_LE(canvas.TextWidth("Paused..."), form.PausedLabel->Width()) << "not cut off";
        EXPECT_LE(canvas.TextHeight("Paused..."), form.PausedLabel->Height());
    }
}

TEST_P(MainFormDpiTest, TheBoardIsDrawnAtItsPitch) {
    const int dpi = GetParam();
    MainFormAtScale at(testing::PlatformAt(dpi));
    TMainForm& form = *at.form;
    form.Newgame1Click(nullptr);
    form.Update();
    TBitmap picture;
    RenderClient(*form.MainPanel, picture);
    const MainLayout layout = MainLayoutForDpi(dpi);
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF face = ColorToRGB(form.CellButton(1, 1)->Color());
    const int size = layout.CellSize;
    // The snake in row 10, columns 5 to 9: each cell is a rounded square at
    // the scale, with as much ink for its size as at 96 dpi (60 of 100
    // pixels there) and the face colour at its corners.
    for (int x = 5; x <= 9; ++x) {
        const Rect cell = layout.Cell((10 - 1) * 30 + x);
        const int ink = CountColor(picture, cell, black);
        EXPECT_NEAR(ink * 100.0 / (size * size), 60.0, 8.0) << "column " << x;
        EXPECT_EQ(picture.Pixel(cell.Left, cell.Top), face);
        EXPECT_EQ(picture.Pixel(cell.Right - 1, cell.Bottom - 1), face);
        EXPECT_EQ(picture.Pixel(cell.Left + size / 2, cell.Top + size / 2), black);
    }
    // One cell further the board is empty again.
    EXPECT_EQ(CountColor(picture, layout.Cell(9 * 30 + 10), black), 0);
    EXPECT_EQ(CountColor(picture, layout.Cell(9 * 30 + 4), black), 0);

    // A picture of the window at this scale, paused, for a person to look at.
    const char* folder = std::getenv("QUILLORY_SCREENSHOT_DIR");
    if (folder && *folder) {
        form.Pause1Click(nullptr);
        form.Update();
        RECT area;
        GetWindowRect(form.Handle(), &area);
        EXPECT_TRUE(testing::CaptureScreen(folder, "main_" + std::to_string(dpi) + ".png", &area,
                                           [] { Pump(); }));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryScale, MainFormDpiTest, ::testing::Values(96, 120, 144, 192));

TEST(MainFormOlderSystem, TheScreensDpiWhereTheNewerFunctionsAreMissing) {
    MainFormAtScale at(OlderPlatformAt(144));
    EXPECT_EQ(at.form->Dpi(), 144);
    EXPECT_EQ(at.form->CellSize(), 15);
    RECT client;
    GetClientRect(at.form->Handle(), &client);
    EXPECT_EQ(client.right, MainLayoutForDpi(144).Client.Width);
    EXPECT_EQ(client.bottom, MainLayoutForDpi(144).Client.Height);
}

TEST(MainFormScaleChange, AMoveToAnotherScaleDuringAGame) {
    MainFormAtScale at(testing::PlatformAt(96));
    TMainForm& form = *at.form;
    form.Newgame1Click(nullptr);
    form.TimerTimer(form.Timer);
    const int head = at.game.HeadX;

    RECT outer;
    GetWindowRect(form.Handle(), &outer);
    RECT suggested{outer.left + 10, outer.top + 20, outer.left + 10 + 480, outer.top + 20 + 360};
    SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    Pump();
    const MainLayout layout = MainLayoutForDpi(144);
    RECT client;
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, layout.Client.Width);
    EXPECT_EQ(client.bottom, layout.Client.Height);
    GetWindowRect(form.Handle(), &outer);
    EXPECT_EQ(outer.left, suggested.left);
    EXPECT_EQ(outer.top, suggested.top);
    EXPECT_EQ(form.CellButton(30, 20)->BoundsRect(), ToRECT(layout.Cell(600)));
    EXPECT_EQ(RectIn(form.Status->Handle(), form.Handle()).bottom, client.bottom);

    // The game goes on where it was.
    EXPECT_TRUE(at.game.Playing);
    EXPECT_FALSE(at.game.Paused);
    EXPECT_FALSE(form.PausedLabel->Visible());
    form.TimerTimer(form.Timer);
    EXPECT_EQ(at.game.HeadX, head + 1);
    form.Update();
    TBitmap picture;
    RenderClient(*form.MainPanel, picture);
    const Rect headCell = layout.Cell((at.game.HeadY - 1) * 30 + at.game.HeadX);
    EXPECT_EQ(picture.Pixel(headCell.Left + 7, headCell.Top + 7), RGB(0, 0, 0))
        << "the snake drawn at the new pitch";

    // And back: the design again, to the pixel.
    SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), 0);
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 316);
    EXPECT_EQ(client.bottom, 223);
    EXPECT_EQ(form.CellButton(30, 20)->BoundsRect(), (RECT{298, 190, 308, 200}));
}

}  // namespace
}  // namespace quillory
