// A long session of the real game, in-process: the main window with the about
// window, the level dialog and the top scores dialog created as the program
// creates them, the flat style active. Forty rounds, each with a hundred
// ticks of a running game and a game over with the name typed into its
// dialog; every fifth round also opens every dialog once (level, top
// scores, about, the "Confirm" questions, the "Information" box) and every
// menu, for real, from the menu bar and with TrackPopupMenu. The dialogs are
// answered inside their own loops with the player's keys. (Under Wine each
// dialog shown and hidden costs some 30 to 80 ms, several times that under
// 32-bit Wine on qemu: eight openings of each show anything one leaves behind
// seven times over, forty name dialogs thirty-nine times.) What the program
// holds (GDI objects and DCs, windows, the style's control records) must be
// the same after the last round as after the first: nothing of a round may
// stay behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "../scores/scores_test_support.h"
#include "core/game_state.h"
#include "dialogs/about_form.h"
#include "dialogs/level_form.h"
#include "game/main_form.h"
#include "../main_window_support.h"
#include "scores/scores_form.h"
#include "styling/controls/control_subclass.h"
#include "ui/dialogs.h"
#include "ui/gdi.h"
#include "ui/std_controls.h"

namespace quillory::testing {
namespace {

[[maybe_unused]] const auto* const kApplication =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

constexpr int kRounds = 40;
constexpr int kTicksPerRound = 100;
constexpr int kOpeningsEvery = 5;  // rounds: dialogs and menus in every fifth one
constexpr int kOpenings = kRounds / kOpeningsEvery;

// What the program holds at a moment: its owned GDI objects and DCs, its
// windows (top-level ones of this thread and all their children), and the
// flat style's records of styled controls.
struct Holdings {
    ui::GdiOwnerCounts Gdi;
    int TopLevelWindows = 0;
    int ChildWindows = 0;
    int StyleRecords = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM data) {
    auto* holdings = reinterpret_cast<Holdings*>(data);
    ++holdings->TopLevelWindows;
    EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&holdings->ChildWindows));
    return TRUE;
}

Holdings Now() {
    Holdings holdings;
    holdings.Gdi = ui::LiveGdiOwners();
    EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&holdings));
    holdings.StyleRecords = styling::TControlSubClass::LiveCount();
    return holdings;
}

class LongRunTest : public ::testing::Test, public MainWindow {
protected:
    void SetUp() override {
        GetCurrentDirectoryA(MAX_PATH, previous_dir_);
        ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));
        // The program's order: main window, about window, level dialog, top
        // scores dialog (which loads the table).
        auto* main = ui::Create<TMainForm>(ui::Application, game);
        main->AboutForm = about = ui::Create<TAboutForm>(ui::Application, main);
        main->LevelForm = level = ui::Create<TLevelForm>(ui::Application, game, main);
        main->ScoresForm = scores = ui::Create<TScoresForm>(ui::Application, main->Keeper, main);
        ASSERT_TRUE(main->MenuSkin1->Active());
        Open(main);
    }
    void TearDown() override {
        delete scores;
        delete level;
        delete about;
        form.reset();
        Pump();
        SetCurrentDirectoryA(previous_dir_);
    }

    bool Shown(ui::TForm& window) { return IsWindowVisible(window.Handle()) != FALSE; }
    bool MainEnabled() { return IsWindowEnabled(form->Handle()) != FALSE; }
    void Resume() {
        if (game.Paused) form->Pause1Click(nullptr);
    }
    void NewGameIfNone() {
        if (!game.Playing) form->Newgame1Click(nullptr);
        ASSERT_TRUE(game.Playing);
    }

    // A hundred ticks of a running game, turning now and then as a player
    // does; the window paints every few ticks. A game that ends on the way
    // (the dialogs are answered) is followed by a new one.
    void PlayTicks() {
        for (int i = 0; i < kTicksPerRound; ++i) {
            NewGameIfNone();
            if (i % 25 == 5) Key(VK_UP);
            if (i % 25 == 7) Key(VK_RIGHT);
            const int headX = game.HeadX, headY = game.HeadY;
            Tick();
            if (game.HeadX != headX || game.HeadY != headY || !game.Playing) ++moves;
            if (i % 10 == 9) Pump();
        }
    }

    // The end of a game that earns the first row: the name is typed into the
    // name dialog and confirmed with Enter, or Esc in every second round,
    // which enters the level alone; then the top scores dialog is shown over
    // the disabled main window and closed.
    void GameOver(int round) {
        if (game.Playing) {
            game.Playing = false;  // this game ends unseen; the next one ends on screen
            game.Paused = false;
        }
        form->Newgame1Click(nullptr);
        ASSERT_TRUE(game.Playing);
        game.Score = 1000 + round;
        name = "Round " + std::to_string(round);
        nameKey = round % 2 ? VK_RETURN : VK_ESCAPE;
        const int before = gameOvers;
        // Three quick turns: the snake turns round into its own body.
        Key(VK_UP);
        Tick();
        Key(VK_LEFT);
        Tick();
        Key(VK_DOWN);
        Tick();
        ASSERT_FALSE(game.Playing);
        ASSERT_EQ(gameOvers, before + 1) << "the name dialog of round " << round;
        const std::string level = " (level " + std::to_string(game.Level) + ")";
        EXPECT_EQ(NameOf(form->Scores.Rows[0]), (round % 2 ? name : "") + level);
        EXPECT_EQ(form->Scores.Rows[0].Points, 1000 + round);
        ASSERT_TRUE(Shown(*scores));
        EXPECT_FALSE(MainEnabled());
        SendMessageA(scores->Button1->Handle(), BM_CLICK, 0, 0);
        Pump();
        EXPECT_FALSE(Shown(*scores));
        EXPECT_TRUE(MainEnabled());
    }

    // Every dialog once, during a running game: the "Confirm" question of New
    // game (answered No), the level dialog with a bar clicked and the
    // "Information" box at its closing, the about window, the top scores
    // with its "Clear !" question (answered No: the table stays).
    void OpenEveryDialog(int round) {
        NewGameIfNone();
        Resume();
        const int confirmed = confirms;
        form->Newgame1Click(nullptr);
        EXPECT_EQ(confirms, confirmed + 1);
        EXPECT_TRUE(game.Playing && !game.Paused) << "No keeps the game going";

        form->Level1Click(nullptr);
        ASSERT_TRUE(Shown(*level));
        level->ShadeButton1Click(level->LevelBar(round % kLevelBarCount + 1));
        const int informed = informations;
        SendMessageA(level->Button1->Handle(), BM_CLICK, 0, 0);
        Pump();
        EXPECT_EQ(informations, informed + 1) << "the change waits for the next game";
        EXPECT_FALSE(Shown(*level));
        EXPECT_TRUE(MainEnabled());
        Resume();

        form->About1Click(nullptr);
        Pump();
        ASSERT_TRUE(Shown(*about));
        EXPECT_FALSE(Shown(*form));
        SendMessageA(about->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        Pump();
        EXPECT_FALSE(Shown(*about));
        EXPECT_TRUE(Shown(*form));
        Resume();

        form->TopScores1Click(nullptr);
        ASSERT_TRUE(Shown(*scores));
        SendMessageA(scores->Button2->Handle(), BM_CLICK, 0, 0);
        EXPECT_EQ(confirms, confirmed + 2);
        const std::vector<std::string> listed = WindowLines(*scores->ScoreList);
        EXPECT_EQ(listed.front(), std::to_string(1000 + round));
        EXPECT_EQ(form->Scores.Rows[0].Points, 1000 + round);
        SendMessageA(scores->Button1->Handle(), BM_CLICK, 0, 0);
        Pump();
        EXPECT_TRUE(MainEnabled());
        Resume();
    }

    // The Game and Options menus from the bar (as Alt with the letter opens
    // them) and as popups of their own with TrackPopupMenu.
    void OpenEveryMenu() {
        ModalActs closer("#32768", [](HWND) { EndMenu(); });
        for (char letter : {'g', 'o'}) {
            PostMessageA(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, letter);
            Pump();
        }
        for (ui::TMenuItem* item : {form->Game1, form->Options1})
            TrackPopupMenu(item->Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, 200, 200, 0,
                           form->Handle(), nullptr);
        Pump();
        menus += closer.shown;
    }

    void Round(int round) {
        Timed(phaseSeconds[0], [&] { PlayTicks(); });
        Timed(phaseSeconds[1], [&] { GameOver(round); });
        if (round % kOpeningsEvery != 0) return;
        Timed(phaseSeconds[2], [&] { OpenEveryDialog(round); });
        Timed(phaseSeconds[3], [&] { OpenEveryMenu(); });
    }
    template <typename Body>
    static void Timed(double& seconds, Body body) {
        const auto start = std::chrono::steady_clock::now();
        body();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    ScratchDirectory dir;
    TAboutForm* about = nullptr;
    TLevelForm* level = nullptr;
    TScoresForm* scores = nullptr;
    std::string name;
    WORD nameKey = VK_RETURN, confirmKey = VK_ESCAPE;
    int moves = 0, gameOvers = 0, confirms = 0, informations = 0, menus = 0;
    double phaseSeconds[4] = {};  // ticks, game overs, dialogs, menus

private:
    char previous_dir_[MAX_PATH] = {};
};

TEST_F(LongRunTest, FortyRoundsLeaveNothingBehind) {
    const auto started = std::chrono::steady_clock::now();
    // The dialogs of a round, answered with the player's keys.
    ModalAnswers answers([&](ui::TForm& dialog) {
        if (dialog.FindComponent("Edit")) {
            ++gameOvers;
            PostText(name);
            PostKey(nameKey);
        } else if (dialog.Caption() == "Confirm") {
            ++confirms;
            PostKey(confirmKey);
        } else if (dialog.Caption() == "Information") {
            ++informations;
            PostKey(VK_RETURN);
        } else {
            ADD_FAILURE() << "an unexpected dialog: " << dialog.Caption();
            ClickButton(dialog, "OK");
        }
    });
    MessageBoxRecorder boxes;  // every round earns a row: no box, no failure

    Round(0);
    Pump();
    const Holdings first = Now();
    for (int round = 1; round < kRounds; ++round) {
        Round(round);
        if (HasFatalFailure()) return;
    }
    Pump();
    const Holdings last = Now();

    EXPECT_EQ(moves, kRounds * kTicksPerRound) << "every tick of a running game moved it";
    EXPECT_EQ(gameOvers, kRounds) << "every round's game over asked for the name";
    EXPECT_EQ(confirms, 2 * kOpenings);
    EXPECT_EQ(informations, kOpenings);
    EXPECT_EQ(menus, 4 * kOpenings) << "every menu was seen open";

    EXPECT_EQ(last.Gdi.Objects, first.Gdi.Objects);
    EXPECT_EQ(last.Gdi.DeviceContexts, first.Gdi.DeviceContexts);
    EXPECT_EQ(last.TopLevelWindows, first.TopLevelWindows);
    EXPECT_EQ(last.ChildWindows, first.ChildWindows);
    EXPECT_EQ(last.StyleRecords, first.StyleRecords);
    EXPECT_GT(first.StyleRecords, 0) << "the style is at work";
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf(
        "long run: %d rounds, %d ticks, %d game overs, %d openings of each dialog, %d "
        "menus in %.1f s (ticks %.1f s, game overs %.1f s, dialogs %.1f s, menus %.1f s)\n",
        kRounds, moves, gameOvers, informations, menus, seconds, phaseSeconds[0], phaseSeconds[1],
        phaseSeconds[2], phaseSeconds[3]);

    // "Clear !" answered with Enter, its default Yes: the table and its file go.
    confirmKey = VK_RETURN;
    form->TopScores1Click(nullptr);
    SendMessageA(scores->Button2->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(confirms, 2 * kOpenings + 1);
    EXPECT_EQ(WindowLines(*scores->ScoreList), Lines({}));
    EXPECT_FALSE(FileExists("scores.dat"));
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{});
}

}  // namespace
}  // namespace quillory::testing
