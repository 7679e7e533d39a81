// The flat painters of the styled controls: push buttons, edits, list boxes,
// panels and speed buttons. Each paints right after the control has drawn
// itself, from the record's state and its component's colours, on a surface
// of its own that it frees again whatever happens.
#pragma once

#include <windows.h>

#include "ui/canvas.h"
#include "ui/control.h"
#include "ui/ui_types.h"

namespace quillory::styling {

class TControlSubClass;

// A push button with this Tag takes its face from its parent's background.
constexpr LONG_PTR kParentFaceTag = 1000;

// Width times: the top and left edge in `topLeft`, the bottom and right edge
// in `bottomRight`, one pixel further in each time; `rect` ends up `width`
// pixels smaller on every side.
void DrawFrame3D(HDC surface, RECT& rect, ui::TColor topLeft, ui::TColor bottomRight, int width);

void PaintButton(TControlSubClass& record);
void PaintEdit(TControlSubClass& record);
void PaintListBoxFrame(TControlSubClass& record);
void PaintPanel(TControlSubClass& record);
void PaintSpeedButton(TControlSubClass& record);

// The colour the control's parent paints its background with.
ui::TColor ParentBackground(const ui::TControl& control);

}  // namespace quillory::styling
