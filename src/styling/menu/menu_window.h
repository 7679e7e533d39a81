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

LRESULT CALLBACK MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The procedure the flat frame will hand the window back, or none.
WNDPROC PreviousMenuWindowProc(HWND window);

}  // namespace quillory::styling
