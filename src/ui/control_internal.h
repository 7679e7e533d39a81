// What the control files share among themselves and nobody else needs: the
// window property that leads from a window to its control, the control whose
// window is being created, and the control under the mouse pointer.
#pragma once

#include <windows.h>

namespace quillory::ui {

class TControl;
class TWinControl;

namespace control_internal {

inline constexpr char kControlProperty[] = "Quillory.Control";

// Our own classes receive WM_NCCREATE before CreateWindowExA returns the
// handle: the window procedure learns its control from here.
TWinControl*& CreatingControl();

// The control under the mouse pointer, told of its arrival and departure.
TControl* MouseControl();
void SetMouseControl(TControl* control);
// Forgets a control that goes away without telling it anything.
void ForgetMouseControl(const TControl* control);

}  // namespace control_internal
}  // namespace quillory::ui
