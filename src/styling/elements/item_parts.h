// The parts of a menu entry that buttons share: the check or radio mark, the
// picture (dimmed, grayed or raised with a shadow), the caption with its
// shortcut, and a readable text colour. Callers describe the entry with plain
// flags, so a menu item and a control are painted by the same code.
#pragma once

#include <windows.h>

#include <string>

#include "styling/elements/skin_style.h"
#include "ui/canvas.h"
#include "ui/font.h"

namespace quillory::styling {

struct TMarkState {
    bool RadioItem = false;
    bool Checked = false;
    bool Selected = false;
    bool Enabled = true;
    bool HasImage = false;
};

// A checked entry's mark in `mark`: a box with a tick, a box around the
// picture, a circle with a dot, or a rounded frame around the picture.
// Unchecked entries get none.
void PaintCheckMark(const TSkinStyle& style, HDC surface, const RECT& mark,
                    const TMarkState& state);

struct TIconState {
    bool IsMenuItem = true;
    bool Selected = false;
    bool Down = false;
    bool Enabled = true;
    bool Checked = false;
    bool TopLevel = false;
    bool RightToLeft = false;
};

// The picture `image` placed in `rect`. The picture itself is changed: dimmed
// when idle, grayed and lightened when disabled.
void PaintItemIcon(const TSkinStyle& style, HDC surface, ui::TBitmap& image, const RECT& rect,
                   const TIconState& state);

struct TTextState {
    bool Selected = false;
    bool Enabled = true;
    bool Default = false;
    bool TopLevel = false;
    bool RightToLeft = false;
};

// The caption in `rect` with DrawTextEx's `format` (tabs expanded), then the
// shortcut text 10 pixels inside the far edge. A default entry's caption
// lies on four soft darker copies of itself.
void PaintItemText(const TSkinStyle& style, HDC surface, const std::string& text,
                   const std::string& shortCut, const RECT& rect, const TTextState& state,
                   const ui::TFont& font, UINT format);

// The item font's colour on a light colour, a much lighter shade of the
// colour itself on a dark one.
ui::TColor ContrastFontColor(const TSkinStyle& style, ui::TColor color);

}  // namespace quillory::styling
