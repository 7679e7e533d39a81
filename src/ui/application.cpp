#include "ui/application.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>

#include "ui/forms.h"
#include "ui/menus.h"

namespace quillory::ui {

TApplication* Application = nullptr;

namespace {

constexpr char kApplicationClass[] = "TApplication";

TMessageBoxAnswerer& MessageBoxAnswerer() {
    static TMessageBoxAnswerer answerer;
    return answerer;
}

}  // namespace

TMessageBoxAnswerer SetMessageBoxAnswerer(TMessageBoxAnswerer answerer) {
    return std::exchange(MessageBoxAnswerer(), std::move(answerer));
}

void HandleCurrentException() {
    if (Application) {
        Application->HandleException();
    } else {
        try {
            throw;
        } catch (const std::exception& e) {
            OutputDebugStringA(e.what());
        } catch (...) {
        }
    }
}

namespace {

struct HeldWindowSearch {
    HWND Modal;
    HWND ApplicationWindow;
    std::vector<HWND>* Found;
};

// Hidden windows are left alone (the tray's message window, say): the player
// cannot reach them. The application window, hidden too, is taken in any
// case, as the system's own boxes take their owner.
BOOL CALLBACK CollectWindowToHold(HWND window, LPARAM data) {
    const auto& search = *reinterpret_cast<HeldWindowSearch*>(data);
    if (window == search.Modal || !IsWindowEnabled(window)) return TRUE;
    if (IsWindowVisible(window) || window == search.ApplicationWindow)
        search.Found->push_back(window);
    return TRUE;
}

}  // namespace

ApplicationModalScope::ApplicationModalScope(HWND modal) {
    HeldWindowSearch search{modal, Application ? Application->Handle() : nullptr, &disabled_};
    EnumThreadWindows(GetCurrentThreadId(), CollectWindowToHold, reinterpret_cast<LPARAM>(&search));
    for (HWND window : disabled_) EnableWindow(window, FALSE);
}

ApplicationModalScope::~ApplicationModalScope() {
    for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it) {
        if (IsWindow(*it)) EnableWindow(*it, TRUE);
    }
}

TApplication::TApplication() : TComponent(nullptr) {
    if (!Application) Application = this;
}

TApplication::~TApplication() {
    DestroyComponents();  // the forms, while the application window still owns them
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
    if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {
    // The colour arithmetic resolves system colours with the desktop's scheme.
    SetSysColorLookup([](int index) -> Color { return GetSysColor(index); });
    if (window_) return;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_COOL_CLASSES |
                                                        ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = AppWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = LoadIconA(wc.hInstance, MAKEINTRESOURCEA(1));
    // The small icon straight from the resource's own small picture: left
    // out, the class would make it by copying and scaling the large one, a
    // few milliseconds of every start.
    if (wc.hIcon)
        wc.hIconSm = static_cast<HICON>(LoadImageA(wc.hInstance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    else
        wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kApplicationClass;
    RegisterClassExA(&wc);
    // Zero-sized and never shown: it owns the forms. The task-bar button is
    // the main form's, so that its thumbnail and Alt+Tab's preview show it.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    window_ = CreateWindowExA(0, kApplicationClass, title_.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              x, y, 0, 0, nullptr, nullptr, wc.hInstance, this);
}

void TApplication::SetTitle(const std::string& title) {
    title_ = title;
    if (window_) SetWindowTextA(window_, title.c_str());
}

void TApplication::SetMainForm(TForm* form) {
    main_form_ = form;
    form->CarryTaskbarButton();
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component == main_form_) main_form_ = nullptr;
    TComponent::Notification(component, operation);
}

void TApplication::Run() {
    if (main_form_ && ShowMainForm) main_form_->Show();
    while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
    if (!terminated_) PostQuitMessage(0);
    terminated_ = true;
}

bool TApplication::ProcessMessage() {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    if (!IsPreProcessMessage(msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

void TApplication::ProcessMessages() {
    while (ProcessMessage()) {
        if (terminated_) break;
    }
}

void TApplication::HandleMessage() {
    if (!ProcessMessage() && !terminated_) WaitMessage();
}

void WaitPaintingOnly(std::chrono::milliseconds duration) {
    const DWORD start = GetTickCount();
    const auto total = static_cast<DWORD>(duration.count());
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
        }
        // Time-bound, so that a window that never validates cannot hold the wait.
        while (GetTickCount() - start < total &&
               PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            DispatchMessageA(&msg);
        const DWORD passed = GetTickCount() - start;
        if (passed >= total) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, total - passed,
                                  QS_PAINT | QS_INPUT | QS_SENDMESSAGE);
    }
}

// Keys a form handles before its focused control sees them: menu shortcuts,
// then the dialog keys (Tab, Enter, Esc) and access characters.
bool TApplication::IsPreProcessMessage(MSG& msg) {
    const bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const bool character = msg.message == WM_CHAR || msg.message == WM_SYSCHAR;
    if (!keyDown && !character) return false;
    TWinControl* target = nullptr;
    for (HWND window = msg.hwnd; window && !target; window = GetParent(window))
        target = TWinControl::FindControl(window);
    if (!target) return false;
    TForm* form = target->GetParentForm();
    if (!form || !form->HandleAllocated() || !IsWindowEnabled(form->Handle())) return false;
    const LRESULT dialogCode =
        msg.hwnd == form->Handle()
            ? 0
            : SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (keyDown) {
        const WORD key = static_cast<WORD>(msg.wParam);
        if (form->IsShortCut(key, KeyboardShiftState())) return true;
        bool wanted = (dialogCode & DLGC_WANTALLKEYS) != 0;
        if (key == VK_TAB) wanted = wanted || (dialogCode & DLGC_WANTTAB);
        if ((key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE) && !wanted)
            return form->Perform(CM_DIALOGKEY, key, msg.lParam) != 0;
        return false;
    }
    if (msg.message == WM_SYSCHAR || !(dialogCode & DLGC_WANTCHARS)) {
        if (msg.hwnd == form->Handle() && msg.message == WM_CHAR) return false;
        return form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
    }
    return false;
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    HWND previousActive = GetActiveWindow();
    int answer = 0;
    {
        // The box's owner is the application window alone; left to itself the
        // main window would stay usable and could be brought over the box.
        ApplicationModalScope modal;
        if (MessageBoxAnswerer())
            answer = MessageBoxAnswerer()(text, caption, flags);
        else
            answer = ::MessageBoxA(window_, text.c_str(), caption.c_str(), flags);
    }
    if (previousActive && IsWindow(previousActive) && IsWindowVisible(previousActive) &&
        IsWindowEnabled(previousActive))
        SetActiveWindow(previousActive);
    return answer;
}

void TApplication::ShowException(const std::string& message) {
    std::string text = message;
    if (!text.empty() && text.back() != '.') text += '.';
    MessageBox(text, title_, MB_OK | MB_ICONERROR);
}

void TApplication::HandleException() {
    try {
        throw;
    } catch (const std::exception& e) {
        ShowException(e.what());
    } catch (...) {
        ShowException("Unexpected failure");
    }
}

int TApplication::HookMainWindow(TApplicationHook hook) {
    const int id = next_hook_id_++;
    hooks_.emplace_back(id, std::move(hook));
    return id;
}

void TApplication::UnhookMainWindow(int id) {
    hooks_.erase(std::remove_if(hooks_.begin(), hooks_.end(),
                                [id](const auto& entry) { return entry.first == id; }),
                 hooks_.end());
}

LRESULT CALLBACK TApplication::AppWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<TApplication*>(create->lpCreateParams)->window_ = window;
    }
    auto* application = reinterpret_cast<TApplication*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!application) return DefWindowProcA(window, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    try {
        application->WndProc(message);
    } catch (...) {
        HandleCurrentException();
    }
    if (msg == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    return message.Result;
}

void TApplication::WndProc(TMessage& message) {
    // Hooks may add or remove hooks while they run: walk a copy, skip the removed.
    const auto hooks = hooks_;
    for (const auto& [id, hook] : hooks) {
        const bool stillHooked =
            std::any_of(hooks_.begin(), hooks_.end(),
                        [id = id](const auto& entry) { return entry.first == id; });
        if (stillHooked && hook(message)) return;
    }
    switch (message.Msg) {
        case WM_CLOSE:
            if (main_form_) main_form_->Close();
            return;
        case WM_SETTINGCHANGE: RefreshSystemMenuFont(); break;
        case WM_SETFOCUS:
            // The application window never keeps the focus: the active form takes it.
            if (main_form_ && main_form_->HandleAllocated() &&
                IsWindowVisible(main_form_->Handle()) && IsWindowEnabled(main_form_->Handle())) {
                ::SetFocus(main_form_->Handle());
                return;
            }
            break;
        case WM_COMMAND:
        case WM_MEASUREITEM:
        case WM_DRAWITEM:
        case WM_MENUCHAR:
            if (DispatchMenuMessage(message)) return;  // popup menus are owned by this window
            break;
        case CM_RELEASE: {
            auto* form = reinterpret_cast<TForm*>(message.LParam);
            if (IsScreenForm(form)) delete form;
            return;
        }
        default: break;
    }
    message.Result = DefWindowProcA(window_, message.Msg, message.WParam, message.LParam);
}

}  // namespace quillory::ui
