#include "styling/elements/style_context.h"

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

}  // namespace quillory::styling
