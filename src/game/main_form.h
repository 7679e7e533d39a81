// TMainForm: the game's window. The board of 600 cell buttons, the status
// bar, the menu and the commands that start, pause and steer a game.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/game_record.h"
#include "core/game_state.h"
#include "core/replay_file.h"
#include "core/score_table.h"
#include "core/turn_queue.h"
#include "game/cell_button.h"
#include "scores/score_keeper.h"
#include "styling/menu_skin.h"
#include "ui/ext_controls.h"
#include "ui/forms.h"
#include "ui/menus.h"
#include "ui/std_controls.h"
#include "ui/timer.h"
#include "widgets/tray_icon.h"

namespace quillory {

class TAboutForm;
class TLevelForm;
class TScoresForm;

constexpr const char* kMainCaption = "Quillory 1.0 [Brindlework]";
constexpr const char* kApplicationTitle = "Quillory";
constexpr const char* kBossModeHint = "Quillory [BOSS MODE]";
// The main window's class, a name of the program's own, and the message that
// asks a main window to come back from boss mode: a second start looks for a
// copy hiding there by them.
constexpr const char* kMainWindowClass = "Quillory.MainWindow";
constexpr const char* kComeBackMessageName = "Quillory.ComeBack";
constexpr LRESULT kComeBackDone = 1;  // the answer of a copy that came back
// Why boss mode left the window on screen, in the status bar until the next
// game command.
constexpr const char* kBossModeNeedsTrayText = "Boss mode needs the notification area";
constexpr const char* kBossModeIconLostText = "Boss mode ended: its icon was lost";
// The paces a replay is watched at, times its level's own; the command cycles them.
constexpr int kReplaySpeeds[] = {1, 2, 4, 8};

// Status bar panels.
constexpr int kScorePanel = 0;
constexpr int kLevelPanel = 1;
constexpr int kRecordPanel = 2;
constexpr int kBonusPanel = 3;

// The number of a cell's button as text: "1" to "600".
std::string ButtonNumber(int x, int y);

// Brings back a copy of the game that hides in boss mode, as a click on its
// icon would. True if one came back: the second board is then not wanted.
// Copies that are on screen answer no, so two can still run side by side.
bool WakeCopyInBossMode();

class TMainForm : public ui::TForm {
public:
    const char* ClassName() const override { return "TMainForm"; }
    TMainForm(ui::TComponent* owner, GameState& game);
    ~TMainForm() override;

    GameState& Game() { return game_; }
    // What the board shows: the player's game, or the replay being watched.
    const GameState& Shown() const { return *shown_; }
    TurnQueue& Turns() { return turns_; }

    // Brings the 600 buttons and panels 0 and 3 up to date with the board.
    void DrawField();
    // The same picture the slow way: every button looked up by name and
    // repainted whole. Kept to measure the fast one against.
    void DrawFieldByName();
    // The end of a game, called by the tick after Playing was cleared: the
    // result is entered in the table when it earns a row.
    virtual void GameOver();

    // The score table's work, done by the keeper (see ScoreKeeper).
    void MakeScores() { Keeper.MakeScores(); }
    void ClearScore() { Keeper.ClearScore(); }
    void LoadScore() { Keeper.LoadScore(); }
    bool SaveScore() { return Keeper.SaveScore(); }

    void FormCreate(ui::TComponent* sender);
    void FormKeyDown(ui::TComponent* sender, WORD& key, ui::TShiftState shift);
    void TimerTimer(ui::TComponent* sender);
    void Newgame1Click(ui::TComponent* sender);
    void Pause1Click(ui::TComponent* sender);
    void BossKey1Click(ui::TComponent* sender);
    void Exit1Click(ui::TComponent* sender);
    void Level1Click(ui::TComponent* sender);
    void TopScores1Click(ui::TComponent* sender);
    void About1Click(ui::TComponent* sender);
    void TrayClick(ui::TComponent* sender);
    // Watching a game of the table. The player's own game, if any, waits
    // paused behind it and is shown again when the replay stops.
    void WatchReplay(const KeptReplay& replay);
    void StopReplay();
    bool Replaying() const { return replay_ != nullptr; }
    int ReplaySpeed() const { return kReplaySpeeds[replay_speed_]; }
    void ReplayTimerTimer(ui::TComponent* sender);
    void ReplaySpeed1Click(ui::TComponent* sender);
    void StopReplay1Click(ui::TComponent* sender);
    // The shell restarted during boss mode and would not take the icon back.
    void TrayIconLost(ui::TComponent* sender);

    // While this window is disabled: the window that waits for the player (the
    // level or top scores dialog, or a box opened over it), or nullptr.
    HWND WaitingWindow();

    // The cell button of a cell, x 1..30, y 1..20.
    TCellButton* CellButton(int x, int y) const;

    ui::TMainMenu* MainMenu1;
    ui::TMenuItem* Game1;
    ui::TMenuItem* Newgame1;
    ui::TMenuItem* Pause1;
    ui::TMenuItem* BossKey1;
    ui::TMenuItem* ReplaySpeed1;
    ui::TMenuItem* StopReplay1;
    ui::TMenuItem* N1;
    ui::TMenuItem* Exit1;
    ui::TMenuItem* Options1;
    ui::TMenuItem* Level1;
    ui::TMenuItem* TopScores1;
    ui::TMenuItem* About1;
    ui::TTimer* Timer;
    ui::TTimer* ReplayTimer;  // the replay's own ticks, at its level's pace times its speed
    ui::TCoolBar* CoolBar1;
    ui::TPanel* MainPanel;
    ui::TLabel* PausedLabel;
    ui::TBevel* Bevel1;
    ui::TStatusBar* Status;
    widgets::TTrayIcon* Tray;
    styling::TMenuSkin* MenuSkin1;

    // The best results and what keeps them; the top scores dialog shows them.
    ScoreTable Scores{};
    ScoreKeeper Keeper{Scores};
    // Notes every game of the player's, so that one entering the table can be kept.
    GameRecorder Recorder;

    // The other windows, created after this one; set by whoever creates them.
    TAboutForm* AboutForm = nullptr;
    TLevelForm* LevelForm = nullptr;
    TScoresForm* ScoresForm = nullptr;

    // The board's cell pitch at the window's scale (10 at 96 dpi).
    int CellSize() const { return cell_size_; }

protected:
    void CreateParams(ui::TCreateParams& params) override;
    void WndProc(ui::TMessage& message) override;
    void DpiChanged(int oldDpi) override;

private:
    void CreateMenu();
    void CreateBoard();
    void CreateStatusBar();
    void LayOut();
    void CreateTray();
    void CreateMenuSkin();
    void FitPausedLabel();
    void PauseForCommand();
    void PauseWhenLookedAway();
    // The tick timer runs, at the interval of the game's start, exactly while
    // the game moves; called after every change of Playing or Paused.
    void KeepPace();
    static bool IsOwnWindow(HWND window);
    void ShowCell(TCellButton* button, std::uint8_t code);
    // The symbols and the pause label in the colours of the system's look of
    // now (a contrast theme's own, or the usual ones); the board is repainted.
    void FollowSystemColors();
    // Status panels 0 and 3: the score and the bonus countdown.
    void ShowScoreAndBonus();
    // A short notice across the whole status bar, and back to the four panels.
    void ShowStatusNotice(const std::string& text);
    void EndStatusNotice();
    bool ApplicationWindowMessage(ui::TMessage& message);
    void BringWaitingWindowForward();
    // Another start of the game asks this copy to come back from boss mode.
    bool ComeBackFromBossMode();
    void ReplayEnded();
    void ShowReplayStatus();
    void SetReplayPace();

    GameState& game_;
    GameState* shown_ = &game_;
    // The replay's game of its own: its ends enter nothing, its level is not the player's.
    GameState replay_game_;
    std::unique_ptr<ReplayPlayer> replay_;
    std::string replay_name_;
    std::string level_text_before_replay_;
    std::string record_text_;  // the record panel's text, shown again after a replay
    int replay_speed_ = 0;     // index into kReplaySpeeds
    int replay_steps_ = 1;     // ticks played at each firing of ReplayTimer
    TurnQueue turns_;
    std::array<TCellButton*, kBoardCells> cells_{};        // by (y - 1) * 30 + (x - 1)
    std::array<std::uint8_t, kBoardCells> shown_codes_{};  // what each button shows now
    struct SymbolColors {
        ui::TColor Body, Food, Bonus, Paused;
    };
    static constexpr SymbolColors kUsualColors{clBlack, clBlue, clRed, clRed};
    SymbolColors colors_ = kUsualColors;
    int application_hook_id_ = 0;
    int cell_size_ = 0;
    UINT come_back_message_ = RegisterWindowMessageA(kComeBackMessageName);
};

}  // namespace quillory
