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

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr Rect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The corner that puts a box of `size` centred over `over`; each half is
// truncated toward zero (a difference of -5 moves by -2). Nothing is clamped.
constexpr Point CentredOver(const Rect& over, const Size& size) {
    return Point{over.Left + (over.Width() - size.Width) / 2,
                 over.Top + (over.Height() - size.Height) / 2};
}

}  // namespace quillory
