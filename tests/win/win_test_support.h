// Shared helpers of the Windows-side tests: one application object for the
// test program, message pumping, rendering a window into a bitmap, and scoped
// answers for modal loops.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "ui/application.h"
#include "ui/canvas.h"
#include "ui/control.h"
#include "ui/forms.h"
#include "ui/system_settings.h"

// RECT comparisons for the layout checks.
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

namespace quillory::testing {

inline ui::TApplication& TestApplication() {
    static ui::TApplication* application = [] {
        auto* app = new ui::TApplication();  // lives as long as the test program
        app->Initialize();
        app->SetTitle("Quillory");
        return app;
    }();
    return *application;
}

// Handles waiting messages; with a duration, keeps doing so until it is over.
inline void Pump(std::chrono::milliseconds duration = std::chrono::milliseconds(0)) {
    const auto end = std::chrono::steady_clock::now() + duration;
    do {
        TestApplication().ProcessMessages();
        if (duration.count() > 0) Sleep(1);
    } while (std::chrono::steady_clock::now() < end);
}

// Pumps until the condition holds or the time is up; returns the condition.
inline bool PumpUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds limit = std::chrono::milliseconds(2000)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        TestApplication().ProcessMessages();
        Sleep(1);
    }
    return true;
}

// The control's own paint path (background, then graphic children) into a bitmap.
inline void RenderClient(ui::TWinControl& control, ui::TBitmap& bitmap) {
    const RECT client = control.ClientRect();
    bitmap.SetSize(client.right, client.bottom);
    SendMessageA(control.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(bitmap.DC()),
                 PRF_CLIENT);
}

// Installs a modal answerer for the scope; the previous one comes back after.
class ScopedModalAnswer {
public:
    explicit ScopedModalAnswer(ui::TModalAnswerer answerer)
        : previous_(ui::SetModalAnswerer(std::move(answerer))) {}
    ~ScopedModalAnswer() { ui::SetModalAnswerer(std::move(previous_)); }
    ScopedModalAnswer(const ScopedModalAnswer&) = delete;
    ScopedModalAnswer& operator=(const ScopedModalAnswer&) = delete;

private:
    ui::TModalAnswerer previous_;
};

class ScopedMessageBoxAnswer {
public:
    explicit ScopedMessageBoxAnswer(ui::TMessageBoxAnswerer answerer)
        : previous_(ui::SetMessageBoxAnswerer(std::move(answerer))) {}
    ~ScopedMessageBoxAnswer() { ui::SetMessageBoxAnswerer(std::move(previous_)); }
    ScopedMessageBoxAnswer(const ScopedMessageBoxAnswer&) = delete;
    ScopedMessageBoxAnswer& operator=(const ScopedMessageBoxAnswer&) = delete;

private:
    ui::TMessageBoxAnswerer previous_;
};

// The system's settings as a test wants them for the scope: drop shadows and
// high contrast as given, the version the system reports unless one is given.
class ScopedSystemSettings {
public:
    ScopedSystemSettings(bool dropShadow, bool highContrast,
                         std::function<OSVERSIONINFOA()> version = nullptr) {
        ui::TSystemSettings settings = ui::SystemSettingsPlatform();
        settings.DropShadow = [dropShadow] { return dropShadow; };
        settings.HighContrast = [highContrast] { return highContrast; };
        if (version) settings.Version = std::move(version);
        previous_ = ui::SetSystemSettings(std::move(settings));
    }
    ~ScopedSystemSettings() { ui::SetSystemSettings(std::move(previous_)); }
    ScopedSystemSettings(const ScopedSystemSettings&) = delete;
    ScopedSystemSettings& operator=(const ScopedSystemSettings&) = delete;

private:
    ui::TSystemSettings previous_;
};

// One system colour changed for the scope through SetSysColors, which tells
// every window; it lasts for the prefix's session, so it is put back on every
// way out.
class ScopedSysColor {
public:
    ScopedSysColor(int index, COLORREF colour) : index_(index), previous_(GetSysColor(index)) {
        SetSysColors(1, &index_, &colour);
    }
    ~ScopedSysColor() { SetSysColors(1, &index_, &previous_); }
    ScopedSysColor(const ScopedSysColor&) = delete;
    ScopedSysColor& operator=(const ScopedSysColor&) = delete;

private:
    const int index_;
    const COLORREF previous_;
};

inline std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

// A window's outer rectangle in the client coordinates of `reference`.
inline RECT RectIn(HWND window, HWND reference) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace quillory::testing
