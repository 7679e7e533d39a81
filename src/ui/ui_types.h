// Small value types shared by the whole framework: colours, modal results,
// shift states, shortcuts and owner-draw states.
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/color.h"

namespace quillory::ui {

// 0x00BBGGRR for an RGB colour; 0xFF0000nn names system colour nn. The named
// colours (clBlack, clBtnFace, ...) are the core's, seen here unqualified.
using TColor = quillory::Color;

constexpr TColor kSystemColorFlag = kSysColorFlag;
constexpr TColor SystemColor(int index) { return SysColorRef(index); }

constexpr TColor clNone = 0x1FFFFFFF;     // "no colour": transparent, not painted
constexpr TColor clDefault = 0x20000000;  // "the usual one", whatever a call takes that to be

// The RGB value of a colour, system colours resolved.
inline COLORREF ColorToRGB(TColor color) {
    if ((color & kSystemColorFlag) == kSystemColorFlag) return GetSysColor(color & 0xFF);
    return color & 0x00FFFFFFu;
}

// What a modal form hands back.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;

// Modifier keys and mouse buttons held during an input event.
using TShiftState = std::uint8_t;
constexpr TShiftState ssShift = 0x01;
constexpr TShiftState ssAlt = 0x02;
constexpr TShiftState ssCtrl = 0x04;
constexpr TShiftState ssLeft = 0x08;
constexpr TShiftState ssRight = 0x10;
constexpr TShiftState ssMiddle = 0x20;

TShiftState KeyboardShiftState();                // from GetKeyState
TShiftState MouseShiftState(WPARAM mouseFlags);  // from the MK_ flags of a mouse message

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// A shortcut: virtual-key code in the low byte plus modifier bits.
using TShortCut = std::uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;
constexpr TShortCut ShortCut(WORD key, TShiftState shift = 0) {
    return static_cast<TShortCut>((key & 0xFF) | ((shift & ssShift) ? scShift : 0) |
                                  ((shift & ssCtrl) ? scCtrl : 0) | ((shift & ssAlt) ? scAlt : 0));
}

// The state bits of an owner-drawn item (the ODS_ flags of the system).
using TOwnerDrawState = UINT;
constexpr TOwnerDrawState odSelected = ODS_SELECTED;
constexpr TOwnerDrawState odGrayed = ODS_GRAYED;
constexpr TOwnerDrawState odDisabled = ODS_DISABLED;
constexpr TOwnerDrawState odChecked = ODS_CHECKED;
constexpr TOwnerDrawState odFocused = ODS_FOCUS;
constexpr TOwnerDrawState odDefault = ODS_DEFAULT;
constexpr TOwnerDrawState odHotLight = ODS_HOTLIGHT;
constexpr TOwnerDrawState odInactive = ODS_INACTIVE;
constexpr TOwnerDrawState odNoAccel = ODS_NOACCEL;

inline RECT Bounds(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}
inline int RectWidth(const RECT& r) {
    return r.right - r.left;
}
inline int RectHeight(const RECT& r) {
    return r.bottom - r.top;
}

}  // namespace quillory::ui
