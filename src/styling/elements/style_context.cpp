#include "styling/elements/style_context.h"

#include <algorithm>

#include "styling/elements/skin_style.h"
#include "ui/gdi.h"

namespace quillory::styling {

namespace {

constexpr std::size_t kKeptEntrySizes = 8;

}  // namespace

ui::TBitmap& TStyleContext::EntryBuffer(int width, int height) {
    for (auto& buffer : entry_buffers_)
        if (buffer->Width() == width && buffer->Height() == height) return *buffer;
    if (entry_buffers_.size() >= kKeptEntrySizes) entry_buffers_.erase(entry_buffers_.begin());
    entry_buffers_.push_back(std::make_unique<ui::TBitmap>(width, height));
    return *entry_buffers_.back();
}

bool TStyleContext::IsHighColorSurface(HDC surface) {
    if (surface && !WindowFromDC(surface)) return IsHighColor(GetDeviceCaps(surface, BITSPIXEL));
    if (!screen_bits_) {
        ui::WindowDC screen(nullptr);
        if (!screen.Get()) return true;
        screen_bits_ = GetDeviceCaps(screen.Get(), BITSPIXEL);
    }
    return IsHighColor(screen_bits_);
}

// The message a paint is part of is told by its time and pointer position,
// which the thread keeps for itself: reading them waits on nobody.
bool TStyleContext::CursorPos(POINT& cursor) {
    const LONG time = GetMessageTime();
    const DWORD position = GetMessagePos();
    if (!cursor_known_ || time != cursor_message_time_ || position != cursor_message_pos_) {
        cursor_known_ = GetCursorPos(&cursor_) != FALSE;
        cursor_message_time_ = time;
        cursor_message_pos_ = position;
    }
    cursor = cursor_;
    return cursor_known_;
}

void TStyleContext::MenuOffScreen(HMENU menu) {
    if (menu && !IsMenuOffScreen(menu)) off_screen_menus_.push_back(menu);
}

bool TStyleContext::IsMenuOffScreen(HMENU menu) const {
    return std::find(off_screen_menus_.begin(), off_screen_menus_.end(), menu) !=
           off_screen_menus_.end();
}

}  // namespace quillory::styling
