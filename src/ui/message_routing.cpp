// How messages reach the controls: the window procedure of every framework
// window, the windowed control's dispatch of its messages to one handler
// each, mouse routing to graphic children and reflection of notifications
// to the child control they concern.
#include <windowsx.h>

#include <set>
#include <unordered_map>
#include <string>
#include <utility>

#include "ui/application.h"
#include "ui/control.h"
#include "ui/control_internal.h"
#include "ui/forms.h"

namespace quillory::ui {

namespace {

std::unordered_map<HWND, TWinControl*>& WindowControls() {
    static std::unordered_map<HWND, TWinControl*> controls;
    return controls;
}

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

}  // namespace

TWinControl* control_internal::ControlOfWindow(HWND window) {
    const auto& controls = WindowControls();
    const auto found = controls.find(window);
    return found == controls.end() ? nullptr : found->second;
}

void control_internal::BindWindow(HWND window, TWinControl* control) {
    WindowControls()[window] = control;
}

void control_internal::UnbindWindow(HWND window, const TWinControl* control) {
    auto& controls = WindowControls();
    const auto found = controls.find(window);
    if (found != controls.end() && found->second == control) controls.erase(found);
}

TWinControl*& control_internal::CreatingControl() {
    thread_local TWinControl* creating = nullptr;
    return creating;
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
    auto* control = control_internal::ControlOfWindow(window);
    if (!control && control_internal::CreatingControl()) {
        control = std::exchange(control_internal::CreatingControl(), nullptr);
        control->handle_ = window;
        control_internal::BindWindow(window, control);
    }
    if (!control) return DefWindowProcA(window, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    try {
        control->WindowProc(message);
    } catch (...) {
        HandleCurrentException();
    }
    if (msg == WM_NCDESTROY) {
        control_internal::UnbindWindow(window, control);
        if (control->handle_ == window) control->handle_ = nullptr;
    }
    return message.Result;
}

void TWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_PAINT:
        case WM_PRINTCLIENT: return WMPaint(message);
        case WM_ERASEBKGND: return WMEraseBkgnd(message);
        case WM_GETFONT: return WMGetFont(message);
        case WM_SETFOCUS: return WMSetFocus(message);
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: return WMKeyDown(message);
        case WM_KEYUP:
        case WM_SYSKEYUP: return WMKeyUp(message);
        case WM_CHAR: return WMChar(message);
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
        case WM_PARENTNOTIFY: return WMReflected(message);
        case WM_MOUSELEAVE: return WMMouseLeave(message);
        case WM_WINDOWPOSCHANGED: return WMWindowPosChanged(message);
        case WM_SYSCOLORCHANGE: return WMSysColorChange(message);
        case CM_SYSCOLORCHANGE: return CMSysColorChange(message);
        case CM_INVALIDATE: return CMInvalidate(message);
        case CM_CTL3DCHANGED: return CMCtl3DChanged(message);
        case CM_RECREATEWND: return CMRecreateWnd(message);
        case CM_DIALOGKEY: return CMDialogKey(message);
        case CM_DIALOGCHAR: return CMDialogChar(message);
        case CN_CTLCOLOREDIT:
        case CN_CTLCOLORLISTBOX:
        case CN_CTLCOLORBTN:
        case CN_CTLCOLORSTATIC: return CNControlColor(message);
        default: break;
    }
    // A reflected notification nobody handles ends here, not in the window's
    // own procedure, which would not know it.
    if (message.Msg >= CN_BASE && message.Msg < CN_BASE + 0x400) return;
    Unhandled(message);
}

void TWinControl::Unhandled(TMessage& message) {
    if (IsMouseMessage(message.Msg) && RouteMouseToGraphic(message)) return;
    TControl::WndProc(message);
}

void TWinControl::WMPaint(TMessage& message) {
    if (own_class_) return PaintHandler(message);
    Unhandled(message);
}

void TWinControl::WMEraseBkgnd(TMessage& message) {
    if (!own_class_) return Unhandled(message);
    message.Result = 1;  // the paint covers everything
}

void TWinControl::WMGetFont(TMessage& message) {
    if (!own_class_) return Unhandled(message);
    message.Result = reinterpret_cast<LRESULT>(font_.Handle());
}

void TWinControl::WMSetFocus(TMessage& message) {
    TForm* form = GetParentForm();
    if (form && form != this) form->FocusChanged(this);
    Unhandled(message);
}

void TWinControl::WMKeyDown(TMessage& message) {
    WORD key = static_cast<WORD>(message.WParam);
    if (DoKeyDown(key, KeyboardShiftState())) return;
    message.WParam = key;
    Unhandled(message);
}

void TWinControl::WMKeyUp(TMessage& message) {
    WORD key = static_cast<WORD>(message.WParam);
    if (OnKeyUp) OnKeyUp(this, key, KeyboardShiftState());
    if (key == 0) return;
    Unhandled(message);
}

void TWinControl::WMChar(TMessage& message) {
    char key = static_cast<char>(message.WParam);
    if (DoKeyPress(key)) return;
    message.WParam = static_cast<unsigned char>(key);
    Unhandled(message);
}

void TWinControl::WMReflected(TMessage& message) {
    if (ReflectToChild(message)) return;
    Unhandled(message);
}

void TWinControl::WMMouseLeave(TMessage& message) {
    tracking_leave_ = false;
    TControl* hovered = control_internal::MouseControl();
    if (hovered == this || (hovered && hovered->parent_ == this && !hovered->IsWindowed()))
        control_internal::SetMouseControl(nullptr);
    Unhandled(message);
}

void TWinControl::WMWindowPosChanged(TMessage& message) {
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(message.LParam);
    if (!(pos->flags & SWP_NOMOVE)) {
        left_ = pos->x;
        top_ = pos->y;
    }
    if (!(pos->flags & SWP_NOSIZE)) {
        width_ = pos->cx;
        height_ = pos->cy;
    }
    Unhandled(message);
}

// Only top-level windows hear of a new colour scheme: each passes it on to
// every control inside as the framework's notification, so colours derived
// from system colours follow while the program runs.
void TWinControl::WMSysColorChange(TMessage& message) {
    if (!parent_) Perform(CM_SYSCOLORCHANGE);
    Unhandled(message);
}

void TWinControl::CMSysColorChange(TMessage& message) {
    NotifyControls(CM_SYSCOLORCHANGE);
    Invalidate();
    Unhandled(message);
}

void TWinControl::CMInvalidate(TMessage&) {
    if (handle_) InvalidateRect(handle_, nullptr, own_class_ ? FALSE : TRUE);
}

void TWinControl::CMRecreateWnd(TMessage&) {
    RecreateNow();
}

void TWinControl::CNControlColor(TMessage& message) {
    message.Result = ControlColors(reinterpret_cast<HDC>(message.WParam));
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
        control_internal::SetMouseControl(hover);
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

void TWinControl::DefaultHandler(TMessage& message) {
    if (!handle_) {
        message.Result = 0;
        return;
    }
    message.Result =
        CallWindowProcA(default_proc_, handle_, message.Msg, message.WParam, message.LParam);
}

}  // namespace quillory::ui
