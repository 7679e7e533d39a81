#include "dialogs/level_form.h"

#include "ui/dialogs.h"
#include "ui/system_settings.h"
#include "ui/theme_colors.h"

namespace quillory {
namespace {

constexpr int kClientWidth = 152;
constexpr int kClientHeight = 121;
constexpr int kDesignLeft = 267;
constexpr int kDesignTop = 169;
constexpr const char* kFontName = "MS Sans Serif";
constexpr int kFontHeight = -11;
constexpr RECT kButton1Bounds{39, 88, 39 + 75, 88 + 25};
constexpr const char* kCaptionPrefix = "Level ";

// The bars take the system's own colours for hot, pressed and their frame.
constexpr ui::TColor kBarHotColor = ui::SystemColor(COLOR_HOTLIGHT);
constexpr ui::TColor kBarDownColor = clHighlight;
constexpr ui::TColor kBarBorderColor = ui::SystemColor(COLOR_3DDKSHADOW);
constexpr ui::TColor kChosenBarColor = clBlack;

bool IsLevel(LONG_PTR value) {
    return value >= 1 && value <= kLevelBarCount;
}

// The level a key names: the digits 1 to 9 of the main row or of the keypad;
// 0 for any other key.
int LevelOfKey(WORD key) {
    if (key >= '1' && key <= '9') return key - '0';
    if (key >= VK_NUMPAD1 && key <= VK_NUMPAD9) return key - VK_NUMPAD0;
    return 0;
}

}  // namespace

TLevelForm::TLevelForm(ui::TComponent* owner, GameState& game, ui::TForm* mainWindow)
    : ui::TForm(owner), game_(game), main_window_(mainWindow) {
    SetName("LevelForm");
    SetBorderStyle(ui::TFormBorderStyle::bsToolWindow);
    SetFormStyle(ui::TFormStyle::fsStayOnTop);
    SetCaption(kCaptionPrefix + std::to_string(kDesignLevel));
    SetColor(clBtnFace);
    Font().SetName(kFontName);
    Font().SetHeight(kFontHeight);
    Font().SetCharset(DEFAULT_CHARSET);
    SetClientSize(Scaled(kClientWidth), Scaled(kClientHeight));
    SetBounds(kDesignLeft, kDesignTop, Width(), Height());

    Button1 = ui::Create<ui::TButton>(this);
    Button1->SetName("Button1");
    Button1->SetCaption("OK");
    Button1->SetParent(this);
    Button1->OnClick = [this](ui::TComponent* sender) { Button1Click(sender); };

    for (int n = 1; n <= kLevelBarCount; ++n) {
        auto* bar = ui::Create<widgets::TShadeButton>(this);
        bar->SetName(kLevelBarNamePrefix + std::to_string(n));
        bar->SetTag(n);
        bar->SetParent(this);
        bar->OnClick = [this](ui::TComponent* sender) { ShadeButton1Click(sender); };
    }

    // The design state matches the starting level.
    FollowSystemColors();
    LayOut();
    SetActiveControl(Button1);
    SetKeyPreview(true);
    OnKeyDown = [this](ui::TComponent* sender, WORD& key, ui::TShiftState shift) {
        FormKeyDown(sender, key, shift);
    };
    OnShow = [this](ui::TComponent* sender) { FormShow(sender); };
    OnClose = [this](ui::TComponent* sender, ui::TCloseAction& action) {
        FormClose(sender, action);
    };
}

// The design at 96 dpi, scaled by the edges: the bars keep their common
// bottom and their even steps at every scale.
void TLevelForm::LayOut() {
    SetClientSize(Scaled(kClientWidth), Scaled(kClientHeight));
    Button1->SetBounds(Scaled(kButton1Bounds.left), Scaled(kButton1Bounds.top),
                       Scaled(ui::RectWidth(kButton1Bounds)),
                       Scaled(ui::RectHeight(kButton1Bounds)));
    for (int n = 1; n <= kLevelBarCount; ++n) {
        widgets::TShadeButton* bar = LevelBar(n);
        if (!bar) continue;
        const Rect bounds = ScaleRectForDpi(LevelBarBounds(n), Dpi());
        bar->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    }
}

void TLevelForm::DpiChanged(int) {
    LayOut();
}

widgets::TShadeButton* TLevelForm::LevelBar(int n) const {
    return dynamic_cast<widgets::TShadeButton*>(
        FindComponent(kLevelBarNamePrefix + std::to_string(n)));
}

void TLevelForm::ShowCentredOver(ui::TForm& window) {
    if (window.HandleAllocated()) CentreOver(window, /*keepOnScreen=*/false);
    Show();
}

void TLevelForm::ShadeButton1Click(ui::TComponent* sender) {
    // Only the bars call this; anything else must not put the game at a
    // level whose tick interval makes no sense.
    if (!sender || !IsLevel(sender->Tag())) return;
    level_changed_ = true;
    game_.Level = static_cast<std::int32_t>(sender->Tag());
    ShowLevel(game_.Level);
}

void TLevelForm::ShowLevel(int level) {
    shown_level_ = level;
    PaintGauge();
    SetCaption(kCaptionPrefix + std::to_string(level));
}

// The chosen bars filled, the others in the window's colour (those that
// still take it from the window, as in the design state, keep doing so).
void TLevelForm::PaintGauge() {
    for (int n = 1; n <= kLevelBarCount; ++n) {
        widgets::TShadeButton* bar = LevelBar(n);
        if (!bar) continue;
        if (n <= shown_level_)
            bar->SetColor(chosen_color_);
        else if (!bar->ParentColor())
            bar->SetColor(clBtnFace);
        // At once, not at the next paint: the player sees the gauge follow the click.
        bar->Repaint();
    }
}

// Black bars in dark frames vanish into a contrast theme's dark face, and
// the hot and pressed colours may too: there the bars take the theme's
// colours, each standing out from the face, and every bar, chosen or not,
// hot or pressed, an outline in the text colour, so the gauge still reads as one.
void TLevelForm::FollowSystemColors() {
    const bool contrast = ui::HighContrastOn();
    const ui::TThemeSymbolColors theme =
        contrast ? ui::ThemeSymbolColors() : ui::TThemeSymbolColors{};
    chosen_color_ = contrast ? theme.SecondAccent : kChosenBarColor;
    for (int n = 1; n <= kLevelBarCount; ++n) {
        widgets::TShadeButton* bar = LevelBar(n);
        if (!bar) continue;
        bar->SetColorFocused(contrast ? theme.Accent : kBarHotColor);
        bar->SetColorDown(contrast ? theme.SecondAccent : kBarDownColor);
        bar->SetColorBorder(contrast ? theme.Text : kBarBorderColor);
        bar->SetColorHighLight(contrast ? theme.Text : widgets::kShadeButtonColorHighLight);
        bar->SetColorShadow(contrast ? theme.Text : widgets::kShadeButtonColorShadow);
    }
    PaintGauge();
}

// A contrast theme turned on or off, or a new colour scheme: the gauge
// follows at once, shown or hidden.
void TLevelForm::WndProc(ui::TMessage& message) {
    if (message.Msg == WM_SYSCOLORCHANGE ||
        (message.Msg == WM_SETTINGCHANGE && message.WParam == SPI_SETHIGHCONTRAST))
        FollowSystemColors();
    ui::TForm::WndProc(message);
}

void TLevelForm::Button1Click(ui::TComponent*) {
    Close();
}

// The keys the dialog takes are used up here, so the focused control never
// sees them: an arrow must change the level, not move the focus.
void TLevelForm::FormKeyDown(ui::TComponent*, WORD& key, ui::TShiftState) {
    int level = 0;
    switch (key) {
        case VK_ESCAPE:
        case VK_RETURN:
            key = 0;
            Close();  // as OK does
            return;
        // A step from the level the gauge shows, the one the player sees.
        case VK_LEFT:
        case VK_DOWN: level = shown_level_ - 1; break;
        case VK_RIGHT:
        case VK_UP: level = shown_level_ + 1; break;
        default:
            level = LevelOfKey(key);
            if (level == 0) return;  // not a key of the dialog's
    }
    key = 0;
    // Exactly what a click on that bar does; past either end of the gauge, nothing.
    if (IsLevel(level)) ShadeButton1Click(LevelBar(level));
}

void TLevelForm::FormShow(ui::TComponent*) {
    level_changed_ = false;
    // Before its first showing the dialog has no window to hear of a new look.
    FollowSystemColors();
}

void TLevelForm::FormClose(ui::TComponent*, ui::TCloseAction& action) {
    action = ui::TCloseAction::caHide;
    if (level_changed_ && game_.Playing)
        ui::MessageDlg(kLevelChangedMessage, ui::TMsgDlgType::mtInformation, ui::mbOK);
    if (!main_window_) return;
    // Enabled and activated before this window goes: the arrow keys and F9
    // must reach the main window, not whatever lies below this one.
    main_window_->SetEnabled(true);
    PassActivationTo(*main_window_);
}

}  // namespace quillory
