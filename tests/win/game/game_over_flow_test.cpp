// The main window's side of a game's end and of its Top Scores and About
// commands, with the about window and the top scores dialog created as the
// program creates them: a real game runs into its body, the dialogs are
// answered through the test seams, and the file is read back from disk.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "../scores/scores_test_support.h"
#include "core/game_state.h"
#include "dialogs/about_form.h"
#include "dialogs/level_form.h"
#include "front_window_support.h"
#include "game/main_form.h"
#include "../main_window_support.h"
#include "scores/scores_form.h"
#include "ui/dialogs.h"
#include "ui/std_controls.h"

namespace quillory::testing {
namespace {

using namespace std::chrono_literals;

[[maybe_unused]] const auto* const kApplication =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

class GameOverFlowTest : public ::testing::Test, public MainWindow {
protected:
    void SetUp() override {
        GetCurrentDirectoryA(MAX_PATH, previous_dir_);
        ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));
    }
    void TearDown() override {
        delete std::exchange(scoresForm, nullptr);
        delete std::exchange(aboutForm, nullptr);
        form.reset();
        SetCurrentDirectoryA(previous_dir_);
    }

    // The windows in the program's order; the last one loads "scores.dat".
    void Start() {
        auto* main = ui::Create<TMainForm>(ui::Application, game);
        main->AboutForm = aboutForm = ui::Create<TAboutForm>(ui::Application, main);
        main->ScoresForm = scoresForm = ui::Create<TScoresForm>(ui::Application, main->Keeper, main);
        Open(main);
    }

    // What arrives while a dialog of the game's end is open: direct ticks and
    // the window's own timer. None of them may move the finished game. The
    // timer's ticks are counted on their way to the window, so that "nothing
    // moved" cannot mean "nothing arrived".
    void TicksDoNothing() {
        EXPECT_FALSE(game.Playing) << "cleared before the dialogs open";
        const int headX = game.HeadX, headY = game.HeadY, score = game.Score;
        Tick();
        Tick();
        int arrived = 0;
        form->Timer->OnTimer = [&](ui::TComponent* sender) {
            ++arrived;
            form->TimerTimer(sender);
        };
        form->Timer->SetInterval(20);
        form->Timer->SetEnabled(true);
        EXPECT_TRUE(PumpUntil([&] { return arrived >= 3; }, 3s))
            << "the window's timer ticked while the dialog was open";
        form->Timer->SetEnabled(false);
        form->Timer->OnTimer = nullptr;
        EXPECT_EQ(game.HeadX, headX);
        EXPECT_EQ(game.HeadY, headY);
        EXPECT_EQ(game.Score, score);
        ++ticked;
    }

    // What the player sees: every cell's symbol, then the score and the bonus.
    std::string Frame() {
        std::string frame;
        for (int y = 1; y <= kBoardRows; ++y)
            for (int x = 1; x <= kBoardColumns; ++x)
                frame += form->CellButton(x, y)->Caption() + ',';
        return frame + "|" + Panel(kScorePanel) + Panel(kBonusPanel);
    }

    // A real game steered to two meals, then into itself, entered as `name`: a frame a tick.
    std::vector<std::string> PlayToTheTable(const char* name) {
        game.Level = 4;
        ModalAnswers answers([&](ui::TForm& dialog) { AnswerName(dialog, name, "OK"); });
        Key(VK_F9);
        std::vector<std::string> frames{Frame()};
        const WORD kClockwise[] = {VK_UP, VK_RIGHT, VK_DOWN, VK_LEFT};  // after dirLeft, dirUp...
        for (int tick = 0, food = 0; game.Playing && tick < 400; ++tick) {
            while (game.Board(food % kBoardColumns + 1, food / kBoardColumns + 1) != cellFood)
                food = (food + 1) % kBoardCells;
            const bool vertical = game.CurrentDirection % 2;  // then the food is steered to in x
            const int off = vertical ? food % kBoardColumns + 1 - game.HeadX
                                     : food / kBoardColumns + 1 - game.HeadY;
            const int turn = game.Score >= 8 ? game.CurrentDirection % 4  // a square into itself
                             : vertical      ? (off > 0 ? 1 : 3)
                                             : (off > 0 ? 2 : 0);
            if (game.Score >= 8 || off) Key(kClockwise[turn]);
            Tick();
            frames.push_back(Frame());
        }
        return frames;
    }

    bool MainEnabled() { return IsWindowEnabled(form->Handle()) != FALSE; }
    std::string Record() { return form->Status->DisplayedText(kRecordPanel); }
    bool ScoresShown() { return IsWindowVisible(scoresForm->Handle()) != FALSE; }
    // The saved file: row 1's name and points, row 2's points.
    std::string Saved() {
        const Bytes bytes = ReadFileBytes(path);
        if (bytes.size() != sizeof(ScoreTable)) return bytes.empty() ? "no file" : "half-written";
        ScoreTable table;
        std::memcpy(&table, bytes.data(), sizeof table);
        return std::string(NameOf(table.Rows[0])) + " " + std::to_string(table.Rows[0].Points) +
               " " + std::to_string(table.Rows[1].Points);
    }

    ScratchDirectory dir;
    std::string path = dir.File("scores.dat");
    TAboutForm* aboutForm = nullptr;
    TScoresForm* scoresForm = nullptr;
    int ticked = 0;

private:
    char previous_dir_[MAX_PATH] = {};
};

TEST_F(GameOverFlowTest, NoRowEarnedShowsTheGameOverBoxOnly) {
    Start();
    StartGame();
    int dialogs = 0;
    ModalAnswers answers([&](ui::TForm&) { ++dialogs; });
    MessageBoxRecorder recorder;
    recorder.during = [&] { TicksDoNothing(); };
    RunIntoTheBody();  // score 0 with an empty table: 0 is not lower than 0

    EXPECT_EQ(recorder.Texts(), std::vector<std::string>{"Game Over!"});
    EXPECT_EQ(ticked, 1);
    EXPECT_EQ(dialogs, 0) << "no name dialog";
    EXPECT_FALSE(FileExists(path)) << "nothing saved";
    EXPECT_FALSE(ScoresShown());
    EXPECT_TRUE(MainEnabled());
    EXPECT_FALSE(game.Paused);
}

TEST_F(GameOverFlowTest, EarnedRowIsEnteredSavedAndShownWithTheGamePaused) {
    const ScoreTable old = TableOf({100, 90, 80, 70, 60, 50, 40, 30, 20, 10});
    WriteFileBytes(path, ImageOf(old));
    Start();
    ASSERT_EQ(WindowLines(*scoresForm->NameList)[5], "Player 6") << "loaded at creation";
    EXPECT_EQ(Record(), " Record : 100") << "row 1 from the start";
    game.Level = 3;  // as the level dialog leaves it
    StartGame();
    game.Score = 55;

    MessageBoxRecorder boxes;
    ModalAnswers answers([&](ui::TForm& dialog) {
        EXPECT_EQ(dialog.Caption(), "Game Over!");
        EXPECT_EQ(static_cast<ui::TLabel*>(dialog.FindComponent("Prompt"))->Caption(),
                  "Your name :");
        EXPECT_EQ(static_cast<ui::TEdit*>(dialog.FindComponent("Edit"))->Text(), "")
            << "starts empty";
        EXPECT_FALSE(ScoresShown());
        TicksDoNothing();
        AnswerName(dialog, "Zoe", "OK");
    });
    RunIntoTheBody();

    EXPECT_EQ(answers.shown, 1);
    EXPECT_EQ(ticked, 1);
    EXPECT_TRUE(boxes.boxes.empty()) << "no Game Over! box, no failure";
    // Row 6 is the first lower than 55; rows 6 to 9 move down whole, row 10 is gone.
    ScoreTable expected = old;
    for (int row = 8; row >= 5; --row) expected.Rows[row + 1] = expected.Rows[row];
    SetName(expected.Rows[5], "Zoe (level 3)");
    expected.Rows[5].Points = 55;
    EXPECT_EQ(ReadFileBytes(path), ImageOf(expected));
    EXPECT_EQ(WindowLines(*scoresForm->NameList)[5], "Zoe (level 3)");
    EXPECT_EQ(WindowLines(*scoresForm->ScoreList)[5], "55");

    // The Top Scores command followed: paused, no label after the game, main window disabled.
    EXPECT_TRUE(ScoresShown());
    EXPECT_FALSE(MainEnabled());
    EXPECT_TRUE(game.Paused);
    EXPECT_FALSE(form->PausedLabel->Visible());
    Tick();
    EXPECT_FALSE(game.Playing);

    SendMessageA(scoresForm->Button1->Handle(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_FALSE(ScoresShown());
    EXPECT_TRUE(MainEnabled());
    EXPECT_TRUE(game.Paused) << "only Pause and New game clear it";

    // The next game starts unpaused.
    Key(VK_F9);
    EXPECT_TRUE(game.Playing);
    EXPECT_FALSE(game.Paused);
}

// The name dialog ended otherwise than by OK, "Zoe" typed. Cancel, or closing
// it, enters the level alone. Windows ends the program once WM_ENDSESSION is
// answered: the result is in the file by then, under the name typed, and the
// dialog's later answer enters nothing more; a session end called off changes
// nothing. The record panel follows row 1, empty again after "Clear !", which
// also deletes the file for the next row.
TEST_F(GameOverFlowTest, NameDialogCancelledClosedOrEndedWithTheSessionEntersOnce) {
    const struct {
        UINT message;  // to the dialog (WM_CLOSE) or, after WM_QUERYENDSESSION, the main window
        BOOL ending;
        const char *button, *atOnce, *atEnd;  // the click after it, Saved() then and at the end
    } rows[] = {{0, FALSE, "Cancel", "no file", " (level 7) 7 0"},
                {WM_CLOSE, FALSE, nullptr, "no file", " (level 7) 7 0"},
                {WM_ENDSESSION, FALSE, "OK", "no file", "Zoe (level 7) 7 0"},
                {WM_ENDSESSION, TRUE, "OK", "Zoe (level 7) 7 0", "Zoe (level 7) 7 0"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << "message " << row.message << ", " << row.ending);
        Start();
        EXPECT_EQ(Record(), " Record : ");
        StartGame();
        game.Score = 7;
        MessageBoxRecorder boxes;
        ModalAnswers answers([&](ui::TForm& dialog) {
            HWND edit = static_cast<ui::TEdit*>(dialog.FindComponent("Edit"))->Handle();
            for (char ch : std::string("Zoe")) SendMessageA(edit, WM_CHAR, ch, 0);
            if (row.message == WM_CLOSE) SendMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
            if (row.message == WM_ENDSESSION) {
                EXPECT_TRUE(SendMessageA(form->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
                SendMessageA(form->Handle(), WM_ENDSESSION, row.ending, ENDSESSION_LOGOFF);
            }
            EXPECT_EQ(Saved(), row.atOnce);
            if (row.button) ClickButton(dialog, row.button);
        });
        RunIntoTheBody();
        EXPECT_EQ(answers.shown, 1);
        EXPECT_TRUE(boxes.boxes.empty());
        EXPECT_EQ(Saved(), row.atEnd);
        EXPECT_TRUE(ScoresShown());
        EXPECT_FALSE(MainEnabled());
        EXPECT_EQ(Record(), " Record : 7");
        ModalAnswers clear([](ui::TForm& dialog) { ClickButton(dialog, "Yes"); });
        SendMessageA(scoresForm->Button2->Handle(), BM_CLICK, 0, 0);
        ASSERT_EQ(clear.shown, 1);
        EXPECT_EQ(Record(), " Record : ");
        delete std::exchange(scoresForm, nullptr);
        delete std::exchange(aboutForm, nullptr);
        form.reset();
    }
}

// A clock whose every draw after a reseed places a bonus:
// (0x46B05733 x 134775813 + 1) mod 2^32 = 0xA0000000, and 0xA0000000 x 15 / 2^32 = 9.
std::uint32_t BonusClock() {
    return 0x46B05733u;
}

// A game played for points: meals worth the level, a bonus counted down on the
// status bar from 29 until its cell empties, a second one eaten at 27 for
// level x 27; the game over saves exactly what was shown.
TEST_F(GameOverFlowTest, PointsEarnedByPlayingAreShownAndSavedExactly) {
    game.Random.SetClock(&BonusClock);
    Start();
    StartGame();  // level 7, moving right
    int score = 0;
    auto ahead = [&] {
        const bool up = game.CurrentDirection == dirUp;
        return std::pair{up ? game.HeadX : game.HeadX % kBoardColumns + 1,
                         up ? (game.HeadY + kBoardRows - 2) % kBoardRows + 1 : game.HeadY};
    };
    auto step = [&] {  // a tick that eats whatever food lies ahead
        if (game.Board(ahead().first, ahead().second) == cellFood) score += 7;
        Tick();
        EXPECT_EQ(Panel(0), " Score : " + std::to_string(score));
    };
    auto meal = [&] {
        MoveFoodTo(ahead().first, ahead().second);
        step();
    };
    meal();
    ASSERT_EQ(Panel(3), " Bonus : 29") << "the meal placed a bonus";
    const int bx = game.BonusX, by = game.BonusY;
    if (by == game.HeadY) Key(VK_UP);  // out of its way
    for (int left = 28; left >= 1; --left) {
        step();
        ASSERT_EQ(Panel(3), " Bonus : " + std::to_string(left));
        ASSERT_EQ(form->CellButton(bx, by)->Caption(), "~");
    }
    step();
    EXPECT_EQ(Panel(3), " No Bonus") << "gone on the 29th tick";
    EXPECT_EQ(form->CellButton(bx, by)->Caption(), "");
    if (game.CurrentDirection == dirUp) Key(VK_RIGHT), step();

    meal();
    ASSERT_EQ(Panel(3), " Bonus : 29");
    step(), step();
    ASSERT_EQ(Panel(3), " Bonus : 27");
    game.Board(game.BonusX, game.BonusY) = cellEmpty;  // into the snake's way, as the food
    const auto [ex, ey] = ahead();
    game.Board(ex, ey) = cellBonus;
    game.BonusX = ex, game.BonusY = ey;
    score += 7 * 27;
    step();
    EXPECT_EQ(Panel(3), " No Bonus") << "eaten";
    EXPECT_EQ(form->CellButton(ex, ey)->Caption(), "<");

    ModalAnswers answers([&](ui::TForm& dialog) { AnswerName(dialog, "Ann", "OK"); });
    Key(VK_UP), step(), Key(VK_LEFT), step(), Key(VK_DOWN), Tick();
    ASSERT_FALSE(game.Playing);
    EXPECT_EQ(score, 7 * 2 + 7 * 27) << "two meals and the bonus, nothing else on the way";
    EXPECT_EQ(Saved(), "Ann (level 7) " + std::to_string(score) + " 0");
}

// A score file the program cannot use at start-up: the box says why, and a
// game can be played all the same.
TEST_F(GameOverFlowTest, StartUpWithABadScoreFileShowsTheBoxThenPlays) {
    HANDLE lock = INVALID_HANDLE_VALUE;
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { WriteFileBytes(path, Bytes(279, 0x41)); }, "Read beyond end of file."},
        {[&] { CreateDirectoryA(path.c_str(), nullptr); }, "File access denied."},
        {[&] {
             WriteFileBytes(path, ImageOf(TableOf({5})));
             lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
         },
         "I/O error 32."}};  // a sharing violation
    for (const auto& [make, text] : cases) {
        make();
        {
            MessageBoxRecorder boxes;
            Start();
            EXPECT_EQ(boxes.Texts(), std::vector<std::string>{text});
        }
        StartGame();
        Tick();
        EXPECT_EQ(game.HeadX, 10) << text;
        EXPECT_EQ(form->CellButton(10, 10)->Caption(), "<") << text;
        TearDown();
        SetUp();
        if (lock != INVALID_HANDLE_VALUE) CloseHandle(std::exchange(lock, INVALID_HANDLE_VALUE));
        RemoveDirectoryA(path.c_str());
        DeleteFileA(path.c_str());
    }
}

// Retry waits again with the same entry: the first finds the file still held.
TEST_F(GameOverFlowTest, BusyFilePaintsTakesNoCommandAndRetrySavesTheEntry) {
    Start();
    StartGame();
    game.Score = 5;
    Win32ScoreFileSystem otherCopy;
    auto held = std::make_unique<ScoreFileHold>(otherCopy, path, 0ms);
    MessageBoxRecorder boxes;
    boxes.answers.assign(2, [&] {
        EXPECT_FALSE(GetUpdateRect(form->Handle(), nullptr, FALSE)) << "painted while waiting";
        EXPECT_FALSE(game.Playing) << "no new game under a pending save";
        InvalidateRect(form->Handle(), nullptr, FALSE);
        if (boxes.boxes.size() == 2) held.reset();
        return IDRETRY;
    });
    ModalAnswers answers([&](ui::TForm& dialog) {
        AnswerName(dialog, "Zoe", "OK");
        InvalidateRect(form->Handle(), nullptr, FALSE);
        PostMessageA(form->Handle(), WM_KEYDOWN, VK_F9, 0);
    });
    RunIntoTheBody();
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>(2, "Another copy of Quillory is saving its scores."));
    for (const RecordedBox& box : boxes.boxes)
        EXPECT_EQ(box.Flags & (MB_TYPEMASK | MB_ICONMASK), UINT(MB_RETRYCANCEL | MB_ICONWARNING));
    const Bytes saved = ReadFileBytes(path);
    ASSERT_EQ(saved.size(), 280u) << "saved once the hold was let go";
    ScoreTable table;
    std::memcpy(&table, saved.data(), sizeof table);
    EXPECT_EQ(NameOf(table.Rows[0]), "Zoe (level 7)");
    EXPECT_EQ(table.Rows[0].Points, 5);
    EXPECT_EQ(table.Rows[1].Points, 0);
    EXPECT_TRUE(ScoresShown());
}

TEST_F(GameOverFlowTest, TopScoresCommandPausesDisablesAndLeavesTheGamePaused) {
    Start();
    // No game: the dialog is shown over a disabled window, no label.
    Key(VK_F12);
    EXPECT_TRUE(ScoresShown());
    EXPECT_FALSE(MainEnabled());
    EXPECT_FALSE(form->PausedLabel->Visible());
    SendMessageA(scoresForm->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_TRUE(MainEnabled());

    // During a game: paused with the label; the game does not move meanwhile.
    StartGame();
    Key(VK_RIGHT);
    Tick();
    const int headX = game.HeadX;
    Key(VK_F12);
    EXPECT_TRUE(ScoresShown());
    EXPECT_FALSE(MainEnabled());
    EXPECT_TRUE(game.Paused);
    EXPECT_TRUE(form->PausedLabel->Visible());
    Tick();
    EXPECT_EQ(game.HeadX, headX);
    PostMessageA(scoresForm->Button1->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    Pump();
    EXPECT_FALSE(ScoresShown());
    EXPECT_TRUE(MainEnabled());
    EXPECT_TRUE(game.Paused);
    EXPECT_TRUE(form->PausedLabel->Visible());
    Tick();
    EXPECT_EQ(game.HeadX, headX) << "still paused after the dialog";
    Key(VK_F10);
    Tick();
    EXPECT_EQ(game.HeadX, headX + 1) << "Pause resumes it";
}

TEST_F(GameOverFlowTest, AboutCommandHidesTheWindowAndClosingMovesItToTheAboutCorner) {
    Start();
    // With no game running: hidden all the same, but no label.
    form->About1->Click();
    Pump();
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(game.Paused);
    EXPECT_FALSE(form->PausedLabel->Visible());
    aboutForm->Close();
    Pump();
    ASSERT_TRUE(IsWindowVisible(form->Handle()));

    StartGame();
    const int headX = game.HeadX;
    form->About1->Click();
    Pump();
    EXPECT_TRUE(IsWindowVisible(aboutForm->Handle()));
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(game.Paused);
    EXPECT_TRUE(form->PausedLabel->Visible());
    Tick();
    EXPECT_EQ(game.HeadX, headX);

    // The player moves the about window and closes it.
    SetWindowPos(aboutForm->Handle(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageA(aboutForm->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_FALSE(IsWindowVisible(aboutForm->Handle()));
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    const RECT back = WindowRect(form->Handle());
    EXPECT_EQ(back.left, 40);
    EXPECT_EQ(back.top, 30);
    EXPECT_TRUE(game.Paused);
    EXPECT_TRUE(form->PausedLabel->Visible());

    // Later showings open exactly at the main window's corner.
    form->About1->Click();
    Pump();
    const RECT about = WindowRect(aboutForm->Handle());
    EXPECT_EQ(about.left, 40);
    EXPECT_EQ(about.top, 30);
    aboutForm->Close();
    Pump();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(GameOverFlowTest, EscClosesEachDialogAndActivatesTheMainWindowNotTheNextBelow) {
    Start();
    std::unique_ptr<TLevelForm> level(ui::Create<TLevelForm>(ui::Application, game, form.get()));
    form->LevelForm = level.get();
    for (ui::TMenuItem* command : {form->Level1, form->TopScores1, form->About1}) {
        SCOPED_TRACE(command->Name());
        ForeignWindow decoy(form->Handle(), /*topmost=*/false);
        command->Click();
        const HWND dialog = GetActiveWindow();
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
        Pump();
        EXPECT_FALSE(IsWindowVisible(dialog) || dialog == form->Handle()) << "closed by Esc";
        EXPECT_EQ(GetActiveWindow(), form->Handle());
    }
}

}  // namespace
}  // namespace quillory::testing

namespace quillory::testing {
namespace {

HWND ApplicationWindow() {
    return ui::Application->Handle();
}

// The texts of a window's children (a box's text among them).
std::vector<std::string> ChildTexts(HWND window) {
    std::vector<std::string> texts;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        texts.push_back(WindowText(child));
    return texts;
}

TEST_F(GameOverFlowTest, GameOverBoxHoldsEveryOtherWindowOfTheProgramUntilItCloses) {
    Start();
    // A window of the program that was disabled before the box: it stays so.
    std::unique_ptr<ui::TForm> held(ui::Create<ui::TForm>(ui::Application));
    held->SetCaption("Held");
    held->Show();
    held->SetEnabled(false);
    Pump();
    StartGame();

    std::decay_t<decltype(game.Board.Cells())> board{};
    bool mainEnabled = true, applicationEnabled = true, heldEnabled = true;
    bool boxEnabled = false, boxInFront = false;
    HWND boxOwner = nullptr;
    std::vector<std::string> boxTexts;
    ModalActs inspector("#32770", [&](HWND box) {
        boxTexts = ChildTexts(box);
        board = game.Board.Cells();
        boxOwner = GetWindow(box, GW_OWNER);
        boxEnabled = IsWindowEnabled(box) != FALSE;
        mainEnabled = IsWindowEnabled(form->Handle()) != FALSE;
        applicationEnabled = IsWindowEnabled(ApplicationWindow()) != FALSE;
        heldEnabled = IsWindowEnabled(held->Handle()) != FALSE;
        // The player was elsewhere and clicks the main window: the box comes
        // forward, the window itself takes no part in it.
        ForeignWindow other(box, /*topmost=*/false);
        MouseOnDisabledWindow(form->Handle(), WM_LBUTTONDOWN);
        boxInFront = GetForegroundWindow() == box && IsAbove(box, other.Handle());
        SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    });
    RunIntoTheBody();  // score 0 with an empty table: the plain box

    ASSERT_EQ(inspector.shown, 1);
    EXPECT_NE(std::find(boxTexts.begin(), boxTexts.end(), "Game Over!"), boxTexts.end());
    EXPECT_EQ(boxOwner, ApplicationWindow());
    EXPECT_TRUE(boxEnabled);
    EXPECT_FALSE(mainEnabled) << "the main window must take no click while the box is open";
    EXPECT_FALSE(applicationEnabled) << "nor the task-bar window";
    EXPECT_FALSE(heldEnabled);
    EXPECT_TRUE(boxInFront) << "a click on the held main window shows the box";

    EXPECT_TRUE(MainEnabled()) << "enabled again once the box is closed";
    EXPECT_TRUE(IsWindowEnabled(ApplicationWindow()));
    EXPECT_FALSE(IsWindowEnabled(held->Handle())) << "only what the box disabled comes back";
    EXPECT_EQ(game.Board.Cells(), board) << "the finished game stays on the board";
    EXPECT_FALSE(game.Playing);
    Key(VK_F9);
    EXPECT_TRUE(game.Playing) << "a new game starts as soon as the box is gone";
}

TEST_F(GameOverFlowTest, BoxesOverTheTopScoresDialogGiveBackOnlyWhatTheyTook) {
    Start();
    Key(VK_F12);
    ASSERT_TRUE(ScoresShown());
    ASSERT_FALSE(MainEnabled());
    struct Seen {
        bool Main, Scores, Application;
    };
    auto seeNow = [&] {
        return Seen{IsWindowEnabled(form->Handle()) != FALSE,
                    IsWindowEnabled(scoresForm->Handle()) != FALSE,
                    IsWindowEnabled(ApplicationWindow()) != FALSE};
    };
    auto expectAllHeld = [](const Seen& seen, const char* what) {
        EXPECT_FALSE(seen.Main) << what;
        EXPECT_FALSE(seen.Scores) << what;
        EXPECT_FALSE(seen.Application) << what;
    };

    // The error box (a native box), as a failing file would show it.
    std::vector<Seen> seen;
    {
        MessageBoxRecorder boxes;
        boxes.during = [&] { seen.push_back(seeNow()); };
        ui::Application->ShowException("File access denied");
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"File access denied."});
    }
    ASSERT_EQ(seen.size(), 1u);
    expectAllHeld(seen[0], "error box");

    // The framework's own confirmation dialog, from "Clear !", answered No.
    seen.clear();
    {
        ModalAnswers answers([&](ui::TForm& dialog) {
            seen.push_back(seeNow());
            EXPECT_TRUE(IsWindowEnabled(dialog.Handle()));
            ClickButton(dialog, "No");
        });
        SendMessageA(scoresForm->Button2->Handle(), BM_CLICK, 0, 0);
        Pump();
        EXPECT_EQ(answers.shown, 1);
    }
    ASSERT_EQ(seen.size(), 1u);
    expectAllHeld(seen[0], "confirmation dialog");

    EXPECT_TRUE(IsWindowEnabled(scoresForm->Handle()));
    EXPECT_TRUE(IsWindowEnabled(ApplicationWindow()));
    EXPECT_FALSE(MainEnabled()) << "the top scores dialog still holds the main window";
    SendMessageA(scoresForm->Button1->Handle(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_TRUE(MainEnabled());
}

TEST_F(GameOverFlowTest, ClickOnTheHeldWindowOrItsTaskBarButtonShowsTheTopScoresDialog) {
    Start();
    Key(VK_F12);
    ASSERT_TRUE(ScoresShown());
    ForeignWindow other(scoresForm->Handle(), /*topmost=*/false);
    Pump();
    ASSERT_TRUE(IsAbove(other.Handle(), scoresForm->Handle()));
    ASSERT_EQ(GetForegroundWindow(), other.Handle());

    MouseOnDisabledWindow(form->Handle(), WM_LBUTTONDOWN);
    Pump();
    EXPECT_TRUE(IsAbove(scoresForm->Handle(), other.Handle())) << "the click on the main window";
    EXPECT_EQ(GetForegroundWindow(), scoresForm->Handle());

    other.ComeForward();
    Pump();
    ASSERT_TRUE(IsAbove(other.Handle(), scoresForm->Handle()));
    // The task-bar button activates the application window.
    SetForegroundWindow(ApplicationWindow());
    Pump();
    EXPECT_TRUE(IsAbove(scoresForm->Handle(), other.Handle())) << "the task-bar button";
    EXPECT_EQ(GetForegroundWindow(), scoresForm->Handle());

    SendMessageA(scoresForm->Button1->Handle(), BM_CLICK, 0, 0);
    Pump();
    ASSERT_TRUE(MainEnabled());
    EXPECT_EQ(form->WaitingWindow(), nullptr) << "the main window waits for nothing now";
}

// A damaged records file costs nothing; the record is kept, and watched frame for frame.
TEST_F(GameOverFlowTest, EnteredGameIsKeptAndWatchedFrameForFrameWithoutTouchingTheTable) {
    const std::string records = dir.File("replays.dat");
    WriteFileBytes(records, Bytes{'Q', 'R', 'P', 'L', 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2});
    Start();
    MessageBoxRecorder boxes;  // none at all
    const std::vector<std::string> played = PlayToTheTable("Ann");
    const Bytes table = ReadFileBytes(path);
    ASSERT_EQ(table.size(), 280u);
    EXPECT_EQ(ReadReplayImage(ReadFileBytes(records)).Replays.size(), 1u) << "rewritten whole";
    game.Level = 2;                           // the player's own choice since
    ModalActs pick("#32768", [](HWND menu) {  // row 1 from the Watch button's menu, by keys
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_TRUE(scoresForm->WatchMenu->OwnerDraw()) << "painted in the menus' style";
    SendMessageA(scoresForm->Button3->Handle(), BM_CLICK, 0, 0);
    form->ReplayTimer->SetEnabled(false);  // ticks come from the test
    EXPECT_EQ(Panel(kLevelPanel) + Panel(kRecordPanel), " Replay Ann (level 4)");
    for (UINT interval : {85u, 42u, 21u, 170u}) {  // level 4's 170 ms, 2, 4 and 8 times faster
        form->ReplaySpeed1Click(nullptr);
        EXPECT_EQ(form->ReplayTimer->Interval(), interval);
    }
    ModalAnswers noDialog([](ui::TForm& dialog) { ADD_FAILURE() << dialog.Caption(); });
    std::vector<std::string> watched{Frame()};
    for (std::size_t tick = 1; form->Shown().Playing && tick < played.size(); ++tick) {
        Key(VK_F10);  // paused, a tick moves nothing
        form->ReplayTimerTimer(form->ReplayTimer);
        EXPECT_EQ(Frame(), watched.back());
        Key(VK_F10);
        form->ReplayTimerTimer(form->ReplayTimer);
        watched.push_back(Frame());
        ASSERT_TRUE(tick + 1 == played.size() || watched.back() == played[tick]) << "tick " << tick;
    }
    ASSERT_EQ(watched.size(), played.size());
    EXPECT_EQ(watched.back().substr(0, watched.back().find('|')),  // the last board stays
              played.back().substr(0, played.back().find('|')));
    EXPECT_EQ(form->Status->DisplayedSimpleText(), "Replay: Ann (level 4) - the end, score 8");
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(ReadFileBytes(path) == table && game.Level == 2);
    Key(VK_F9);
    EXPECT_TRUE(!form->Replaying() && game.Playing && &form->Shown() == &game);
    ModalAnswers clear([](ui::TForm& dialog) { ClickButton(dialog, "Yes"); });
    SendMessageA(scoresForm->Button2->Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(FileExists(records)) << "\"Clear !\" clears the records";
}

}  // namespace
}  // namespace quillory::testing
