// TTimer: a thread timer of the user-interface thread, no window needed.
// OnTimer runs on that thread, between other messages, never overlapping.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/component.h"
#include "ui/control.h"

namespace quillory::ui {

class TTimer : public TComponent {
public:
    const char* ClassName() const override { return "TTimer"; }
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    UINT Interval() const { return interval_; }
    // A changed interval starts a new period; the same value leaves the timer as it runs.
    void SetInterval(UINT interval);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Ticks at the interval itself rather than at the system clock's next
    // interrupt after it: while it runs, the system clock is asked to tick
    // every millisecond, and each tick is held to a due time on the
    // performance counter.
    bool Precise() const { return precise_; }
    void SetPrecise(bool precise);
    // The system timer is set: the thread will be woken for a tick.
    bool Armed() const { return system_id_ != 0; }

    TNotifyEvent OnTimer;

protected:
    virtual void DoTimer() {
        if (OnTimer) OnTimer(this);
    }

private:
    static void CALLBACK TimerProc(HWND window, UINT msg, UINT_PTR id, DWORD time);
    void UpdateTimer();
    void Stop();
    void ArmForNextDue();

    UINT_PTR system_id_ = 0;  // while it runs
    UINT interval_ = 1000;
    bool enabled_ = true;
    bool precise_ = false;
    bool fine_clock_held_ = false;
    std::int64_t due_us_ = 0;  // of the coming tick, while a precise timer runs
};

}  // namespace quillory::ui
