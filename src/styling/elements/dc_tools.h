// The pen and brush of the flat painters: the device context's own (DC_PEN,
// DC_BRUSH), coloured for the scope. No GDI object is created, so painting an
// item thousands of times cannot leak one; the previous selection and colour
// come back when the scope ends.
#pragma once

#include <windows.h>

#include "ui/gdi.h"
#include "ui/ui_types.h"

namespace quillory::styling {

class ScopedDCPen {
public:
    ScopedDCPen(HDC dc, ui::TColor color)
        : dc_(dc), old_color_(GetDCPenColor(dc)), select_(dc, GetStockObject(DC_PEN)) {
        SetDCPenColor(dc, ui::ColorToRGB(color));
    }
    ~ScopedDCPen() { SetDCPenColor(dc_, old_color_); }
    ScopedDCPen(const ScopedDCPen&) = delete;
    ScopedDCPen& operator=(const ScopedDCPen&) = delete;
    void SetColor(ui::TColor color) { SetDCPenColor(dc_, ui::ColorToRGB(color)); }

private:
    HDC dc_;
    COLORREF old_color_;
    ui::ScopedSelect select_;
};

// A solid brush of one colour, or, with clNone, no fill at all.
class ScopedDCBrush {
public:
    ScopedDCBrush(HDC dc, ui::TColor color)
        : dc_(dc),
          old_color_(GetDCBrushColor(dc)),
          select_(dc, GetStockObject(color == ui::clNone ? NULL_BRUSH : DC_BRUSH)) {
        if (color != ui::clNone) SetDCBrushColor(dc, ui::ColorToRGB(color));
    }
    ~ScopedDCBrush() { SetDCBrushColor(dc_, old_color_); }
    ScopedDCBrush(const ScopedDCBrush&) = delete;
    ScopedDCBrush& operator=(const ScopedDCBrush&) = delete;

private:
    HDC dc_;
    COLORREF old_color_;
    ui::ScopedSelect select_;
};

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
