#include "ui/timer.h"

#include <map>

#include "ui/application.h"

namespace quillory::ui {

namespace {

constexpr char kTimerClass[] = "TTimerWindow";

// Every timer of the program ticks on one hidden message-only window, made
// when the first timer starts: each window costs the start-up, and the
// program has a few timers, most of them idle.
struct TimerWindow {
    HWND Window = nullptr;
    std::map<UINT_PTR, TTimer*> Timers;  // by timer id
    UINT_PTR NextId = 1;
};

// Never freed: a timer destroyed late in the program's exit still finds it.
TimerWindow& Shared() {
    static TimerWindow* shared = new TimerWindow;
    return *shared;
}

}  // namespace

HWND TTimer::SharedWindow() {
    TimerWindow& shared = Shared();
    if (shared.Window && IsWindow(shared.Window)) return shared.Window;
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = TimerWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kTimerClass;
        return RegisterClassExA(&wc) != 0;
    }();
    (void)registered;
    shared.Window = CreateWindowExA(0, kTimerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    return shared.Window;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner), id_(Shared().NextId++) {
    Shared().Timers[id_] = this;
    UpdateTimer();
}

TTimer::~TTimer() {
    if (running_) KillTimer(Shared().Window, id_);
    Shared().Timers.erase(id_);
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
    if (running_) KillTimer(Shared().Window, id_);
    running_ = false;
    if (!enabled_ || interval_ == 0) return;
    if (HWND window = SharedWindow()) running_ = SetTimer(window, id_, interval_, nullptr) != 0;
}

LRESULT CALLBACK TTimer::TimerWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER) {
        auto& timers = Shared().Timers;
        auto found = timers.find(static_cast<UINT_PTR>(wParam));
        if (found != timers.end() && found->second->enabled_) {
            try {
                found->second->DoTimer();
            } catch (...) {
                HandleCurrentException();
            }
        }
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace quillory::ui
