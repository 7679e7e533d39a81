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

#include "core/dpi_scale.h"
#include "core/game_state.h"
#include "dpi_test_support.h"
#include "game/main_form.h"
#include "screen_capture.h"
#include "main_window_support.h"

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

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Pixels of `color` in a rectangle of a picture.
int CountColor(const TBitmap& picture, const RECT& area, COLORREF color) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) count += picture.Pixel(x, y) == color;
    return count;
}

// The window's design (cells of 10 from x 8, a client of 316 x 223, the frame
// at 3, 0 of 308 x 201, a status bar of 19 with panels of 78) at each scale,
// every length rounded as MulDiv rounds. The board grows by whole cells and
// what lies around it follows: at 120 dpi cells of 13 (12.5 rounded up) from
// x 10 make the client 3 + 10 + 30 x 13 + 8 = 411 wide.
struct ScaledLayout {
    int dpi, cell, gridLeft;
    SIZE client;
    RECT bevel;
    int statusHeight, statusPart;

    // Cell n (1..600) in the board panel.
    RECT Cell(int n) const {
        const int left = gridLeft + cell * ((n - 1) % 30), top = cell * ((n - 1) / 30);
        return RECT{left, top, left + cell, top + cell};
    }
};
constexpr ScaledLayout kLayouts[] = {
    {96, 10, 8, {316, 223}, {3, 0, 311, 201}, 19, 78},
    {120, 13, 10, {411, 289}, {4, 0, 404, 261}, 24, 98},
    {144, 15, 12, {474, 336}, {5, 0, 467, 302}, 29, 117},
    {192, 20, 16, {632, 446}, {6, 0, 622, 402}, 38, 156},
};
const ScaledLayout& kAt144 = kLayouts[2];
void PrintTo(const ScaledLayout& layout, std::ostream* out) {
    *out << layout.dpi << " dpi";
}

struct MainFormAtScale : testing::MainWindow {
    explicit MainFormAtScale(ui::TDpiPlatform platform) : scale(std::move(platform)) { Open(); }
    ~MainFormAtScale() override { form.reset(); }

    ScopedDpiPlatform scale;
};

class MainFormDpiTest : public ::testing::TestWithParam<ScaledLayout> {};

TEST_P(MainFormDpiTest, LayoutFontsAndStatusBar) {
    const ScaledLayout& layout = GetParam();
    const int dpi = layout.dpi;
    MainFormAtScale at(testing::PlatformAt(dpi));
    TMainForm& form = *at.form;
    HWND window = form.Handle();
    EXPECT_EQ(form.Dpi(), dpi);
    EXPECT_EQ(form.CellSize(), layout.cell);

    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client, (RECT{0, 0, layout.client.cx, layout.client.cy}));

    // The status bar whole inside the window, at the bottom, below the board.
    const RECT status = RectIn(form.Status->Handle(), window);
    EXPECT_TRUE(Inside(status, client));
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(status.bottom - status.top, layout.statusHeight);
    const RECT panel = RectIn(form.MainPanel->Handle(), window);
    EXPECT_LE(panel.bottom, status.top) << "the board and the status bar do not overlap";
    EXPECT_TRUE(Inside(panel, client));
    int edges[8] = {};
    ASSERT_EQ(SendMessageA(form.Status->Handle(), SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)),
              4);
    EXPECT_EQ(edges[0], layout.statusPart);
    EXPECT_EQ(edges[1], layout.statusPart + ScaleForDpi(64, dpi));
    EXPECT_EQ(edges[2], edges[1] + ScaleForDpi(92, dpi));
    // Each panel's text fits its panel at the scaled font.
    HFONT statusFont =
        reinterpret_cast<HFONT>(SendMessageA(form.Status->Handle(), WM_GETFONT, 0, 0));
    EXPECT_EQ(FontHandleHeight(statusFont), MulDiv(-11, dpi, 96));
    form.Newgame1Click(nullptr);
    form.Scores.Rows[0].Points = 9999;  // a record of four digits
    form.MakeScores();
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
        EXPECT_EQ(cell->BoundsRect(), layout.Cell(n)) << n;
        EXPECT_EQ(FontHandleHeight(cell->Font().Handle()), MulDiv(-12, dpi, 96));
    }
    EXPECT_EQ(form.Bevel1->BoundsRect(), layout.bevel);
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
    const ScaledLayout& layout = GetParam();
    const int dpi = layout.dpi;
    MainFormAtScale at(testing::PlatformAt(dpi));
    TMainForm& form = *at.form;
    form.Newgame1Click(nullptr);
    form.Update();
    TBitmap picture;
    RenderClient(*form.MainPanel, picture);
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF face = ColorToRGB(form.CellButton(1, 1)->Color());
    const int size = layout.cell;
    // The snake in row 10, columns 5 to 9: each cell is a rounded square at
    // the scale, with as much ink for its size as at 96 dpi (60 of 100
    // pixels there) and the face colour at its corners.
    for (int x = 5; x <= 9; ++x) {
        const RECT cell = layout.Cell((10 - 1) * 30 + x);
        const int ink = CountColor(picture, cell, black);
        EXPECT_NEAR(ink * 100.0 / (size * size), 60.0, 8.0) << "column " << x;
        EXPECT_EQ(picture.Pixel(cell.left, cell.top), face);
        EXPECT_EQ(picture.Pixel(cell.right - 1, cell.bottom - 1), face);
        EXPECT_EQ(picture.Pixel(cell.left + size / 2, cell.top + size / 2), black);
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

INSTANTIATE_TEST_SUITE_P(EveryScale, MainFormDpiTest, ::testing::ValuesIn(kLayouts));

TEST(MainFormOlderSystem, TheScreensDpiWhereTheNewerFunctionsAreMissing) {
    MainFormAtScale at(OlderPlatformAt(144));
    EXPECT_EQ(at.form->Dpi(), 144);
    EXPECT_EQ(at.form->CellSize(), 15);
    RECT client;
    GetClientRect(at.form->Handle(), &client);
    EXPECT_EQ(client, (RECT{0, 0, kAt144.client.cx, kAt144.client.cy}));
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
    const ScaledLayout& layout = kAt144;
    RECT client;
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client, (RECT{0, 0, layout.client.cx, layout.client.cy}));
    GetWindowRect(form.Handle(), &outer);
    EXPECT_EQ(outer.left, suggested.left);
    EXPECT_EQ(outer.top, suggested.top);
    EXPECT_EQ(form.CellButton(30, 20)->BoundsRect(), layout.Cell(600));
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
    const RECT headCell = layout.Cell((at.game.HeadY - 1) * 30 + at.game.HeadX);
    EXPECT_EQ(picture.Pixel(headCell.left + 7, headCell.top + 7), RGB(0, 0, 0))
        << "the snake drawn at the new pitch";

    // And back: the design again, to the pixel.
    SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), 0);
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client, (RECT{0, 0, 316, 223}));
    EXPECT_EQ(form.CellButton(30, 20)->BoundsRect(), (RECT{298, 190, 308, 200}));
}

}  // namespace
}  // namespace quillory
