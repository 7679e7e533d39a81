// The work behind a tick, counted rather than timed: which cells the paint
// after a tick reaches, beside the full redraw by name, and what the idle
// program's timer ticks paint. (The times themselves are figures for a person:
// bench/win, `make bench-win`.)
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "game/main_form.h"
#include "main_window_support.h"

namespace quillory {
namespace {

using namespace ui;
using testing::Pump;
using testing::PumpUntil;
using testing::MessageBoxRecorder;
using testing::TestApplication;
using namespace std::chrono_literals;

constexpr int kTicks = 600;

// A game's end only lets the loop start the next one: the real game over would
// wait in the modal name dialog whenever a game ended with points.
struct CountedMainForm : TMainForm {
    using TMainForm::TMainForm;
    void GameOver() override {}
};

// What a cell shows for a board code: body and swallowed food look the same.
enum class Shown { Nothing, Body, Food, Bonus };
Shown ShownFor(std::uint8_t code) {
    switch (code) {
        case cellBody:
        case cellFedBody: return Shown::Body;
        case cellFood: return Shown::Food;
        case cellBonus: return Shown::Bonus;
        default: return Shown::Nothing;
    }
}

struct RepaintTest : testing::MainWindowTest {
    void SetUp() override {
        // No cell under the pointer: a hot cell would be painted for its frame.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        Open(Create<CountedMainForm>(Application, game));
        // Every paint of a cell passes through its WindowProc: count it there.
        for (int x = 1; x <= kBoardColumns; ++x) {
            for (int y = 1; y <= kBoardRows; ++y) {
                TCellButton* cell = form->CellButton(x, y);
                TWndMethod own = cell->WindowProc;
                const int index = Index(x, y);
                cell->WindowProc = [this, own, index](TMessage& message) {
                    if (message.Msg == WM_PAINT) ++paints[index];
                    own(message);
                };
            }
        }
    }
    static int Index(int x, int y) { return (y - 1) * kBoardColumns + (x - 1); }
    // Paints now whatever the last change invalidated, as the message loop
    // would before the next tick.
    void PaintNow() {
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    std::array<Shown, kBoardCells> ShownCells() const {
        std::array<Shown, kBoardCells> shown{};
        for (int x = 1; x <= kBoardColumns; ++x)
            for (int y = 1; y <= kBoardRows; ++y) shown[Index(x, y)] = ShownFor(game.Board(x, y));
        return shown;
    }
    int PaintedCells() const {
        int painted = 0;
        for (int count : paints) painted += count > 0 ? 1 : 0;
        return painted;
    }

    std::array<int, kBoardCells> paints{};
};

TEST_F(RepaintTest, TickPaintsExactlyTheCellsItChangedAndTheFullRedrawAllOfThem) {
    MessageBoxRecorder boxes;  // each game that ends shows its Game Over box
    // A running game that wanders over every row: a turn down now and then.
    int movingTicks = 0;
    for (int i = 0; i < kTicks; ++i) {
        if (!game.Playing) form->Newgame1Click(nullptr);
        if (i % 23 == 0) {
            WORD key = game.CurrentDirection == dirRight ? VK_DOWN : VK_RIGHT;
            form->FormKeyDown(form.get(), key, 0);
        }
        PaintNow();
        const auto before = ShownCells();
        paints.fill(0);
        form->TimerTimer(form->Timer);
        if (!game.Playing) continue;  // the collision tick leaves the last picture
        PaintNow();
        ++movingTicks;
        const auto after = ShownCells();
        int changed = 0;
        for (int n = 0; n < kBoardCells; ++n) {
            changed += before[n] != after[n] ? 1 : 0;
            ASSERT_EQ(paints[n], before[n] != after[n] ? 1 : 0)
                << "tick " << i << ", cell " << n % kBoardColumns + 1 << ","
                << n / kBoardColumns + 1;
        }
        ASSERT_GE(changed, 1) << "tick " << i << ": the head always moves on";
    }
    EXPECT_GT(movingTicks, kTicks / 2);
    for (const std::string& text : boxes.Texts()) EXPECT_EQ(text, "Game Over!") << "no error box";

    // The slow redraw touches every cell by name, and every one is painted once.
    paints.fill(0);
    form->DrawFieldByName();
    PaintNow();
    EXPECT_EQ(PaintedCells(), kBoardCells);
    for (int count : paints) ASSERT_EQ(count, 1);
}

TEST_F(RepaintTest, IdleTicksPaintNothing) {
    // No game: ticks that still arrive (a timer started by hand) must not touch the board.
    int ticks = 0;
    form->Timer->OnTimer = [&](TComponent* sender) {
        ++ticks;
        form->TimerTimer(sender);
    };
    PaintNow();
    paints.fill(0);
    form->Timer->SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }, 3000ms)) << ticks << " ticks";
    form->Timer->SetEnabled(false);
    form->Timer->OnTimer = nullptr;
    PaintNow();
    EXPECT_EQ(PaintedCells(), 0);
}

}  // namespace
}  // namespace quillory
