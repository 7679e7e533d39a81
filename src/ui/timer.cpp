#include "ui/timer.h"

#include <algorithm>
#include <map>

#include "core/tick_schedule.h"
#include "ui/application.h"
#include "ui/system_settings.h"

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

// The performance counter in microseconds, without overflow for any uptime.
std::int64_t MicrosecondsNow() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    const std::int64_t f = frequency.QuadPart, c = counter.QuadPart;
    return c / f * 1000000 + c % f * 1000000 / f;
}

// The most a late tick is made up on the next wait: what a coarse system
// clock (15.6 ms steps) explains. Later than that, something held the loop.
constexpr std::int64_t kMakeUpUs = 20000;

constexpr std::int64_t Microseconds(UINT milliseconds) {
    return static_cast<std::int64_t>(milliseconds) * 1000;
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

void TTimer::SetPrecise(bool precise) {
    if (precise == precise_) return;
    precise_ = precise;
    UpdateTimer();
}

// Whatever runs gives back what it holds: the system timer and the fine clock.
void TTimer::Stop() {
    if (system_id_) {
        KillTimer(nullptr, system_id_);
        Running().erase(system_id_);
        system_id_ = 0;
    }
    if (fine_clock_held_) {
        ReleaseFineClock();
        fine_clock_held_ = false;
    }
}

void TTimer::UpdateTimer() {
    Stop();
    if (!enabled_ || interval_ == 0) return;
    if (precise_) {
        fine_clock_held_ = RequestFineClock();
        due_us_ = MicrosecondsNow() + Microseconds(interval_);
    }
    system_id_ = SetTimer(nullptr, 0, interval_, &TTimer::TimerProc);
    if (system_id_)
        Running()[system_id_] = this;
    else
        Stop();  // no timer, no reason to hold the clock
}

// Re-armed with what is left until the next due time. The system timer stays
// periodic meanwhile, so a refused re-arm still leaves it ticking.
void TTimer::ArmForNextDue() {
    const std::int64_t interval = Microseconds(interval_);
    const NextTick next =
        NextTickAfter(due_us_, MicrosecondsNow(), interval, std::min(interval / 2, kMakeUpUs));
    due_us_ = next.Due;
    const auto wait = static_cast<UINT>((next.Wait + 500) / 1000);
    const UINT_PTR id = SetTimer(nullptr, system_id_, wait, &TTimer::TimerProc);
    if (!id || id == system_id_) return;
    KillTimer(nullptr, system_id_);
    Running().erase(system_id_);
    system_id_ = id;
    Running()[id] = this;
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = Running().find(id);
    if (found == Running().end() || !found->second->enabled_) return;
    TTimer* timer = found->second;
    try {
        // Before the handler: its own time (a paint) is part of the period.
        if (timer->precise_) timer->ArmForNextDue();
        timer->DoTimer();
    } catch (...) {
        HandleCurrentException();
    }
}

}  // namespace quillory::ui
