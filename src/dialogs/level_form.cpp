#include "dialogs/level_form.h"

#include "ui/dialogs.h"

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
        bar->SetColorFocused(kBarHotColor);
        bar->SetColorDown(kBarDownColor);
        bar->SetColorBorder(kBarBorderColor);
        bar->SetParent(this);
        // The design state matches the starting level: the chosen bars black,
        // the others in the window's colour.
        if (n <= kDesignLevel) bar->SetColor(kChosenBarColor);
        bar->OnClick = [this](ui::TComponent* sender) { ShadeButton1Click(sender); };
    }

    LayOut();
    SetActiveControl(Button1);
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
    for (int n = 1; n <= kLevelBarCount; ++n) {
        widgets::TShadeButton* bar = LevelBar(n);
        if (!bar) continue;
        bar->SetColor(n <= level ? kChosenBarColor : clBtnFace);
        // At once, not at the next paint: the player sees the gauge follow the click.
        bar->Repaint();
    }
    SetCaption(kCaptionPrefix + std::to_string(level));
}

void TLevelForm::Button1Click(ui::TComponent*) {
    Close();
}

void TLevelForm::FormShow(ui::TComponent*) {
    level_changed_ = false;
}

void TLevelForm::FormClose(ui::TComponent*, ui::TCloseAction& action) {
    action = ui::TCloseAction::caHide;
    if (level_changed_ && game_.Playing)
        ui::MessageDlg(kLevelChangedMessage, ui::TMsgDlgType::mtInformation, ui::mbOK);
    // Enabled before this window goes, so the main window is the one activated.
    if (main_window_) main_window_->SetEnabled(true);
}

}  // namespace quillory
