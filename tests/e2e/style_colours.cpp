// Prints the colours the flat style paints the game's windows in, one
// "name=r,g,b" a line, for the end-to-end scripts to look for: what the style
// names for each part, worked out here from this system's scheme
// (GetSysColor) and the rules for lightening and darkening a colour.
#include <windows.h>

#include <cmath>
#include <cstdio>

namespace {

// Each channel gains Percent of what it lacks to 255; the fraction is held in
// extended precision and a tie goes to the even side.
COLORREF Lighten(COLORREF c, int percent) {
    const long double fraction = percent / 100.0L;
    auto channel = [&](int v) { return v + static_cast<int>(std::nearbyintl((255 - v) * fraction)); };
    return RGB(channel(GetRValue(c)), channel(GetGValue(c)), channel(GetBValue(c)));
}

// Each channel loses Amount, green two less; kept within 0..255.
COLORREF Darken(COLORREF c, int amount) {
    auto channel = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
    return RGB(channel(GetRValue(c) - amount), channel(GetGValue(c) - amount + 2),
               channel(GetBValue(c) - amount));
}

}  // namespace

int main() {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF skyBlue = RGB(166, 202, 240);
    const COLORREF litNavy = Lighten(RGB(0, 0, 128), 60);
    const struct {
        const char* name;
        COLORREF colour;
    } table[] = {
        {"dialog", face},                        // a dialog, and the menu bar
        {"button", skyBlue},                     // a push button's face at rest
        {"button_hot", Lighten(face, 40)},       // under the mouse, or focused
        {"outline", Lighten(shadow, 30)},        // its outline at rest
        {"outline_hot", Lighten(litNavy, 30)},   // under the mouse, or focused
        {"edit_focus", litNavy},                 // an edit's frame, hot or focused
        {"edit_frame", Darken(face, 60)},        // at rest
        {"menu_frame", Darken(face, 90)},        // a popup menu's frame
        {"menu_shadow", Darken(face, 76)},       // and its shadow
    };
    for (const auto& row : table)
        std::printf("%s=%d,%d,%d\n", row.name, GetRValue(row.colour), GetGValue(row.colour),
                    GetBValue(row.colour));
    return 0;
}
