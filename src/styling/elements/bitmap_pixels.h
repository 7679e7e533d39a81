// Pixel transforms of the small pictures menus and buttons show: grayed,
// lightened, and the one-colour silhouette a selected picture casts as its
// shadow. They work on the bitmap's own bits; the results are those of
// reading and writing each pixel in turn.
#pragma once

#include <windows.h>

#include "ui/canvas.h"
#include "ui/ui_types.h"

namespace quillory::styling {

// Every pixel becomes the gray GrayLevelColor(pixel, level).
void GrayBitmapPixels(ui::TBitmap& bitmap, int level);
// Every pixel becomes LightenColor(pixel, percent); percent is capped at 100.
void LightenBitmapPixels(ui::TBitmap& bitmap, int percent);
// Sets target pixel (x + j, y + i) to `color` for every pixel (j, i) of the
// bitmap that differs from its bottom-left pixel.
void PaintBitmapSilhouette(const ui::TBitmap& bitmap, HDC target, int x, int y, ui::TColor color);

}  // namespace quillory::styling
