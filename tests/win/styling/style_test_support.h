// Helpers of the flat style's tests: bitmaps of one colour, pixel sets read
// back from them, and the colours of the main window's style worked out from
// the system's scheme and the colour arithmetic.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>

#include "core/menu_colors.h"
#include "ui/canvas.h"
#include "ui/ui_types.h"
#include "widgets/widget_test_support.h"
#include "win_test_support.h"

namespace quillory::testing {

using PixelSet = std::set<std::pair<int, int>>;

// Every pixel of the bitmap that has (or lacks) the colour.
inline PixelSet PixelsOf(const ui::TBitmap& bitmap, ui::TColor color, bool equal = true) {
    PixelSet set;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if ((bitmap.Pixel(x, y) == Rgb(color)) == equal) set.insert({x, y});
    return set;
}

inline std::string Describe(const PixelSet& set) {
    std::string text;
    for (const auto& [x, y] : set) text += "(" + std::to_string(x) + "," + std::to_string(y) + ") ";
    return text;
}

// True when every pixel of the rectangle has the colour.
inline ::testing::AssertionResult AllPixels(const ui::TBitmap& bitmap, const RECT& rect,
                                            ui::TColor color) {
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (bitmap.Pixel(x, y) != Rgb(color)) {
                char text[96];
                wsprintfA(text, "pixel (%d,%d) is %06lX, not %06lX", x, y,
                          static_cast<unsigned long>(bitmap.Pixel(x, y)),
                          static_cast<unsigned long>(Rgb(color)));
                return ::testing::AssertionFailure() << text;
            }
    return ::testing::AssertionSuccess();
}

// The smallest rectangle around the pixels of a colour within an area (left
// past right when there are none).
inline RECT BoxOf(const ui::TBitmap& bitmap, ui::TColor color, const RECT& area) {
    RECT box{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (bitmap.Pixel(x, y) == Rgb(color))
                box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                           std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
    return box;
}

// The main window's style settings on a high-colour screen.
inline ui::TColor MainSelectFill() {
    return LightenColor(clSkyBlue, 68);
}
inline ui::TColor MenuFrameColor() {
    return DarkenColor(Rgb(clBtnFace), 90);
}
inline ui::TColor MenuShadowColor() {
    return DarkenColor(Rgb(clBtnFace), 76);
}

}  // namespace quillory::testing
