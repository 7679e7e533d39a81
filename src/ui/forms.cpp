#include "ui/forms.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "core/geometry.h"
#include "ui/application.h"
#include "ui/dpi.h"
#include "ui/menus.h"

namespace quillory::ui {

namespace {

std::vector<TForm*>& ScreenList() {
    static std::vector<TForm*> forms;
    return forms;
}

TModalAnswerer& ModalAnswerer() {
    static TModalAnswerer answerer;
    return answerer;
}

void CollectControls(TWinControl* parent, std::vector<TControl*>& out) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* control = parent->Controls(i);
        out.push_back(control);
        if (control->IsWindowed()) CollectControls(static_cast<TWinControl*>(control), out);
    }
}

}  // namespace

TModalAnswerer SetModalAnswerer(TModalAnswerer answerer) {
    return std::exchange(ModalAnswerer(), std::move(answerer));
}

bool IsScreenForm(const TForm* form) {
    auto& list = ScreenList();
    return std::find(list.begin(), list.end(), form) != list.end();
}

int ScreenFormCount() {
    return static_cast<int>(ScreenList().size());
}
TForm* ScreenForms(int index) {
    return ScreenList()[index];
}

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    visible_ = false;
    left_ = 0;
    top_ = 0;
    width_ = 320;
    height_ = 240;
    // Laid out at the system's scale; the window, once it exists, may find
    // itself on a screen of another (CreateWnd).
    ChangeDpi(SystemDpi());
    ScreenList().push_back(this);
}

TForm::~TForm() {
    // The menu is freed by its owner, maybe among our own components: detach it first.
    if (menu_) menu_->SetWindowForm(nullptr);
    menu_ = nullptr;
    active_control_ = nullptr;
    if (HandleAllocated()) ::SetMenu(Handle(), nullptr);
    // The controls go next, while the form is still whole for their handlers.
    DestroyComponents();
    active_control_ = nullptr;
    auto& list = ScreenList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    DestroyWnd();
}

void TForm::AfterConstruction() {
    // The constructor has made the form's components and set them up: each
    // gets its load step now, in creation order, before the form is shown.
    LoadTree();
    TWinControl::AfterConstruction();
    DoCreate();
}

void TForm::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove) {
        if (component == active_control_) active_control_ = nullptr;
        if (component == menu_) {
            menu_ = nullptr;
            if (HandleAllocated()) ::SetMenu(Handle(), nullptr);
        }
    }
    TWinControl::Notification(component, operation);
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
    if (style == border_style_) return;
    border_style_ = style;
    RecreateWnd();
}

void TForm::SetFormStyle(TFormStyle style) {
    if (style == form_style_) return;
    form_style_ = style;
    if (HandleAllocated())
        SetWindowPos(Handle(), style == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0,
                     0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::SetMenu(TMainMenu* menu) {
    if (menu == menu_) return;
    if (menu_) menu_->SetWindowForm(nullptr);
    menu_ = menu;
    if (menu_) {
        menu_->SetWindowForm(this);
        FreeNotification(menu_);
    }
    MenuChanged();
}

void TForm::MenuChanged() {
    if (!HandleAllocated()) return;
    const int width = ClientWidth();
    const int height = ClientHeight();
    ::SetMenu(Handle(), menu_ ? menu_->Handle() : nullptr);
    DrawMenuBar(Handle());
    // A menu bar takes its height from the client area; give it back.
    if (client_width_ >= 0) SetClientSize(width, height);
}

void TForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    params.ExStyle = WS_EX_CONTROLPARENT;
    switch (border_style_) {
        case TFormBorderStyle::bsNone: params.Style |= WS_POPUP; break;
        case TFormBorderStyle::bsSingle:
            params.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
            break;
        case TFormBorderStyle::bsSizeable: params.Style |= WS_OVERLAPPEDWINDOW; break;
        case TFormBorderStyle::bsDialog:
            params.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
            params.ExStyle |= WS_EX_DLGMODALFRAME;
            break;
        case TFormBorderStyle::bsToolWindow:
            params.Style |= WS_CAPTION | WS_SYSMENU;
            params.ExStyle |= WS_EX_TOOLWINDOW;
            break;
        case TFormBorderStyle::bsSizeToolWin:
            params.Style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
            params.ExStyle |= WS_EX_TOOLWINDOW;
            break;
    }
    if (!enabled_) params.Style |= WS_DISABLED;
    if (form_style_ == TFormStyle::fsStayOnTop) params.ExStyle |= WS_EX_TOPMOST;
    params.ParentWindow = Application ? Application->Handle() : nullptr;
    // Given at creation, the bar is measured with the first frame; set after
    // it, it would make the system lay the frame out a second time.
    if (menu_) params.Menu = menu_->Handle();
    if (client_width_ >= 0) {
        RECT frame{0, 0, client_width_, client_height_};
        AdjustWindowRectEx(&frame, params.Style, menu_ != nullptr, params.ExStyle);
        params.Width = RectWidth(frame);
        params.Height = RectHeight(frame);
    }
}

void TForm::CreateWnd() {
    // A window centred on the screen is made in its place: moved there when
    // it is first shown, it would be laid out a second time just before it
    // appears. Showing it still places it (a frame that grew is centred anew).
    if (!position_applied_ && position_ == TPosition::poScreenCenter) {
        left_ = (GetSystemMetrics(SM_CXSCREEN) - width_) / 2;
        top_ = (GetSystemMetrics(SM_CYSCREEN) - height_) / 2;
    }
    TWinControl::CreateWnd();
    if (taskbar_button_) CarryTaskbarButton();
    // The bar was measured with the first frame, at the scale the form was
    // laid out at: the system's, which need not be its screen's.
    if (const int shownAt = WindowDpi(Handle()); shownAt != Dpi()) TakeScale(shownAt);
    FitClientSize();
}

void TForm::WMDpiChanged(TMessage& message) {
    const int dpi = LOWORD(message.WParam);
    if (const auto* suggested = reinterpret_cast<const RECT*>(message.LParam))
        SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, RectWidth(*suggested),
                     RectHeight(*suggested), SWP_NOZORDER | SWP_NOACTIVATE);
    TakeScale(dpi);
    FitClientSize();
    message.Result = 0;
}

void TForm::TakeScale(int dpi) {
    ChangeDpi(dpi);
    // The menus' owner-drawn items, measured at the old scale, are measured
    // again, and the bar laid out anew with them before the frame is fitted
    // around it.
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* menu = dynamic_cast<TMenu*>(Components(i))) menu->Remeasure();
    if (menu_) DrawMenuBar(Handle());
}

void TForm::CreateHandleDone() {
    if (form_style_ == TFormStyle::fsStayOnTop)
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

int TForm::ClientWidth() const {
    if (HandleAllocated()) return ClientRect().right;
    return client_width_ >= 0 ? client_width_ : width_;
}

int TForm::ClientHeight() const {
    if (HandleAllocated()) return ClientRect().bottom;
    return client_height_ >= 0 ? client_height_ : height_;
}

void TForm::SetClientSize(int width, int height) {
    client_width_ = width;
    client_height_ = height;
    if (HandleAllocated()) {
        FitClientSize();
    } else {
        TCreateParams params;
        CreateParams(params);
        width_ = params.Width;
        height_ = params.Height;
    }
}

void TForm::FitClientSize() {
    if (!HandleAllocated() || client_width_ < 0) return;
    // Measured, not computed: a menu bar may wrap, a frame may differ.
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT window, client;
        GetWindowRect(Handle(), &window);
        GetClientRect(Handle(), &client);
        const int dx = client_width_ - client.right;
        const int dy = client_height_ - client.bottom;
        if (dx == 0 && dy == 0) return;
        SetWindowPos(Handle(), nullptr, 0, 0, RectWidth(window) + dx, RectHeight(window) + dy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

RECT TForm::WindowRect() {
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    return rect;
}

void TForm::CentreOver(TForm& window, bool keepOnScreen) {
    const RECT over = window.WindowRect();
    const RECT own = WindowRect();
    Point at = CentredOver(Rect{over.left, over.top, over.right, over.bottom},
                           Size{RectWidth(own), RectHeight(own)});
    if (keepOnScreen) at = Point{std::max(0, at.X), std::max(0, at.Y)};
    SetBounds(at.X, at.Y, RectWidth(own), RectHeight(own));
}

void TForm::ApplyPosition() {
    position_applied_ = true;
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    TForm* over = nullptr;
    if (position_ == TPosition::poMainFormCenter && Application) over = Application->MainForm();
    if (position_ == TPosition::poOwnerFormCenter) over = dynamic_cast<TForm*>(Owner());
    if (over == this || (over && !over->HandleAllocated())) over = nullptr;
    if (over) GetWindowRect(over->Handle(), &area);
    if (position_ == TPosition::poDesigned) return;
    SetBounds(area.left + (RectWidth(area) - width_) / 2,
              area.top + (RectHeight(area) - height_) / 2, width_, height_);
}

void TForm::SetVisible(bool visible) {
    if (visible == visible_ && (!visible || HandleAllocated())) return;
    visible_ = visible;
    if (visible) {
        HandleNeeded();
        if (Application && Application->Handle())
            SendMessageA(Application->Handle(), CM_SHOWINGCHANGED, 1,
                         reinterpret_cast<LPARAM>(this));
        if (!position_applied_) ApplyPosition();
        ShowWindow(Handle(), SW_SHOW);
        if (active_control_ && active_control_->CanFocus()) active_control_->SetFocus();
        DoShow();
    } else {
        if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
        DoHide();
    }
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
}

TModalResult TForm::ShowModal() {
    if (visible_ || modal_) return mrCancel;  // already on screen: cannot be made modal
    if (GetCapture()) ReleaseCapture();
    modal_ = true;
    modal_result_ = mrNone;
    HWND previousActive = GetActiveWindow();
    // Every other window of the program, the application window included,
    // waits while this one is open.
    std::optional<ApplicationModalScope> others(std::in_place,
                                                HandleAllocated() ? Handle() : nullptr);
    Show();
    if (ModalAnswerer()) ModalAnswerer()(*this);
    while (modal_result_ == mrNone) {
        if (!Application) {
            modal_result_ = mrCancel;
            break;
        }
        Application->HandleMessage();
        if (Application->Terminated()) modal_result_ = mrCancel;
    }
    others.reset();  // enabled again before this one goes, so one of them is activated
    Hide();
    if (previousActive && IsWindow(previousActive)) SetActiveWindow(previousActive);
    modal_ = false;
    return modal_result_;
}

void TForm::Close() {
    if (modal_) {
        modal_result_ = mrCancel;
        return;
    }
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    if (!canClose) return;
    TCloseAction action = TCloseAction::caHide;
    if (OnClose) OnClose(this, action);
    if (action == TCloseAction::caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    if (action == TCloseAction::caFree) {
        Release();
    } else if (action == TCloseAction::caMinimize) {
        if (HandleAllocated()) ShowWindow(Handle(), SW_MINIMIZE);
    } else {
        Hide();
    }
}

void TForm::PassActivationTo(TForm& window) {
    // Only the active form hands it on: one closed while the player works in
    // another program must not pull him back.
    if (!HandleAllocated() || !window.HandleAllocated() || GetActiveWindow() != Handle()) return;
    if (IsWindowVisible(window.Handle()) && IsWindowEnabled(window.Handle()))
        SetActiveWindow(window.Handle());
}

void TForm::Release() {
    // The application window frees it, after the handler that asked has returned.
    if (Application && Application->Handle())
        PostMessageA(Application->Handle(), CM_RELEASE, 0, reinterpret_cast<LPARAM>(this));
}

// Then the button's thumbnail, Alt+Tab's preview and the task bar's window
// menu show and act on this window, not on the hidden application window.
void TForm::CarryTaskbarButton() {
    taskbar_button_ = true;
    if (!HandleAllocated() || !Application) return;
    const LONG_PTR exStyle = GetWindowLongPtrA(Handle(), GWL_EXSTYLE);
    SetWindowLongPtrA(Handle(), GWL_EXSTYLE, exStyle | WS_EX_APPWINDOW);
    // The task bar minimises only a window that says it can be; a tool
    // window's caption shows no minimise box all the same.
    const LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE);
    SetWindowLongPtrA(Handle(), GWL_STYLE, style | WS_MINIMIZEBOX);
    // The icons the application window's class has (the system makes the
    // small one when the resource has none of that size).
    HWND application = Application->Handle();
    for (auto [size, icon] : {std::pair{ICON_BIG, GCLP_HICON}, {ICON_SMALL, GCLP_HICONSM}})
        SendMessageA(Handle(), WM_SETICON, size,
                     static_cast<LPARAM>(GetClassLongPtrA(application, icon)));
}

bool TForm::IsMainForm() const {
    return Application && Application->MainForm() == this;
}

namespace {

struct OpenOverMainSearch {
    HWND Main;
    HWND ApplicationWindow;
    std::vector<HWND>* Found;
};

BOOL CALLBACK CollectOpenOverMain(HWND window, LPARAM data) {
    const auto& search = *reinterpret_cast<OpenOverMainSearch*>(data);
    if (window != search.Main && IsWindowVisible(window) &&
        GetWindow(window, GW_OWNER) == search.ApplicationWindow)
        search.Found->push_back(window);
    return TRUE;
}

}  // namespace

// The system hides a window's owned windows while it is minimised; the forms
// and boxes open over the main form are the application window's, so the
// main form does it for them.
void TForm::MainFormSized(WPARAM how) {
    if (how == SIZE_MINIMIZED && hidden_with_main_.empty()) {
        OpenOverMainSearch search{Handle(), Application->Handle(), &hidden_with_main_};
        EnumThreadWindows(GetCurrentThreadId(), CollectOpenOverMain,
                          reinterpret_cast<LPARAM>(&search));
        for (HWND window : hidden_with_main_) ShowWindow(window, SW_HIDE);
    } else if (how == SIZE_RESTORED || how == SIZE_MAXIMIZED) {
        // Found from the top of the order on screen down, put back from the
        // bottom up: each over the restored main form, in its old order.
        const std::vector<HWND> hidden = std::exchange(hidden_with_main_, {});
        for (auto it = hidden.rbegin(); it != hidden.rend(); ++it) {
            if (IsWindow(*it))
                SetWindowPos(*it, HWND_TOP, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        }
    }
}

void TForm::SetActiveControl(TWinControl* control) {
    if (control == this) control = nullptr;
    if (control && control->GetParentForm() != this) return;
    active_control_ = control;
    if (control && HandleAllocated() && visible_ && control->CanFocus()) control->SetFocus();
}

void TForm::FocusChanged(TWinControl* control) {
    if (control == active_control_) return;
    TWinControl* previous = active_control_;
    active_control_ = control;
    if (previous) {
        previous->Perform(CM_EXIT);
        if (previous->OnExit) previous->OnExit(previous);
    }
    if (control) {
        control->Perform(CM_ENTER);
        if (control->OnEnter) control->OnEnter(control);
    }
    TMessage message{CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control), 0};
    BroadcastAll(message);
}

void TForm::BroadcastAll(TMessage& message) {
    std::vector<TControl*> controls;
    CollectControls(this, controls);
    for (TControl* control : controls) {
        message.Result = 0;
        control->WindowProc(message);
    }
}

void TForm::SelectNext(bool forward) {
    if (!HandleAllocated()) return;
    HWND current = GetFocus();
    if (current && !IsChild(Handle(), current)) current = nullptr;
    HWND next = GetNextDlgTabItem(Handle(), current, forward ? FALSE : TRUE);
    if (next) ::SetFocus(next);
}

bool TForm::IsShortCut(WORD key, TShiftState shift) {
    return menu_ && menu_->IsShortCut(ShortCut(key, shift));
}

bool TForm::DoKeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
    return key == 0;
}

bool TForm::DoKeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(this, key);
    return key == 0;
}

void TForm::CMDialogKey(TMessage& message) {
    const WORD key = static_cast<WORD>(message.WParam);
    if (key == VK_TAB) {
        SelectNext(GetKeyState(VK_SHIFT) >= 0);
        message.Result = 1;
        return;
    }
    if (key == VK_RETURN || key == VK_ESCAPE) {
        std::vector<TControl*> controls;
        CollectControls(this, controls);
        for (TControl* control : controls) {
            if (!control->IsWindowed() || !control->Enabled() || !control->Showing()) continue;
            const LRESULT handled = control->Perform(CM_DIALOGKEY, message.WParam, message.LParam);
            if (handled) {
                message.Result = 1;
                return;
            }
        }
    }
}

void TForm::WMActivate(TMessage& message) {
    if (LOWORD(message.WParam) != WA_INACTIVE) {
        if (OnActivate) OnActivate(this);
        if (active_control_ && active_control_->CanFocus() && IsWindowEnabled(Handle())) {
            active_control_->SetFocus();
            message.Result = 0;
            return;
        }
    } else if (OnDeactivate) {
        OnDeactivate(this);
    }
    DefaultHandler(message);
}

void TForm::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_CLOSE: Close(); return;
        case WM_ACTIVATE: return WMActivate(message);
        case WM_DPICHANGED: return WMDpiChanged(message);
        case WM_SIZE:
            if (IsMainForm()) MainFormSized(message.WParam);
            break;
        case WM_COMMAND:
        case WM_MEASUREITEM:
        case WM_DRAWITEM:
        case WM_MENUCHAR:
            if (DispatchMenuMessage(message)) return;
            break;
        case WM_DESTROY:
            ::SetMenu(Handle(), nullptr);  // the menu belongs to its component, not to the window
            break;
        default: break;
    }
    TWinControl::WndProc(message);
}

}  // namespace quillory::ui
