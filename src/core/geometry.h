// Plain integer points, sizes and rectangles for the layout arithmetic, so the
// core needs no Windows POINT or RECT. The Windows side converts at its edge.
#pragma once

namespace quillory {

struct Point {
    int X = 0;
    int Y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Right and Bottom are exclusive, as in GDI.
struct Rect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    Rect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace quillory
