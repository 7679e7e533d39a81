// The screen scale for a test: the dpi platform replaced for a scope, so
// that windows and fonts are made for 96, 120, 144 or 192 dpi on a virtual
// display that has 96, or the newer functions are missing and only the
// screen's own dpi answers; and the layout checks of a form at a scale.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include "ui/dpi.h"
#include "ui/forms.h"

namespace quillory::testing {

// A system with the newer functions, every window at `dpi`.
inline ui::TDpiPlatform PlatformAt(int dpi) {
    ui::TDpiPlatform platform;
    platform.GetDpiForWindow = [dpi](HWND) { return static_cast<UINT>(dpi); };
    platform.GetDpiForSystem = [dpi] { return static_cast<UINT>(dpi); };
    platform.GetSystemMetricsForDpi = [](int index, UINT at) {
        return MulDiv(GetSystemMetrics(index), static_cast<int>(at), 96);
    };
    platform.ScreenDpi = [] { return 96; };
    return platform;
}

// An older system: nothing but the screen's dpi.
inline ui::TDpiPlatform OlderPlatformAt(int screenDpi) {
    ui::TDpiPlatform platform;
    platform.ScreenDpi = [screenDpi] { return screenDpi; };
    return platform;
}

class ScopedDpiPlatform {
public:
    explicit ScopedDpiPlatform(ui::TDpiPlatform platform)
        : previous_(ui::SetDpiPlatform(std::move(platform))) {}
    explicit ScopedDpiPlatform(int dpi) : ScopedDpiPlatform(PlatformAt(dpi)) {}
    ~ScopedDpiPlatform() { ui::SetDpiPlatform(std::move(previous_)); }
    ScopedDpiPlatform(const ScopedDpiPlatform&) = delete;
    ScopedDpiPlatform& operator=(const ScopedDpiPlatform&) = delete;

private:
    ui::TDpiPlatform previous_;
};

inline bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

inline bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Every control of the form inside its client area, and no two over each other.
inline void ExpectLaidOutCleanly(ui::TForm& form) {
    RECT client;
    GetClientRect(form.Handle(), &client);
    for (int i = 0; i < form.ControlCount(); ++i) {
        const RECT bounds = form.Controls(i)->BoundsRect();
        EXPECT_TRUE(Inside(bounds, client)) << form.Controls(i)->Name() << " is cut off";
        for (int j = i + 1; j < form.ControlCount(); ++j)
            EXPECT_FALSE(Overlap(bounds, form.Controls(j)->BoundsRect()))
                << form.Controls(i)->Name() << " over " << form.Controls(j)->Name();
    }
}

// The height of a font handle as the system holds it.
inline LONG FontHandleHeight(HFONT font) {
    LOGFONTA lf{};
    GetObjectA(font, sizeof(lf), &lf);
    return lf.lfHeight;
}

}  // namespace quillory::testing
