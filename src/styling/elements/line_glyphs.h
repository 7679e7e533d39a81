// The three small glyphs of the flat style (the drop-down arrow of a combo,
// the arrows of a spin button, the tick of a check box), drawn as line
// segments with the pen already selected into the surface. As with LineTo, a
// segment leaves out its end point.
#pragma once

#include <windows.h>

namespace quillory::styling {

enum class TSpinDirection { sdUp = 0, sdDown = 1 };

// A down-pointing triangle of rows 5, 3 and 1 pixels wide, its top row at y.
void PaintDropArrow(HDC surface, int x, int y);
// A seven-stroke arrow, apex at (x, y) pointing up, or at (x, y + 3) pointing
// down. Any other direction number draws nothing.
void PaintSpinArrow(HDC surface, int x, int y, int direction);
// Three parallel ticks; y is the baseline under the tick.
void PaintCheckGlyph(HDC surface, int x, int y);

}  // namespace quillory::styling
