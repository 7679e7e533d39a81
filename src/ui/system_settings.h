// The system settings the program's own look steps aside for: whether the
// system draws menu shadows itself and whether high contrast is on. Asked of
// the platform each time (both can change while the program runs); tests
// install answers of their own through SetSystemSettings. With them the one
// request the look makes of the desktop window manager, and the finer system
// clock the game's pace asks for.
#pragma once

#include <windows.h>

#include <functional>

namespace quillory::ui {

struct TSystemSettings {
    std::function<bool()> DropShadow;    // SPI_GETDROPSHADOW: menus and tips cast shadows
    std::function<bool()> HighContrast;  // SPI_GETHIGHCONTRAST: HCF_HIGHCONTRASTON
    std::function<OSVERSIONINFOA()> Version;
    // dwmapi's DwmSetWindowAttribute, loaded at the first call; E_NOTIMPL where
    // the system has none. Empty: nothing is asked.
    std::function<HRESULT(HWND, DWORD, LPCVOID, DWORD)> SetWindowAttribute;
    // winmm's timeBeginPeriod and timeEndPeriod, loaded at the first request;
    // TIMERR_NOCANDO where the system has none. Empty: nothing is asked.
    std::function<UINT(UINT)> BeginTimerPeriod;
    std::function<UINT(UINT)> EndTimerPeriod;
};

// The system's own answers.
TSystemSettings SystemSettingsPlatform();
// Installs a set and returns the one it replaces.
TSystemSettings SetSystemSettings(TSystemSettings settings);

// The system draws shadows under menus itself: an NT system of version 5.1
// or later with its drop-shadow setting on.
bool SystemDrawsMenuShadows();
// The system's version, as GetVersionExA reports it.
OSVERSIONINFOA SystemVersion();
// The user asked for high contrast: programs draw as the system does.
bool HighContrastOn();
// Asks the desktop window manager to leave the window's corners square
// (Windows 11 rounds those of popup windows); systems before it refuse the
// request, and that is all.
void KeepCornersSquare(HWND window);
// Asks for the system clock to tick every millisecond instead of every 15.6:
// timers then fire within a millisecond of their time. True when granted,
// and then owed exactly one ReleaseFineClock.
bool RequestFineClock();
void ReleaseFineClock();

}  // namespace quillory::ui
