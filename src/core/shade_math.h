// The arithmetic behind the flat button: lighter and darker variants of its
// colour, and where its glyph and caption go. Measuring the caption needs a
// canvas, so the caller measures and passes the size in.
#pragma once

#include <cstdint>

#include "core/color.h"
#include "core/geometry.h"

namespace quillory {

using TShadePercent = std::uint8_t;  // 0..100
using TNumGlyphs = std::uint8_t;     // 1..4

enum TShadeDirection : std::uint8_t { sdLighter, sdDarker };

enum TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Lightness clamp of lighter variants on the 0..240 scale: deliberately far
// below the top, so a light base gives a "lighter" colour that is darker.
constexpr int kLighterCeiling = 100;
// Added to the base lightness before shifting.
constexpr int kLightnessLift = 10;

// current unchanged when percent is 0; otherwise base (resolved) with its
// lightness lifted and shifted by percent in the given direction.
Color ShiftLightness(Color base, Color current, TShadePercent percent, TShadeDirection direction);

// Size of one image of a glyph strip; a strip of zero images counts as one.
Size GlyphCellSize(int bitmapWidth, int bitmapHeight, int numGlyphs);

struct ButtonLayoutResult {
    Point GlyphOrigin;
    Rect TextRect;
};

// Places glyph and caption in client. glyphSize is one image (0, 0 without a
// glyph), textSize the measured single-line caption (0, 0 when empty).
// margin -1 and spacing -1 ask for them to be computed.
ButtonLayoutResult CalcLayout(const Rect& client, Point offset, TButtonLayout layout, int spacing,
                              int margin, Size glyphSize, Size textSize);

}  // namespace quillory
