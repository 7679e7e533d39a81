#include "ui/control.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "ui/control_internal.h"
#include "ui/forms.h"

namespace quillory::ui {

namespace control_internal {

namespace {
TControl* mouse_control = nullptr;
}  // namespace

TControl* MouseControl() {
    return mouse_control;
}

void SetMouseControl(TControl* control) {
    if (control == mouse_control) return;
    TControl* old = mouse_control;
    mouse_control = control;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (control) control->Perform(CM_MOUSEENTER);
}

void ForgetMouseControl(const TControl* control) {
    if (mouse_control == control) mouse_control = nullptr;
}

}  // namespace control_internal

TShiftState KeyboardShiftState() {
    TShiftState state = 0;
    if (GetKeyState(VK_SHIFT) < 0) state |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) state |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) state |= ssAlt;
    return state;
}

TShiftState MouseShiftState(WPARAM flags) {
    TShiftState state = 0;
    if (flags & MK_SHIFT) state |= ssShift;
    if (flags & MK_CONTROL) state |= ssCtrl;
    if (flags & MK_LBUTTON) state |= ssLeft;
    if (flags & MK_RBUTTON) state |= ssRight;
    if (flags & MK_MBUTTON) state |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) state |= ssAlt;
    return state;
}

bool IsAccel(char key, const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {  // "&&" is a literal &
            ++i;
            continue;
        }
        char pair[2] = {caption[i + 1], key};
        CharUpperBuffA(pair, 2);
        return pair[0] == pair[1];
    }
    return false;
}

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
    WindowProc = [this](TMessage& message) { WndProc(message); };
    font_.OnChange = [this] {
        parent_font_ = false;
        Perform(CM_FONTCHANGED);
    };
}

TControl::~TControl() {
    control_internal::ForgetMouseControl(this);
    if (parent_) parent_->RemoveControl(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    WindowProc(message);
    return message.Result;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw std::invalid_argument("A control cannot be its own parent");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::ChangeDpi(int dpi) {
    if (dpi <= 0) return;
    const int oldDpi = dpi_;
    dpi_ = dpi;
    // The font is shown at the new scale without becoming a font of the
    // control's own: one taken from the parent stays the parent's.
    if (font_.PixelsPerInch() != dpi) {
        auto handler = std::move(font_.OnChange);
        font_.SetPixelsPerInch(dpi);
        font_.OnChange = std::move(handler);
        Perform(CM_FONTCHANGED);
    }
    if (oldDpi != dpi) DpiChanged(oldDpi);
}

TForm* TControl::GetParentForm() const {
    const TControl* control = this;
    while (control->parent_) control = control->parent_;
    return dynamic_cast<TForm*>(const_cast<TControl*>(control));
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    Invalidate();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Invalidate();
    BoundsChanged();
}

POINT TControl::ClientToScreen(POINT point) const {
    point.x += left_;
    point.y += top_;
    if (parent_) {
        if (parent_->HandleAllocated()) {
            POINT p{point.x, point.y};
            ::ClientToScreen(parent_->handle_, &p);
            return p;
        }
        return parent_->ClientToScreen(point);
    }
    return point;
}

POINT TControl::ScreenToClient(POINT point) const {
    POINT origin = ClientToScreen(POINT{0, 0});
    return POINT{point.x - origin.x, point.y - origin.y};
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (!visible) Invalidate();
    visible_ = visible;
    if (visible) Invalidate();
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->parent_) {
        if (!c->visible_) return false;
    }
    return true;
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Perform(CM_ENABLEDCHANGED, enabled ? 1 : 0);
}

void TControl::SetColor(TColor color) {
    if (color == color_) {
        parent_color_ = false;
        return;
    }
    color_ = color;
    parent_color_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
    if (value == parent_color_) return;
    parent_color_ = value;
    if (value && parent_) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentFont(bool value) {
    if (value == parent_font_) return;
    parent_font_ = value;
    if (value && parent_) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetRightToLeft(bool value) {
    if (value == right_to_left_) return;
    right_to_left_ = value;
    Invalidate();
}

void TControl::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    CaptionChanged();
    Perform(CM_TEXTCHANGED);
}

void TControl::Invalidate() {
    if (!parent_ || !parent_->HandleAllocated() || !visible_) return;
    parent_->InvalidateClientRect(BoundsRect());
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::Update() {
    if (parent_ && parent_->HandleAllocated()) UpdateWindow(parent_->handle_);
}

void TControl::WndProc(TMessage& message) {
    const int x = GET_X_LPARAM(message.LParam);
    const int y = GET_Y_LPARAM(message.LParam);
    // Only mouse messages carry a shift state; asking the keyboard for every
    // other message (a board's set-up sends thousands) is a round trip each.
    const bool mouseMessage = message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST;
    const TShiftState shift = mouseMessage ? MouseShiftState(message.WParam) : 0;
    switch (message.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (click_events_) clicked_ = true;
            if (message.Msg == WM_LBUTTONDBLCLK) DoDblClick();
            MouseDown(TMouseButton::mbLeft, shift, x, y);
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK: MouseDown(TMouseButton::mbRight, shift, x, y); break;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK: MouseDown(TMouseButton::mbMiddle, shift, x, y); break;
        case WM_MOUSEMOVE: MouseMove(shift, x, y); break;
        case WM_LBUTTONUP: {
            MouseUp(TMouseButton::mbLeft, shift, x, y);
            const bool wasClicked = std::exchange(clicked_, false);
            RECT client = ClientRect();
            if (wasClicked && PtInRect(&client, POINT{x, y})) Click();
            break;
        }
        case WM_RBUTTONUP: MouseUp(TMouseButton::mbRight, shift, x, y); break;
        case WM_MBUTTONUP: MouseUp(TMouseButton::mbMiddle, shift, x, y); break;
        case CM_ENABLEDCHANGED: return CMEnabledChanged(message);
        case CM_VISIBLECHANGED: return CMVisibleChanged(message);
        case CM_TEXTCHANGED: return CMTextChanged(message);
        case CM_COLORCHANGED: return CMColorChanged(message);
        case CM_FONTCHANGED: return CMFontChanged(message);
        case CM_PARENTCOLORCHANGED: return CMParentColorChanged(message);
        case CM_PARENTFONTCHANGED: return CMParentFontChanged(message);
        case CM_MOUSEENTER: return CMMouseEnter(message);
        case CM_MOUSELEAVE: return CMMouseLeave(message);
        case CM_SYSCOLORCHANGE: Invalidate(); break;
        default: break;
    }
    DefaultHandler(message);
}

void TControl::DefaultHandler(TMessage& message) {
    message.Result = 0;
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::CMEnabledChanged(TMessage&) {
    Invalidate();
}
void TControl::CMVisibleChanged(TMessage&) {}
void TControl::CMTextChanged(TMessage&) {
    Invalidate();
}
void TControl::CMColorChanged(TMessage&) {
    Invalidate();
}
void TControl::CMFontChanged(TMessage&) {
    Invalidate();
}

void TControl::CMParentColorChanged(TMessage&) {
    if (parent_color_ && parent_ && color_ != parent_->color_) {
        color_ = parent_->color_;
        Perform(CM_COLORCHANGED);
    }
}

void TControl::CMParentFontChanged(TMessage&) {
    if (!parent_font_ || !parent_) return;
    auto handler = std::move(font_.OnChange);
    const bool changed = !font_.SameAs(parent_->font_);
    font_.Assign(parent_->font_);
    font_.OnChange = std::move(handler);
    if (changed) Perform(CM_FONTCHANGED);
}

void TControl::CMMouseEnter(TMessage&) {
    mouse_inside_ = true;
}
void TControl::CMMouseLeave(TMessage&) {
    mouse_inside_ = false;
}

// ---------------------------------------------------------------- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::WndProc(TMessage& message) {
    if (message.Msg == WM_PAINT && message.WParam) {
        canvas_.SetHandle(reinterpret_cast<HDC>(message.WParam));
        canvas_.Font = font_;
        canvas_.BrushStyle = TBrushStyle::bsSolid;
        Paint();
        canvas_.SetHandle(nullptr);
        message.Result = 0;
        return;
    }
    TControl::WndProc(message);
}

}  // namespace quillory::ui
