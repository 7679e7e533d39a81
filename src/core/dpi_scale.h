// Lengths at a screen scale. Everything the program lays out is designed at
// 96 dots per inch and scaled from there by dpi / 96, rounded as the system's
// MulDiv rounds (to nearest, halves away from zero), so that the program's
// own sizes agree with the ones the system works out for the same scale.
#pragma once

#include <cstdint>

#include "core/geometry.h"

namespace quillory {

constexpr int kDesignDpi = 96;

// length * numerator / denominator, rounded as MulDiv rounds. The denominator
// must not be 0.
constexpr int MulDivRounded(int length, int numerator, int denominator) {
    const std::int64_t product = static_cast<std::int64_t>(length) * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t magnitude = product < 0 ? -product : product;
    const std::int64_t divisor = denominator < 0 ? -static_cast<std::int64_t>(denominator)
                                                 : static_cast<std::int64_t>(denominator);
    const std::int64_t rounded = (magnitude + divisor / 2) / divisor;
    return static_cast<int>(negative ? -rounded : rounded);
}

// A length designed at `fromDpi` (96 unless said otherwise) at `dpi`.
constexpr int ScaleForDpi(int length, int dpi, int fromDpi = kDesignDpi) {
    return dpi == fromDpi || fromDpi == 0 ? length : MulDivRounded(length, dpi, fromDpi);
}

// A rectangle scaled by its edges, not by its size: two rectangles that
// touch at 96 dpi still touch, and none of them overlaps another.
constexpr Rect ScaleRectForDpi(const Rect& rect, int dpi) {
    return Rect{ScaleForDpi(rect.Left, dpi), ScaleForDpi(rect.Top, dpi),
                ScaleForDpi(rect.Right, dpi), ScaleForDpi(rect.Bottom, dpi)};
}

}  // namespace quillory
