// The message record every control handler receives, and the framework's own
// notifications. Numbers follow the classic layout: 0xB000 + index for control
// notifications, 0xBC00 + window message for messages a parent reflects back
// to the child control they concern.
#pragma once

#include <windows.h>

#include <functional>

namespace quillory::ui {

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// A control's replaceable message handler. Whoever replaces it keeps the old
// one and passes messages on to it.
using TWndMethod = std::function<void(TMessage&)>;

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;     // WParam: virtual key; Result 1: handled
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;    // WParam: character; Result 1: handled
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;  // LParam: the control that has the focus now
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;  // WParam: new visibility
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;  // WParam: new enabled state (0 disabled)
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;  // group notification among siblings
// Sent to the application window just before a form is shown (LParam: the
// form), so whatever watches that window sees every form before it paints.
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;           // the control got the focus
constexpr UINT CM_EXIT = CM_BASE + 27;            // the focus left the control
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36;  // the system colours changed
constexpr UINT CM_RELEASE = CM_BASE + 33;         // posted: free the form later
constexpr UINT CM_RECREATEWND = CM_BASE + 51;     // posted: build the window anew now
constexpr UINT CM_INVALIDATE = CM_BASE + 52;

constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY;  // a child window is made or destroyed

}  // namespace quillory::ui
