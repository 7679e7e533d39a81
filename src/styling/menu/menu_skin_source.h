// What the menu painters may know of the styling component beyond the shared
// style: the settings only menus read, the bar colour they adopt while the
// bar is drawn, the window of the component's form, and what they keep
// between paints.
#pragma once

#include <windows.h>

#include "styling/elements/skin_style.h"
#include "styling/elements/style_context.h"
#include "ui/ui_types.h"

namespace quillory::styling {

struct TMenuLook {
    bool DrawSelect = true;    // selected entries get the selection rectangle
    bool Gradient = false;     // popup entries lie on the icon column's gradient
    bool FlatMenu = false;     // popup windows get the flat frame and shadow
    bool DrawMenuBar = false;  // the bar takes MenuBarColor
    ui::TColor MenuBarColor = clBtnFace;
    bool IsNT = true;  // the hovered bar caption is tracked (NT family only)
};

class IMenuSkin : public ISkinSource {
public:
    virtual const TMenuLook& MenuLook() const = 0;
    // While the bar is drawn in MenuBarColor, the resolved bar colour is that
    // colour too (the bar caption's shadow is shaded from it).
    virtual void SetResolvedMenuBarColor(ui::TColor color) = 0;
    // The window of the form the component sits on; none before it exists.
    virtual HWND FormWindow() const = 0;
    // What the painters keep between paints.
    virtual TStyleContext& Context() = 0;
};

}  // namespace quillory::styling
