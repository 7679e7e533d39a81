// The main window pauses a running game when the player looks away: another
// program activated, the window or the whole program minimised. Coming back
// leaves it paused; the program's own boxes and dialogs change nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <utility>

#include "core/game_state.h"
#include "game/main_form.h"
#include "ui/dialogs.h"
#include "main_window_support.h"

namespace quillory {
namespace {

using namespace ui;
using testing::ModalActs;
using testing::Pump;
using testing::PumpUntil;
using testing::TestApplication;

// Another program, as far as activation goes: a window of another thread, so
// that activating it deactivates this program as a whole (WM_ACTIVATEAPP).
class OtherProgramWindow {
public:
    OtherProgramWindow() {
        thread_ = std::thread([this] { Run(); });
        while (!window_.load()) Sleep(1);
    }
    ~OtherProgramWindow() {
        PostMessageA(window_.load(), WM_CLOSE, 0, 0);
        thread_.join();
    }
    OtherProgramWindow(const OtherProgramWindow&) = delete;
    OtherProgramWindow& operator=(const OtherProgramWindow&) = delete;

    HWND Handle() const { return window_.load(); }
    void Activate() const {
        SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(Handle());
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcA(window, msg, wParam, lParam);
    }
    void Run() {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QuilloryTestOtherProgram";
        RegisterClassExA(&wc);
        HWND window = CreateWindowExA(0, wc.lpszClassName, "Another program",
                                      WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 200, 120, nullptr,
                                      nullptr, wc.hInstance, nullptr);
        window_.store(window);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    }

    std::atomic<HWND> window_{nullptr};
    std::thread thread_;
};

struct LookingAwayTest : testing::MainWindowTest {
    void SetUp() override {
        Open();
        SetForegroundWindow(form->Handle());
        Pump();
    }

    void StartGame() {
        form->Newgame1Click(nullptr);
        ASSERT_TRUE(game.Playing);
        ASSERT_FALSE(game.Paused);
    }
    bool Active() { return GetForegroundWindow() == form->Handle(); }
    bool PausedAndShown() { return game.Paused && form->PausedLabel->Visible(); }
    int HeadColumn() const { return game.HeadX; }
};

TEST_F(LookingAwayTest, AnotherProgramActivatedPausesAndComingBackKeepsThePause) {
    StartGame();
    ASSERT_TRUE(PumpUntil([&] { return Active(); }));
    OtherProgramWindow other;
    other.Activate();
    ASSERT_TRUE(PumpUntil([&] { return PausedAndShown(); }))
        << "the game pauses with the label, as F10 would";

    const int head = HeadColumn();
    Tick();
    EXPECT_EQ(HeadColumn(), head) << "paused: the tick moves nothing";

    SetForegroundWindow(form->Handle());
    ASSERT_TRUE(PumpUntil([&] { return Active(); }));
    Pump(std::chrono::milliseconds(50));
    EXPECT_TRUE(PausedAndShown()) << "coming back does not resume";
    form->Pause1Click(nullptr);
    EXPECT_FALSE(game.Paused) << "Pause resumes as always";
    Tick();
    EXPECT_EQ(HeadColumn(), head + 1);
}

// Each way of looking away pauses a running game with its label, and coming
// back keeps the pause; activation coming in pauses nothing.
TEST_F(LookingAwayTest, EachWayOfLookingAwayPausesARunningGame) {
    HWND window = form->Handle(), application = Application->Handle();  // the task-bar button's
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"deactivated", [=] { SendMessageA(window, WM_ACTIVATE, WA_INACTIVE, 0); }},
        {"program deactivated", [=] { SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0); }},
        {"task-bar window deactivated", [=] { SendMessageA(application, WM_ACTIVATEAPP, FALSE, 0); }},
        {"minimised", [=] { ShowWindow(window, SW_MINIMIZE); }},
        {"program minimised", [=] { SendMessageA(application, WM_SYSCOMMAND, SC_MINIMIZE, 0); }}};
    StartGame();
    for (const auto& [what, lookAway] : ways) {
        lookAway();
        Pump();
        EXPECT_TRUE(PausedAndShown()) << what;
        for (HWND minimised : {application, window})
            if (IsIconic(minimised)) ShowWindow(minimised, SW_RESTORE), form->Show();
        Pump();
        EXPECT_TRUE(PausedAndShown()) << what << ": back, still paused";
        form->Pause1Click(nullptr);
        ASSERT_FALSE(game.Paused);
    }
    SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0);
    SendMessageA(window, WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_FALSE(game.Paused || form->PausedLabel->Visible());
}

TEST_F(LookingAwayTest, OwnWindowsTakingTheActivationChangeNothing) {
    StartGame();
    // A window of this program itself, as a box or the name dialog would be.
    auto* own = Create<TForm>(Application);
    own->SetBorderStyle(TFormBorderStyle::bsDialog);
    own->SetClientSize(100, 60);
    own->HandleNeeded();
    SendMessageA(form->Handle(), WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(own->Handle()));
    EXPECT_FALSE(game.Paused);

    own->Show();
    SetForegroundWindow(own->Handle());
    Pump(std::chrono::milliseconds(50));
    EXPECT_NE(GetForegroundWindow(), form->Handle());
    EXPECT_FALSE(game.Paused) << "our own window over the main one is not looking away";
    EXPECT_FALSE(form->PausedLabel->Visible());
    delete own;
}

TEST_F(LookingAwayTest, NothingChangesWithoutARunningGame) {
    // No game yet: nothing to pause, no label.
    SendMessageA(form->Handle(), WM_ACTIVATEAPP, FALSE, 0);
    SendMessageA(form->Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(game.Paused);
    EXPECT_FALSE(form->PausedLabel->Visible());

    // Paused already: looking away does not turn the pause into anything else.
    StartGame();
    form->Pause1Click(nullptr);
    ASSERT_TRUE(game.Paused);
    SendMessageA(form->Handle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_TRUE(PausedAndShown());

    // A game that ended: the board stays, no label appears over it.
    form->Pause1Click(nullptr);
    game.Playing = false;
    SendMessageA(form->Handle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(game.Paused);
    EXPECT_FALSE(form->PausedLabel->Visible());
}

// The question holds the game: the player who turns to another program
// while it is open and comes back finds the game where it was, and No
// resumes it.
TEST_F(LookingAwayTest, TheNewGameQuestionHoldsTheGameWhileLookedAwayAndNoResumes) {
    StartGame();
    ASSERT_TRUE(PumpUntil([&] { return Active(); }));
    OtherProgramWindow other;
    const int head = HeadColumn();
    bool away = false, back = false;
    ModalActs answer([&](TForm& question) {
        // Each switch is waited for until this thread has heard of it too.
        other.Activate();
        away = PumpUntil([&] {
            return GetForegroundWindow() == other.Handle() && GetActiveWindow() == nullptr;
        });
        SetForegroundWindow(question.Handle());
        back = PumpUntil([&] {
            return GetForegroundWindow() == question.Handle() &&
                   GetActiveWindow() == question.Handle();
        });
        Tick();
        testing::ClickButton(question, "No");
    });
    form->Newgame1Click(nullptr);
    ASSERT_TRUE(away) << "another program had the activation while the question was open";
    ASSERT_TRUE(back) << "the player came back to the question";
    EXPECT_EQ(HeadColumn(), head) << "the tick meanwhile moved nothing";
    EXPECT_FALSE(game.Paused) << "No: the game goes on unpaused, as the command has it";
    EXPECT_FALSE(form->PausedLabel->Visible());
    Tick();
    EXPECT_EQ(HeadColumn(), head + 1);
}

}  // namespace
}  // namespace quillory
