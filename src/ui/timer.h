// TTimer: a window timer on the hidden message-only window that all timers
// share. OnTimer runs on the user-interface thread, between other messages,
// never overlapping.
#pragma once

#include <windows.h>

#include "ui/component.h"
#include "ui/control.h"

namespace quillory::ui {

class TTimer : public TComponent {
public:
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
    static LRESULT CALLBACK TimerWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    static HWND SharedWindow();
    void UpdateTimer();

    const UINT_PTR id_;
    bool running_ = false;
    UINT interval_ = 1000;
    bool enabled_ = true;
};

}  // namespace quillory::ui
