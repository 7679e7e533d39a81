#include "ui/dpi.h"

#include <utility>

#include "ui/system_library.h"

namespace quillory::ui {
namespace {

// The awareness contexts as the newer headers number them.
const auto kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4));
const auto kPerMonitorAware = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-3));
constexpr int kProcessPerMonitorDpiAware = 2;

// user32 is linked with the program: its newer functions are looked up in it.
template <typename Function>
Function User32Function(const char* name) {
    return ModuleFunction<Function>(GetModuleHandleA("user32.dll"), name);
}

int ScreenLogPixels() {
    HDC screen = GetDC(nullptr);
    if (!screen) return kDesignDpi;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

TDpiPlatform& Platform() {
    static TDpiPlatform platform = SystemDpiPlatform();
    return platform;
}

// The system's dpi does not change while the process runs (a new scale takes
// a new sign-in), so it is asked once per platform: every form asks for it
// when it is made, and each answer is a trip through the window manager.
int& KnownSystemDpi() {
    static int dpi = 0;
    return dpi;
}

}  // namespace

TDpiPlatform SystemDpiPlatform() {
    using WindowDpiFunction = UINT(WINAPI*)(HWND);
    using SystemDpiFunction = UINT(WINAPI*)();
    using MetricsFunction = int(WINAPI*)(int, UINT);
    TDpiPlatform platform;
    if (auto function = User32Function<WindowDpiFunction>("GetDpiForWindow"))
        platform.GetDpiForWindow = function;
    if (auto function = User32Function<SystemDpiFunction>("GetDpiForSystem"))
        platform.GetDpiForSystem = function;
    if (auto function = User32Function<MetricsFunction>("GetSystemMetricsForDpi"))
        platform.GetSystemMetricsForDpi = function;
    platform.ScreenDpi = ScreenLogPixels;
    return platform;
}

TDpiPlatform SetDpiPlatform(TDpiPlatform platform) {
    KnownSystemDpi() = 0;
    return std::exchange(Platform(), std::move(platform));
}

int SystemDpi() {
    int& known = KnownSystemDpi();
    if (known > 0) return known;
    const TDpiPlatform& platform = Platform();
    if (platform.GetDpiForSystem) {
        if (const UINT dpi = platform.GetDpiForSystem()) return known = static_cast<int>(dpi);
    }
    const int screen = platform.ScreenDpi ? platform.ScreenDpi() : 0;
    return known = screen > 0 ? screen : kDesignDpi;
}

int WindowDpi(HWND window) {
    const TDpiPlatform& platform = Platform();
    // 0 is the function's answer for a window it does not know.
    if (window && platform.GetDpiForWindow) {
        if (const UINT dpi = platform.GetDpiForWindow(window)) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
    const TDpiPlatform& platform = Platform();
    if (platform.GetSystemMetricsForDpi) {
        if (const int value = platform.GetSystemMetricsForDpi(index, static_cast<UINT>(dpi)))
            return value;
    }
    // The older systems answer at their own scale.
    return ScaleForDpi(GetSystemMetrics(index), dpi, SystemDpi());
}

bool DeclareDpiAwareness() {
    using ContextFunction = BOOL(WINAPI*)(HANDLE);
    using ShcoreFunction = HRESULT(WINAPI*)(int);
    using AwareFunction = BOOL(WINAPI*)();
    if (auto setContext = User32Function<ContextFunction>("SetProcessDpiAwarenessContext")) {
        if (setContext(kPerMonitorAwareV2) || setContext(kPerMonitorAware)) return true;
        // Refused when the manifest has declared it already: that is fine too.
        if (GetLastError() == ERROR_ACCESS_DENIED) return true;
    }
    if (auto setAwareness =
            SystemLibraryFunction<ShcoreFunction>("shcore.dll", "SetProcessDpiAwareness")) {
        const HRESULT result = setAwareness(kProcessPerMonitorDpiAware);
        if (SUCCEEDED(result) || result == E_ACCESSDENIED) return true;
    }
    if (auto setAware = User32Function<AwareFunction>("SetProcessDPIAware"))
        return setAware() != FALSE;
    return false;
}

}  // namespace quillory::ui
