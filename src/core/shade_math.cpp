#include "core/shade_math.h"

#include "core/hsl_colors.h"

namespace quillory {

Color ShiftLightness(Color base, Color current, TShadePercent percent, TShadeDirection direction) {
    if (percent == 0) return current;
    int h, s, l;
    ColorToHslScaled(ResolveColor(base), h, s, l);
    l += kLightnessLift;
    if (direction == sdLighter) {
        l = l + percent > kLighterCeiling ? kLighterCeiling : l + percent;
    } else {
        l = l - percent < 0 ? 0 : l - percent;
    }
    return HslScaledToColor(h, s, l);
}

Size GlyphCellSize(int bitmapWidth, int bitmapHeight, int numGlyphs) {
    if (numGlyphs < 1) numGlyphs = 1;
    return {bitmapWidth / numGlyphs, bitmapHeight};
}

ButtonLayoutResult CalcLayout(const Rect& client, Point offset, TButtonLayout layout, int spacing,
                              int margin, Size glyphSize, Size textSize) {
    const Point size{client.Width(), client.Height()};
    const Point glyph{glyphSize.Width, glyphSize.Height};
    const Point text{textSize.Width, textSize.Height};
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;

    Point glyphPos;
    Point textPos;
    // Centre across the layout direction.
    if (horizontal) {
        glyphPos.Y = (size.Y - glyph.Y + 1) / 2;
        textPos.Y = (size.Y - text.Y + 1) / 2;
    } else {
        glyphPos.X = (size.X - glyph.X + 1) / 2;
        textPos.X = (size.X - text.X + 1) / 2;
    }

    if (text.X == 0 || glyph.X == 0) spacing = 0;

    const int sizeAlong = horizontal ? size.X : size.Y;
    const int glyphAlong = horizontal ? glyph.X : glyph.Y;
    const int textAlong = horizontal ? text.X : text.Y;
    if (margin == -1 && spacing == -1) {
        margin = (sizeAlong - (glyphAlong + textAlong)) / 3;
        spacing = margin;
    } else if (margin == -1) {
        margin = (sizeAlong - (glyphAlong + spacing + textAlong) + 1) / 2;
    } else if (spacing == -1) {
        spacing = (sizeAlong - (margin + glyphAlong) - textAlong) / 2;
    }

    switch (layout) {
        case blGlyphLeft:
            glyphPos.X = margin;
            textPos.X = glyphPos.X + glyph.X + spacing;
            break;
        case blGlyphRight:
            glyphPos.X = size.X - margin - glyph.X;
            textPos.X = glyphPos.X - spacing - text.X;
            break;
        case blGlyphTop:
            glyphPos.Y = margin;
            textPos.Y = glyphPos.Y + glyph.Y + spacing;
            break;
        case blGlyphBottom:
            glyphPos.Y = size.Y - margin - glyph.Y;
            textPos.Y = glyphPos.Y - spacing - text.Y;
            break;
    }

    const int dx = client.Left + offset.X;
    const int dy = client.Top + offset.Y;
    const Rect measured{0, 0, text.X, text.Y};
    return {{glyphPos.X + dx, glyphPos.Y + dy}, measured.Offset(textPos.X + dx, textPos.Y + dy)};
}

}  // namespace quillory
