// The main window in-process under Wine: its layout, the drawn board, the
// status texts, pausing, the new-game question, the arrow keys with their
// quick-turn queue, and a game that ends in a collision.
#include "game/main_form.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "dialogs/level_form.h"
#include "ui/dialogs.h"
#include "ui/timer.h"
#include "main_window_support.h"

namespace quillory {
namespace {

using namespace ui;
using testing::ModalActs;
using testing::Pump;
using testing::RectIn;
using testing::RenderClient;
using testing::MessageBoxRecorder;
using testing::TestApplication;
using testing::WindowText;

// The pixel at a cell-local point of cell (x, y), in the board panel's picture.
COLORREF CellPixel(const TBitmap& panel, int x, int y, int dx = 4, int dy = 4) {
    return panel.Pixel(8 + 10 * (x - 1) + dx, 10 * (y - 1) + dy);
}

// How many pixels inside the cell's one-pixel edge (where every symbol is
// drawn; the edge is the panel frame's in row 1) are not `color`.
int CellPixelsOtherThan(const TBitmap& panel, int x, int y, COLORREF color) {
    int other = 0;
    for (int dy = 1; dy < 9; ++dy)
        for (int dx = 1; dx < 9; ++dx) other += CellPixel(panel, x, y, dx, dy) != color ? 1 : 0;
    return other;
}

using MainFormTest = testing::MainWindowTest;

TEST_F(MainFormTest, WindowLayoutMatchesTheDesign) {
    HWND window = form->Handle();
    EXPECT_EQ(WindowText(window), "Quillory 1.0 [Brindlework]");
    // Sizes and places at each scale, 96 dpi among them: main_form_dpi_test.
    EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(GetWindowLongPtrA(window, GWL_STYLE) & WS_THICKFRAME);
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);

    EXPECT_EQ(RectIn(form->CoolBar1->Handle(), window), (RECT{0, 0, 324, 205}));
    EXPECT_EQ(RectIn(form->MainPanel->Handle(), form->CoolBar1->Handle()), (RECT{2, 0, 316, 201}));
    EXPECT_EQ(form->MainPanel->BevelOuter(), TBevelCut::bvNone);

    // The 600 cells, found by name.
    for (int n : {1, 30, 31, 275, 600}) {
        auto* button =
            dynamic_cast<TCellButton*>(form->FindComponent("SpeedButton" + std::to_string(n)));
        ASSERT_NE(button, nullptr) << n;
        EXPECT_EQ(button->Parent(), form->MainPanel);
        EXPECT_TRUE(button->Flat());
        EXPECT_EQ(button->Font().Name(), "Webdings");
        EXPECT_EQ(button->Font().Style(), 0);
        EXPECT_EQ(button->Caption(), "");
    }
    EXPECT_EQ(form->CellButton(5, 10), form->FindComponent("SpeedButton275"));

    // Painting order on the panel: the buttons, then the label, then the frame.
    ASSERT_EQ(form->MainPanel->ControlCount(), 602);
    EXPECT_EQ(form->MainPanel->Controls(600), form->PausedLabel);
    EXPECT_EQ(form->MainPanel->Controls(601), form->Bevel1);
    EXPECT_FALSE(form->PausedLabel->Visible());
    EXPECT_EQ(form->PausedLabel->Caption(), "Paused...");
    EXPECT_EQ(form->PausedLabel->Font().Name(), "Trebuchet MS");
    EXPECT_EQ(form->PausedLabel->Font().Height(), -32);
    EXPECT_EQ(form->PausedLabel->Font().Style(), fsBold);
    EXPECT_EQ(form->PausedLabel->Font().Color(), clRed);
    EXPECT_TRUE(form->PausedLabel->Transparent());
    EXPECT_EQ(form->PausedLabel->Top(), 84);
    EXPECT_EQ(form->PausedLabel->Height(), 40);
    EXPECT_GE(form->PausedLabel->Width(), 142);
    EXPECT_EQ(form->PausedLabel->Left() + form->PausedLabel->Width() / 2, 85 + 71)
        << "grown, if at all, around its place";
    EXPECT_EQ(form->Bevel1->Style(), TBevelStyle::bsRaised);
    EXPECT_EQ(Panel(0), " Score : ");
    EXPECT_EQ(Panel(1), " Level : ");
    EXPECT_EQ(Panel(2), " Record : ");
    EXPECT_EQ(Panel(3), " Bonus : ");

    // Menu bar and shortcuts as the system shows them.
    HMENU bar = GetMenu(window);
    ASSERT_TRUE(bar);
    auto text = [](HMENU menu, int index) {
        char buffer[64] = {};
        GetMenuStringA(menu, index, buffer, sizeof(buffer), MF_BYPOSITION);
        return std::string(buffer);
    };
    EXPECT_EQ(text(bar, 0), "&Game");
    EXPECT_EQ(text(bar, 1), "&Options");
    EXPECT_EQ(text(bar, 2), "About");
    HMENU gameMenu = GetSubMenu(bar, 0);
    EXPECT_EQ(text(gameMenu, 0), "New game\tF9");
    EXPECT_EQ(text(gameMenu, 1), "Pause\tF10");
    EXPECT_EQ(text(gameMenu, 2), "Boss Mode\tDel");
    EXPECT_EQ(text(gameMenu, 3) + text(gameMenu, 4), "Replay Faster\tF7Stop Replay\tF8");
    EXPECT_TRUE(GetMenuState(gameMenu, 5, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(text(gameMenu, 6), "E&xit");
    HMENU options = GetSubMenu(bar, 1);
    EXPECT_EQ(text(options, 0), "Level\tF11");
    EXPECT_EQ(text(options, 1), "Top Scores\tF12");
    EXPECT_EQ(GetSubMenu(bar, 2), nullptr) << "About acts directly";

    EXPECT_EQ(game.Level, 7);
    EXPECT_FALSE(game.Playing);
    EXPECT_EQ(form->Timer->Interval(), 150u);
}

TEST_F(MainFormTest, NewGameDrawsTheStartingPosition) {
    Key(VK_F9);
    ASSERT_TRUE(game.Playing);
    EXPECT_EQ(form->Timer->Interval(), 95u) << "270 - 25 x 7";
    // Cells by name: the snake in 275 to 279, black, and exactly one other, the food, blue.
    std::vector<int> food;
    for (int n = 1; n <= kBoardCells; ++n) {
        auto* cell = static_cast<TCellButton*>(form->FindComponent("SpeedButton" + std::to_string(n)));
        const bool snake = n >= 275 && n <= 279;
        if (!snake && !cell->Caption().empty()) food.push_back(n);
        if (!snake && cell->Caption().empty()) continue;
        EXPECT_EQ(cell->Caption(), snake ? "<" : "r") << n;
        EXPECT_EQ(cell->Font().Color(), snake ? clBlack : clBlue) << n;
        EXPECT_EQ(cell->Font().Style(), fsBold) << n;
    }
    ASSERT_EQ(food.size(), 1u) << "exactly one food";
    EXPECT_EQ(Panel(0), " Score : 0");
    EXPECT_EQ(Panel(1), " Level : 7");
    EXPECT_EQ(Panel(2), " Record : ");
    EXPECT_EQ(Panel(3), " No Bonus");

    // What the player sees: black body cells, one blue food cell, the rest the panel's face.
    TBitmap picture;
    RenderClient(*form->MainPanel, picture);
    for (int x = 5; x <= 9; ++x) {
        EXPECT_EQ(CellPixel(picture, x, 10), RGB(0, 0, 0)) << x;
        EXPECT_EQ(CellPixel(picture, x, 10, 4, 1), RGB(0, 0, 0)) << "a square, top edge filled";
    }
    const int fx = (food[0] - 1) % 30 + 1, fy = (food[0] - 1) / 30 + 1;
    EXPECT_EQ(CellPixel(picture, fx, fy), RGB(0, 0, 255));
    EXPECT_NE(CellPixel(picture, fx, fy, 4, 1), RGB(0, 0, 255)) << "a cross, not a square";
    EXPECT_EQ(CellPixel(picture, fx, fy, 1, 1), RGB(0, 0, 255));
    const int ex = fx == 1 ? 2 : 1;
    EXPECT_EQ(CellPixel(picture, ex, 1), ColorToRGB(clBtnFace));
}

TEST_F(MainFormTest, DrawFieldFollowsTheBoardCellByCell) {
    Key(VK_F9);
    MoveFoodTo(20, 3);
    // A body cell that empties loses its caption but keeps the black bold font.
    game.Board(5, 10) = cellEmpty;
    form->DrawField();
    TCellButton* cell = form->CellButton(5, 10);
    EXPECT_EQ(cell->Caption(), "");
    EXPECT_EQ(cell->Font().Color(), clBlack);
    EXPECT_EQ(cell->Font().Style(), fsBold);
    // Food there later is drawn blue again.
    game.Board(5, 10) = cellFood;
    game.Board(20, 3) = cellBonus;
    game.Board(21, 3) = cellFedBody;
    game.BonusTime = 1;
    game.Score = 12;
    form->DrawField();
    EXPECT_EQ(cell->Caption(), "r");
    EXPECT_EQ(cell->Font().Color(), clBlue);
    EXPECT_EQ(form->CellButton(20, 3)->Caption(), "~");
    EXPECT_EQ(form->CellButton(20, 3)->Font().Color(), clRed);
    EXPECT_EQ(form->CellButton(21, 3)->Caption(), "<") << "swallowed food looks like body";
    EXPECT_EQ(Panel(0), " Score : 12");
    EXPECT_EQ(Panel(3), " Bonus : 1");
    TBitmap picture;
    RenderClient(*form->MainPanel, picture);
    EXPECT_EQ(CellPixel(picture, 20, 3), RGB(255, 0, 0));
    EXPECT_EQ(CellPixel(picture, 5, 10), RGB(0, 0, 255));
    game.BonusTime = 0;
    form->DrawField();
    EXPECT_EQ(Panel(3), " No Bonus");

    // The slow redraw by name gives the same picture.
    TBitmap fast;
    RenderClient(*form->MainPanel, fast);
    form->DrawFieldByName();
    TBitmap slow;
    RenderClient(*form->MainPanel, slow);
    for (int y = 0; y < fast.Height(); ++y)
        for (int x = 0; x < fast.Width(); ++x)
            ASSERT_EQ(fast.Pixel(x, y), slow.Pixel(x, y)) << x << "," << y;
}

TEST_F(MainFormTest, ContrastThemesRepaintBoardAndGaugeInColoursThatStandOut) {
    std::unique_ptr<TLevelForm> level(Create<TLevelForm>(Application, game, form.get()));
    form->LevelForm = level.get();
    Key(VK_F9);
    MoveFoodTo(4, 3);
    game.Board(6, 3) = cellBonus;
    form->DrawField();
    TBitmap board, chosen, other;  // bars 7 and 8
    for (const COLORREF* theme : testing::kContrastThemes) {
        testing::ScopedContrastTheme on(theme);
        if (theme == testing::kContrastThemes[0]) Key(VK_F11);  // first shown in the theme
        RenderClient(*form->MainPanel, board), RenderClient(*level->LevelBar(7), chosen);
        RenderClient(*level->LevelBar(8), other);
        const COLORREF face = CellPixel(board, 8, 3), snake = CellPixel(board, 5, 10),
                       food = CellPixel(board, 4, 3), bonus = CellPixel(board, 6, 3);
        EXPECT_TRUE(snake == GetSysColor(COLOR_BTNTEXT) && food != snake && bonus != snake &&
                    bonus != food)
            << std::hex << face;
        for (COLORREF c : {snake, food, bonus, ColorToRGB(form->PausedLabel->Font().Color()),
                           chosen.Pixel(4, 20), other.Pixel(0, 0)})
            EXPECT_GE(testing::WcagRatio(c, face), 4.5) << std::hex << c << " on " << face;
    }
    RenderClient(*form->MainPanel, board);
    EXPECT_TRUE(CellPixel(board, 5, 10) == 0 && CellPixel(board, 4, 3) == RGB(0, 0, 255) &&
                CellPixel(board, 6, 3) == RGB(255, 0, 0) && level->LevelBar(7)->Color() == 0);
}

TEST_F(MainFormTest, EveryButtonShowsItsCellAfterEveryTickOfLongGames) {
    // Games with random turns (fixed seed), restarted when they end: after each
    // tick the skipped-unchanged redraw must leave every button as the board says,
    // and the picture show it: an empty cell the plain face of a flat button at
    // rest, a symbol its colour. The picture is painted afresh from the buttons'
    // state, which is checked every tick, so it is read every seventh tick (a
    // bonus lasts 30): painting it each time cost a tenth of the 32-bit suite.
    MessageBoxRecorder boxes;
    // What a player sees in each kind of cell: the symbol and its colour.
    struct Look {
        std::uint8_t cell;
        const char* caption;
        TColor color;
    };
    const Look looks[] = {{cellBody, "<", clBlack}, {cellFedBody, "<", clBlack},
                          {cellFood, "r", clBlue}, {cellBonus, "~", clRed}};
    int meals = 0, fedSeen = 0;
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    Pump();  // no cell under the pointer, so none is framed as hot
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    TBitmap picture;
    std::uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    const WORD arrows[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT};
    for (int tick = 0; tick < 1500; ++tick) {
        if (!game.Playing) form->Newgame1Click(nullptr);
        if (next() % 3 == 0) {
            WORD key = arrows[(next() >> 8) % 4];
            form->FormKeyDown(form.get(), key, 0);
        }
        const int scoreBefore = game.Score;
        Tick();
        if (!game.Playing) continue;  // the collision tick does not redraw
        meals += game.Score > scoreBefore ? 1 : 0;
        const bool read = tick % 7 == 0;
        if (read) RenderClient(*form->MainPanel, picture);
        for (int x = 1; x <= kBoardColumns; ++x) {
            for (int y = 1; y <= kBoardRows; ++y) {
                const TCellButton* cell = form->CellButton(x, y);
                const char* expected = "";
                TColor color = clNone;
                for (const Look& look : looks)
                    if (game.Board(x, y) == look.cell) expected = look.caption, color = look.color;
                fedSeen += game.Board(x, y) == cellFedBody ? 1 : 0;
                ASSERT_EQ(cell->Caption(), expected)
                    << "tick " << tick << " cell " << x << "," << y;
                if (color != clNone) {
                    ASSERT_EQ(cell->Font().Color(), color)
                        << "tick " << tick << " cell " << x << "," << y;
                }
                if (!read) continue;
                if (color == clNone) {
                    ASSERT_EQ(CellPixelsOtherThan(picture, x, y, face), 0)
                        << "tick " << tick << " empty cell " << x << "," << y;
                } else {
                    ASSERT_EQ(CellPixel(picture, x, y), ColorToRGB(color))
                        << "tick " << tick << " cell " << x << "," << y;
                }
            }
        }
        ASSERT_EQ(Panel(0), " Score : " + std::to_string(game.Score));
    }
    // The games ate and grew, and ended only in their own box.
    EXPECT_GT(meals, 0);
    EXPECT_GT(fedSeen, 0);
    ASSERT_FALSE(boxes.boxes.empty());
    for (const std::string& text : boxes.Texts()) EXPECT_EQ(text, "Game Over!");
}

TEST_F(MainFormTest, PauseTogglesOnlyDuringAGameAndShowsTheLabel) {
    Key(VK_F10);
    EXPECT_FALSE(game.Paused) << "no game: nothing happens";
    EXPECT_FALSE(form->PausedLabel->Visible());
    Key(VK_F9);
    Key(VK_F10);
    EXPECT_TRUE(game.Paused);
    EXPECT_TRUE(form->PausedLabel->Visible());
    TBitmap picture;
    RenderClient(*form->MainPanel, picture);
    int red = 0;
    for (int y = 84; y < 124; ++y)
        for (int x = 80; x < 235; ++x) red += picture.Pixel(x, y) == RGB(255, 0, 0) ? 1 : 0;
    EXPECT_GT(red, 100) << "the red label is drawn over the grid";
    // Paused: ticks and arrows change nothing.
    const int headX = game.HeadX;
    Tick();
    Key(VK_UP);
    EXPECT_EQ(game.HeadX, headX);
    EXPECT_EQ(game.CurrentDirection, dirRight);
    Key(VK_F10);
    EXPECT_FALSE(game.Paused);
    EXPECT_FALSE(form->PausedLabel->Visible());
    Tick();
    EXPECT_EQ(game.HeadX, headX + 1) << "on in the direction it had before the pause";
}

// The new-game question pauses the game while it asks; No and the caption's
// close button go on with the same game (running again even when it was
// paused before), only Yes starts afresh, and the old game ends without a box.
TEST_F(MainFormTest, NewGameQuestionOnlyYesRestarts) {
    struct Answer {
        const char* button;  // nullptr: the caption's close button
        bool pausedBefore, restarts;
    } const answers[] = {{"No", true, false}, {nullptr, false, false}, {"Yes", false, true}};
    MessageBoxRecorder boxes;
    Key(VK_F9);
    MoveFoodTo(20, 3);
    game.Score = 40;
    game.Level = 9;
    for (const Answer& row : answers) {
        const char* name = row.button ? row.button : "close";
        Tick();
        const int head = game.HeadX;
        if (row.pausedBefore) Key(VK_F10);
        std::vector<std::string> seen;
        {
            ModalActs answer([&](TForm& dialog) {
                seen = {dialog.Caption(),
                        static_cast<TLabel*>(dialog.FindComponent("Message"))->Caption()};
                EXPECT_TRUE(game.Paused && form->PausedLabel->Visible()) << "paused before asking";
                if (row.button)
                    testing::ClickButton(dialog, row.button);
                else
                    PostMessageA(dialog.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
            });
            Key(VK_F9);
        }
        EXPECT_EQ(seen, (std::vector<std::string>{"Confirm", "Are you sure?"})) << name;
        EXPECT_TRUE(game.Playing && !game.Paused && !form->PausedLabel->Visible()) << name;
        EXPECT_EQ(game.HeadX, row.restarts ? 9 : head) << name;
        EXPECT_EQ(game.Score, row.restarts ? 0 : 40) << name;
        Tick();
        EXPECT_EQ(game.HeadX, (row.restarts ? 9 : head) + 1) << name << ": the game moves on";
    }
    EXPECT_EQ(Panel(1), " Level : 9");
    EXPECT_EQ(form->Timer->Interval(), 45u);
    EXPECT_TRUE(boxes.boxes.empty()) << "the old game is discarded without a game over";
}

// Every level's pace from its new game on: 270 - 25 x level ms.
TEST_F(MainFormTest, EachLevelsGameTicksAtItsOwnPace) {
    const unsigned paces[] = {245, 220, 195, 170, 145, 120, 95, 70, 45};
    ModalActs yes([](TForm& question) { testing::ClickButton(question, "Yes"); });
    for (int level = 1; level <= 9; ++level) {
        game.Level = level;
        Key(VK_F9);
        EXPECT_EQ(form->Timer->Interval(), paces[level - 1]) << "level " << level;
    }
    EXPECT_EQ(yes.shown, 8);
}

TEST_F(MainFormTest, ArrowKeysTurnOnlyAQuarterAndOnlyDuringAGame) {
    Key(VK_UP);
    EXPECT_EQ(game.CurrentDirection, dirNone) << "no game: ignored";
    Key(VK_F9);
    MoveFoodTo(20, 3);
    Key(VK_LEFT);
    Key(VK_RIGHT);
    EXPECT_EQ(game.CurrentDirection, dirRight);
    Key(VK_UP);
    EXPECT_EQ(game.CurrentDirection, dirUp);
    Tick();
    Key(VK_DOWN);
    Key(VK_UP);
    EXPECT_EQ(game.CurrentDirection, dirUp) << "moving up: Up and Down change nothing";
    Key(VK_RIGHT);
    EXPECT_EQ(game.CurrentDirection, dirRight);
}

TEST_F(MainFormTest, TwoQuickTurnsWaitForTheirTicksInsteadOfReversing) {
    Key(VK_F9);
    MoveFoodTo(20, 3);
    Key(VK_UP);
    Key(VK_LEFT);  // before the tick: without the queue this reverses into the neck
    EXPECT_EQ(form->Turns().Pending(), 1u);
    Tick();
    EXPECT_TRUE(game.Playing);
    EXPECT_EQ(game.HeadX, 9);
    EXPECT_EQ(game.HeadY, 9);
    EXPECT_EQ(game.CurrentDirection, dirLeft);
    Tick();
    EXPECT_TRUE(game.Playing);
    EXPECT_EQ(game.HeadX, 8);
    EXPECT_EQ(game.HeadY, 9);

    // A pause empties the queue; the turn already taken stays.
    Key(VK_UP);
    Key(VK_RIGHT);
    ASSERT_EQ(form->Turns().Pending(), 1u);
    Key(VK_F10);
    Key(VK_F10);
    EXPECT_EQ(form->Turns().Pending(), 0u);
    Tick();
    Tick();
    EXPECT_EQ(game.HeadX, 8);
    EXPECT_EQ(game.HeadY, 7);
}

TEST_F(MainFormTest, RunningIntoTheBodyEndsTheGameOnce) {
    StartGame();
    MessageBoxRecorder boxes;
    RunIntoTheBody();  // the head runs into (8, 10), the body
    EXPECT_FALSE(game.Playing);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Game Over!"});
    // The last picture stays: the tail cell the collision tick cleared still shows the body.
    EXPECT_EQ(game.Board(7, 10), cellEmpty);
    EXPECT_EQ(form->CellButton(7, 10)->Caption(), "<");
    EXPECT_EQ(form->Turns().Pending(), 0u);
    const int headX = game.HeadX, headY = game.HeadY;
    Tick();
    Key(VK_RIGHT);
    EXPECT_EQ(game.HeadX, headX);
    EXPECT_EQ(game.HeadY, headY);
    EXPECT_EQ(boxes.boxes.size(), 1u);
}

}  // namespace
}  // namespace quillory
