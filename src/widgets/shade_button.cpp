#include "widgets/shade_button.h"

#include <windowsx.h>

#include <algorithm>
#include <memory>
#include <string>

#include "ui/forms.h"
#include "widgets/screen_controls.h"
#include "widgets/shade_utils.h"

namespace quillory::widgets {

namespace {

// One timer watches the one hot button of the whole process; it polls only
// while some button is hot.
ui::TTimer* hover_timer = nullptr;
TShadeButton* hover_button = nullptr;
int button_count = 0;

constexpr ui::TShiftState kAnyButton = ui::ssLeft | ui::ssRight | ui::ssMiddle;
constexpr UINT kCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// Which image of a strip of 1..4 shows in each state (stUp, stDisabled,
// stPressed, stLatched). The last image of the strip runs on to its right end.
constexpr int kImageOfState[kMaxGlyphs + 1][4] = {
    {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 1, 0, 0}, {0, 1, 2, 2}, {0, 1, 2, 3}};

// The source image of the strip for a state: [left, right) in pixels.
void GlyphSourceSpan(int numGlyphs, TShadeButtonState state, int cell, int stripWidth, int& left,
                     int& right) {
    const int index = kImageOfState[numGlyphs][state];
    left = index * cell;
    right = index == numGlyphs - 1 ? stripWidth : left + cell;
}

}  // namespace

TShadeButton* TShadeButton::HoverButton() {
    return hover_button;
}
int TShadeButton::ButtonCount() {
    return button_count;
}

TShadeButton::TShadeButton(ui::TComponent* owner) : ui::TWinControl(owner) {
    if (!hover_timer) {
        hover_timer = new ui::TTimer(nullptr);
        hover_timer->SetEnabled(false);
        hover_timer->SetInterval(kHoverInterval);
        hover_timer->OnTimer = [](ui::TComponent*) {
            if (hover_button) hover_button->HoverTick();
        };
    }
    width_ = kShadeButtonSize;
    height_ = kShadeButtonSize;
    parent_font_ = true;
    parent_color_ = true;
    ++button_count;
}

TShadeButton::~TShadeButton() {
    StopHover();
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    if (--button_count == 0) {
        delete hover_timer;
        hover_timer = nullptr;
    }
}

// ---------------------------------------------------------------- properties

void TShadeButton::SetAllowAllUp(bool value) {
    if (value == allow_all_up_) return;
    allow_all_up_ = value;
    NotifyGroup();
}

void TShadeButton::SetColorFocused(ui::TColor value) {
    color_focused_ = value;
    Invalidate();
}

void TShadeButton::SetColorDown(ui::TColor value) {
    color_down_ = value;
    Invalidate();
}

void TShadeButton::SetColorBorder(ui::TColor value) {
    color_border_ = value;
    Invalidate();
}

void TShadeButton::SetColorHighLight(ui::TColor value) {
    color_highlight_ = value;
    Invalidate();
}

void TShadeButton::SetColorShadow(ui::TColor value) {
    color_shadow_ = value;
    Invalidate();
}

void TShadeButton::SetShadeFocused(TShadePercent value) {
    shade_focused_ = std::min<TShadePercent>(value, 100);
    DeriveColors();
    Invalidate();
}

void TShadeButton::SetShadeDown(TShadePercent value) {
    shade_down_ = std::min<TShadePercent>(value, 100);
    DeriveColors();
    Invalidate();
}

void TShadeButton::SetShadeBorder(TShadePercent value) {
    shade_border_ = std::min<TShadePercent>(value, 100);
    DeriveColors();
    Invalidate();
}

void TShadeButton::SetAutoShades(bool value) {
    if (value == auto_shades_) return;
    auto_shades_ = value;
    SetParentColor(value);
    DeriveColors();
    Invalidate();
}

void TShadeButton::SetGroupIndex(std::int32_t value) {
    if (value == group_index_) return;
    group_index_ = value;
    NotifyGroup();
}

void TShadeButton::SetDown(bool value) {
    if (group_index_ == 0) value = false;
    if (value == down_) return;
    // A latched button of a group is only released by another one of the group.
    if (down_ && !allow_all_up_) return;
    down_ = value;
    if (value) {
        if (state_ == stUp) Invalidate();
        state_ = stLatched;
        NotifyGroup();
    } else {
        state_ = stUp;
        Repaint();
    }
}

void TShadeButton::SetGlyph(const ui::TBitmap& value) {
    if (&value != &glyph_) {
        glyph_.Assign(value);
        if (!glyph_.Empty() && glyph_.Width() % glyph_.Height() == 0) {
            const int count = glyph_.Width() / glyph_.Height();
            num_glyphs_ = static_cast<TNumGlyphs>(count > kMaxGlyphs ? 1 : count);
        }
    }
    Invalidate();
}

void TShadeButton::SetLayout(TButtonLayout value) {
    if (value == layout_) return;
    layout_ = value;
    Invalidate();
}

void TShadeButton::SetMargin(int value) {
    if (value == margin_ || value < -1) return;
    margin_ = value;
    Invalidate();
}

void TShadeButton::SetNumGlyphs(TNumGlyphs value) {
    value = std::clamp<TNumGlyphs>(value, 1, kMaxGlyphs);
    if (value == num_glyphs_) return;
    num_glyphs_ = value;
    Invalidate();
}

void TShadeButton::SetSpacing(int value) {
    if (value == spacing_) return;
    spacing_ = value;
    Invalidate();
}

void TShadeButton::SetPopupMenu(ui::TPopupMenu* menu) {
    if (menu == popup_menu_) return;
    if (popup_menu_) RemoveFreeNotification(popup_menu_);
    popup_menu_ = menu;
    if (menu) FreeNotification(menu);
}

void TShadeButton::Notification(ui::TComponent* component, ui::TOperation operation) {
    if (operation == ui::TOperation::opRemove && component == popup_menu_) popup_menu_ = nullptr;
    ui::TWinControl::Notification(component, operation);
}

void TShadeButton::DeriveColors() {
    if (!auto_shades_) return;
    const quillory::Color base = ui::ColorToRGB(Color());
    color_focused_ = ShiftLightness(base, color_focused_, shade_focused_, sdLighter);
    color_down_ = ShiftLightness(base, color_down_, shade_down_, sdDarker);
    color_border_ = ShiftLightness(base, color_border_, shade_border_, sdDarker);
}

// ---------------------------------------------------------------- messages

void TShadeButton::WndProc(ui::TMessage& message) {
    switch (message.Msg) {
        case WM_LBUTTONDBLCLK: return WMLButtonDblClk(message);
        case WM_CONTEXTMENU:
            if (popup_menu_) return WMContextMenu(message);
            break;
        case ui::CM_BUTTONPRESSED: return CMButtonPressed(message);
        case ui::CM_SYSCOLORCHANGE: return CMSysColorChange(message);
        default: break;
    }
    ui::TWinControl::WndProc(message);
}

void TShadeButton::WMLButtonDblClk(ui::TMessage& message) {
    // The second press of a double click presses the button again.
    ui::TMessage press{WM_LBUTTONDOWN, message.WParam, message.LParam, 0};
    ui::TWinControl::WndProc(press);
    if (down_) DoDblClick();
    message.Result = 0;
}

void TShadeButton::WMContextMenu(ui::TMessage& message) {
    POINT at{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    if (message.LParam == -1) {  // from the keyboard: below the button's centre
        at = POINT{width_ / 2, height_ / 2};
        ::ClientToScreen(Handle(), &at);
    }
    popup_menu_->Popup(at.x, at.y);
    message.Result = 1;
}

// WParam: the group index; LParam: the sending control, as a ui::TControl*.
void TShadeButton::CMButtonPressed(ui::TMessage& message) {
    auto* sender = dynamic_cast<TShadeButton*>(reinterpret_cast<ui::TControl*>(message.LParam));
    if (static_cast<std::int32_t>(message.WParam) != group_index_ || !sender || sender == this)
        return;
    if (sender->down_ && down_) {
        down_ = false;
        state_ = stUp;
        Invalidate();
    }
    allow_all_up_ = sender->allow_all_up_;
}

void TShadeButton::CMSysColorChange(ui::TMessage&) {
    if (auto_shades_) {
        SetParentColor(true);
        DeriveColors();
    }
    Invalidate();
}

void TShadeButton::CMParentColorChanged(ui::TMessage& message) {
    ui::TWinControl::CMParentColorChanged(message);
    ui::TMessage sysColors{ui::CM_SYSCOLORCHANGE, 0, 0, 0};
    CMSysColorChange(sysColors);
}

void TShadeButton::CMEnabledChanged(ui::TMessage& message) {
    ui::TWinControl::CMEnabledChanged(message);
    if (!Enabled()) {
        hot_ = false;
        state_ = stDisabled;
        StopHover();
        if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    }
    UpdateHot();
    Invalidate();
}

void TShadeButton::CMDialogChar(ui::TMessage& message) {
    if (Enabled() && ui::IsAccel(static_cast<char>(message.WParam), Caption())) {
        Click();
        message.Result = 1;
        return;
    }
    ui::TWinControl::CMDialogChar(message);
}

void TShadeButton::NotifyGroup() {
    if (group_index_ == 0 || !Parent()) return;
    Parent()->NotifyControls(ui::CM_BUTTONPRESSED, static_cast<WPARAM>(group_index_),
                             reinterpret_cast<LPARAM>(static_cast<ui::TControl*>(this)));
}

// ---------------------------------------------------------------- mouse

bool TShadeButton::InsideClient(int x, int y) const {
    const RECT client = ClientRect();
    return x >= 0 && x < client.right && y >= 0 && y < client.bottom;
}

bool TShadeButton::PointerOverMe() const {
    POINT cursor{};
    if (!GetCursorPos(&cursor)) return false;
    return FindControlAtScreen(cursor) == this;
}

void TShadeButton::MouseDown(ui::TMouseButton button, ui::TShiftState shift, int x, int y) {
    ui::TWinControl::MouseDown(button, shift, x, y);
    // The button keeps the mouse while a button is held, so a release outside reaches it.
    if (HandleAllocated()) SetCapture(Handle());
    if (button != ui::TMouseButton::mbLeft || !Enabled()) return;
    if (!down_) {
        state_ = stPressed;
        Invalidate();
    }
    pressing_ = true;
    SetFocus();
}

void TShadeButton::MouseMove(ui::TShiftState shift, int x, int y) {
    ui::TWinControl::MouseMove(shift, x, y);
    if (hover_button != this && HandleAllocated()) {
        POINT screen{x, y};
        ::ClientToScreen(Handle(), &screen);
        if (FindControlAtScreen(screen) == this) {
            if (hover_button) hover_button->LeaveHot();
            if (GetActiveWindow()) {
                if (hover_timer->Enabled()) hover_timer->SetEnabled(false);
                hover_button = this;
                hover_timer->SetEnabled(true);
                EnterHot();
            }
        }
    }
    if (pressing_) {
        TShadeButtonState next = down_ ? stLatched : stUp;
        if (InsideClient(x, y)) next = down_ ? stLatched : stPressed;
        if (next != state_) {
            state_ = next;
            Invalidate();
        }
    }
}

void TShadeButton::MouseUp(ui::TMouseButton button, ui::TShiftState shift, int x, int y) {
    ui::TWinControl::MouseUp(button, shift, x, y);
    if (!(shift & kAnyButton) && HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    if (!pressing_) return;
    pressing_ = false;
    const bool inside = InsideClient(x, y);
    if (group_index_ == 0) {
        state_ = stUp;
        hot_ = false;
        if (inside) Invalidate();
    } else if (inside) {
        SetDown(!down_);
        if (down_) Repaint();
    } else {
        if (down_) state_ = stLatched;
        Repaint();
    }
    if (inside) {
        Click();
    } else {
        LeaveHot();
    }
    UpdateHot();
}

void TShadeButton::Click() {
    if (ui::TForm* form = GetParentForm()) form->SetModalResult(modal_result_);
    ui::TWinControl::Click();
}

// ---------------------------------------------------------------- hot tracking

void TShadeButton::EnterHot() {
    if (!Enabled() || hot_) return;
    hot_ = true;
    Repaint();
}

void TShadeButton::LeaveHot() {
    if (!Enabled() || !hot_ || pressing_) return;
    hot_ = false;
    StopHover();
    Invalidate();
}

void TShadeButton::StopHover() {
    if (hover_button != this) return;
    hover_timer->SetEnabled(false);
    hover_button = nullptr;
}

void TShadeButton::HoverTick() {
    if (!PointerOverMe()) LeaveHot();
}

void TShadeButton::UpdateHot() {
    if (!Enabled()) return;
    // Inverted on purpose: LeaveHot acts only on a hot button, EnterHot only
    // on a cold one, so either way the button ends up telling the truth and
    // is painted again.
    hot_ = !PointerOverMe();
    if (hot_) {
        LeaveHot();
    } else {
        EnterHot();
    }
}

// ---------------------------------------------------------------- paint

void TShadeButton::PaintWindow(HDC dc) {
    const RECT client = ClientRect();
    const int width = client.right;
    const int height = client.bottom;
    const COLORREF transparent =
        glyph_.Empty() ? CLR_INVALID : glyph_.Pixel(0, glyph_.Height() - 1);

    // Everything goes to an off-screen bitmap and reaches the screen in one copy.
    ui::TBitmap buffer(width, height);
    if (buffer.Empty()) return;
    ui::TCanvas& canvas = buffer.Canvas();
    canvas.Font = Font();

    const int d = (state_ == stPressed || state_ == stLatched) ? 1 : 0;
    const GlyphCaptionLayout placed = CalcLayout(canvas, client, POINT{d, d}, layout_, spacing_,
                                                 margin_, &glyph_, num_glyphs_, Caption());
    text_rect_ = placed.TextRect;
    glyph_origin_ = placed.GlyphOrigin;

    if (!Enabled()) {
        state_ = stDisabled;
        pressing_ = false;
    } else if (state_ == stDisabled) {
        state_ = (down_ && group_index_ != 0) ? stLatched : stUp;
    }

    ui::TColor first = color_border_;
    ui::TColor second = color_border_;
    ui::TColor face = Color();
    switch (state_) {
        case stUp:
            if (hot_) {
                first = color_highlight_;
                second = color_shadow_;
                face = color_focused_;
            }
            break;
        case stDisabled: break;
        case stPressed:
            first = color_shadow_;
            second = color_highlight_;
            face = color_down_;
            break;
        case stLatched:
            first = color_shadow_;
            second = color_highlight_;
            face = hot_ ? color_focused_ : color_down_;
            break;
    }
    // Two strokes: up the left and along the top without the top-right pixel,
    // then down the right and back along the bottom, both ends included.
    canvas.PenColor = first;
    canvas.MoveTo(0, height - 1);
    canvas.LineTo(0, 0);
    canvas.LineTo(width - 1, 0);
    canvas.PenColor = second;
    canvas.MoveTo(width - 1, 0);
    canvas.LineTo(width - 1, height - 1);
    canvas.Line(width - 1, height - 1, 0, height - 1);
    canvas.FillRect(RECT{1, 1, width - 1, height - 1}, face);

    PaintGlyph(buffer, transparent);
    PaintCaption(canvas);
    BitBlt(dc, 0, 0, width, height, buffer.DC(), 0, 0, SRCCOPY);
}

void TShadeButton::PaintGlyph(ui::TBitmap& target, COLORREF transparent) {
    if (glyph_.Empty()) return;
    const int cell = glyph_.Width() / num_glyphs_;
    const int height = glyph_.Height();
    if (cell <= 0) return;
    int left = 0;
    int right = 0;
    GlyphSourceSpan(num_glyphs_, state_, cell, glyph_.Width(), left, right);

    auto image = std::make_unique<ui::TBitmap>(cell, height);
    if (image->Empty()) return;
    image->Canvas().CopyRect(RECT{0, 0, cell, height}, glyph_.DC(), RECT{left, 0, right, height});
    if (num_glyphs_ == 1 && state_ == stDisabled) {
        image = MakeDisabledGlyph(*image, clBlack, clBtnFace, clBtnHighlight,
                                  clBtnShadow, true);
        transparent = image->Pixel(0, height - 1);
    }
    DrawTransparent(target.DC(), glyph_origin_.x, glyph_origin_.y, *image, transparent);
}

void TShadeButton::PaintCaption(ui::TCanvas& canvas) {
    if (Caption().empty()) return;
    RECT rect = text_rect_;
    if (state_ == stDisabled) {
        OffsetRect(&rect, 1, 1);
        canvas.Font.SetColor(clBtnHighlight);
        canvas.DrawText(Caption(), rect, kCaptionFormat);
        OffsetRect(&rect, -1, -1);
        canvas.Font.SetColor(clBtnShadow);
        canvas.DrawText(Caption(), rect, kCaptionFormat);
    } else {
        canvas.DrawText(Caption(), rect, kCaptionFormat);
    }
}

}  // namespace quillory::widgets
