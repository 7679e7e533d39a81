// TShadeButton: a flat push button. A face of one colour inside a one-pixel
// border; hot, it takes another colour and a raised frame; pressed, a third
// colour, a sunken frame and its content one pixel right and down. It carries
// an optional caption and glyph strip (normal, disabled, pressed, latched),
// and buttons of one parent with a common GroupIndex latch like radio buttons.
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/shade_math.h"
#include "ui/canvas.h"
#include "ui/control.h"
#include "ui/menus.h"
#include "ui/timer.h"
#include "ui/ui_types.h"

namespace quillory::widgets {

using quillory::blGlyphBottom;
using quillory::blGlyphLeft;
using quillory::blGlyphRight;
using quillory::blGlyphTop;
using quillory::TButtonLayout;
using quillory::TNumGlyphs;
using quillory::TShadePercent;

enum TShadeButtonState : std::uint8_t { stUp = 0, stDisabled = 1, stPressed = 2, stLatched = 3 };

constexpr ui::TColor kShadeButtonColor = 0x00E1EAEB;
constexpr ui::TColor kShadeButtonColorFocused = 0x00E1EAEB;
constexpr ui::TColor kShadeButtonColorDown = 0x00C5D6D9;
constexpr ui::TColor kShadeButtonColorBorder = 0x008396A0;
constexpr ui::TColor kShadeButtonColorHighLight = 0x00FFFFFF;
constexpr ui::TColor kShadeButtonColorShadow = 0x00000000;
constexpr TShadePercent kShadeFocusedDefault = 10;
constexpr TShadePercent kShadeDownDefault = 10;
constexpr TShadePercent kShadeBorderDefault = 50;
constexpr int kShadeButtonSize = 25;
constexpr int kShadeButtonSpacing = 4;
constexpr UINT kHoverInterval = 100;  // ms between checks that the hot button is still hot
constexpr int kMaxGlyphs = 4;

class TShadeButton : public ui::TWinControl {
public:
    const char* ClassName() const override { return "TShadeButton"; }
    explicit TShadeButton(ui::TComponent* owner);
    ~TShadeButton() override;

    bool AllowAllUp() const { return allow_all_up_; }
    void SetAllowAllUp(bool value);
    ui::TColor ColorFocused() const { return color_focused_; }
    void SetColorFocused(ui::TColor value);
    ui::TColor ColorDown() const { return color_down_; }
    void SetColorDown(ui::TColor value);
    ui::TColor ColorBorder() const { return color_border_; }
    void SetColorBorder(ui::TColor value);
    ui::TColor ColorHighLight() const { return color_highlight_; }
    void SetColorHighLight(ui::TColor value);
    ui::TColor ColorShadow() const { return color_shadow_; }
    void SetColorShadow(ui::TColor value);
    TShadePercent ShadeFocused() const { return shade_focused_; }
    void SetShadeFocused(TShadePercent value);
    TShadePercent ShadeDown() const { return shade_down_; }
    void SetShadeDown(TShadePercent value);
    TShadePercent ShadeBorder() const { return shade_border_; }
    void SetShadeBorder(TShadePercent value);
    bool AutoShades() const { return auto_shades_; }
    void SetAutoShades(bool value);
    std::int32_t GroupIndex() const { return group_index_; }
    void SetGroupIndex(std::int32_t value);
    bool Down() const { return down_; }
    void SetDown(bool value);
    const ui::TBitmap& Glyph() const { return glyph_; }
    // Copies the picture; a strip whose width is a whole multiple (up to 4) of
    // its height sets NumGlyphs.
    void SetGlyph(const ui::TBitmap& value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return margin_; }
    // -1 lets the layout compute it; values below -1 are ignored.
    void SetMargin(int value);
    TNumGlyphs NumGlyphs() const { return num_glyphs_; }
    void SetNumGlyphs(TNumGlyphs value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    bool ShowHint() const { return show_hint_; }
    void SetShowHint(bool value) {
        show_hint_ = value;
        parent_show_hint_ = false;
    }
    bool ParentShowHint() const { return parent_show_hint_; }
    void SetParentShowHint(bool value) { parent_show_hint_ = value; }
    ui::TPopupMenu* PopupMenu() const { return popup_menu_; }
    void SetPopupMenu(ui::TPopupMenu* menu);
    ui::TModalResult ModalResult() const { return modal_result_; }
    void SetModalResult(ui::TModalResult value) { modal_result_ = value; }

    // Sets the parent form's modal result, then fires OnClick.
    void Click() override;

    // What the button is showing, for whoever needs to know (tests included).
    TShadeButtonState ShadeButtonState() const { return state_; }
    bool Hot() const { return hot_; }
    bool Pressing() const { return pressing_; }
    // Where the last paint put the caption and the glyph.
    RECT TextRect() const { return text_rect_; }
    POINT GlyphOrigin() const { return glyph_origin_; }

    // The shared hover watch: the button the timer watches, and how many
    // flat buttons exist.
    static TShadeButton* HoverButton();
    static int ButtonCount();

    void Notification(ui::TComponent* component, ui::TOperation operation) override;

protected:
    void WndProc(ui::TMessage& message) override;
    void PaintWindow(HDC dc) override;
    void MouseDown(ui::TMouseButton button, ui::TShiftState shift, int x, int y) override;
    void MouseMove(ui::TShiftState shift, int x, int y) override;
    void MouseUp(ui::TMouseButton button, ui::TShiftState shift, int x, int y) override;
    void CMEnabledChanged(ui::TMessage& message) override;
    void CMParentColorChanged(ui::TMessage& message) override;
    void CMDialogChar(ui::TMessage& message) override;

private:
    void WMLButtonDblClk(ui::TMessage& message);
    void WMContextMenu(ui::TMessage& message);
    void CMButtonPressed(ui::TMessage& message);
    void CMSysColorChange(ui::TMessage& message);

    void EnterHot();
    void LeaveHot();
    void StopHover();
    void HoverTick();
    void UpdateHot();
    void NotifyGroup();
    void DeriveColors();
    bool PointerOverMe() const;
    bool InsideClient(int x, int y) const;
    void PaintGlyph(ui::TBitmap& target, COLORREF transparent);
    void PaintCaption(ui::TCanvas& canvas);

    bool allow_all_up_ = false;
    ui::TColor color_focused_ = kShadeButtonColorFocused;
    ui::TColor color_down_ = kShadeButtonColorDown;
    ui::TColor color_border_ = kShadeButtonColorBorder;
    ui::TColor color_highlight_ = kShadeButtonColorHighLight;
    ui::TColor color_shadow_ = kShadeButtonColorShadow;
    TShadePercent shade_focused_ = kShadeFocusedDefault;
    TShadePercent shade_down_ = kShadeDownDefault;
    TShadePercent shade_border_ = kShadeBorderDefault;
    bool auto_shades_ = false;
    std::int32_t group_index_ = 0;
    bool down_ = false;
    ui::TBitmap glyph_;
    TButtonLayout layout_ = blGlyphTop;
    int margin_ = -1;
    TNumGlyphs num_glyphs_ = 1;
    int spacing_ = kShadeButtonSpacing;
    bool show_hint_ = false;
    bool parent_show_hint_ = true;
    ui::TPopupMenu* popup_menu_ = nullptr;
    ui::TModalResult modal_result_ = ui::mrNone;

    TShadeButtonState state_ = stUp;
    bool hot_ = false;
    bool pressing_ = false;
    RECT text_rect_{};
    POINT glyph_origin_{};
};

}  // namespace quillory::widgets
