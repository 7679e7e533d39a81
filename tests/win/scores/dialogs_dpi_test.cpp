// Every dialog's frame; the top scores dialog, the level dialog and the about
// window at 96, 120, 144 and 192 dpi: their sizes, fonts at their point size,
// every control whole inside the window and none over another, and pictures
// of each for a person to look at.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/game_state.h"
#include "dialogs/about_form.h"
#include "dialogs/level_form.h"
#include "dpi_test_support.h"
#include "scores/scores_form.h"
#include "scores/win32_score_files.h"
#include "scores_test_support.h"
#include "screen_capture.h"
#include "ui/dialogs.h"

namespace quillory::testing {
namespace {

int TextWidth(const ui::TFont& font, const std::string& text) {
    ui::WindowDC screen(nullptr);
    ui::TCanvas canvas(screen.Get());
    canvas.Font = font;
    return canvas.TextWidth(text);
}

void Capture(HWND window, const std::string& name) {
    const char* folder = std::getenv("QUILLORY_SCREENSHOT_DIR");
    if (!folder || !*folder) return;
    const RECT area = WindowRect(window);
    EXPECT_TRUE(CaptureScreen(folder, name, &area, [] { Pump(); }));
}

// Fixed size with a close button only, created hidden; the tool windows
// small-captioned, the level dialog and the about window always on top, the
// name dialog with a dialog border.
TEST(DialogFrames, FixedWithACloseButtonOnly) {
    const std::unique_ptr<ui::TForm> main(MakeMainWindow());
    ScratchDirectory dir;
    ScoreTable scores{};
    Win32ScoreFileSystem files;
    ScoreKeeper keeper(scores, files, dir.File("scores.dat"));
    GameState game;
    // The extended styles of tool window, always on top and dialog border.
    const std::tuple<const char*, ui::TForm*, LONG_PTR> rows[] = {
        {"Top Scores", ui::Create<TScoresForm>(ui::Application, keeper, main.get()),
         WS_EX_TOOLWINDOW},
        {"Level 7", ui::Create<TLevelForm>(ui::Application, game, main.get()),
         WS_EX_TOOLWINDOW | WS_EX_TOPMOST},
        {"About", ui::Create<TAboutForm>(ui::Application, main.get()),
         WS_EX_TOOLWINDOW | WS_EX_TOPMOST},
        {"Game Over!", ui::CreateInputDialog("Game Over!", "Your name :", ""),
         WS_EX_DLGMODALFRAME}};
    for (const auto& [caption, form, exStyle] : rows) {
        SCOPED_TRACE(caption);
        const std::unique_ptr<ui::TForm> dialog(form);
        HWND window = dialog->Handle();
        EXPECT_EQ(WindowText(window), caption);
        EXPECT_FALSE(IsWindowVisible(window)) << "created hidden";
        EXPECT_EQ(GetWindowLongPtrA(window, GWL_STYLE) &
                      (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
                  WS_CAPTION | WS_SYSMENU);
        EXPECT_EQ(GetWindowLongPtrA(window, GWL_EXSTYLE) &
                      (WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_DLGMODALFRAME),
                  exStyle);
    }
}

class DialogsDpiTest : public ::testing::TestWithParam<int> {
protected:
    int Dpi() const { return GetParam(); }
    int S(int length) const { return ScaleForDpi(length, GetParam()); }
    void TearDown() override { delete main; }

    ScopedDpiPlatform scale{GetParam()};
    ui::TForm* main = MakeMainWindow();
};

TEST_P(DialogsDpiTest, TopScores) {
    ScratchDirectory dir;
    ScoreTable scores = TableOf({9000, 850, 70});
    Win32ScoreFileSystem files;
    ScoreKeeper keeper(scores, files, dir.File("scores.dat"));
    std::unique_ptr<TScoresForm> dialog(ui::Create<TScoresForm>(ui::Application, keeper, main));
    keeper.MakeScores();
    dialog->Show();
    Pump();
    RECT client;
    GetClientRect(dialog->Handle(), &client);
    EXPECT_EQ(client.right, S(235));
    EXPECT_EQ(client.bottom, S(256));
    ExpectLaidOutCleanly(*dialog);
    EXPECT_EQ(dialog->Button1->BoundsRect().top, S(184));
    EXPECT_EQ(FontHandleHeight(dialog->Font().Handle()), MulDiv(-11, Dpi(), 96));
    // The heading whole, "Score" over its column.
    EXPECT_GE(dialog->Label1->Width(),
              TextWidth(dialog->Label1->Font(), dialog->Label1->Caption()));
    // Ten lines of the scaled height in each list, none cut off.
    for (ui::TListBox* list : {static_cast<ui::TListBox*>(dialog->IndexList),
                               static_cast<ui::TListBox*>(dialog->NameList)}) {
        const int line = static_cast<int>(SendMessageA(list->Handle(), LB_GETITEMHEIGHT, 0, 0));
        EXPECT_EQ(line, S(13));
        EXPECT_LE(10 * line, list->ClientRect().bottom);
    }
    // The buttons' captions fit them at the bold scaled font.
    EXPECT_LT(TextWidth(dialog->Button2->Font(), "Clear !"), dialog->Button2->Width());
    Capture(dialog->Handle(), "scores_" + std::to_string(Dpi()) + ".png");
}

TEST_P(DialogsDpiTest, Level) {
    GameState game;
    std::unique_ptr<TLevelForm> dialog(ui::Create<TLevelForm>(ui::Application, game, main));
    dialog->Show();
    Pump();
    RECT client;
    GetClientRect(dialog->Handle(), &client);
    EXPECT_EQ(client.right, S(152));
    EXPECT_EQ(client.bottom, S(121));
    ExpectLaidOutCleanly(*dialog);
    // The gauge: one bottom for every bar, each taller than the one before,
    // at one step apart.
    for (int n = 1; n <= kLevelBarCount; ++n) {
        const RECT bar = dialog->LevelBar(n)->BoundsRect();
        EXPECT_EQ(bar.bottom, S(81)) << n;
        if (n > 1) {
            const RECT before = dialog->LevelBar(n - 1)->BoundsRect();
            EXPECT_GT(bar.bottom - bar.top, before.bottom - before.top);
            EXPECT_NEAR(bar.left - before.left, S(16), 1);
        }
    }
    EXPECT_EQ(dialog->Button1->Height(), S(25));
    Capture(dialog->Handle(), "level_" + std::to_string(Dpi()) + ".png");
}

TEST_P(DialogsDpiTest, AboutPictureFillsTheWindowSmoothly) {
    std::unique_ptr<TAboutForm> about(ui::Create<TAboutForm>(ui::Application, main));
    about->Show();
    Pump();
    RECT client;
    GetClientRect(about->Handle(), &client);
    EXPECT_EQ(client.right, S(316));
    EXPECT_EQ(client.bottom, S(247));
    EXPECT_EQ(about->Image1->BoundsRect().left | about->Image1->BoundsRect().top, 0);
    EXPECT_EQ(about->Image1->BoundsRect().right, client.right);
    EXPECT_EQ(about->Image1->BoundsRect().bottom, client.bottom);
    // Stretched with filtering: many painted pixels blend neighbours of the
    // picture into colours the picture itself does not have, which a plain
    // stretch (every pixel a copy of one of the picture's) never paints.
    ui::TBitmap painted(client.right, client.bottom);
    SendMessageA(about->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(painted.DC()),
                 PRF_CLIENT);
    GdiFlush();
    const ui::TBitmap& picture = about->Image1->Picture();
    std::set<COLORREF> own;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) own.insert(picture.Pixel(x, y));
    int blended = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) blended += own.count(painted.Pixel(x, y)) == 0;
    EXPECT_GT(blended, client.right * client.bottom / 20);
    Capture(about->Handle(), "about_" + std::to_string(Dpi()) + ".png");
}

INSTANTIATE_TEST_SUITE_P(EveryScale, DialogsDpiTest, ::testing::Values(96, 120, 144, 192));

}  // namespace
}  // namespace quillory::testing
