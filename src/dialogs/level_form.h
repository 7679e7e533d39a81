// TLevelForm: the level dialog. Nine flat bars that grow from left to right
// like a volume gauge; a click on bar n sets the game's level to n at once,
// and so does the key n; the arrows step the level, Esc and Enter close.
// Created hidden at start-up, then only shown and hidden; shown without a
// modal loop while the main window is disabled, which its closing enables.
#pragma once

#include <string>

#include "core/game_state.h"
#include "core/geometry.h"
#include "ui/forms.h"
#include "ui/std_controls.h"
#include "widgets/shade_button.h"

namespace quillory {

constexpr int kLevelBarCount = 9;
constexpr int kDesignLevel = 7;  // what the dialog shows before the first click
inline constexpr const char* kLevelBarNamePrefix = "ShadeButton";
inline constexpr const char* kLevelChangedMessage =
    "Changes will take effect when you start new game";

// Bar n (1..9): its bounds on the dialog. The bottoms all lie at y = 81.
constexpr Rect LevelBarBounds(int n) {
    const int left = 8 + 16 * (n - 1);
    const int top = 80 - 8 * n;
    return Rect{left, top, left + 9, top + 8 * n + 1};
}

class TLevelForm : public ui::TForm {
public:
    const char* ClassName() const override { return "TLevelForm"; }
    // `game` is the one the bars set the level of; `mainWindow` is enabled
    // again when the dialog closes. Both must outlive the dialog.
    TLevelForm(ui::TComponent* owner, GameState& game, ui::TForm* mainWindow);

    // The Level command's part of the work: the dialog centred over `window`
    // by the outer sizes of both, then shown (not modal). The caller has
    // disabled `window` and paused the game.
    void ShowCentredOver(ui::TForm& window);

    // Bar n (1..9), as the level choice finds it: by name.
    widgets::TShadeButton* LevelBar(int n) const;

    // A bar was clicked since the dialog was last shown.
    bool LevelChanged() const { return level_changed_; }

    ui::TButton* Button1 = nullptr;

    void ShadeButton1Click(ui::TComponent* sender);
    void Button1Click(ui::TComponent* sender);
    void FormShow(ui::TComponent* sender);
    void FormClose(ui::TComponent* sender, ui::TCloseAction& action);
    // Sees every key first (the form previews them), whichever control has the focus.
    void FormKeyDown(ui::TComponent* sender, WORD& key, ui::TShiftState shift);

protected:
    void DpiChanged(int oldDpi) override;
    void WndProc(ui::TMessage& message) override;

private:
    void LayOut();
    void ShowLevel(int level);
    // The bars in the colours of the level shown and of the system's look of now.
    void PaintGauge();
    void FollowSystemColors();

    GameState& game_;
    ui::TForm* main_window_;
    bool level_changed_ = false;
    int shown_level_ = kDesignLevel;  // what the gauge and the caption show
    ui::TColor chosen_color_ = clBlack;
};

}  // namespace quillory
