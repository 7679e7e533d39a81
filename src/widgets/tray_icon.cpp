#include "widgets/tray_icon.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "ui/forms.h"
#include "ui/system_library.h"
#include "widgets/screen_controls.h"

namespace quillory::widgets {

namespace {

constexpr char kTrayWindowClass[] = "TTrayIconWindow";
constexpr LRESULT kEndSessionMayProceed = 1;

TShellNotifyIcon& ShellNotifyIcon() {
    static TShellNotifyIcon handler;
    return handler;
}

// Sent to every top-level window when the notification area is created anew,
// after the shell restarts: the icons it showed are gone then.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

// The shell's own entry point. shell32 brings a dozen libraries with it that
// nothing else here needs, so it is loaded when the first icon goes to the
// notification area, not with the program.
BOOL SystemShellNotifyIcon(DWORD message, NOTIFYICONDATAA& data) {
    using Function = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);
    static const Function function =
        ui::SystemLibraryFunction<Function>("shell32.dll", "Shell_NotifyIconA");
    return function ? function(message, &data) : FALSE;
}

ui::TWinControl* AsWindow(ui::TComponent* component) {
    return dynamic_cast<ui::TWinControl*>(component);
}

}  // namespace

TShellNotifyIcon SetShellNotifyIcon(TShellNotifyIcon handler) {
    return std::exchange(ShellNotifyIcon(), std::move(handler));
}

// The owner's message handler while the component watches it. The state
// outlives the component: if someone chained onto the owner's handler after
// us, our link stays in their chain and just passes messages on.
struct TTrayIcon::OwnerHookState {
    TTrayIcon* Tray = nullptr;
    ui::TWndMethod Saved;
};

struct TTrayIcon::OwnerProcHook {
    std::shared_ptr<OwnerHookState> State;
    void operator()(ui::TMessage& message) const {
        if (State->Tray) State->Tray->OwnerWindowMessage(message);
        if (State->Saved) State->Saved(message);
    }
};

TTrayIcon::TTrayIcon(ui::TComponent* owner, bool designing)
    : ui::TComponent(owner), designing_(designing) {
    icon_data_.cbSize = kTrayIconDataSize;
    icon_data_.uID = kTrayIconId;
    icon_data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon_data_.uCallbackMessage = TrayCallbackMessage;
    // The hidden window waits for the first call that reaches the shell: a
    // program that never shows its icon never pays for it.

    cycle_timer_ = new ui::TTimer(this);
    cycle_timer_->SetEnabled(false);
    cycle_timer_->SetInterval(cycle_interval_);
    cycle_timer_->OnTimer = [this](ui::TComponent*) { CycleTimerTick(); };

    if (!designing_) {
        HookApplicationWindow();
        HookOwnerWindow();
    }
}

HWND TTrayIcon::MessageWindow() {
    if (message_window_) return message_window_;
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = TrayMessageProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kTrayWindowClass;
        return RegisterClassExA(&wc) != 0;
    }();
    (void)registered;
    (void)TaskbarCreatedMessage();
    // A hidden top-level window, not a message-only one: only top-level
    // windows hear the shell's TaskbarCreated broadcast.
    message_window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kTrayWindowClass, "", WS_POPUP, 0, 0, 0, 0,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (message_window_)
        SetWindowLongPtrA(message_window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return message_window_;
}

TTrayIcon::~TTrayIcon() {
    SetIconVisible(false);
    icon_.TakeHandle(nullptr);
    if (message_window_) {
        SetWindowLongPtrA(message_window_, GWLP_USERDATA, 0);
        DestroyWindow(message_window_);
        message_window_ = nullptr;
    }
    delete cycle_timer_;
    cycle_timer_ = nullptr;
    if (!designing_) {
        UnhookApplicationWindow();
        UnhookOwnerWindow();
    }
}

// ---------------------------------------------------------------- properties

void TTrayIcon::SetDesignPreview(bool value) {
    design_preview_ = value;
    design_toggle_ = true;
    SetIconVisible(value);
    design_toggle_ = false;
}

void TTrayIcon::SetIconList(ui::TImageList* list) {
    if (icon_list_ && icon_list_ != list) RemoveFreeNotification(icon_list_);
    icon_list_ = list;
    if (list) FreeNotification(list);
    SetIconIndex(0);
}

void TTrayIcon::SetCycleIcons(bool value) {
    cycle_icons_ = value;
    if (value) SetIconIndex(0);
    cycle_timer_->SetEnabled(value);
}

void TTrayIcon::SetCycleInterval(UINT milliseconds) {
    cycle_interval_ = milliseconds;
    cycle_timer_->SetInterval(milliseconds);
}

void TTrayIcon::SetHint(const std::string& hint) {
    hint_ = hint;
    UpdateTrayIcon();
}

void TTrayIcon::SetShowHint(bool value) {
    show_hint_ = value;
    UpdateTrayIcon();
}

void TTrayIcon::SetIcon(const ui::TIcon& icon) {
    icon_.Assign(icon);
    UpdateTrayIcon();
}

void TTrayIcon::SetIconVisible(bool value) {
    if (value) {
        ShowTrayIcon();
    } else {
        HideTrayIcon();
    }
}

void TTrayIcon::SetIconIndex(int value) {
    if (!icon_list_) {
        icon_index_ = 0;
    } else {
        icon_index_ = std::min(value, icon_list_->Count() - 1);
        LoadListImage();
    }
    UpdateTrayIcon();
}

void TTrayIcon::LoadListImage() {
    if (icon_list_) icon_list_->GetIcon(icon_index_, icon_);
}

void TTrayIcon::SetPopupMenu(ui::TPopupMenu* menu) {
    if (popup_menu_ && popup_menu_ != menu) RemoveFreeNotification(popup_menu_);
    popup_menu_ = menu;
    if (menu) FreeNotification(menu);
}

void TTrayIcon::Notification(ui::TComponent* component, ui::TOperation operation) {
    ui::TComponent::Notification(component, operation);
    if (operation != ui::TOperation::opRemove) return;
    if (component == icon_list_) {
        icon_list_ = nullptr;
        SetIconList(nullptr);
    }
    if (component == popup_menu_) popup_menu_ = nullptr;
}

void TTrayIcon::Loaded() {
    if (start_minimized_ && !designing_ && ui::Application) {
        ui::Application->ShowMainForm = false;
        if (ui::Application->Handle()) ShowWindow(ui::Application->Handle(), SW_HIDE);
    }
    UpdateTrayIcon();
    SetIconVisible(icon_visible_);
}

// ---------------------------------------------------------------- the shell

bool TTrayIcon::FillIconData() {
    if (designing_ && !design_toggle_ && !design_preview_) return false;
    icon_data_.hWnd = MessageWindow();
    icon_data_.hIcon = icon_.Handle();
    std::memset(icon_data_.szTip, 0, sizeof(icon_data_.szTip));
    if (!hint_.empty() && show_hint_) {
        const std::size_t length = std::min(hint_.size(), kTrayTipLength);
        std::memcpy(icon_data_.szTip, hint_.data(), length);
    }
    return true;
}

bool TTrayIcon::CallShell(DWORD message, NOTIFYICONDATAA& data) {
    if (ShellNotifyIcon()) return ShellNotifyIcon()(message, data) != FALSE;
    return SystemShellNotifyIcon(message, data) != FALSE;
}

bool TTrayIcon::ShowTrayIcon() {
    if (!design_toggle_) icon_visible_ = true;
    if (designing_ && !design_toggle_) return false;
    if (!FillIconData()) return false;
    // Even a refused add may have reached a busy shell: from now on the icon
    // counts as there until it is deleted.
    icon_maybe_shown_ = true;
    if (!CallShell(NIM_ADD, icon_data_)) return false;
    // A shell too old for the version keeps reporting keys as a right click;
    // the icon is there all the same.
    NOTIFYICONDATAA versioned = icon_data_;
    versioned.cbSize = kTrayVersionDataSize;
    versioned.uVersion = kTrayIconVersion;
    CallShell(NIM_SETVERSION, versioned);
    return true;
}

bool TTrayIcon::HideTrayIcon() {
    if (!design_toggle_) icon_visible_ = false;
    if (designing_ && !design_toggle_) return false;
    // An icon that was never added (or is deleted already) is not in the
    // shell: deleting it would only be refused.
    if (!icon_maybe_shown_ || !FillIconData()) return false;
    icon_maybe_shown_ = false;
    return CallShell(NIM_DELETE, icon_data_);
}

bool TTrayIcon::UpdateTrayIcon() {
    // A change to an icon that is not in the shell would only be refused; the
    // next add carries the new picture and tip anyway.
    return icon_maybe_shown_ && FillIconData() && CallShell(NIM_MODIFY, icon_data_);
}

void TTrayIcon::HideMainWindow() {
    if (!ui::Application) return;
    if (ui::TForm* main = ui::Application->MainForm()) main->Hide();
    if (ui::Application->Handle()) ShowWindow(ui::Application->Handle(), SW_HIDE);
}

void TTrayIcon::DoSendToTray() {
    HideMainWindow();
    SetIconVisible(true);
}

// ---------------------------------------------------------------- cycling

void TTrayIcon::DoCycle() {
    if (!OnCycle) return;
    const int count = icon_list_ ? icon_list_->Count() : 0;
    OnCycle(this, icon_index_ < count - 1 ? icon_index_ + 1 : 0);
}

void TTrayIcon::CycleTimerTick() {
    if (!icon_list_) return;
    LoadListImage();
    DoCycle();
    UpdateTrayIcon();
    if (!icon_list_) return;  // the handler may have taken the list away
    if (icon_index_ < icon_list_->Count() - 1) {
        SetIconIndex(icon_index_ + 1);
    } else {
        SetIconIndex(0);
    }
}

// ---------------------------------------------------------------- the icon's messages

LRESULT CALLBACK TTrayIcon::TrayMessageProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* tray = reinterpret_cast<TTrayIcon*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!tray) return DefWindowProcA(window, msg, wParam, lParam);
    try {
        return tray->TrayMessage(msg, wParam, lParam);
    } catch (...) {
        ui::HandleCurrentException();
        return 0;
    }
}

LRESULT TTrayIcon::TrayMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == TrayCallbackMessage) {
        if (enabled_) IconMouseMessage(static_cast<UINT>(lParam));
        return 0;
    }
    if (msg == WM_QUERYENDSESSION) return kEndSessionMayProceed;
    if (msg == TaskbarCreatedMessage()) {
        // A restarted shell has forgotten our icon; a player in boss mode
        // would otherwise lose the hidden game for good. If the new shell
        // will not take it either, the owner must hear of it.
        icon_maybe_shown_ = false;
        if (icon_visible_ && !ShowTrayIcon()) DoIconLost();
        return 0;
    }
    return DefWindowProcA(message_window_, msg, wParam, lParam);
}

void TTrayIcon::IconMouseMessage(UINT mouseMessage) {
    const ui::TShiftState shift = ui::KeyboardShiftState();
    POINT at{};
    GetCursorPos(&at);
    const bool afterLeftRelease = std::exchange(after_left_release_, false);
    switch (mouseMessage) {
        // Enter or Space on the icon: what a click does. After a click the
        // shell sends NIN_SELECT as well, which must not click twice; alone,
        // it is Enter on an icon the mouse rests on.
        case NIN_KEYSELECT: DoClick(); break;
        case NIN_SELECT:
            if (!afterLeftRelease) DoClick();
            break;
        case WM_MOUSEMOVE:
            after_left_release_ = afterLeftRelease;  // a move is no new report
            DoMouseMove(shift, at.x, at.y);
            break;
        case WM_LBUTTONDOWN:
            DoMouseDown(ui::TMouseButton::mbLeft, shift | ui::ssLeft, at.x, at.y);
            click_pending_ = true;
            if (left_popup_) PopupMenuAtCursor();
            break;
        case WM_LBUTTONUP:
            // A click is a press and a release on the icon.
            if (click_pending_) {
                click_pending_ = false;
                DoClick();
            }
            DoMouseUp(ui::TMouseButton::mbLeft, shift | ui::ssLeft, at.x, at.y);
            after_left_release_ = true;
            break;
        case WM_LBUTTONDBLCLK:
            DoDblClick();
            ClickDefaultItem();
            break;
        case WM_RBUTTONDOWN:
            DoMouseDown(ui::TMouseButton::mbRight, shift | ui::ssRight, at.x, at.y);
            PopupMenuAtCursor();
            break;
        case WM_RBUTTONUP:
            DoMouseUp(ui::TMouseButton::mbRight, shift | ui::ssRight, at.x, at.y);
            break;
        case WM_MBUTTONDOWN:
            DoMouseDown(ui::TMouseButton::mbMiddle, shift | ui::ssMiddle, at.x, at.y);
            break;
        case WM_MBUTTONUP:
            DoMouseUp(ui::TMouseButton::mbMiddle, shift | ui::ssMiddle, at.x, at.y);
            break;
        default: break;
    }
}

void TTrayIcon::PopupMenuAtCursor() {
    POINT at{};
    if (!popup_menu_ || !GetCursorPos(&at)) return;
    if (ui::Application) ui::Application->ProcessMessages();
    if (!popup_menu_) return;  // freed meanwhile
    if (ui::TWinControl* active = ScreenActiveControl()) {
        ui::TWinControl* form = AsWindow(active->Owner());
        if (form && form->HandleAllocated()) SetForegroundWindow(form->Handle());
    }
    popup_menu_->Popup(at.x, at.y);
    // Lets the menu close properly the next time it opens.
    ui::TWinControl* owner = AsWindow(Owner());
    if (owner && owner->HandleAllocated()) PostMessageA(owner->Handle(), WM_NULL, 0, 0);
}

void TTrayIcon::ClickDefaultItem() {
    if (!popup_menu_ || left_popup_) return;
    ui::TMenuItem* items = popup_menu_->Items();
    ui::TMenuItem* chosen = nullptr;
    for (int i = items->Count() - 1; i >= 0; --i) {
        if (items->Items(i)->Default()) chosen = items->Items(i);
    }
    if (chosen) chosen->Click();
}

// ---------------------------------------------------------------- hooks

void TTrayIcon::HookApplicationWindow() {
    if (!ui::Application) return;
    hooked_application_ = ui::Application;
    application_hook_id_ = hooked_application_->HookMainWindow(
        [this](ui::TMessage& message) { return ApplicationWindowMessage(message); });
}

void TTrayIcon::UnhookApplicationWindow() {
    // Only while that application object still exists.
    if (hooked_application_ && hooked_application_ == ui::Application)
        hooked_application_->UnhookMainWindow(application_hook_id_);
    hooked_application_ = nullptr;
    application_hook_id_ = 0;
}

bool TTrayIcon::ApplicationWindowMessage(ui::TMessage& message) {
    if (message.Msg == WM_SIZE && message.WParam == SIZE_MINIMIZED && minimize_to_tray_)
        DoSendToTray();
    return false;  // the application window handles it as usual
}

void TTrayIcon::HookOwnerWindow() {
    ui::TWinControl* owner = AsWindow(Owner());
    if (!owner) return;
    // A window that exists may have been on screen already.
    owner_shown_ = owner->HandleAllocated();
    owner_hook_ = std::make_shared<OwnerHookState>();
    owner_hook_->Tray = this;
    owner_hook_->Saved = owner->WindowProc;
    owner->WindowProc = OwnerProcHook{owner_hook_};
}

void TTrayIcon::UnhookOwnerWindow() {
    if (!owner_hook_) return;
    owner_hook_->Tray = nullptr;
    // Put the saved handler back only if nobody chained onto ours since; no
    // window is needed for that, so a destroyed one is not created anew.
    ui::TWinControl* owner = AsWindow(Owner());
    if (owner) {
        const auto* current = owner->WindowProc.target<OwnerProcHook>();
        if (current && current->State == owner_hook_) owner->WindowProc = owner_hook_->Saved;
    }
    owner_hook_.reset();
}

void TTrayIcon::OwnerWindowMessage(ui::TMessage& message) {
    ui::TWinControl* owner = AsWindow(Owner());
    if (!owner) return;
    switch (message.Msg) {
        case WM_SHOWWINDOW:
            // Shown by a direct call (not along with a parent): the player
            // wants the program back (the task-bar button is the main form's
            // and comes with it). Its first showing is the program's start,
            // unless that began in the tray: nothing
            // was sent away then, and the owner is activated by being shown;
            // bringing it forward here would activate it before it reaches
            // the screen (and a process's first activation is slow: the input
            // method is set up then).
            if (message.WParam == TRUE && message.LParam == 0) {
                const bool firstShowing = !owner_shown_;
                owner_shown_ = true;
                if (firstShowing && ui::Application && ui::Application->ShowMainForm) break;
                // Once it is on screen: a hidden window is not made the foreground.
                bring_forward_ = true;
            }
            break;
        case WM_WINDOWPOSCHANGED:
            if (bring_forward_ && owner->HandleAllocated() && IsWindowVisible(owner->Handle())) {
                bring_forward_ = false;
                SetForegroundWindow(owner->Handle());
            }
            if (ui::TWinControl* active = ScreenActiveControl()) {
                if (active->HandleAllocated()) ::SetFocus(active->Handle());
            }
            break;
        default: break;
    }
}

}  // namespace quillory::widgets
