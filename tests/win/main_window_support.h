// The main window as the tests drive it: one game with a fixed random clock
// (the same food and bonus draws every run), the window's tick timer left to
// the test, the player's keys posted through the message loop.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "core/game_state.h"
#include "game/main_form.h"
#include "win_test_support.h"

namespace quillory::testing {

inline std::uint32_t FixedClock() {
    return 0x2468ACE1u;
}

class MainWindow {
public:
    MainWindow() {
        TestApplication();
        game.Random.SetClock(&FixedClock);
    }
    virtual ~MainWindow() { form.reset(); }

    // Shows the window (`created`, or one made here); its ticks come from Tick.
    void Open(TMainForm* created = nullptr) {
        form.reset(created ? created : ui::Create<TMainForm>(ui::Application, game));
        form->Timer->OnTimer = nullptr;
        form->Show();
        Pump();
    }

    // A key as the player presses it; F10 is a system key, sent as such.
    void Key(WORD key) {
        PostMessageA(form->Handle(), key == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 0);
        Pump();
    }
    void Tick() { form->TimerTimer(form->Timer); }
    std::string Panel(int index) { return form->Status->DisplayedText(index); }

    // Moves the food out of the way of the moves a test plans.
    void MoveFoodTo(int x, int y) {
        for (int cx = 1; cx <= kBoardColumns; ++cx)
            for (int cy = 1; cy <= kBoardRows; ++cy)
                if (game.Board(cx, cy) == cellFood) game.Board(cx, cy) = cellEmpty;
        game.Board(x, y) = cellFood;
        form->DrawField();
    }
    // F9: a game moving right from (9, 10), the food out of the way.
    void StartGame() {
        Key(VK_F9);
        ASSERT_TRUE(game.Playing);
        MoveFoodTo(25, 18);
    }
    // Three quick turns: the snake turns round and its head runs into its body.
    void RunIntoTheBody() {
        for (WORD key : {VK_UP, VK_LEFT, VK_DOWN}) {
            ASSERT_TRUE(game.Playing);
            Key(key);
            Tick();
        }
    }

    GameState game;
    std::unique_ptr<TMainForm> form;
};

class MainWindowTest : public ::testing::Test, public MainWindow {
protected:
    void SetUp() override { Open(); }
    void TearDown() override {
        form.reset();
        Pump();
    }
};

}  // namespace quillory::testing
