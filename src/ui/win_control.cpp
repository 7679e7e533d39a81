#include <windowsx.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "ui/application.h"
#include "ui/control.h"
#include "ui/control_internal.h"
#include "ui/forms.h"

namespace quillory::ui {

namespace {

// Beyond this many rectangles an update region is painted as its bounding box.
constexpr DWORD kMaxPaintPieces = 32;

}  // namespace

// Takes the key messages waiting for the windows of `control` and of its
// windowed children out of the queue.
void TWinControl::TakeTypedKeys(TWinControl* control, std::vector<TypedKey>& typed) {
    MSG msg;
    while (control->handle_ &&
           PeekMessageA(&msg, control->handle_, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE | PM_NOYIELD))
        typed.push_back(TypedKey{control, msg});
    for (TControl* child : control->controls_) {
        if (child->IsWindowed()) TakeTypedKeys(static_cast<TWinControl*>(child), typed);
    }
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    for (TControl* control : controls_) control->parent_ = nullptr;
    controls_.clear();
    captured_child_ = nullptr;
    DestroyWnd();
    if (parent_) {
        parent_->RemoveControl(this);
    }
}

TWinControl* TWinControl::FindControl(HWND window) {
    if (!window) return nullptr;
    return control_internal::ControlOfWindow(window);
}

HWND TWinControl::Handle() {
    if (!handle_) CreateHandle();
    return handle_;
}

void TWinControl::CreateHandle() {
    if (handle_) return;
    if (parent_ && !parent_->handle_) {
        parent_->CreateHandle();  // which creates ours among its children
        if (handle_) return;
    }
    CreateWnd();
    for (TControl* control : std::vector<TControl*>(controls_)) {
        if (control->IsWindowed()) static_cast<TWinControl*>(control)->CreateHandle();
    }
    CreateHandleDone();
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.WindowClass = ClassName();
    params.SystemClass = false;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (visible_) params.Style |= WS_VISIBLE;
    if (!enabled_) params.Style |= WS_DISABLED;
    if (tab_stop_) params.Style |= WS_TABSTOP;
    params.X = left_;
    params.Y = top_;
    params.Width = width_;
    params.Height = height_;
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if (!params.SystemClass && !RegisterFrameworkClass(params.WindowClass, params.ClassStyle))
        throw std::runtime_error("Cannot register the window class " + params.WindowClass);
    HWND parentWindow = parent_ ? parent_->handle_ : params.ParentWindow;
    if (!params.SystemClass) control_internal::CreatingControl() = this;
    HWND window = CreateWindowExA(params.ExStyle, params.WindowClass.c_str(), caption_.c_str(),
                                  params.Style, params.X, params.Y, params.Width, params.Height,
                                  parentWindow, params.Menu, GetModuleHandleA(nullptr), nullptr);
    control_internal::CreatingControl() = nullptr;
    if (!window) throw std::runtime_error(std::string("Cannot create a window for ") + ClassName());
    if (params.SystemClass) {
        handle_ = window;
        control_internal::BindWindow(window, this);
        default_proc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StdWndProc)));
    } else {
        default_proc_ = DefWindowProcA;
    }
    own_class_ = !params.SystemClass;
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
}

void TWinControl::DestroyWnd() {
    if (!handle_) return;
    // Children first, each through its own DestroyWnd, so each keeps its state.
    for (TControl* control : std::vector<TControl*>(controls_)) {
        if (control->IsWindowed()) static_cast<TWinControl*>(control)->DestroyWnd();
    }
    if (handle_) DestroyWindow(handle_);  // WM_NCDESTROY clears handle_
    handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
    if (handle_) PostMessageA(handle_, CM_RECREATEWND, 0, 0);
}

void TWinControl::RecreateNow() {
    if (!handle_) return;
    HWND old = handle_;
    // Where the window stands among its siblings (its place in the tab order).
    HWND above = parent_ ? GetWindow(old, GW_HWNDPREV) : nullptr;
    // The focus, if it is in this window or one of its children.
    TWinControl* focused = nullptr;
    if (HWND focus = GetFocus(); focus && (focus == old || IsChild(old, focus))) {
        for (HWND w = focus; w && !focused; w = GetParent(w)) focused = FindControl(w);
    }
    // Keys typed into the old windows and not yet handled go to the new ones.
    std::vector<TypedKey> typed;
    TakeTypedKeys(this, typed);

    DestroyWnd();
    CreateHandle();
    if (!handle_) return;

    if (parent_)
        SetWindowPos(handle_, above ? above : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    else if (visible_ && !IsWindowVisible(handle_))
        ShowWindow(handle_, SW_SHOWNA);
    if (focused && focused->handle_) ::SetFocus(focused->handle_);
    for (const TypedKey& key : typed) {
        if (key.control->handle_)
            PostMessageA(key.control->handle_, key.msg.message, key.msg.wParam, key.msg.lParam);
    }
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (control->parent_color_) control->Perform(CM_PARENTCOLORCHANGED);
    if (control->parent_font_) control->Perform(CM_PARENTFONTCHANGED);
    if (control->dpi_ != dpi_) control->ChangeDpi(dpi_);
    if (control->IsWindowed()) {
        if (handle_) static_cast<TWinControl*>(control)->CreateHandle();
    } else {
        control->Invalidate();
    }
}

void TWinControl::ChangeDpi(int dpi) {
    TControl::ChangeDpi(dpi);
    // A copy: a child's layout may add or remove controls.
    const std::vector<TControl*> children = controls_;
    for (TControl* child : children) child->ChangeDpi(dpi);
}

void TWinControl::RemoveControl(TControl* control) {
    if (control == captured_child_) {
        captured_child_ = nullptr;
        if (handle_ && GetCapture() == handle_) ReleaseCapture();
    }
    if (!control->IsWindowed()) control->Invalidate();
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    control->parent_ = nullptr;
    if (control->IsWindowed()) static_cast<TWinControl*>(control)->DestroyWnd();
}

TControl* TWinControl::ControlAtPos(POINT point, bool allowDisabled, bool graphicOnly) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* control = *it;
        if (graphicOnly && control->IsWindowed()) continue;
        if (!control->visible_ || (!control->enabled_ && !allowDisabled)) continue;
        RECT bounds = control->BoundsRect();
        if (PtInRect(&bounds, point)) return control;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
    for (TControl* control : std::vector<TControl*>(controls_)) {
        control->WindowProc(message);
        if (message.Result != 0) return;
    }
}

void TWinControl::NotifyControls(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    for (TControl* control : std::vector<TControl*>(controls_)) control->WindowProc(message);
}

void TWinControl::SetFocus() {
    if (handle_ || parent_) ::SetFocus(Handle());
}

bool TWinControl::Focused() const {
    return handle_ && GetFocus() == handle_;
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->parent_) {
        if (!c->visible_ || !c->enabled_) return false;
    }
    return true;
}

void TWinControl::SetTabStop(bool value) {
    if (value == tab_stop_) return;
    tab_stop_ = value;
    if (handle_) {
        LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
        style = value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
        SetWindowLongPtrA(handle_, GWL_STYLE, style);
    }
}

void TWinControl::SetCtl3D(bool value) {
    if (value == ctl3d_) return;
    ctl3d_ = value;
    Perform(CM_CTL3DCHANGED);
}

void TWinControl::Invalidate() {
    Perform(CM_INVALIDATE);
}

void TWinControl::InvalidateClientRect(const RECT& rect) {
    if (!handle_) return;
    if (update_depth_ == 0) {
        InvalidateRect(handle_, &rect, FALSE);
        return;
    }
    RegionHandle piece(CreateRectRgnIndirect(&rect));
    if (!pending_update_)
        pending_update_ = std::move(piece);
    else
        CombineRgn(pending_update_.Get(), pending_update_.Get(), piece.Get(), RGN_OR);
}

void TWinControl::EndUpdate() {
    if (update_depth_ == 0 || --update_depth_ > 0) return;
    if (pending_update_ && handle_) InvalidateRgn(handle_, pending_update_.Get(), FALSE);
    pending_update_.Reset();
}

void TWinControl::Repaint() {
    Invalidate();
    if (handle_) UpdateWindow(handle_);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    UpdateWindowBounds();
    BoundsChanged();
}

void TWinControl::UpdateWindowBounds() {
    if (handle_)
        SetWindowPos(handle_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (handle_) ShowWindow(handle_, visible ? SW_SHOWNOACTIVATE : SW_HIDE);
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
}

void TWinControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (handle_) EnableWindow(handle_, enabled);
    Perform(CM_ENABLEDCHANGED, enabled ? 1 : 0);
}

void TWinControl::CaptionChanged() {
    if (handle_) SetWindowTextA(handle_, caption_.c_str());
}

void TWinControl::CMParentColorChanged(TMessage& message) {
    TControl::CMParentColorChanged(message);
}

void TWinControl::CMParentFontChanged(TMessage& message) {
    TControl::CMParentFontChanged(message);
}

void TWinControl::CMColorChanged(TMessage& message) {
    TControl::CMColorChanged(message);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage& message) {
    if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
    TControl::CMFontChanged(message);
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMCtl3DChanged(TMessage&) {
    NotifyControls(CM_PARENTCTL3DCHANGED);
}

void TWinControl::CMDialogChar(TMessage& message) {
    Broadcast(message);
}

bool TWinControl::DoKeyDown(WORD& key, TShiftState shift) {
    TForm* form = GetParentForm();
    if (form && form != this && form->KeyPreview() && form->DoKeyDown(key, shift)) return true;
    if (OnKeyDown) OnKeyDown(this, key, shift);
    return key == 0;
}

bool TWinControl::DoKeyPress(char& key) {
    TForm* form = GetParentForm();
    if (form && form != this && form->KeyPreview() && form->DoKeyPress(key)) return true;
    if (OnKeyPress) OnKeyPress(this, key);
    return key == 0;
}

RECT TWinControl::ClientRect() const {
    RECT client{0, 0, width_, height_};
    if (handle_) GetClientRect(handle_, &client);
    return client;
}

void TWinControl::PaintWindow(HDC dc) {
    canvas_.SetHandle(dc);
    canvas_.Font = font_;
    if (color_ != clNone) canvas_.FillRect(ClientRect(), color_);
    Paint();
    canvas_.SetHandle(nullptr);
}

void TWinControl::PaintControls(HDC dc, const RECT& area) {
    // Each child paints with the origin on its own corner and the clip on its
    // own bounds; origin and clip are put back by hand (cheaper than SaveDC for
    // hundreds of small children).
    RegionHandle clip(CreateRectRgn(0, 0, 0, 0));
    const bool hadClip = GetClipRgn(dc, clip.Get()) == 1;
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    for (TControl* control : controls_) {
        if (control->IsWindowed() || !control->visible_) continue;
        RECT bounds = control->BoundsRect();
        RECT overlap;
        if (!IntersectRect(&overlap, &bounds, &area)) continue;
        SetViewportOrgEx(dc, origin.x + control->left_, origin.y + control->top_, nullptr);
        IntersectClipRect(dc, 0, 0, control->width_, control->height_);
        control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
        SelectClipRgn(dc, hadClip ? clip.Get() : nullptr);
    }
}

void TWinControl::PaintHandler(TMessage& message) {
    if (message.Msg == WM_PRINTCLIENT || (message.Msg == WM_PAINT && message.WParam)) {
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        PaintWindow(dc);
        PaintControls(dc, ClientRect());
        return;
    }
    PaintDC paint(handle_);
    // The pieces of the update region (the paint DC is clipped to it), so that
    // two small changes far apart do not repaint everything between them.
    std::vector<RECT> pieces;
    {
        RegionHandle update(CreateRectRgn(0, 0, 0, 0));
        if (GetRandomRgn(paint.Get(), update.Get(), SYSRGN) == 1) {
            POINT origin{0, 0};
            ::ClientToScreen(handle_, &origin);
            OffsetRgn(update.Get(), -origin.x, -origin.y);
            const DWORD size = GetRegionData(update.Get(), 0, nullptr);
            std::vector<char> buffer(size);
            auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
            if (size && GetRegionData(update.Get(), size, data) &&
                data->rdh.nCount <= kMaxPaintPieces) {
                const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
                for (DWORD i = 0; i < data->rdh.nCount; ++i) {
                    RECT piece;
                    if (IntersectRect(&piece, &rects[i], &paint.Area())) pieces.push_back(piece);
                }
            }
        }
    }
    if (pieces.empty()) pieces.push_back(paint.Area());
    // Everything goes to a back buffer first and reaches the screen in one copy
    // per piece: no flicker however many graphic children there are. The buffer
    // is kept and only re-created when the size changes.
    const RECT client = ClientRect();
    if (!back_buffer_) back_buffer_ = std::make_unique<TBitmap>();
    back_buffer_->SetSize(client.right, client.bottom);
    HDC buffer = back_buffer_->DC();
    if (!buffer || back_buffer_->Empty()) return;
    for (const RECT& area : pieces) {
        if (IsRectEmpty(&area)) continue;
        {
            ScopedSaveDC save(buffer);
            IntersectClipRect(buffer, area.left, area.top, area.right, area.bottom);
            PaintWindow(buffer);
            PaintControls(buffer, area);
        }
        BitBlt(paint.Get(), area.left, area.top, RectWidth(area), RectHeight(area), buffer,
               area.left, area.top, SRCCOPY);
    }
}

LRESULT TWinControl::ControlColors(HDC dc) {
    const COLORREF rgb = ColorToRGB(color_);
    if (!color_brush_ || color_brush_rgb_ != rgb) {
        color_brush_.Reset(CreateSolidBrush(rgb));
        color_brush_rgb_ = rgb;
    }
    SetTextColor(dc, ColorToRGB(font_.Color()));
    SetBkColor(dc, rgb);
    return reinterpret_cast<LRESULT>(color_brush_.Get());
}

}  // namespace quillory::ui
