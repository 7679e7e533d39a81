// The one place that answers "how long is this at my window's dpi": the dpi
// of a window or of the system, looked up with the functions of the systems
// that have them and the screen's own dpi where they are missing, the system
// metrics at a dpi, and the process's declaration of dpi awareness. Every
// length the program sets is designed at 96 dpi and scaled through here
// (TControl::Scaled, ScaleForDpi of the core) with the answer.
#pragma once

#include <windows.h>

#include <functional>

#include "core/dpi_scale.h"

namespace quillory::ui {

// The platform's answers this module builds on. The real set holds the
// newer functions looked up at run time (GetProcAddress), empty where the
// system has none; tests install sets of their own through SetDpiPlatform to
// try every scale and the fall-back to the screen's dpi.
struct TDpiPlatform {
    std::function<UINT(HWND)> GetDpiForWindow;
    std::function<UINT()> GetDpiForSystem;
    std::function<int(int index, UINT dpi)> GetSystemMetricsForDpi;
    std::function<int()> ScreenDpi;  // LOGPIXELSY of the screen, always there
};

// The system's own functions.
TDpiPlatform SystemDpiPlatform();
// Installs a set and returns the one it replaces.
TDpiPlatform SetDpiPlatform(TDpiPlatform platform);

// The dpi a window is shown at; for no window, the system's.
int WindowDpi(HWND window);
// The system's dpi, asked of the platform once (it is fixed for the process).
int SystemDpi();
// A system metric (SM_CXSMICON, ...) at a dpi.
int SystemMetricForDpi(int index, int dpi);

// Declares the process aware of every screen's scale: per monitor (v2, then
// v1), else of the system's scale. The manifest says the same; this covers a
// start without it. Returns whether any declaration was taken.
bool DeclareDpiAwareness();

}  // namespace quillory::ui
