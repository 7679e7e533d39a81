// Prints the colours the flat style paints the game's dialogs in, worked out
// from this system's scheme (GetSysColor) and the style's colour arithmetic,
// one "name=r,g,b" a line, for the end-to-end scripts to look for.
#include <windows.h>

#include <cstdio>

#include "core/color.h"
#include "core/menu_colors.h"

namespace {

void Print(const char* name, quillory::Color c) {
    std::printf("%s=%d,%d,%d\n", name, quillory::RedOf(c), quillory::GreenOf(c),
                quillory::BlueOf(c));
}

}  // namespace

int main() {
    using namespace quillory;
    const Color face = GetSysColor(COLOR_BTNFACE);
    const Color shadow = GetSysColor(COLOR_BTNSHADOW);
    Print("dialog", face);
    Print("button", clSkyBlue);                   // the icon column colour of the game's style
    Print("button_hot", LightenColor(face, 40));  // under the mouse, or focused
    Print("outline", LightenColor(shadow, 30));
    Print("outline_hot", LightenColor(LightenColor(clNavy, 60), 30));
    Print("edit_focus", LightenColor(clNavy, 60));
    Print("edit_frame", DarkenColor(face, 60));
    return 0;
}
