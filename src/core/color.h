// Colour values as the program passes them around: 0x00BBGGRR, red in the low
// byte, or a reference 0xFF0000nn to system colour number nn. Arithmetic always
// works on resolved RGB values; the Windows build plugs GetSysColor in.
#pragma once

#include <cstdint>

namespace quillory {

using Color = std::uint32_t;

constexpr Color kSysColorFlag = 0xFF000000u;

constexpr int RedOf(Color c) {
    return static_cast<int>(c & 0xFFu);
}
constexpr int GreenOf(Color c) {
    return static_cast<int>((c >> 8) & 0xFFu);
}
constexpr int BlueOf(Color c) {
    return static_cast<int>((c >> 16) & 0xFFu);
}

// Channels are expected in 0..255; only their low bytes are used.
constexpr Color MakeColor(int r, int g, int b) {
    return (static_cast<Color>(r) & 0xFFu) | ((static_cast<Color>(g) & 0xFFu) << 8) |
           ((static_cast<Color>(b) & 0xFFu) << 16);
}

constexpr int ClampChannel(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Like MakeColor, but out-of-range channels saturate instead of spilling over.
constexpr Color MakeClampedColor(int r, int g, int b) {
    return MakeColor(ClampChannel(r), ClampChannel(g), ClampChannel(b));
}

constexpr Color SysColorRef(int index) {
    return kSysColorFlag | static_cast<Color>(index & 0xFF);
}
constexpr bool IsSysColorRef(Color c) {
    return (c & 0xFFFFFF00u) == kSysColorFlag;
}

// System colour indices (the values of the COLOR_xxx constants).
constexpr int kSysInactiveCaption = 3;
constexpr int kSysMenu = 4;
constexpr int kSysWindow = 5;
constexpr int kSysMenuText = 7;
constexpr int kSysWindowText = 8;
constexpr int kSysHighlight = 13;
constexpr int kSysHighlightText = 14;
constexpr int kSysBtnFace = 15;
constexpr int kSysBtnShadow = 16;
constexpr int kSysGrayText = 17;
constexpr int kSysBtnText = 18;
constexpr int kSysBtnHighlight = 20;

constexpr Color clBlack = 0x000000u;
constexpr Color clWhite = 0xFFFFFFu;
constexpr Color clRed = 0x0000FFu;
constexpr Color clBlue = 0xFF0000u;
constexpr Color clGray = 0x808080u;
constexpr Color clNavy = 0x800000u;
constexpr Color clSkyBlue = 0xF0CAA6u;
constexpr Color clMoneyGreen = 0xC0DCC0u;

constexpr Color clInactiveCaption = SysColorRef(kSysInactiveCaption);
constexpr Color clMenu = SysColorRef(kSysMenu);
constexpr Color clWindow = SysColorRef(kSysWindow);
constexpr Color clMenuText = SysColorRef(kSysMenuText);
constexpr Color clWindowText = SysColorRef(kSysWindowText);
constexpr Color clHighlight = SysColorRef(kSysHighlight);
constexpr Color clHighlightText = SysColorRef(kSysHighlightText);
constexpr Color clBtnFace = SysColorRef(kSysBtnFace);
constexpr Color clBtnShadow = SysColorRef(kSysBtnShadow);
constexpr Color clGrayText = SysColorRef(kSysGrayText);
constexpr Color clBtnText = SysColorRef(kSysBtnText);
constexpr Color clBtnHighlight = SysColorRef(kSysBtnHighlight);

// Answers the current RGB value of a system colour index.
using SysColorLookup = Color (*)(int index);

// The classic Windows scheme; black for indices it does not know.
Color DefaultSysColor(int index);

// Replaces the lookup behind ResolveColor; nullptr restores DefaultSysColor.
// Set once at start-up (the Windows build passes a GetSysColor wrapper).
void SetSysColorLookup(SysColorLookup lookup);

// A system colour reference becomes its current RGB value; anything else is
// returned unchanged.
Color ResolveColor(Color c);

}  // namespace quillory
