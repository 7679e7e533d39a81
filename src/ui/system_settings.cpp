#include "ui/system_settings.h"

#include <mmsystem.h>

#include <utility>

#include "ui/system_library.h"

namespace quillory::ui {
namespace {

constexpr DWORD kWindowCornerPreference = 33;  // DWMWA_WINDOW_CORNER_PREFERENCE
constexpr DWORD kDoNotRound = 1;               // DWMWCP_DONOTROUND
constexpr UINT kFineClockMs = 1;

// A winmm function taking a period, loaded from the system folder at its first call.
std::function<UINT(UINT)> TimerPeriodFunction(const char* name) {
    using Function = MMRESULT(WINAPI*)(UINT);
    return [name, function = Function{}, looked = false](UINT period) mutable -> UINT {
        if (!looked) {
            function = SystemLibraryFunction<Function>("winmm.dll", name);
            looked = true;
        }
        return function ? function(period) : TIMERR_NOCANDO;
    };
}

TSystemSettings& Settings() {
    static TSystemSettings settings = SystemSettingsPlatform();
    return settings;
}

}  // namespace

TSystemSettings SystemSettingsPlatform() {
    TSystemSettings settings;
    settings.DropShadow = [] {
        BOOL on = FALSE;
        return SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &on, 0) && on;
    };
    settings.HighContrast = [] {
        HIGHCONTRASTA contrast{};
        contrast.cbSize = sizeof(contrast);
        return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
               (contrast.dwFlags & HCF_HIGHCONTRASTON);
    };
    settings.Version = [] {
        OSVERSIONINFOA version{};
        version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        if (!GetVersionExA(&version)) version = OSVERSIONINFOA{};
#pragma GCC diagnostic pop
        return version;
    };
    // The desktop window manager's library is loaded at the first popup that
    // asks, not at start-up: most starts open no menu.
    using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
    settings.SetWindowAttribute = [function = SetAttribute{}, looked = false](
                                      HWND window, DWORD attribute, LPCVOID value,
                                      DWORD size) mutable -> HRESULT {
        if (!looked) {
            function = SystemLibraryFunction<SetAttribute>("dwmapi.dll", "DwmSetWindowAttribute");
            looked = true;
        }
        return function ? function(window, attribute, value, size) : E_NOTIMPL;
    };
    // Loaded at the first game, not at start-up.
    settings.BeginTimerPeriod = TimerPeriodFunction("timeBeginPeriod");
    settings.EndTimerPeriod = TimerPeriodFunction("timeEndPeriod");
    return settings;
}

TSystemSettings SetSystemSettings(TSystemSettings settings) {
    return std::exchange(Settings(), std::move(settings));
}

OSVERSIONINFOA SystemVersion() { return Settings().Version(); }

bool SystemDrawsMenuShadows() {
    const TSystemSettings& settings = Settings();
    const OSVERSIONINFOA version = settings.Version();
    const bool atLeastXp =
        version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
        (version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1));
    return atLeastXp && settings.DropShadow();
}

bool HighContrastOn() { return Settings().HighContrast(); }

void KeepCornersSquare(HWND window) {
    if (const auto& set = Settings().SetWindowAttribute)
        set(window, kWindowCornerPreference, &kDoNotRound, sizeof(kDoNotRound));
}

bool RequestFineClock() {
    const auto& begin = Settings().BeginTimerPeriod;
    return begin && begin(kFineClockMs) == TIMERR_NOERROR;
}

void ReleaseFineClock() {
    if (const auto& end = Settings().EndTimerPeriod) end(kFineClockMs);
}

}  // namespace quillory::ui
