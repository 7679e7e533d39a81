#include "ui/system_settings.h"

#include <utility>

namespace quillory::ui {
namespace {

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

}  // namespace quillory::ui
