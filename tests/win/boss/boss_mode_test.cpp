// Boss mode and the Level command through the main window, built as the
// program builds it (main window first, then the level dialog). The tray's
// calls to the shell are caught at its seam and the shell's mouse reports are
// sent to its hidden window, so no notification area is needed.
#include <gtest/gtest.h>
#include <windows.h>

#include <mmsystem.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/game_state.h"
#include "dialogs/level_form.h"
#include "game/front_window_support.h"
#include "screen_capture.h"
#include "game/main_form.h"
#include "ui/dialogs.h"
#include "widgets/tray_icon.h"
#include "widgets/widget_test_support.h"
#include "main_window_support.h"

namespace quillory {
namespace {

using namespace ui;
using testing::ForeignWindow;
using testing::IsAbove;
using testing::AnsweredDialogs;
using testing::ModalActs;
using testing::MouseOnDisabledWindow;
using testing::Pump;
using testing::ShellCall;
using testing::ShellRecorder;
using testing::TestApplication;
using testing::WindowText;

// What the status bar's four panels show.
std::vector<std::string> PanelTexts(TStatusBar& status) {
    std::vector<std::string> texts;
    for (int i = 0; i < status.PanelCount(); ++i) texts.push_back(status.DisplayedText(i));
    return texts;
}

struct BossModeTest : testing::MainWindowTest {
    void SetUp() override {
        // As at start-up: the first form is the application's main form,
        // which boss mode hides.
        auto* main = TestApplication().CreateForm<TMainForm>(game);
        main->LevelForm = level = TestApplication().CreateForm<TLevelForm>(game, main);
        Open(main);
        ASSERT_EQ(TestApplication().MainForm(), form.get());
        // The icon belongs to boss mode: none while the window is shown, and
        // the start-up asks nothing of the shell and makes no window for it.
        EXPECT_TRUE(shell.Calls.empty());
        EXPECT_FALSE(form->Tray->HasMessageWindow());
        EXPECT_FALSE(form->Tray->IconVisible());
        shell.Calls.clear();
    }
    void TearDown() override {
        delete level;
        MainWindowTest::TearDown();
    }

    // What the shell reports of the mouse over the icon.
    void IconMouse(UINT mouseMessage) {
        SendMessageA(form->Tray->MessageWindow(), widgets::TrayCallbackMessage,
                     widgets::kTrayIconId, mouseMessage);
        Pump();
    }
    void ClickIcon() {
        IconMouse(WM_LBUTTONDOWN);
        IconMouse(WM_LBUTTONUP);
    }
    bool WindowShown() const { return IsWindowVisible(form->Handle()) != FALSE; }
    // The task-bar button is the main window's; the application window shows none.
    bool TaskBarWindowShown() const {
        return WindowShown() && (GetWindowLongPtrA(form->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW) &&
               !IsWindowVisible(TestApplication().Handle());
    }

    // Boss mode as the player enters it: Del, then checks of what must follow.
    void EnterBossMode() {
        Key(VK_DELETE);
        EXPECT_FALSE(WindowShown());
        EXPECT_FALSE(TaskBarWindowShown());
        EXPECT_TRUE(game.Paused);
        ASSERT_EQ(shell.Messages(), std::vector<DWORD>{NIM_ADD});
        EXPECT_EQ(shell.Calls[0].Tip(), "Quillory [BOSS MODE]");
        EXPECT_TRUE(form->Tray->IconVisible());
    }

    ShellRecorder shell;  // the tray's every call is caught until the window is gone
    TLevelForm* level = nullptr;
};

TEST_F(BossModeTest, DuringAGameHidesEverythingAndTheIconClickBringsItBackPaused) {
    Key(VK_F9);
    Tick();
    ASSERT_TRUE(game.Playing);
    const int headX = game.HeadX;
    EnterBossMode();
    EXPECT_TRUE(form->PausedLabel->Visible());
    const auto board = game.Board.Cells();
    Tick();
    Tick();
    EXPECT_EQ(game.HeadX, headX) << "ticks do nothing in boss mode";
    EXPECT_EQ(game.Board.Cells(), board);

    IconMouse(WM_LBUTTONDOWN);
    EXPECT_FALSE(WindowShown()) << "a press alone is no click";
    IconMouse(WM_LBUTTONUP);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_DELETE}));
    EXPECT_FALSE(form->Tray->IconVisible());
    EXPECT_TRUE(WindowShown());
    EXPECT_TRUE(TaskBarWindowShown());
    EXPECT_TRUE(game.Paused) << "the game waits for the player";
    EXPECT_TRUE(form->PausedLabel->Visible());
    EXPECT_EQ(game.Board.Cells(), board);
    Tick();
    EXPECT_EQ(game.HeadX, headX);

    Key(VK_F10);
    EXPECT_FALSE(game.Paused);
    EXPECT_FALSE(form->PausedLabel->Visible());
    Tick();
    EXPECT_EQ(game.HeadX, headX + 1) << "on from where it stopped";
}

TEST_F(BossModeTest, WithNoGameOrAPausedGameTheClickLeavesItPaused) {
    EnterBossMode();
    EXPECT_FALSE(form->PausedLabel->Visible()) << "no game, no label";
    ClickIcon();
    EXPECT_TRUE(WindowShown());
    EXPECT_TRUE(game.Paused);
    EXPECT_FALSE(form->PausedLabel->Visible());
    Key(VK_F10);
    EXPECT_TRUE(game.Paused) << "Pause does nothing without a game";
    Key(VK_F9);
    EXPECT_FALSE(game.Paused) << "a new game clears it";

    Key(VK_F10);
    ASSERT_TRUE(game.Paused);
    shell.Calls.clear();
    EnterBossMode();
    IconMouse(NIN_KEYSELECT);  // Enter or Space on the icon, chosen with Win+B and the arrows
    EXPECT_TRUE(WindowShown());
    EXPECT_TRUE(game.Paused);
    EXPECT_TRUE(form->PausedLabel->Visible());
}

TEST_F(BossModeTest, StartingAgainWakesOnlyACopyInBossModeAndLeavesItPaused) {
    EXPECT_FALSE(WakeCopyInBossMode()) << "a copy on screen says no: the second start opens a board";
    EnterBossMode();
    EXPECT_TRUE(WakeCopyInBossMode());
    EXPECT_TRUE(WindowShown() && TaskBarWindowShown() && game.Paused && !form->Tray->IconVisible());
}

TEST_F(BossModeTest, RightClickDoesNothingAndDoubleClickComesBackOnce) {
    EnterBossMode();
    IconMouse(WM_RBUTTONDOWN);
    IconMouse(WM_RBUTTONUP);
    EXPECT_FALSE(WindowShown());
    EXPECT_EQ(shell.Messages(), std::vector<DWORD>{NIM_ADD});
    EXPECT_TRUE(form->Tray->IconVisible());
    // No menu may be left waiting at the cursor.
    EXPECT_EQ(FindWindowA("#32768", nullptr), nullptr);

    // The shell's double click: press, release, double click, release.
    IconMouse(WM_LBUTTONDOWN);
    IconMouse(WM_LBUTTONUP);
    EXPECT_TRUE(WindowShown()) << "the first release is the click";
    IconMouse(WM_LBUTTONDBLCLK);
    IconMouse(WM_LBUTTONUP);
    EXPECT_TRUE(WindowShown());
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_DELETE}))
        << "deleted once, and not added again";
    EXPECT_FALSE(form->Tray->IconVisible());
}

TEST_F(BossModeTest, LevelChosenWithoutAGameSetsTheNextGamesPace) {
    Key(VK_F11);
    EXPECT_FALSE(IsWindowEnabled(form->Handle()));
    ASSERT_TRUE(IsWindowVisible(level->Handle()));
    EXPECT_FALSE(game.Paused) << "only a running game is paused";
    RECT over, own;
    GetWindowRect(form->Handle(), &over);
    GetWindowRect(level->Handle(), &own);
    // Over the main window's middle, within a pixel.
    EXPECT_NEAR(own.left + own.right, over.left + over.right, 1);
    EXPECT_NEAR(own.top + own.bottom, over.top + over.bottom, 1);

    HWND bar = level->LevelBar(3)->Handle();
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    EXPECT_EQ(game.Level, 3);
    EXPECT_EQ(WindowText(level->Handle()), "Level 3");
    AnsweredDialogs dialogs("OK");
    SendMessageA(level->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_TRUE(dialogs.Texts.empty()) << "no game: nothing to tell";
    EXPECT_FALSE(IsWindowVisible(level->Handle()));
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));

    Key(VK_F9);
    EXPECT_TRUE(game.Playing);
    EXPECT_EQ(form->Timer->Interval(), 195u);
    EXPECT_EQ(form->Status->DisplayedText(kLevelPanel), " Level : 3");
}

TEST_F(BossModeTest, LevelDuringAGamePausesItAndTakesEffectOnTheNextGame) {
    Key(VK_F9);
    ASSERT_EQ(form->Timer->Interval(), 95u);
    form->Level1Click(form->Level1);
    Pump();
    EXPECT_FALSE(IsWindowEnabled(form->Handle()));
    EXPECT_TRUE(game.Paused);
    EXPECT_TRUE(form->PausedLabel->Visible());
    HWND bar = level->LevelBar(3)->Handle();
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    {
        AnsweredDialogs dialogs("OK");
        SendMessageA(level->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        Pump();
        EXPECT_EQ(dialogs.Texts,
                  std::vector<std::string>{"Changes will take effect when you start new game"});
    }
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_TRUE(game.Paused);
    EXPECT_EQ(form->Timer->Interval(), 95u) << "the running game keeps its pace";
    EXPECT_EQ(form->Status->DisplayedText(kLevelPanel), " Level : 7");
    {
        AnsweredDialogs dialogs("Yes");
        Key(VK_F9);
        EXPECT_EQ(dialogs.Texts, std::vector<std::string>{"Are you sure?"});
    }
    EXPECT_FALSE(game.Paused);
    EXPECT_EQ(form->Timer->Interval(), 195u);
    EXPECT_EQ(form->Status->DisplayedText(kLevelPanel), " Level : 3");
}

// Exactly while a game moves, a timer and the fine clock; only what was granted is given back.
TEST_F(BossModeTest, TheTickTimerAndTheFineClockRunExactlyWhileAGameMoves) {
    testing::MessageBoxRecorder boxes;
    using Calls = std::vector<std::string>;
    Calls calls;
    bool refuse = false;
    TSystemSettings recorder = SystemSettingsPlatform();
    recorder.BeginTimerPeriod = [&](UINT ms) {
        calls.push_back("begin " + std::to_string(ms));
        return refuse ? UINT{TIMERR_NOCANDO} : UINT{TIMERR_NOERROR};
    };
    recorder.EndTimerPeriod = [&](UINT ms) {
        calls.push_back("end " + std::to_string(ms));
        return UINT{TIMERR_NOERROR};
    };
    const TSystemSettings platform = SetSystemSettings(recorder);
    const Calls none, begin{"begin 1"}, end{"end 1"};
    struct Step {
        const char* what;
        std::function<void()> act;
        Calls requests;
        bool armed, refuse = false;
        const char* answer = nullptr;  // the button that answers a box meanwhile
    } steps[] = {
        {"no game", [] {}, none, false},
        {"new game", [this] { Key(VK_F9); }, begin, true},
        {"pause", [this] { Key(VK_F10); }, end, false},
        {"resume", [this] { Key(VK_F10); }, begin, true},
        {"boss mode", [this] { Key(VK_DELETE); }, end, false},
        {"back from boss mode, paused", [this] { ClickIcon(); }, none, false},
        {"level 3 chosen during the game",
         [this] {
             Key(VK_F11);
             SendMessageA(level->LevelBar(3)->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
             SendMessageA(level->LevelBar(3)->Handle(), WM_LBUTTONUP, 0, 0);
             SendMessageA(level->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
         },
         none, false, false, "OK"},
        {"resume at the game's pace, refused", [this] { Key(VK_F10); }, begin, true, true},
        {"new game, nothing to give back", [this] { Key(VK_F9); }, begin, true, false, "Yes"},
        {"game over",
         [this] {
             game.Board(game.HeadX + 1, game.HeadY) = cellBody;
             Tick();
         },
         end, false},
        {"new game", [this] { Key(VK_F9); }, begin, true},
        {"exit",
         [this] { delete std::exchange(level, nullptr), form.reset(); }, end,
         false},
    };
    for (const Step& step : steps) {
        refuse = step.refuse;
        std::optional<AnsweredDialogs> dialogs;
        if (step.answer) dialogs.emplace(step.answer);
        step.act();
        EXPECT_EQ(std::exchange(calls, {}), step.requests) << step.what;
        EXPECT_EQ(form && form->Timer->Armed(), step.armed) << step.what;
    }
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Game Over!"});
    SetSystemSettings(platform);
}

// The first move after a new game, a pause or boss mode comes one beat (95 ms
// at level 7) after the game moves again: not at once, nothing made up for the
// time it stood, and not a beat late.
TEST_F(BossModeTest, TheFirstMoveComesOneBeatAfterTheGameMovesAgain) {
    form->Timer->OnTimer = [this](TComponent* sender) { form->TimerTimer(sender); };
    const std::pair<std::function<void()>, WORD> steps[] = {
        {[] {}, VK_F9},
        {[this] { Key(VK_F10); }, VK_F10},
        {[this] { Key(VK_DELETE), ClickIcon(); }, VK_F10}};
    for (const auto& [stop, go] : steps) {
        stop();
        Pump(std::chrono::milliseconds(300));  // longer than a beat
        ASSERT_TRUE(game.Paused || !game.Playing);
        // A new game's head starts at (9, 10).
        const auto [x, y] = go == VK_F9 ? std::pair{9, 10} : std::pair{game.HeadX, game.HeadY};
        const auto start = std::chrono::steady_clock::now();
        Key(go);
        ASSERT_TRUE(testing::PumpUntil([&] { return game.HeadX != x || game.HeadY != y; }));
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_GE(took, std::chrono::milliseconds(95 - 20)) << "key " << go;
        // The 32-bit Wine of the suite may run emulated, several times slower.
        EXPECT_LE(took, std::chrono::milliseconds(95 + (sizeof(void*) == 8 ? 150 : 600)))
            << "key " << go;
    }
}

TEST_F(BossModeTest, WithoutANotificationAreaTheWindowStaysPausedAndSaysWhy) {
    Key(VK_F9);
    Tick();
    ASSERT_TRUE(game.Playing);
    const auto panels = PanelTexts(*form->Status);
    ASSERT_EQ(panels.size(), 4u);
    const int headX = game.HeadX;
    shell.AddAnswer = FALSE;

    Key(VK_DELETE);
    EXPECT_TRUE(WindowShown()) << "nothing could bring a hidden window back";
    EXPECT_TRUE(TaskBarWindowShown());
    EXPECT_TRUE(game.Paused);
    EXPECT_TRUE(form->PausedLabel->Visible());
    EXPECT_FALSE(form->Tray->IconVisible());
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_DELETE}));
    EXPECT_TRUE(form->Status->DisplaysSimpleText());
    EXPECT_EQ(form->Status->DisplayedSimpleText(), kBossModeNeedsTrayText);
    Tick();
    EXPECT_EQ(game.HeadX, headX);
    if (const char* folder = std::getenv("QUILLORY_SCREENSHOT_DIR"); folder && *folder) {
        RECT area{};
        GetWindowRect(form->Handle(), &area);
        EXPECT_TRUE(testing::CaptureScreen(folder, "boss_mode_notice.png", &area, [] { Pump(); }));
    }

    // The icon does not turn up later either, when the shell restarts.
    shell.AddAnswer = TRUE;
    shell.Calls.clear();
    SendMessageA(form->Tray->MessageWindow(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(shell.Calls.empty());

    // The next game command gives the four panels back, with their texts.
    Key(VK_F10);
    EXPECT_FALSE(form->Status->DisplaysSimpleText());
    EXPECT_EQ(PanelTexts(*form->Status), panels);
    EXPECT_FALSE(game.Paused);
    Tick();
    EXPECT_EQ(game.HeadX, headX + 1);

    // With the notification area back, boss mode works as before.
    shell.Calls.clear();
    EnterBossMode();
    EXPECT_FALSE(form->Status->DisplaysSimpleText());
}

TEST_F(BossModeTest, ShellRestartKeepsBossModeOrEndsItWhenTheIconIsRefused) {
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    Key(VK_F9);
    ASSERT_TRUE(game.Playing);
    EnterBossMode();

    SendMessageA(form->Tray->MessageWindow(), taskbarCreated, 0, 0);
    Pump();
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_ADD})) << "the icon is back";
    EXPECT_FALSE(WindowShown()) << "boss mode goes on";

    shell.AddAnswer = FALSE;
    SendMessageA(form->Tray->MessageWindow(), taskbarCreated, 0, 0);
    Pump();
    EXPECT_TRUE(WindowShown()) << "without its icon the game comes back";
    EXPECT_TRUE(TaskBarWindowShown());
    EXPECT_FALSE(form->Tray->IconVisible());
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_ADD, NIM_ADD, NIM_DELETE}));
    EXPECT_TRUE(game.Paused);
    EXPECT_TRUE(form->PausedLabel->Visible());
    ASSERT_TRUE(form->Status->DisplaysSimpleText());
    EXPECT_EQ(form->Status->DisplayedSimpleText(), kBossModeIconLostText);

    Key(VK_F10);
    EXPECT_FALSE(form->Status->DisplaysSimpleText());
    EXPECT_FALSE(game.Paused);
}

// The main window's button shows the program's icons. Minimised and restored
// there, it takes the box open over it along; activated, it hands on to the box.
TEST_F(BossModeTest, TheMainWindowsButtonTakesTheBoxOverItAlong) {
    HWND main = form->Handle(), app = TestApplication().Handle();
    const auto icon = [&](WPARAM which) { return SendMessageA(main, WM_GETICON, which, 0); };
    EXPECT_EQ(icon(ICON_BIG), static_cast<LRESULT>(GetClassLongPtrA(app, GCLP_HICON)));
    EXPECT_EQ(icon(ICON_SMALL), static_cast<LRESULT>(GetClassLongPtrA(app, GCLP_HICONSM)));
    EXPECT_TRUE(GetWindowLongPtrA(main, GWL_STYLE) & WS_MINIMIZEBOX) << "the task bar may minimise it";
    ModalActs answer([&](TForm& box) {
        ShowWindow(main, SW_MINIMIZE);
        EXPECT_FALSE(IsWindowVisible(box.Handle()));
        ShowWindow(main, SW_RESTORE);
        EXPECT_TRUE(IsWindowVisible(box.Handle()) && testing::IsAbove(box.Handle(), main));
        ForeignWindow other(main, /*topmost=*/false);
        SendMessageA(main, WM_ACTIVATE, WA_ACTIVE, 0);  // its button, or Alt+Tab
        Pump();
        EXPECT_EQ(GetForegroundWindow(), box.Handle());
        testing::ClickButton(box, "OK");
    });
    MessageDlg("Are you sure?", TMsgDlgType::mtInformation, mbOK);
}

TEST_F(BossModeTest, ClickOnTheDisabledWindowBringsTheLevelDialogForward) {
    Key(VK_F11);
    ASSERT_TRUE(IsWindowVisible(level->Handle()));
    ASSERT_FALSE(IsWindowEnabled(form->Handle()));
    // The dialog stays on top of other windows, so only one that does too covers it.
    ForeignWindow other(level->Handle(), /*topmost=*/true);
    Pump();
    ASSERT_TRUE(IsAbove(other.Handle(), level->Handle()));

    MouseOnDisabledWindow(form->Handle(), WM_MOUSEMOVE);
    Pump();
    EXPECT_TRUE(IsAbove(other.Handle(), level->Handle())) << "the pointer alone changes nothing";

    MouseOnDisabledWindow(form->Handle(), WM_LBUTTONDOWN);
    Pump();
    EXPECT_TRUE(IsAbove(level->Handle(), other.Handle()));
    EXPECT_EQ(GetForegroundWindow(), level->Handle());
    EXPECT_FALSE(IsWindowEnabled(form->Handle())) << "the dialog is still the one to answer";

    // A box over the dialog holds the dialog too: the box is the one brought forward.
    HWND broughtForward = nullptr;
    {
        ModalActs answer([&](TForm& dialog) {
            other.ComeForward();
            MouseOnDisabledWindow(form->Handle(), WM_RBUTTONDOWN);
            Pump();
            broughtForward = GetForegroundWindow();
            EXPECT_EQ(broughtForward, dialog.Handle());
            testing::ClickButton(dialog, "OK");
        });
        MessageDlg("Changes will take effect when you start new game", TMsgDlgType::mtInformation,
                   mbOK);
    }
    EXPECT_NE(broughtForward, nullptr);
    EXPECT_NE(broughtForward, level->Handle());

    SendMessageA(level->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    ASSERT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_EQ(form->WaitingWindow(), nullptr) << "an enabled window waits for nothing";
}

}  // namespace
}  // namespace quillory
