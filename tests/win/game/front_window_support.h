// For the tests of a dialog that keeps the main window disabled: another
// program's window put over the dialog, the order of windows on screen, and
// the click on a disabled window as the system reports it.
#pragma once

#include <windows.h>

namespace quillory::testing {

// Stands in for another program's window: top-level, owned by nobody, put
// over `over` (topmost, to cover a window that stays on top) and made the
// foreground window.
class ForeignWindow {
public:
    ForeignWindow(HWND over, bool topmost) {
        static const ATOM kClass = [] {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
            wc.lpszClassName = "QuilloryTestForeignWindow";
            return RegisterClassExA(&wc);
        }();
        RECT covered{};
        GetWindowRect(over, &covered);
        window_ =
            CreateWindowExA(topmost ? WS_EX_TOPMOST : 0, MAKEINTATOM(kClass), "Another program",
                            WS_POPUP | WS_CAPTION | WS_VISIBLE, covered.left - 20, covered.top - 20,
                            covered.right - covered.left + 40, covered.bottom - covered.top + 40,
                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ComeForward();
    }
    ~ForeignWindow() {
        if (window_) DestroyWindow(window_);
    }
    ForeignWindow(const ForeignWindow&) = delete;
    ForeignWindow& operator=(const ForeignWindow&) = delete;

    HWND Handle() const { return window_; }
    // The player works in the other program again.
    void ComeForward() {
        SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(window_);
    }

private:
    HWND window_ = nullptr;
};

// Whether `upper` lies above `lower` in the order of windows on screen.
inline bool IsAbove(HWND upper, HWND lower) {
    for (HWND window = GetWindow(upper, GW_HWNDNEXT); window;
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == lower) return true;
    }
    return false;
}

// The mouse over a disabled window: it hears of it only through WM_SETCURSOR,
// with the hit-test error and the mouse message in the high word.
inline void MouseOnDisabledWindow(HWND window, UINT mouseMessage) {
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(HTERROR)), mouseMessage));
}

}  // namespace quillory::testing
