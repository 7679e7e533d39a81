// The flat frame of popup menu windows: a one-pixel frame, the icon colour
// carried on into the window's left margin, the first entry's look into the
// top margin and, where the system draws no menu shadows, a notched window
// region with a painted two-pixel shadow. While a popup carries the frame its
// window procedure is MenuWindowProc, which paints the frame again over each
// frame the system paints or prints itself, asks for square corners, and
// gives the previous procedure back when the popup is hidden, closed or
// destroyed.
#pragma once

#include <windows.h>

#include "styling/elements/skin_style.h"

namespace quillory::styling {

struct TMenuWindowOptions {
    // The system draws menu shadows itself: no region, no painted shadow.
    bool SystemShadows = false;
};

// True while the window's procedure is MenuWindowProc.
bool IsFlatMenuWindow(HWND window);

// Paints the frame on the whole window. `painting` guards against a second
// request arriving while one is being carried out: set for the duration,
// and a call that finds it set does nothing.
void PaintMenuWindowBorder(ISkinSource& skin, HWND window, bool rightToLeft,
                           const TMenuWindowOptions& options, bool& painting);

// Whom a caught popup is handed to at its first frame paint or print, with
// the waiting over: it gives the popup the flat frame (AdoptMenuWindow) or
// leaves it as it was.
using TMenuWindowAdopter = void (*)(HWND window);

// Catches a popup menu window as it is made, before it holds its menu:
// Windows prints a popup to fade or slide it in before any entry has painted
// and asked for the frame, and that first print is to be flat too.
void WatchMenuWindow(HWND window, TMenuWindowAdopter adopt);

// Gives the window the flat frame without painting it: the system's own
// frame paint or print that follows brings it.
void AdoptMenuWindow(ISkinSource& skin, HWND window, bool rightToLeft,
                     const TMenuWindowOptions& options);

LRESULT CALLBACK MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The procedure the flat frame will hand the window back, or none.
WNDPROC PreviousMenuWindowProc(HWND window);

}  // namespace quillory::styling
