#include "ui/timer.h"

#include <map>

#include "ui/application.h"

namespace quillory::ui {

namespace {

// The running timers by the id the system gave them. Thread timers need no
// window: a window of its own for each timer (or one for all) cost the
// start-up a window made before the first one appears. Every message loop
// of the program dispatches their ticks (ours, the system's boxes' and
// menus').
// Never freed: a timer destroyed late in the program's exit still finds it.
std::map<UINT_PTR, TTimer*>& Running() {
    static auto* running = new std::map<UINT_PTR, TTimer*>;
    return *running;
}

}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    UpdateTimer();
}

TTimer::~TTimer() {
    Stop();
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

void TTimer::Stop() {
    if (!system_id_) return;
    KillTimer(nullptr, system_id_);
    Running().erase(system_id_);
    system_id_ = 0;
}

void TTimer::UpdateTimer() {
    Stop();
    if (!enabled_ || interval_ == 0) return;
    system_id_ = SetTimer(nullptr, 0, interval_, &TTimer::TimerProc);
    if (system_id_) Running()[system_id_] = this;
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = Running().find(id);
    if (found == Running().end() || !found->second->enabled_) return;
    try {
        found->second->DoTimer();
    } catch (...) {
        HandleCurrentException();
    }
}

}  // namespace quillory::ui
