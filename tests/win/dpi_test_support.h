// The screen scale for a test: the dpi platform replaced for a scope, so
// that windows and fonts are made for 96, 120, 144 or 192 dpi on a virtual
// display that has 96, or the newer functions are missing and only the
// screen's own dpi answers.
#pragma once

#include <windows.h>

#include "ui/dpi.h"

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

// The height of a font handle as the system holds it.
inline LONG FontHandleHeight(HFONT font) {
    LOGFONTA lf{};
    GetObjectA(font, sizeof(lf), &lf);
    return lf.lfHeight;
}

}  // namespace quillory::testing
