// TTimer: a thread timer of the user-interface thread, no window needed.
// OnTimer runs on that thread, between other messages, never overlapping.
#pragma once

#include <windows.h>

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

    TNotifyEvent OnTimer;

protected:
    virtual void DoTimer() {
        if (OnTimer) OnTimer(this);
    }

private:
    static void CALLBACK TimerProc(HWND window, UINT msg, UINT_PTR id, DWORD time);
    void UpdateTimer();
    void Stop();

    UINT_PTR system_id_ = 0;  // while it runs
    UINT interval_ = 1000;
    bool enabled_ = true;
};

}  // namespace quillory::ui
