#include "game/main_form.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "core/main_layout.h"
#include "dialogs/about_form.h"
#include "dialogs/level_form.h"
#include "scores/scores_form.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/dpi.h"
#include "ui/system_settings.h"
#include "ui/theme_colors.h"

namespace quillory {

namespace {

using namespace ui;

constexpr const char* kPausedFontName = "Trebuchet MS";
constexpr int kPausedFontHeight = -32;
constexpr const char* kScoreText = " Score : ";
constexpr const char* kLevelText = " Level : ";
constexpr const char* kRecordText = " Record : ";
constexpr const char* kBonusText = " Bonus : ";
constexpr const char* kNoBonusText = " No Bonus";
// Posted when the application window was activated while this one is
// disabled: by then the activation is over and the dialog can take it.
constexpr UINT WM_BRING_WAITING_FORWARD = WM_APP + 1;
constexpr const char* kMenuFontName = "Tahoma";
constexpr int kMenuFontHeight = -11;  // character height, as the system takes it
// How long a second start waits for a copy's answer: a hung copy is passed by.
constexpr UINT kComeBackTimeoutMs = 5000;
// A window timer fires at most every 10 to 16 ms: a faster replay plays
// several ticks a firing, so that eight times a fast level is still eight times.
constexpr int kShortestReplayTimerMs = 16;

TMenuItem* NewItem(TComponent* owner, TMenuItem* parent, const char* name, const char* caption,
                   TShortCut shortCut = scNone) {
    auto* item = Create<TMenuItem>(owner);
    item->SetName(name);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    parent->Add(item);
    return item;
}

void SetBoundsTo(TControl& control, const Rect& bounds) {
    control.SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
}

int CellIndex(int x, int y) {
    return (y - 1) * kBoardColumns + (x - 1);
}

bool IsButtonDown(UINT mouseMessage) {
    switch (mouseMessage) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
        case WM_NCXBUTTONDOWN: return true;
        default: return false;
    }
}

}  // namespace

std::string ButtonNumber(int x, int y) {
    return std::to_string((y - 1) * kBoardColumns + x);
}

bool WakeCopyInBossMode() {
    const UINT comeBack = RegisterWindowMessageA(kComeBackMessageName);
    if (comeBack == 0) return false;
    // Every copy's main window, the hidden ones too; only one in boss mode says yes.
    for (HWND window = FindWindowExA(nullptr, nullptr, kMainWindowClass, nullptr); window;
         window = FindWindowExA(nullptr, window, kMainWindowClass, nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        // The player started this copy, so it may take the foreground; the
        // woken one may not unless this one lets it.
        AllowSetForegroundWindow(process);
        DWORD_PTR answer = 0;
        if (SendMessageTimeoutA(window, comeBack, 0, 0, SMTO_ABORTIFHUNG, kComeBackTimeoutMs,
                                &answer) &&
            answer == static_cast<DWORD_PTR>(kComeBackDone))
            return true;
    }
    return false;
}

TMainForm::TMainForm(TComponent* owner, GameState& game) : TForm(owner), game_(game) {
    SetName("MainForm");
    SetCaption(kMainCaption);
    SetBorderStyle(TFormBorderStyle::bsToolWindow);
    SetPosition(TPosition::poScreenCenter);
    Font().SetName(kDefaultFontName);
    Font().SetHeight(kDefaultFontHeight);
    SetColor(clBtnFace);
    CreateMenu();
    CreateBoard();
    FollowSystemColors();
    CreateStatusBar();
    LayOut();
    CreateTray();

    // The timer runs only while a game moves (KeepPace): a program without a
    // game, or with a paused or hidden one, is never woken for nothing.
    Timer = Create<TTimer>(this);
    Timer->SetName("Timer");
    Timer->SetEnabled(false);
    Timer->SetInterval(kInitialTickIntervalMs);
    Timer->SetPrecise(true);
    Timer->OnTimer = [this](TComponent* sender) { TimerTimer(sender); };
    ReplayTimer = Create<TTimer>(this);
    ReplayTimer->SetName("ReplayTimer");
    ReplayTimer->SetEnabled(false);
    ReplayTimer->SetPrecise(true);  // a replay keeps its level's pace as a game does
    ReplayTimer->OnTimer = [this](TComponent* sender) { ReplayTimerTimer(sender); };
    CreateMenuSkin();

    // The best result stands after the record label from the first load of
    // the table on, and follows the table through every change.
    Keeper.ShowRecord = [this](const std::string& points) {
        record_text_ = kRecordText + points;
        if (!Replaying()) Status->SetPanelText(kRecordPanel, record_text_);
    };
    Keeper.WatchReplay = [this](const KeptReplay& replay) { WatchReplay(replay); };
    game_.DrawField = [this] { DrawField(); };
    game_.GameOver = [this] {
        KeepPace();  // stopped before the game-over boxes open
        GameOver();
    };
    Recorder.Attach(game_);
    replay_game_.DrawField = [this] { DrawField(); };
    replay_game_.GameOver = [this] { ReplayEnded(); };
    OnCreate = [this](TComponent* sender) { FormCreate(sender); };
    OnKeyDown = [this](TComponent* sender, WORD& key, TShiftState shift) {
        FormKeyDown(sender, key, shift);
    };
    if (Application)
        application_hook_id_ = Application->HookMainWindow(
            [this](TMessage& message) { return ApplicationWindowMessage(message); });
}

TMainForm::~TMainForm() {
    if (Application && application_hook_id_) Application->UnhookMainWindow(application_hook_id_);
    // The game state may outlive the window: it must not call back into it.
    game_.DrawField = nullptr;
    game_.GameOver = nullptr;
    Keeper.WatchReplay = nullptr;
    replay_.reset();
    Recorder.Detach();
}

void TMainForm::CreateMenu() {
    MainMenu1 = Create<TMainMenu>(this);
    MainMenu1->SetName("MainMenu1");
    // Every item added would build the system's menu anew: build it once, at the end.
    MainMenu1->BeginUpdate();
    TMenuItem* root = MainMenu1->Items();
    Game1 = NewItem(this, root, "Game1", "&Game");
    Newgame1 = NewItem(this, Game1, "Newgame1", "New game", ShortCut(VK_F9));
    Pause1 = NewItem(this, Game1, "Pause1", "Pause", ShortCut(VK_F10));
    BossKey1 = NewItem(this, Game1, "BossKey1", "Boss Mode", ShortCut(VK_DELETE));
    // Only while a game of the table is watched (Top Scores, Watch...).
    ReplaySpeed1 = NewItem(this, Game1, "ReplaySpeed1", "Replay Faster", ShortCut(VK_F7));
    StopReplay1 = NewItem(this, Game1, "StopReplay1", "Stop Replay", ShortCut(VK_F8));
    ReplaySpeed1->SetEnabled(false);
    StopReplay1->SetEnabled(false);
    N1 = NewItem(this, Game1, "N1", "-");
    Exit1 = NewItem(this, Game1, "Exit1", "E&xit");
    Options1 = NewItem(this, root, "Options1", "&Options");
    Level1 = NewItem(this, Options1, "Level1", "Level", ShortCut(VK_F11));
    TopScores1 = NewItem(this, Options1, "TopScores1", "Top Scores", ShortCut(VK_F12));
    About1 = NewItem(this, root, "About1", "About");
    Newgame1->OnClick = [this](TComponent* sender) { Newgame1Click(sender); };
    Pause1->OnClick = [this](TComponent* sender) { Pause1Click(sender); };
    BossKey1->OnClick = [this](TComponent* sender) { BossKey1Click(sender); };
    ReplaySpeed1->OnClick = [this](TComponent* sender) { ReplaySpeed1Click(sender); };
    StopReplay1->OnClick = [this](TComponent* sender) { StopReplay1Click(sender); };
    Exit1->OnClick = [this](TComponent* sender) { Exit1Click(sender); };
    Level1->OnClick = [this](TComponent* sender) { Level1Click(sender); };
    TopScores1->OnClick = [this](TComponent* sender) { TopScores1Click(sender); };
    About1->OnClick = [this](TComponent* sender) { About1Click(sender); };
    MainMenu1->EndUpdate();
    SetMenu(MainMenu1);
}

// The flat look of the menus (and, through the style manager, of the other
// windows). The settings in the order the component takes them: Active last,
// so that it styles the window once, with everything else already set.
void TMainForm::CreateMenuSkin() {
    using namespace styling;
    MenuSkin1 = Create<TMenuSkin>(this);
    MenuSkin1->SetName("MenuSkin1");
    MenuSkin1->SetDimLevel(30);
    MenuSkin1->SetGrayLevel(10);
    TFont font;
    font.SetName(kMenuFontName);
    font.SetHeight(kMenuFontHeight);
    font.SetColor(clMenuText);
    font.SetCharset(DEFAULT_CHARSET);
    font.SetStyle(0);
    MenuSkin1->SetFont(font);
    MenuSkin1->SetColor(clSkyBlue);
    MenuSkin1->SetDrawMenuBar(true);
    MenuSkin1->SetIconBackColor(clSkyBlue);
    MenuSkin1->SetMenuBarColor(clBtnFace);
    MenuSkin1->SetSelectColor(clSkyBlue);
    MenuSkin1->SetSelectBorderColor(clNavy);
    MenuSkin1->SetSelectFontColor(clMenuText);
    MenuSkin1->SetDisabledColor(clMoneyGreen);
    MenuSkin1->SetSeparatorColor(clSkyBlue);
    MenuSkin1->SetCheckedColor(clHighlight);
    MenuSkin1->SetIconWidth(24);
    MenuSkin1->SetDrawSelect(true);
    MenuSkin1->SetUseSystemColors(false);
    MenuSkin1->SetUseDimColor(true);
    MenuSkin1->SetOverrideOwnerDraw(true);
    MenuSkin1->SetGradient(true);
    MenuSkin1->SetFlatMenu(true);
    MenuSkin1->SetAutoDetect(true);
    // The 600 cell buttons keep their own look.
    MenuSkin1->SetSkinControls(kAllSkinControls & ~SkinControlBit(skSpeedButton));
    MenuSkin1->SetActive(true);
}

void TMainForm::CreateBoard() {
    CoolBar1 = Create<TCoolBar>(this);
    CoolBar1->SetName("CoolBar1");
    CoolBar1->SetParent(this);

    MainPanel = Create<TPanel>(this);
    MainPanel->SetName("MainPanel");
    MainPanel->SetBevelOuter(TBevelCut::bvNone);
    CoolBar1->AddBand(MainPanel, 0, 0);  // sized by LayOut

    // Buttons, then the label, then the frame: the order they are painted in.
    for (int n = 1; n <= kBoardCells; ++n) {
        auto* button = Create<TCellButton>(this);
        button->SetName("SpeedButton" + std::to_string(n));
        button->SetFlat(true);
        button->SetParent(MainPanel);
        button->Font().SetName(kCellFontName);
        button->Font().SetCharset(SYMBOL_CHARSET);
        button->Font().SetHeight(kCellFontHeight);
        button->Font().SetColor(clWindowText);
        button->Font().SetStyle(0);
        cells_[n - 1] = button;
    }

    PausedLabel = Create<TLabel>(this);
    PausedLabel->SetName("PausedLabel");
    PausedLabel->SetCaption("Paused...");
    PausedLabel->Font().SetName(kPausedFontName);
    PausedLabel->Font().SetHeight(kPausedFontHeight);
    PausedLabel->Font().SetStyle(fsBold);
    PausedLabel->SetTransparent(true);
    PausedLabel->SetVisible(false);
    PausedLabel->SetParent(MainPanel);

    Bevel1 = Create<TBevel>(this);
    Bevel1->SetName("Bevel1");
    Bevel1->SetShape(TBevelShape::bsBox);
    Bevel1->SetStyle(TBevelStyle::bsRaised);
    Bevel1->SetParent(MainPanel);
}

// Where the pause font is missing, a wider stand-in would cut the text: the
// label then grows to both sides around its place.
void TMainForm::FitPausedLabel() {
    WindowDC screen(nullptr);
    TCanvas canvas(screen.Get());
    canvas.Font = PausedLabel->Font();
    const int textWidth = canvas.TextWidth(PausedLabel->Caption());
    if (textWidth <= PausedLabel->Width()) return;
    const int center = PausedLabel->Left() + PausedLabel->Width() / 2;
    PausedLabel->SetBounds(center - textWidth / 2 - 1, PausedLabel->Top(), textWidth + 2,
                           PausedLabel->Height());
}

void TMainForm::CreateStatusBar() {
    Status = Create<TStatusBar>(this);
    Status->SetName("Status");
    Status->AddPanel(0, kScoreText);  // the widths come with LayOut
    Status->AddPanel(0, kLevelText);
    Status->AddPanel(0, kRecordText);
    Status->AddPanel(0, kBonusText);
    Status->SetParent(this);
}

// Every length of the window at its scale; at 96 dpi the design. Runs once
// the controls exist and again whenever the window moves to another scale.
void TMainForm::LayOut() {
    const MainLayout layout = MainLayoutForDpi(Dpi());
    cell_size_ = layout.CellSize;
    SetClientSize(layout.Client.Width, layout.Client.Height);
    SetBoundsTo(*CoolBar1, layout.CoolBar);
    SetBoundsTo(*MainPanel, layout.Panel.Offset(-layout.Panel.Left, 0));
    CoolBar1->SetBandSize(0, layout.BandHeight, layout.BandWidth);
    MainPanel->BeginUpdate();
    for (int n = 1; n <= kBoardCells; ++n) SetBoundsTo(*cells_[n - 1], layout.Cell(n));
    MainPanel->EndUpdate();
    SetBoundsTo(*PausedLabel, layout.PausedLabel);
    FitPausedLabel();
    SetBoundsTo(*Bevel1, layout.Bevel);
    SetBoundsTo(*Status, layout.Status);
    for (int panel = 0; panel < Status->PanelCount(); ++panel)
        Status->SetPanelWidth(panel, layout.PanelWidths[panel]);
}

// A class of the program's own, which a second start looks for: the class
// the framework would give it is named after the C++ class, as other
// programs' main windows often are.
void TMainForm::CreateParams(TCreateParams& params) {
    TForm::CreateParams(params);
    params.WindowClass = kMainWindowClass;
}

void TMainForm::DpiChanged(int oldDpi) {
    TForm::DpiChanged(oldDpi);
    LayOut();
}

TCellButton* TMainForm::CellButton(int x, int y) const {
    return cells_[CellIndex(x, y)];
}

void TMainForm::FormCreate(TComponent*) {
    game_.Level = 7;
    game_.Playing = false;
}

void TMainForm::ShowCell(TCellButton* button, std::uint8_t code) {
    switch (code) {
        case cellEmpty: button->SetCaption(""); break;
        case cellBody:
        case cellFedBody:
            button->Font().SetColor(colors_.Body);
            button->Font().SetStyle(fsBold);
            button->SetCaption(std::string(1, kBodySymbol));
            break;
        case cellFood:
            button->Font().SetColor(colors_.Food);
            button->Font().SetStyle(fsBold);
            button->SetCaption(std::string(1, kFoodSymbol));
            break;
        case cellBonus:
            button->Font().SetColor(colors_.Bonus);
            button->Font().SetStyle(fsBold);
            button->SetCaption(std::string(1, kBonusSymbol));
            break;
        default: break;  // not a code of the board: the button is left as it is
    }
}

// In a contrast theme the fixed colours may vanish into the face (black on a
// black face): the snake takes the theme's text colour, the food and the bonus
// two others of its colours, each standing out from the face. Nothing of the
// game changes, only how the cells already shown are painted.
void TMainForm::FollowSystemColors() {
    if (HighContrastOn()) {
        const TThemeSymbolColors theme = ThemeSymbolColors();
        colors_ = {theme.Text, theme.Accent, theme.SecondAccent, theme.SecondAccent};
    } else {
        colors_ = kUsualColors;
    }
    PausedLabel->Font().SetColor(colors_.Paused);
    for (int index = 0; index < kBoardCells; ++index)
        if (shown_codes_[index] != cellEmpty) ShowCell(cells_[index], shown_codes_[index]);
    MainPanel->Invalidate();
}

void TMainForm::DrawField() {
    // Only cells whose code changed since the last call are touched; each of
    // them invalidates its own ten pixels, and the next paint copies just those.
    MainPanel->BeginUpdate();
    for (int x = 1; x <= kBoardColumns; ++x) {
        for (int y = 1; y <= kBoardRows; ++y) {
            const std::uint8_t code = shown_->Board(x, y);
            const int index = CellIndex(x, y);
            if (code == shown_codes_[index]) continue;
            ShowCell(cells_[index], code);
            shown_codes_[index] = code;
        }
    }
    MainPanel->EndUpdate();
    ShowScoreAndBonus();
}

void TMainForm::ShowScoreAndBonus() {
    Status->SetPanelText(kScorePanel, kScoreText + std::to_string(shown_->Score));
    Status->SetPanelText(kBonusPanel, shown_->BonusTime == 0
                                          ? std::string(kNoBonusText)
                                          : kBonusText + std::to_string(shown_->BonusTime));
}

void TMainForm::DrawFieldByName() {
    for (int x = 1; x <= kBoardColumns; ++x) {
        for (int y = 1; y <= kBoardRows; ++y) {
            const std::uint8_t code = shown_->Board(x, y);
            auto* button =
                static_cast<TCellButton*>(FindComponent("SpeedButton" + ButtonNumber(x, y)));
            if (!button) continue;
            ShowCell(button, code);
            button->Invalidate();
            shown_codes_[CellIndex(x, y)] = code;
        }
    }
    ShowScoreAndBonus();
}

void TMainForm::GameOver() {
    const std::optional<GameRecord> record = Recorder.Finish(game_.Score);
    if (Keeper.GameOver(game_.Score, game_.Level, record ? &*record : nullptr) ==
        GameOverOutcome::Entered)
        TopScores1Click(nullptr);
}

void TMainForm::WatchReplay(const KeptReplay& replay) {
    StopReplay();
    EndStatusNotice();
    PauseForCommand();  // the player's own game waits behind it
    PausedLabel->Hide();
    replay_name_ = std::string(NameOf(replay.Row));
    while (!replay_name_.empty() && replay_name_.back() == ' ') replay_name_.pop_back();
    level_text_before_replay_ = Status->Panels(kLevelPanel).Text;
    replay_speed_ = 0;
    replay_ = std::make_unique<ReplayPlayer>(replay.Game, replay_game_);
    shown_ = &replay_game_;
    replay_->Start();  // draws its first board
    ShowReplayStatus();
    SetReplayPace();
    KeepPace();
    ReplaySpeed1->SetEnabled(true);
    StopReplay1->SetEnabled(true);
}

// "Replay" and its speed where the level stands, whose game where the record
// stands: the row's name carries the game's level.
void TMainForm::ShowReplayStatus() {
    const int speed = ReplaySpeed();
    Status->SetPanelText(kLevelPanel,
                         " Replay" + (speed > 1 ? " x" + std::to_string(speed) : std::string()));
    Status->SetPanelText(kRecordPanel, " " + replay_name_);
}

void TMainForm::SetReplayPace() {
    const int tickMs = replay_->IntervalMs(), speed = ReplaySpeed();
    replay_steps_ = std::max(1, (kShortestReplayTimerMs * speed + tickMs - 1) / tickMs);
    ReplayTimer->SetInterval(static_cast<UINT>(tickMs * replay_steps_ / speed));
}

void TMainForm::ReplayTimerTimer(TComponent*) {
    for (int step = 0; replay_ && step < replay_steps_; ++step)
        if (!replay_->Step()) {
            if (replay_->AtEnd()) ReplayEnded();
            break;
        }
}

// The last board stays, and the result is said across the status bar.
void TMainForm::ReplayEnded() {
    ReplayTimer->SetEnabled(false);
    ShowScoreAndBonus();
    ShowStatusNotice("Replay: " + replay_name_ + " - the end, score " +
                     std::to_string(replay_game_.Score));
}

void TMainForm::StopReplay() {
    if (!replay_) return;
    ReplayTimer->SetEnabled(false);
    replay_.reset();
    replay_game_.Playing = false;
    shown_ = &game_;
    EndStatusNotice();
    Status->SetPanelText(kLevelPanel, level_text_before_replay_);
    Status->SetPanelText(kRecordPanel, record_text_);
    PausedLabel->SetVisible(game_.Playing && game_.Paused);
    ReplaySpeed1->SetEnabled(false);
    StopReplay1->SetEnabled(false);
    DrawField();
}

void TMainForm::ReplaySpeed1Click(TComponent*) {
    if (!replay_) return;
    replay_speed_ = (replay_speed_ + 1) % static_cast<int>(std::size(kReplaySpeeds));
    SetReplayPace();
    ShowReplayStatus();
}

void TMainForm::StopReplay1Click(TComponent*) {
    StopReplay();
}

void TMainForm::TimerTimer(TComponent*) {
    const bool moving = game_.Playing && !game_.Paused;
    game_.TimerTimer();
    if (!moving) return;
    if (game_.Playing)
        turns_.TickDone(game_.CurrentDirection);
    else
        turns_.Clear();  // the game ended on this tick
}

// A replay's timer likewise runs only while the replay moves.
void TMainForm::KeepPace() {
    Timer->SetEnabled(game_.Playing && !game_.Paused);
    ReplayTimer->SetEnabled(replay_ && replay_game_.Playing && !replay_game_.Paused);
}

void TMainForm::FormKeyDown(TComponent*, WORD& key, TShiftState) {
    if (!game_.Playing || game_.Paused) return;
    std::int32_t requested = dirNone;
    switch (key) {
        case VK_DOWN: requested = dirDown; break;
        case VK_UP: requested = dirUp; break;
        case VK_LEFT: requested = dirLeft; break;
        case VK_RIGHT: requested = dirRight; break;
        default: return;
    }
    turns_.KeyPressed(requested, game_.CurrentDirection);  // the key is not consumed
}

void TMainForm::Newgame1Click(TComponent*) {
    StopReplay();
    EndStatusNotice();
    if (game_.Playing) {
        game_.Paused = true;
        turns_.Clear();
        PausedLabel->Show();
        KeepPace();
        // Only a clear Yes discards the running game; closing the question keeps it.
        if (MessageDlg("Are you sure?", TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes) {
            game_.Paused = false;
            PausedLabel->Hide();
            KeepPace();
            return;
        }
        PausedLabel->Hide();
    }
    Timer->SetInterval(static_cast<UINT>(game_.TickIntervalMs()));
    Status->SetPanelText(kLevelPanel, kLevelText + std::to_string(game_.Level));
    turns_.Clear();
    game_.NewGameReset();
    KeepPace();
}

void TMainForm::Pause1Click(TComponent*) {
    EndStatusNotice();
    if (Replaying()) {
        if (!replay_game_.Playing) return;  // ended: its last board stays
        replay_game_.Paused = !replay_game_.Paused;
        PausedLabel->SetVisible(replay_game_.Paused);
        KeepPace();
        return;
    }
    if (!game_.Playing) return;
    game_.Paused = !game_.Paused;
    turns_.Clear();
    PausedLabel->SetVisible(game_.Paused);
    KeepPace();
}

// The player looked away: another program took the activation, or the
// window went to the task bar. A running game stops as F10 would stop it and
// waits, paused, for the player to come back and resume it; nothing else
// changes, so a game that was paused already or no game at all stays as it is.
void TMainForm::PauseWhenLookedAway() {
    if (!game_.Playing || game_.Paused) return;
    game_.Paused = true;
    turns_.Clear();
    PausedLabel->Show();
    KeepPace();
}

// Our own boxes and dialogs opening over the window are not the player looking
// away: the commands that open them decide about the pause themselves.
bool TMainForm::IsOwnWindow(HWND window) {
    return window && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

void TMainForm::PauseForCommand() {
    game_.Paused = true;
    turns_.Clear();
    if (replay_ && replay_game_.Playing) replay_game_.Paused = true;
    if (game_.Playing || (replay_ && replay_game_.Playing)) PausedLabel->Show();
    KeepPace();
}

void TMainForm::CreateTray() {
    Tray = Create<widgets::TTrayIcon>(this);
    Tray->SetName("Tray");
    TIcon icon;
    // The notification area shows its icons at the system's small icon size.
    if (icon.LoadFromResourceName(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1),
                                  SystemMetricForDpi(SM_CXSMICON, SystemDpi())))
        Tray->SetIcon(icon);
    Tray->SetHint(kBossModeHint);
    Tray->SetShowHint(true);
    Tray->OnClick = [this](TComponent* sender) { TrayClick(sender); };
    Tray->OnIconLost = [this](TComponent* sender) { TrayIconLost(sender); };
    Tray->SetIconVisible(false);  // the icon belongs to boss mode only, from its load step on
}

// Boss mode: the window and its task-bar button vanish at once; only the icon
// in the notification area stays, and its click brings the paused game back.
// The icon comes first: without it nothing could bring the game back, so the
// window only goes once the icon is in place.
void TMainForm::BossKey1Click(TComponent*) {
    EndStatusNotice();
    PauseForCommand();
    if (!Tray->ShowTrayIcon()) {
        Tray->SetIconVisible(false);  // no icon may turn up later, when the shell restarts
        ShowStatusNotice(kBossModeNeedsTrayText);
        return;
    }
    Tray->HideMainWindow();
}

void TMainForm::TrayClick(TComponent*) {
    Tray->SetIconVisible(false);
    Show();  // with its task-bar button; the tray's hook brings it forward
}

// Only boss mode hides the window with the icon shown (the about window
// hides it too, but leaves no icon); anywhere else the answer is no.
bool TMainForm::ComeBackFromBossMode() {
    if (!Tray->IconVisible() || IsWindowVisible(Handle())) return false;
    TrayClick(Tray);
    return true;
}

void TMainForm::TrayIconLost(TComponent*) {
    // Hidden without an icon, the game could not be reached at all.
    Tray->SetIconVisible(false);
    Show();
    ShowStatusNotice(kBossModeIconLostText);
}

void TMainForm::ShowStatusNotice(const std::string& text) {
    Status->SetSimpleText(text);
    Status->SetSimplePanel(true);
}

void TMainForm::EndStatusNotice() {
    Status->SetSimplePanel(false);
}

// A click on this window while it is disabled reaches it as WM_SETCURSOR with
// the mouse message in the high word; a click on its task-bar button or
// Alt+Tab activates it all the same. Either way the player is looking for
// the dialog that keeps the game waiting, maybe behind another program.
void TMainForm::WndProc(TMessage& message) {
    if (come_back_message_ != 0 && message.Msg == come_back_message_) {
        message.Result = ComeBackFromBossMode() ? kComeBackDone : 0;
        return;
    }
    switch (message.Msg) {
        case WM_SETCURSOR:
            if (!IsWindowEnabled(Handle()) && IsButtonDown(HIWORD(message.LParam)))
                BringWaitingWindowForward();
            break;
        case WM_BRING_WAITING_FORWARD:
            if (!IsWindowEnabled(Handle())) BringWaitingWindowForward();
            return;
        case WM_ACTIVATE:
            if (LOWORD(message.WParam) == WA_INACTIVE &&
                !IsOwnWindow(reinterpret_cast<HWND>(message.LParam)))
                PauseWhenLookedAway();
            else if (LOWORD(message.WParam) != WA_INACTIVE && !IsWindowEnabled(Handle()))
                PostMessageA(Handle(), WM_BRING_WAITING_FORWARD, 0, 0);
            break;
        case WM_ACTIVATEAPP:
            if (!message.WParam) PauseWhenLookedAway();
            break;
        case WM_SIZE:
            if (message.WParam == SIZE_MINIMIZED) PauseWhenLookedAway();
            break;
        // A contrast theme turned on or off, or a new colour scheme: the
        // board follows at once, while the game runs.
        case WM_SYSCOLORCHANGE: FollowSystemColors(); break;
        case WM_SETTINGCHANGE:
            if (message.WParam == SPI_SETHIGHCONTRAST) FollowSystemColors();
            break;
        // Windows ends the program once this is answered, a name dialog's loop and all.
        case WM_ENDSESSION:
            if (message.WParam) Keeper.EndSession();
            break;
        default: break;
    }
    TForm::WndProc(message);
}

bool TMainForm::ApplicationWindowMessage(TMessage& message) {
    // Leaving the program for another one through the hidden application
    // window (a box it owns was active), or its minimising, is looking away too.
    if ((message.Msg == WM_ACTIVATEAPP && !message.WParam) ||
        (message.Msg == WM_SIZE && message.WParam == SIZE_MINIMIZED) ||
        (message.Msg == WM_SYSCOMMAND && (message.WParam & 0xFFF0) == SC_MINIMIZE))
        PauseWhenLookedAway();
    if (message.Msg == WM_ACTIVATE && LOWORD(message.WParam) != WA_INACTIVE && HandleAllocated() &&
        IsWindowVisible(Handle()) && !IsWindowEnabled(Handle()))
        PostMessageA(Handle(), WM_BRING_WAITING_FORWARD, 0, 0);
    return false;  // the application window goes on as usual
}

HWND TMainForm::WaitingWindow() {
    if (!Application || !HandleAllocated() || IsWindowEnabled(Handle())) return nullptr;
    // From the top of the order on screen down: a box over the level dialog
    // disables the dialog, so the first enabled one is the one to answer.
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (window != Handle() && GetWindow(window, GW_OWNER) == Application->Handle() &&
            IsWindowVisible(window) && IsWindowEnabled(window))
            return window;
    }
    return nullptr;
}

void TMainForm::BringWaitingWindowForward() {
    HWND waiting = WaitingWindow();
    if (!waiting) return;
    SetWindowPos(waiting, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(waiting);
}

// Until the other windows exist (tests make the main window alone) these
// commands leave the game and the window as they are.
void TMainForm::Level1Click(TComponent*) {
    EndStatusNotice();
    if (!LevelForm) return;
    SetEnabled(false);
    if (game_.Playing || Replaying()) PauseForCommand();
    LevelForm->ShowCentredOver(*this);
}

void TMainForm::TopScores1Click(TComponent*) {
    EndStatusNotice();
    if (!ScoresForm) return;
    PauseForCommand();
    SetEnabled(false);
    ScoresForm->Show();
}

void TMainForm::About1Click(TComponent*) {
    EndStatusNotice();
    if (!AboutForm) return;
    PauseForCommand();
    AboutForm->ShowInPlaceOfMainWindow();
}

void TMainForm::Exit1Click(TComponent*) {
    Close();
}

}  // namespace quillory
