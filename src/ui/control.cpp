#include "ui/control.h"

#include <windowsx.h>

#include <algorithm>
#include <set>
#include <stdexcept>

#include "ui/application.h"
#include "ui/forms.h"

namespace quillory::ui {

namespace {

constexpr char kControlProperty[] = "Quillory.Control";
// Beyond this many rectangles an update region is painted as its bounding box.
constexpr DWORD kMaxPaintPieces = 32;

// The control whose window CreateWindowExA is creating right now: our own
// classes receive WM_NCCREATE before CreateWindowExA returns the handle.
thread_local TWinControl* creating_control = nullptr;

// The control under the mouse pointer, told of its arrival and departure.
TControl* mouse_control = nullptr;

bool IsMouseMessage(UINT msg) {
    return msg == WM_MOUSEMOVE || (msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK);
}
bool IsButtonDown(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN ||
           msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDOWN || msg == WM_MBUTTONDBLCLK;
}
bool IsButtonUp(UINT msg) {
    return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
}

void SetMouseControl(TControl* control) {
    if (control == mouse_control) return;
    TControl* old = mouse_control;
    mouse_control = control;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (control) control->Perform(CM_MOUSEENTER);
}

}  // namespace

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

bool RegisterFrameworkClass(const std::string& name, UINT classStyle) {
    static std::set<std::string> registered;
    if (registered.count(name)) return true;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = classStyle;
    wc.lpfnWndProc = StdWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = name.c_str();
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    registered.insert(name);
    return true;
}

// The real window procedure of every window of the framework: it finds the
// control and hands the message to its WindowProc.
LRESULT CALLBACK StdWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* control = static_cast<TWinControl*>(GetPropA(window, kControlProperty));
    if (!control && creating_control) {
        control = std::exchange(creating_control, nullptr);
        control->handle_ = window;
        SetPropA(window, kControlProperty, control);
    }
    if (!control) return DefWindowProcA(window, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    try {
        control->WindowProc(message);
    } catch (...) {
        HandleCurrentException();
    }
    if (msg == WM_NCDESTROY) {
        RemovePropA(window, kControlProperty);
        if (control->handle_ == window) control->handle_ = nullptr;
    }
    return message.Result;
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
    if (mouse_control == this) mouse_control = nullptr;
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
    const TShiftState shift = MouseShiftState(message.WParam);
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

// ---------------------------------------------------------------- TWinControl

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
    return static_cast<TWinControl*>(GetPropA(window, kControlProperty));
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
    if (!params.SystemClass) creating_control = this;
    HWND window = CreateWindowExA(params.ExStyle, params.WindowClass.c_str(), caption_.c_str(),
                                  params.Style, params.X, params.Y, params.Width, params.Height,
                                  parentWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
    creating_control = nullptr;
    if (!window) throw std::runtime_error(std::string("Cannot create a window for ") + ClassName());
    if (params.SystemClass) {
        handle_ = window;
        SetPropA(window, kControlProperty, this);
        default_proc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StdWndProc)));
    } else {
        default_proc_ = DefWindowProcA;
    }
    own_class_ = !params.SystemClass;
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
}

void TWinControl::DestroyWnd() {
    if (handle_) DestroyWindow(handle_);  // WM_NCDESTROY clears handle_
    handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
    if (handle_) PostMessageA(handle_, CM_RECREATEWND, 0, 0);
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (control->parent_color_) control->Perform(CM_PARENTCOLORCHANGED);
    if (control->parent_font_) control->Perform(CM_PARENTFONTCHANGED);
    if (control->IsWindowed()) {
        if (handle_) static_cast<TWinControl*>(control)->CreateHandle();
    } else {
        control->Invalidate();
    }
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

bool TWinControl::RouteMouseToGraphic(TMessage& message) {
    const POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    if (message.Msg == WM_MOUSEMOVE) {
        if (!tracking_leave_ && handle_) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, handle_, 0};
            tracking_leave_ = TrackMouseEvent(&track) != FALSE;
        }
        RECT client = ClientRect();
        TControl* hover = nullptr;
        if (PtInRect(&client, point)) {
            hover = ControlAtPos(point, false, true);
            if (!hover) hover = this;
        }
        SetMouseControl(hover);
    }
    TControl* target = captured_child_ ? captured_child_ : ControlAtPos(point, false, true);
    if (!target) return false;
    if (IsButtonDown(message.Msg)) {
        captured_child_ = target;
        if (handle_) SetCapture(handle_);
    }
    TMessage forwarded{message.Msg, message.WParam,
                       MAKELPARAM(point.x - target->left_, point.y - target->top_), 0};
    target->WindowProc(forwarded);
    message.Result = forwarded.Result;
    if (IsButtonUp(message.Msg) && !(message.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
        captured_child_ = nullptr;
        if (handle_ && GetCapture() == handle_) ReleaseCapture();
    }
    return true;
}

bool TWinControl::ReflectToChild(TMessage& message) {
    HWND child = nullptr;
    switch (message.Msg) {
        case WM_COMMAND: child = reinterpret_cast<HWND>(message.LParam); break;
        case WM_NOTIFY: child = reinterpret_cast<NMHDR*>(message.LParam)->hwndFrom; break;
        case WM_DRAWITEM: {
            auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
            if (draw->CtlType != ODT_MENU) child = draw->hwndItem;
            break;
        }
        case WM_MEASUREITEM: {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
            if (measure->CtlType != ODT_MENU && handle_)
                child = GetDlgItem(handle_, static_cast<int>(measure->CtlID));
            break;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC: child = reinterpret_cast<HWND>(message.LParam); break;
        case WM_PARENTNOTIFY:
            if (LOWORD(message.WParam) == WM_CREATE || LOWORD(message.WParam) == WM_DESTROY)
                child = reinterpret_cast<HWND>(message.LParam);
            break;
        default: break;
    }
    if (!child || child == handle_) return false;
    TWinControl* control = FindControl(child);
    if (!control) return false;
    message.Result = control->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
    return message.Msg != WM_PARENTNOTIFY;
}

void TWinControl::WMSetFocus(TMessage&) {
    TForm* form = GetParentForm();
    if (form && form != this) form->FocusChanged(this);
}

void TWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_PAINT:
        case WM_PRINTCLIENT:
            if (own_class_) return PaintHandler(message);
            break;
        case WM_ERASEBKGND:
            if (own_class_) {
                message.Result = 1;  // the paint covers everything
                return;
            }
            break;
        case WM_GETFONT:
            if (own_class_) {
                message.Result = reinterpret_cast<LRESULT>(font_.Handle());
                return;
            }
            break;
        case WM_SETFOCUS: WMSetFocus(message); break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            WORD key = static_cast<WORD>(message.WParam);
            if (DoKeyDown(key, KeyboardShiftState())) return;
            message.WParam = key;
            break;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            WORD key = static_cast<WORD>(message.WParam);
            if (OnKeyUp) OnKeyUp(this, key, KeyboardShiftState());
            if (key == 0) return;
            break;
        }
        case WM_CHAR: {
            char key = static_cast<char>(message.WParam);
            if (DoKeyPress(key)) return;
            message.WParam = static_cast<unsigned char>(key);
            break;
        }
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
        case WM_PARENTNOTIFY:
            if (ReflectToChild(message)) return;
            break;
        case WM_MOUSELEAVE:
            tracking_leave_ = false;
            if (mouse_control == this ||
                (mouse_control && mouse_control->parent_ == this && !mouse_control->IsWindowed()))
                SetMouseControl(nullptr);
            break;
        case WM_WINDOWPOSCHANGED: {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(message.LParam);
            if (!(pos->flags & SWP_NOMOVE)) {
                left_ = pos->x;
                top_ = pos->y;
            }
            if (!(pos->flags & SWP_NOSIZE)) {
                width_ = pos->cx;
                height_ = pos->cy;
            }
            break;
        }
        case CM_INVALIDATE:
            if (handle_) InvalidateRect(handle_, nullptr, own_class_ ? FALSE : TRUE);
            return;
        case CM_CTL3DCHANGED: return CMCtl3DChanged(message);
        case CM_RECREATEWND:
            DestroyWnd();
            CreateHandle();
            return;
        case CM_DIALOGKEY: return CMDialogKey(message);
        case CM_DIALOGCHAR: return CMDialogChar(message);
        case CN_CTLCOLOREDIT:
        case CN_CTLCOLORLISTBOX:
        case CN_CTLCOLORBTN:
        case CN_CTLCOLORSTATIC:
            message.Result = ControlColors(reinterpret_cast<HDC>(message.WParam));
            return;
        default:
            if (message.Msg >= CN_BASE && message.Msg < CN_BASE + 0x400)
                return;  // unhandled reflection
            break;
    }
    if (IsMouseMessage(message.Msg) && RouteMouseToGraphic(message)) return;
    TControl::WndProc(message);
}

void TWinControl::DefaultHandler(TMessage& message) {
    if (!handle_) {
        message.Result = 0;
        return;
    }
    message.Result =
        CallWindowProcA(default_proc_, handle_, message.Msg, message.WParam, message.LParam);
}

}  // namespace quillory::ui
