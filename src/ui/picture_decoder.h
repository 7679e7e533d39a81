// Pictures the program keeps compressed (the about picture is a PNG: a third
// of its size as a DIB, and exact to the pixel), read by the system's imaging
// component, which every supported Windows has.
#pragma once

#include <cstddef>

#include "ui/canvas.h"

namespace quillory::ui {

// Reads a picture file held in memory (PNG, or any format the imaging
// component knows) into `bitmap` as premultiplied 32-bit BGRA, top row first;
// false, and the bitmap empty, when it cannot be read.
bool DecodePicture(const void* data, std::size_t size, TBitmap& bitmap);

}  // namespace quillory::ui
