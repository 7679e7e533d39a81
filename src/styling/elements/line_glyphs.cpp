#include "styling/elements/line_glyphs.h"

#include <array>

namespace quillory::styling {

namespace {

struct Segment {
    int X1, Y1, X2, Y2;
};

void DrawSegment(HDC surface, int x, int y, const Segment& s) {
    MoveToEx(surface, x + s.X1, y + s.Y1, nullptr);
    LineTo(surface, x + s.X2, y + s.Y2);
}

// Relative to the arrow's (x, y).
constexpr std::array<Segment, 7> kSpinUp{{
    {0, 0, 0, -1},
    {1, 1, 4, 4},
    {0, 1, 3, 4},
    {0, 2, 2, 4},
    {-1, 1, -4, 4},
    {0, 2, -3, 4},
    {0, 1, -2, 4},
}};
constexpr std::array<Segment, 7> kSpinDown{{
    {0, 3, 0, 4},
    {1, 2, 4, -1},
    {0, 2, 3, -1},
    {0, 1, 2, 0},
    {-1, 2, -4, -1},
    {0, 2, -3, -1},
    {0, 1, -2, 0},
}};

constexpr int kCheckStrokes = 3;

}  // namespace

void PaintDropArrow(HDC surface, int x, int y) {
    DrawSegment(surface, x, y, {0, 0, 5, 0});
    DrawSegment(surface, x, y, {1, 1, 4, 1});
    DrawSegment(surface, x, y, {2, 2, 3, 2});
}

void PaintSpinArrow(HDC surface, int x, int y, int direction) {
    const std::array<Segment, 7>* segments = nullptr;
    if (direction == static_cast<int>(TSpinDirection::sdUp)) segments = &kSpinUp;
    if (direction == static_cast<int>(TSpinDirection::sdDown)) segments = &kSpinDown;
    if (!segments) return;
    for (const Segment& s : *segments) DrawSegment(surface, x, y, s);
}

void PaintCheckGlyph(HDC surface, int x, int y) {
    for (int i = 0; i < kCheckStrokes; ++i) {
        MoveToEx(surface, x + 2, y - 5 - i, nullptr);
        LineTo(surface, x + 4, y - 3 - i);
        LineTo(surface, x + 9, y - 8 - i);
    }
}

}  // namespace quillory::styling
