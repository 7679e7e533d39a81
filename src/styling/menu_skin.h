// TMenuSkin: the flat style's component. Placed on a form and made active, it
// measures and paints every item of the form's menus itself, gives popup
// menu windows a flat frame with a shadow, and hands the form's controls to
// the control styling. The style manager carries its look on to the forms
// that have no TMenuSkin of their own.
#pragma once

#include <windows.h>

#include "styling/elements/control_styling.h"
#include "styling/elements/skin_style.h"
#include "styling/menu/menu_skin_source.h"
#include "styling/menu/menu_window.h"
#include "ui/component.h"
#include "ui/font.h"
#include "ui/forms.h"
#include "ui/menus.h"

namespace quillory::styling {

// A component, menu, item, control or form with this Tag keeps its own look.
constexpr LONG_PTR kUnstyledTag = 999;

class TMenuSkin : public ui::TComponent, public IMenuSkin {
public:
    const char* ClassName() const override { return "TMenuSkin"; }
    // The owner must be a form (or none).
    explicit TMenuSkin(ui::TComponent* owner);
    ~TMenuSkin() override;

    // The load step: registers with the manager once the settings are final.
    void Loaded() override;
    void Notification(ui::TComponent* component, ui::TOperation operation) override;

    // Settings, in the order the main window applies them (Active last).
    BYTE DimLevel() const { return static_cast<BYTE>(style_.DimLevel); }
    void SetDimLevel(BYTE value) { style_.DimLevel = value; }
    BYTE GrayLevel() const { return static_cast<BYTE>(style_.GrayLevel); }
    void SetGrayLevel(BYTE value) { style_.GrayLevel = value; }
    const ui::TFont& Font() const { return style_.Font; }
    void SetFont(const ui::TFont& font);
    ui::TColor Color() const { return colors_.Color; }
    void SetColor(ui::TColor value) { SetColorProperty(colors_.Color, value); }
    bool DrawMenuBar() const { return look_.DrawMenuBar; }
    void SetDrawMenuBar(bool value) { look_.DrawMenuBar = value; }
    ui::TColor IconBackColor() const { return colors_.IconBackColor; }
    void SetIconBackColor(ui::TColor value) { SetColorProperty(colors_.IconBackColor, value); }
    ui::TColor MenuBarColor() const { return colors_.MenuBarColor; }
    void SetMenuBarColor(ui::TColor value);
    ui::TColor SelectColor() const { return colors_.SelectColor; }
    void SetSelectColor(ui::TColor value) { SetColorProperty(colors_.SelectColor, value); }
    ui::TColor SelectBorderColor() const { return colors_.SelectBorderColor; }
    void SetSelectBorderColor(ui::TColor value) {
        SetColorProperty(colors_.SelectBorderColor, value);
    }
    ui::TColor SelectFontColor() const { return colors_.SelectFontColor; }
    void SetSelectFontColor(ui::TColor value) { SetColorProperty(colors_.SelectFontColor, value); }
    ui::TColor DisabledColor() const { return colors_.DisabledColor; }
    void SetDisabledColor(ui::TColor value) { SetColorProperty(colors_.DisabledColor, value); }
    ui::TColor SeparatorColor() const { return colors_.SeparatorColor; }
    void SetSeparatorColor(ui::TColor value) { SetColorProperty(colors_.SeparatorColor, value); }
    ui::TColor CheckedColor() const { return colors_.CheckedColor; }
    void SetCheckedColor(ui::TColor value) { SetColorProperty(colors_.CheckedColor, value); }
    int IconWidth() const { return style_.IconWidth; }
    void SetIconWidth(int value) { style_.IconWidth = value; }
    bool DrawSelect() const { return look_.DrawSelect; }
    void SetDrawSelect(bool value) { look_.DrawSelect = value; }
    bool UseSystemColors() const { return style_.UseSystemColors; }
    void SetUseSystemColors(bool value);
    bool UseDimColor() const { return use_dim_color_; }
    void SetUseDimColor(bool value) { use_dim_color_ = value; }
    bool OverrideOwnerDraw() const { return override_owner_draw_; }
    void SetOverrideOwnerDraw(bool value) { override_owner_draw_ = value; }
    bool Gradient() const { return look_.Gradient; }
    void SetGradient(bool value) { look_.Gradient = value; }
    bool FlatMenu() const { return look_.FlatMenu; }
    void SetFlatMenu(bool value) { look_.FlatMenu = value; }
    bool AutoDetect() const { return auto_detect_; }
    void SetAutoDetect(bool value) { auto_detect_ = value; }
    TSkinContainers SkinContainers() const { return skin_containers_; }
    void SetSkinContainers(TSkinContainers value);
    TSkinControls SkinControls() const { return skin_controls_; }
    void SetSkinControls(TSkinControls value);
    bool Active() const { return active_; }
    void SetActive(bool value);
    bool DisableSubclassing() const { return disable_subclassing_; }
    void SetDisableSubclassing(bool value);

    ui::TForm* Form() const { return form_; }
    bool ColorsDirty() const { return colors_dirty_; }
    bool IsNT() const { return look_.IsNT; }
    bool IsNT51() const { return window_options_.SystemShadows; }
    // Tests try the look of both kinds of system.
    void SetIsNT51(bool value) { window_options_.SystemShadows = value; }
    bool PaintingBorder() const { return painting_border_; }

    // Works out the resolved colour set against a drawing surface.
    void ResolveColors(HDC surface);
    // The system's colours (or, `settings`, its settings) changed while the
    // program runs: the resolved colours follow at once, as does, after a
    // settings change, whether the system draws menu shadows itself, and
    // either may have turned high contrast on or off.
    void SystemLookChanged(bool settings);
    // High contrast is on: the user asked every program to draw as the
    // system does, so nothing of the style is drawn, whatever Active says.
    bool SteppedAside() const { return stepped_aside_; }
    const TResolvedColors& ResolvedColors() const { return style_.Colors; }

    void StyleComponents(ui::TComponent* container, bool apply, bool repaint);
    void StyleComponent(ui::TComponent* component, bool apply, bool repaint);
    void HookMenuItem(ui::TMenuItem* item, bool apply);
    void HookMenuItemTree(ui::TMenuItem* item, bool apply);

    // The two handlers installed on every item.
    void ItemMeasure(ui::TMenuItem* item, ui::TCanvas& canvas, int& width, int& height);
    void ItemDraw(ui::TMenuItem* item, ui::TCanvas& canvas, RECT rect, bool selected);
    // True when the item's handler is one a TMenuSkin installed (any instance).
    static bool HasSkinDrawHandler(const ui::TMenuItem& item);
    static bool HasSkinMeasureHandler(const ui::TMenuItem& item);
    // The component whose handler paints the item, or none.
    static TMenuSkin* DrawingSkin(const ui::TMenuItem& item);

    void PaintMenuWindowBorder(HWND window, bool rightToLeft);
    // A popup caught as it was made takes the frame it will be painted with.
    void AdoptMenuWindow(HWND window, bool rightToLeft);

    // ISkinSource, IMenuSkin. Active and not stepped aside: the style draws.
    bool IsActive() const override { return active_ && !stepped_aside_; }
    const TSkinStyle& Style(HDC surface) override;
    const TSkinStyle& ResolvedStyle(HDC surface) override;
    const TMenuLook& MenuLook() const override { return look_; }
    void SetResolvedMenuBarColor(ui::TColor color) override {
        style_.Colors.FResMenuBarColor = color;
    }
    HWND FormWindow() const override;
    TStyleContext& Context() override { return context_; }

private:
    void SetColorProperty(ui::TColor& field, ui::TColor value);
    // The colour of the bar's captions, which the bar beyond them takes too.
    ui::TColor CaptionsColor() const;
    void ColorMenuBar(ui::TMainMenu& menu, bool apply);
    // Follows a change of that colour where the bar has it.
    void RenewMenuBarColor();
    void FollowFormScale();
    void RedrawFormMenuBar();
    void StepAside(bool aside);

    ui::TForm* form_ = nullptr;
    TSkinStyle style_;  // the item font, levels and the resolved colours
    TStyleContext context_;  // after the style: the buffers go before the item font
    TSkinColorProperties colors_;
    TMenuLook look_;
    TMenuWindowOptions window_options_;
    bool colors_dirty_ = false;
    bool use_dim_color_ = false;
    bool override_owner_draw_ = false;
    bool auto_detect_ = false;
    TSkinContainers skin_containers_ = kAllSkinContainers;
    TSkinControls skin_controls_ = kAllSkinControls;
    bool active_ = false;  // the program's choice, kept while stepped aside
    bool stepped_aside_ = false;
    bool disable_subclassing_ = false;
    bool painting_border_ = false;
};

}  // namespace quillory::styling
