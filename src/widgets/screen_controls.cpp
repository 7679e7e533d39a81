#include "widgets/screen_controls.h"

#include "ui/forms.h"

namespace quillory::widgets {

ui::TControl* FindControlAtScreen(POINT screen) {
    HWND window = WindowFromPoint(screen);
    // WindowFromPoint may stop at the parent of a disabled child: go down.
    while (window) {
        POINT client = screen;
        ScreenToClient(window, &client);
        HWND child =
            ChildWindowFromPointEx(window, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (!child || child == window) break;
        window = child;
    }
    ui::TWinControl* control = nullptr;
    for (HWND w = window; w && !control; w = GetParent(w))
        control = ui::TWinControl::FindControl(w);
    if (!control) return nullptr;
    POINT client = screen;
    ScreenToClient(control->Handle(), &client);
    if (ui::TControl* graphic = control->ControlAtPos(client, true, true)) return graphic;
    return control;
}

ui::TWinControl* ScreenActiveControl() {
    ui::TWinControl* control = nullptr;
    for (HWND w = GetActiveWindow(); w && !control; w = GetParent(w))
        control = ui::TWinControl::FindControl(w);
    auto* form = dynamic_cast<ui::TForm*>(control);
    return form ? form->ActiveControl() : nullptr;
}

}  // namespace quillory::widgets
