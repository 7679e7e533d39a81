// What the flat style keeps from one paint to the next, in one place: made
// and freed with the styling component, so nothing of it outlives the style
// and a new component starts from a clean state.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "ui/canvas.h"
#include "ui/ui_types.h"

namespace quillory::styling {

// One row of the icon column's gradient in a bitmap's own pixel layout, with
// what it was worked out for: every entry of a menu has the same colours and
// width, and the row is copied into each.
struct TGradientRow {
    ui::TColor Base = 0;
    int IconWidth = -1;
    int Dpi = 0;
    LONG Left = 0, Right = -1;
    bool RightToLeft = false;
    int FirstX = 0;
    std::vector<std::uint32_t> Pixels;
};

class TStyleContext {
public:
    // The off-screen picture of an entry of this size. Making a bitmap and
    // its DC costs more than painting an entry, and the entries of a menu
    // share their size: a few sizes are kept (entries, separators, bar
    // captions), each painted whole every time.
    ui::TBitmap& EntryBuffer(int width, int height);

    TGradientRow GradientRow;

    // A border request may still wait in the application window's queue: set
    // when one is posted, cleared when the manager answers one. While it is
    // clear none can be waiting, and the queue need not be asked.
    bool BorderRequestOut = false;

    // Whether a surface has 16 or more bits per pixel. A window's surface has
    // the screen's depth, which only a new display mode changes: it is asked
    // of the screen once, and again after ScreenDepthChanged. A memory
    // surface may have a depth of its own and is asked itself.
    bool IsHighColorSurface(HDC surface);
    // The display mode changed (WM_DISPLAYCHANGE).
    void ScreenDepthChanged() { screen_bits_ = 0; }

    // The mouse pointer, asked of the system once per message the thread
    // takes: the captions of a bar are painted in one message, and a pointer
    // that moves brings messages of its own. False when it cannot be told.
    bool CursorPos(POINT& cursor);

    // Menus that were not on screen when their entry's border request was
    // answered. An entry of theirs painted off screen has no popup to frame
    // until the system makes a popup menu window, which forgets them all.
    void MenuOffScreen(HMENU menu);
    bool IsMenuOffScreen(HMENU menu) const;
    void MenuWindowMade() { off_screen_menus_.clear(); }

private:
    std::vector<std::unique_ptr<ui::TBitmap>> entry_buffers_;
    int screen_bits_ = 0;  // 0: not asked yet
    // The pointer as last asked, and the message it was asked in.
    POINT cursor_{};
    bool cursor_known_ = false;
    LONG cursor_message_time_ = 0;
    DWORD cursor_message_pos_ = 0;
    std::vector<HMENU> off_screen_menus_;
};

}  // namespace quillory::styling
