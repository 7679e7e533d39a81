// A small image as plain colours (0x00BBGGRR, row 0 at the top), so the
// per-pixel transforms of menu and toolbar images run without a device
// context. The Windows side copies bitmap bits into and out of it.
#pragma once

#include <cstddef>
#include <vector>

#include "core/color.h"

namespace quillory {

struct PixelGrid {
    int Width = 0;
    int Height = 0;
    std::vector<Color> Pixels;  // row-major, Width * Height entries

    PixelGrid() = default;
    // Negative sizes count as 0.
    PixelGrid(int width, int height, Color fill = clBlack);

    bool Empty() const { return Width == 0 || Height == 0; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    // (x, y) must lie inside.
    Color& At(int x, int y) { return Pixels[Index(x, y)]; }
    Color At(int x, int y) const { return Pixels[Index(x, y)]; }

  private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
               static_cast<std::size_t>(x);
    }
};

// Every pixel becomes GrayLevelColor(pixel, level).
void GrayBitmapPixels(PixelGrid& grid, int level);

// Every pixel becomes LightenColor(pixel, percent), percent capped at 100.
void LightenBitmapPixels(PixelGrid& grid, int percent);

// Paints colour onto target at (x + j, y + i) for every source pixel (j, i)
// that differs from the source's bottom-left pixel. Target pixels outside the
// target are skipped.
void PaintBitmapSilhouette(const PixelGrid& source, PixelGrid& target, int x, int y, Color colour);

}  // namespace quillory
