#include "core/color.h"

#include <array>

namespace quillory {

namespace {

// Indices 0..28 of the classic scheme, in COLOR_xxx order.
constexpr std::array<Color, 29> kClassicScheme = {
    0xC0C0C0u,  // 0 scroll bar
    0x808000u,  // 1 desktop
    0x800000u,  // 2 active caption
    0x808080u,  // 3 inactive caption
    0xC0C0C0u,  // 4 menu
    0xFFFFFFu,  // 5 window
    0x000000u,  // 6 window frame
    0x000000u,  // 7 menu text
    0x000000u,  // 8 window text
    0xFFFFFFu,  // 9 caption text
    0xC0C0C0u,  // 10 active border
    0xC0C0C0u,  // 11 inactive border
    0x808080u,  // 12 application workspace
    0x800000u,  // 13 highlight
    0xFFFFFFu,  // 14 highlight text
    0xC0C0C0u,  // 15 button face
    0x808080u,  // 16 button shadow
    0x808080u,  // 17 gray text
    0x000000u,  // 18 button text
    0xC0C0C0u,  // 19 inactive caption text
    0xFFFFFFu,  // 20 button highlight
    0x000000u,  // 21 3-D dark shadow
    0xC0C0C0u,  // 22 3-D light
    0x000000u,  // 23 tooltip text
    0xE1FFFFu,  // 24 tooltip background
    0x000000u,  // 25 unused
    0x800000u,  // 26 hot-tracked item
    0xD08410u,  // 27 active caption gradient
    0xB5B5B5u,  // 28 inactive caption gradient
};

SysColorLookup g_lookup = &DefaultSysColor;

}  // namespace

Color DefaultSysColor(int index) {
    if (index < 0 || index >= static_cast<int>(kClassicScheme.size())) return clBlack;
    return kClassicScheme[static_cast<std::size_t>(index)];
}

void SetSysColorLookup(SysColorLookup lookup) {
    g_lookup = lookup ? lookup : &DefaultSysColor;
}

Color ResolveColor(Color c) {
    if (!IsSysColorRef(c)) return c;
    return g_lookup(static_cast<int>(c & 0xFFu));
}

}  // namespace quillory
