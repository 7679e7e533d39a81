// Finding the program's controls on the screen, for widgets that look at
// where the pointer is or which control is active.
#pragma once

#include <windows.h>

#include "ui/control.h"

namespace quillory::widgets {

// The control of this program under a screen point: the innermost framework
// window there (disabled ones included), then its topmost graphic child at
// the point (disabled ones included). nullptr over foreign windows.
ui::TControl* FindControlAtScreen(POINT screen);

// The focused control of the active form, or nullptr.
ui::TWinControl* ScreenActiveControl();

}  // namespace quillory::widgets
