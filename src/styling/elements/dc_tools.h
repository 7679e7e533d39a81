// The flat painters' drawing helpers, with the device context's own pen and
// brush (ui/gdi.h) coloured for the scope.
#pragma once

#include <windows.h>

#include "ui/gdi.h"
#include "ui/ui_types.h"

namespace quillory::styling {

using ui::ScopedDCBrush;
using ui::ScopedDCPen;

// Fills a rectangle (right and bottom edges left out) in one colour.
inline void FillSolid(HDC dc, const RECT& rect, ui::TColor color) {
    const COLORREF old = SetDCBrushColor(dc, ui::ColorToRGB(color));
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc, old);
}

// The one-pixel border of a rectangle in the pen's colour, the inside left
// as it is.
inline void OutlineRect(HDC dc, const RECT& rect, ui::TColor color) {
    ScopedDCPen pen(dc, color);
    ScopedDCBrush brush(dc, ui::clNone);
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

// Filled with the brush colour, bordered with the pen colour.
inline void FillAndOutlineRect(HDC dc, const RECT& rect, ui::TColor brushColor,
                               ui::TColor penColor) {
    ScopedDCPen pen(dc, penColor);
    ScopedDCBrush brush(dc, brushColor);
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

inline void DrawLine(HDC dc, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

}  // namespace quillory::styling
