// A long session of the real game, in-process: the main window with the about
// window, the level dialog and the top scores dialog created as the program
// creates them, the flat style active. A hundred rounds, each with a hundred
// ticks of a running game and a game over with the name typed into its
// dialog; every second round also opens every dialog once (level, top
// scores, about, the "Confirm" question, the "Information" box) and every
// menu, for real, from the menu bar and with TrackPopupMenu. (Under Wine each
// dialog shown and hidden costs some 30 to 80 ms: fifty openings of each keep
// the run near half a minute.) What the program holds (GDI objects and DCs,
// windows, the style's control records) must be the same after the last
// round as after the first: nothing of a round may stay behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <memory>
#include <string>

#include "../scores/scores_test_support.h"
#include "core/game_state.h"
#include "dialogs/about_form.h"
#include "dialogs/level_form.h"
#include "game/main_form.h"
#include "scores/scores_form.h"
#include "styling/controls/control_subclass.h"
#include "ui/dialogs.h"
#include "ui/gdi.h"
#include "ui/std_controls.h"

namespace quillory::testing {
namespace {

[[maybe_unused]] const auto* const kApplication =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

constexpr int kRounds = 100;
constexpr int kTicksPerRound = 100;
constexpr int kOpeningsEvery = 2;  // rounds: dialogs and menus in every second one
constexpr int kOpenings = kRounds / kOpeningsEvery;

std::uint32_t FixedClock() {
    return 0x1F2E3D4Cu;
}

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

HWND VisiblePopupMenuWindow() {
    for (HWND window = FindWindowA("#32768", nullptr); window;
         window = FindWindowExA(nullptr, window, "#32768", nullptr)) {
        if (IsWindowVisible(window)) return window;
    }
    return nullptr;
}

// Closes an open menu once its popup window is on screen: the menu's loop
// tells its owner when it is idle. A thread timer closes it all the same if
// that never comes, so no menu can hold the test.
class MenuCloser {
public:
    MenuCloser() { current_ = this; }
    ~MenuCloser() { current_ = nullptr; }
    MenuCloser(const MenuCloser&) = delete;
    MenuCloser& operator=(const MenuCloser&) = delete;

    // For the owners' message handlers: every message passes through here.
    static void Watch(const ui::TMessage& message) {
        if (message.Msg != WM_ENTERIDLE || message.WParam != MSGF_MENU || !current_) return;
        if (!VisiblePopupMenuWindow()) return;
        ++current_->seen;
        EndMenu();
    }
    // Runs `open`, which returns when the menu has closed.
    template <typename Open>
    void Run(Open open) {
        const UINT_PTR timer = SetTimer(nullptr, 0, 3000, &MenuCloser::Overdue);
        open();
        KillTimer(nullptr, timer);
    }

    int seen = 0;
    int overdue = 0;

private:
    static void CALLBACK Overdue(HWND, UINT, UINT_PTR, DWORD) {
        if (current_) ++current_->overdue;
        EndMenu();
    }
    static inline MenuCloser* current_ = nullptr;
};

class LongRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        GetCurrentDirectoryA(MAX_PATH, previous_dir_);
        ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));
        game.Random.SetClock(&FixedClock);
        // The program's order: main window, about window, level dialog, top
        // scores dialog (which loads the table).
        form.reset(ui::Create<TMainForm>(ui::Application, game));
        form->Timer->SetEnabled(false);  // ticks come from the test
        about = ui::Create<TAboutForm>(ui::Application, form.get());
        form->AboutForm = about;
        level = ui::Create<TLevelForm>(ui::Application, game, form.get());
        form->LevelForm = level;
        scores = ui::Create<TScoresForm>(ui::Application, form->Keeper, form.get());
        form->ScoresForm = scores;
        ASSERT_TRUE(form->MenuSkin1->Active());
        form->Show();
        PumpMessages();
        // The menus of the bar and of TrackPopupMenu tell the main window and
        // the application window when their loop is idle.
        const ui::TWndMethod own = form->WindowProc;
        form->WindowProc = [own](ui::TMessage& message) {
            MenuCloser::Watch(message);
            own(message);
        };
        hook_ = ui::Application->HookMainWindow([](ui::TMessage& message) {
            MenuCloser::Watch(message);
            return false;
        });
    }
    void TearDown() override {
        ui::Application->UnhookMainWindow(hook_);
        delete scores;
        delete level;
        delete about;
        form.reset();
        PumpMessages();
        SetCurrentDirectoryA(previous_dir_);
    }

    bool Shown(ui::TForm& window) { return IsWindowVisible(window.Handle()) != FALSE; }
    bool MainEnabled() { return IsWindowEnabled(form->Handle()) != FALSE; }
    void Key(WORD key) {
        PostMessageA(form->Handle(), WM_KEYDOWN, key, 0);
        PumpMessages();
    }
    void Tick() { form->TimerTimer(form->Timer); }
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
            Tick();
            ++ticks;
            if (i % 10 == 9) PumpMessages();
        }
    }

    // The end of a game that earns the first row: the name is typed into the
    // name dialog, then the top scores dialog is shown over the disabled main
    // window and closed.
    void GameOver(int round) {
        if (game.Playing) {
            game.Playing = false;  // this game ends unseen; the next one ends on screen
            game.Paused = false;
        }
        form->Newgame1Click(nullptr);
        ASSERT_TRUE(game.Playing);
        game.Score = 1000 + round;
        name = "Round " + std::to_string(round);
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
        ASSERT_TRUE(Shown(*scores));
        EXPECT_FALSE(MainEnabled());
        SendMessageA(scores->Button1->Handle(), BM_CLICK, 0, 0);
        PumpMessages();
        EXPECT_FALSE(Shown(*scores));
        EXPECT_TRUE(MainEnabled());
    }

    // Every dialog once, during a running game: the "Confirm" question of New
    // game (answered No), the level dialog with a bar clicked and the
    // "Information" box at its closing, the about window, the top scores.
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
        PumpMessages();
        EXPECT_EQ(informations, informed + 1) << "the change waits for the next game";
        EXPECT_FALSE(Shown(*level));
        EXPECT_TRUE(MainEnabled());
        Resume();

        form->About1Click(nullptr);
        PumpMessages();
        ASSERT_TRUE(Shown(*about));
        EXPECT_FALSE(Shown(*form));
        SendMessageA(about->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        PumpMessages();
        EXPECT_FALSE(Shown(*about));
        EXPECT_TRUE(Shown(*form));
        Resume();

        form->TopScores1Click(nullptr);
        ASSERT_TRUE(Shown(*scores));
        SendMessageA(scores->Button1->Handle(), BM_CLICK, 0, 0);
        PumpMessages();
        EXPECT_TRUE(MainEnabled());
        Resume();
    }

    // The Game and Options menus from the bar (as Alt with the letter opens
    // them) and as popups of their own with TrackPopupMenu.
    void OpenEveryMenu() {
        MenuCloser closer;
        for (char letter : {'g', 'o'}) {
            closer.Run([&] {
                PostMessageA(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, letter);
                PumpMessages();
            });
        }
        for (ui::TMenuItem* item : {form->Game1, form->Options1}) {
            closer.Run([&] {
                TrackPopupMenu(item->Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, 200, 200, 0,
                               form->Handle(), nullptr);
            });
        }
        PumpMessages();
        menus += closer.seen;
        overdueMenus += closer.overdue;
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
    GameState game;
    std::unique_ptr<TMainForm> form;
    TAboutForm* about = nullptr;
    TLevelForm* level = nullptr;
    TScoresForm* scores = nullptr;
    std::string name;
    int ticks = 0, gameOvers = 0, confirms = 0, informations = 0, menus = 0, overdueMenus = 0;
    double phaseSeconds[4] = {};  // ticks, game overs, dialogs, menus

private:
    char previous_dir_[MAX_PATH] = {};
    int hook_ = 0;
};

TEST_F(LongRunTest, AHundredRoundsLeaveNothingBehind) {
    const auto started = std::chrono::steady_clock::now();
    // The dialogs of a round, answered as a player would.
    ModalAnswers answers([&](ui::TForm& dialog) {
        if (dialog.FindComponent("Edit")) {
            auto* edit = dynamic_cast<ui::TEdit*>(dialog.FindComponent("Edit"));
            for (char ch : name)
                SendMessageA(edit->Handle(), WM_CHAR, static_cast<unsigned char>(ch), 0);
            ++gameOvers;
            ClickButton(dialog, "OK");
        } else if (dialog.Caption() == "Confirm") {
            ++confirms;
            ClickButton(dialog, "No");
        } else if (dialog.Caption() == "Information") {
            ++informations;
            ClickButton(dialog, "OK");
        } else {
            ADD_FAILURE() << "an unexpected dialog: " << dialog.Caption();
            ClickButton(dialog, "OK");
        }
    });
    MessageBoxRecorder boxes;  // a game that ends without a row shows its box here

    Round(0);
    PumpMessages();
    const Holdings first = Now();
    for (int round = 1; round < kRounds; ++round) {
        Round(round);
        if (HasFatalFailure()) return;
    }
    PumpMessages();
    const Holdings last = Now();

    EXPECT_GE(ticks, kRounds * kTicksPerRound);
    EXPECT_EQ(gameOvers, kRounds) << "every round's game over asked for the name";
    EXPECT_EQ(confirms, kOpenings);
    EXPECT_EQ(informations, kOpenings);
    EXPECT_EQ(menus, 4 * kOpenings) << "every menu was seen open";
    EXPECT_EQ(overdueMenus, 0) << "every menu's loop told its owner it was idle";
    EXPECT_EQ(form->Scores.Rows[0].Points, 1000 + kRounds - 1);

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
        kRounds, ticks, gameOvers, confirms, menus, seconds, phaseSeconds[0], phaseSeconds[1],
        phaseSeconds[2], phaseSeconds[3]);
}

}  // namespace
}  // namespace quillory::testing
