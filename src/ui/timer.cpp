#include "ui/timer.h"

#include "ui/application.h"

namespace quillory::ui {

namespace {
constexpr char kTimerClass[] = "TTimerWindow";
constexpr UINT_PTR kTimerId = 1;
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = TimerWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kTimerClass;
        return RegisterClassExA(&wc) != 0;
    }();
    (void)registered;
    window_ = CreateWindowExA(0, kTimerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (window_) SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    UpdateTimer();
}

TTimer::~TTimer() {
    if (window_) {
        KillTimer(window_, kTimerId);
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void TTimer::SetInterval(UINT interval) {
    if (interval == interval_) return;
    interval_ = interval;
    UpdateTimer();
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    if (!window_) return;
    KillTimer(window_, kTimerId);
    if (enabled_ && interval_ > 0) SetTimer(window_, kTimerId, interval_, nullptr);
}

LRESULT CALLBACK TTimer::TimerWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kTimerId) {
        auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (timer && timer->enabled_) {
            try {
                timer->DoTimer();
            } catch (...) {
                HandleCurrentException();
            }
        }
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace quillory::ui
