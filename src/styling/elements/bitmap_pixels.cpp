#include "styling/elements/bitmap_pixels.h"

#include <cstdint>

#include "core/menu_colors.h"

namespace quillory::styling {

namespace {

constexpr int kMaxPercent = 100;

// The DIB holds 0x00RRGGBB; the colour arithmetic speaks 0x00BBGGRR.
ui::TColor FromDib(std::uint32_t pixel) {
    return MakeColor((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}
std::uint32_t ToDib(ui::TColor color) {
    return (static_cast<std::uint32_t>(RedOf(color)) << 16) |
           (static_cast<std::uint32_t>(GreenOf(color)) << 8) |
           static_cast<std::uint32_t>(BlueOf(color));
}

// Rows top to bottom, each left to right. Flat backgrounds make runs of equal
// pixels, so the last input and its result are remembered; nothing is
// remembered before the first pixel, whatever its value.
template <typename Transform>
void TransformPixels(ui::TBitmap& bitmap, Transform transform) {
    if (bitmap.Empty()) return;
    GdiFlush();  // drawing still queued for the bitmap lands first
    bool cached = false;
    std::uint32_t lastIn = 0;
    std::uint32_t lastOut = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint32_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            const std::uint32_t pixel = row[x] & 0x00FFFFFFu;
            if (!cached || pixel != lastIn) {
                cached = true;
                lastIn = pixel;
                lastOut = ToDib(transform(FromDib(pixel)));
            }
            row[x] = lastOut;
        }
    }
}

std::uint32_t BottomLeft(const ui::TBitmap& bitmap) {
    return bitmap.ScanLine(bitmap.Height() - 1)[0] & 0x00FFFFFFu;
}

}  // namespace

void GrayBitmapPixels(ui::TBitmap& bitmap, int level) {
    TransformPixels(bitmap, [level](ui::TColor c) { return GrayLevelColor(c, level); });
}

void LightenBitmapPixels(ui::TBitmap& bitmap, int percent) {
    if (percent > kMaxPercent) percent = kMaxPercent;
    TransformPixels(bitmap, [percent](ui::TColor c) { return LightenColor(c, percent); });
}

void PaintBitmapSilhouette(const ui::TBitmap& bitmap, HDC target, int x, int y, ui::TColor color) {
    if (bitmap.Empty()) return;
    GdiFlush();
    const COLORREF paint = ui::ColorToRGB(color);
    const std::uint32_t key = BottomLeft(bitmap);
    for (int i = 0; i < bitmap.Height(); ++i) {
        const std::uint32_t* row = bitmap.ScanLine(i);
        for (int j = 0; j < bitmap.Width(); ++j) {
            if ((row[j] & 0x00FFFFFFu) != key) SetPixelV(target, x + j, y + i, paint);
        }
    }
}
}  // namespace quillory::styling
