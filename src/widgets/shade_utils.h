// Drawing routines of the flat button: the embossed grey glyph that stands for
// the disabled state, the glyph and caption layout measured on a canvas, and a
// transparent bitmap draw through an image list.
#pragma once

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <memory>
#include <string>

#include "core/shade_math.h"
#include "ui/canvas.h"
#include "ui/ui_types.h"

namespace quillory::widgets {

using quillory::TButtonLayout;
using quillory::TNumGlyphs;
using quillory::TShadePercent;

// The outline-coloured parts of `source` in `shadow`, with a `highlight` copy
// one pixel right and down when `drawHighlight`, on a plain `background`;
// every other detail of the glyph disappears.
std::unique_ptr<ui::TBitmap> MakeDisabledGlyph(const ui::TBitmap& source, ui::TColor outline,
                                               ui::TColor background, ui::TColor highlight,
                                               ui::TColor shadow, bool drawHighlight);

struct GlyphCaptionLayout {
    RECT TextRect{};
    POINT GlyphOrigin{};
};

// Measures the single-line caption with the canvas's font and places glyph
// (one image of the strip; `glyph` may be null) and caption in `client`.
GlyphCaptionLayout CalcLayout(ui::TCanvas& canvas, const RECT& client, POINT offset,
                              TButtonLayout layout, int spacing, int margin,
                              const ui::TBitmap* glyph, int numGlyphs, const std::string& caption);

// Draws `image` at (x, y) through an image list of its size, leaving the
// pixels of `transparent` unpainted.
void DrawTransparent(HDC dc, int x, int y, const ui::TBitmap& image, COLORREF transparent);

}  // namespace quillory::widgets
