// What the control files share among themselves and nobody else needs: the
// table that leads from a window to its control, the control whose window is
// being created, and the control under the mouse pointer.
#pragma once

#include <windows.h>

namespace quillory::ui {

class TControl;
class TWinControl;

namespace control_internal {

// Which control a window of ours belongs to. Kept in the process, not on the
// window (reading a window property is a call into the system on every
// message); the framework's windows all live on the user-interface thread.
TWinControl* ControlOfWindow(HWND window);
void BindWindow(HWND window, TWinControl* control);
void UnbindWindow(HWND window, const TWinControl* control);

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
