// Prints the colours the flat style paints the game's windows in, one
// "name=r,g,b" a line, for the end-to-end scripts to look for: a table of what
// the style names for each part, evaluated with this system's scheme
// (GetSysColor) and the style's colour arithmetic.
#include <windows.h>

#include <cstdio>

#include "core/color.h"
#include "core/menu_colors.h"

int main() {
    using namespace quillory;
    const Color face = GetSysColor(COLOR_BTNFACE);
    const Color shadow = GetSysColor(COLOR_BTNSHADOW);
    const Color litNavy = LightenColor(clNavy, 60);
    const struct {
        const char* name;
        Color colour;
    } table[] = {
        {"dialog", face},                            // a dialog, and the menu bar
        {"button", clSkyBlue},                       // a push button's face at rest
        {"button_hot", LightenColor(face, 40)},      // under the mouse, or focused
        {"outline", LightenColor(shadow, 30)},       // its outline at rest
        {"outline_hot", LightenColor(litNavy, 30)},  // under the mouse, or focused
        {"edit_focus", litNavy},                     // an edit's frame, hot or focused
        {"edit_frame", DarkenColor(face, 60)},       // at rest
        {"menu_frame", DarkenColor(face, 90)},       // a popup menu's frame
        {"menu_shadow", DarkenColor(face, 76)},      // and its shadow
    };
    for (const auto& row : table)
        std::printf("%s=%d,%d,%d\n", row.name, RedOf(row.colour), GreenOf(row.colour),
                    BlueOf(row.colour));
    return 0;
}
