// TCanvas draws on a device context it does not own; TBitmap is a 32-bit DIB
// section with its own memory DC and canvas, whose pixels can be read directly.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

#include "ui/font.h"
#include "ui/gdi.h"
#include "ui/ui_types.h"

namespace quillory::ui {

class TBitmap;

enum class TBrushStyle { bsSolid, bsClear };

class TCanvas {
public:
    TCanvas() = default;
    explicit TCanvas(HDC dc) : dc_(dc) {}
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle() const { return dc_; }
    void SetHandle(HDC dc) { dc_ = dc; }

    TFont Font;
    TColor BrushColor = clWhite;
    TBrushStyle BrushStyle = TBrushStyle::bsSolid;
    TColor PenColor = clBlack;
    int PenWidth = 1;

    // Each drawing call selects the pen or brush it needs and puts the DC's
    // own back afterwards: nothing stays selected into a DC the canvas does
    // not own. One-pixel solid pens and solid brushes are the DC's own
    // (DC_PEN, DC_BRUSH), so most calls create no GDI object at all.
    void FillRect(const RECT& rect);
    void FillRect(const RECT& rect, TColor color);
    void FrameRect(const RECT& rect, TColor color);
    // Outline with the pen, inside filled with the brush (unless bsClear).
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const RECT& rect) { Rectangle(rect.left, rect.top, rect.right, rect.bottom); }
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    void Ellipse(int left, int top, int right, int bottom);
    void Polygon(const POINT* points, int count);
    // Lines from point to point, the last point left out (GDI's rule).
    void Polyline(const POINT* points, int count);
    void Polyline(std::initializer_list<POINT> points) {
        Polyline(points.begin(), static_cast<int>(points.size()));
    }
    void MoveTo(int x, int y);
    // A line from the pen position to (x, y), which is left out.
    void LineTo(int x, int y);
    void Line(int x1, int y1, int x2, int y2);  // both ends drawn
    // Raised or sunken one-pixel frame: top-left in one colour, bottom-right in the other.
    void Frame3D(RECT& rect, TColor topLeft, TColor bottomRight, int width = 1);

    void TextOut(int x, int y, const std::string& text);
    int TextWidth(const std::string& text);
    int TextHeight(const std::string& text);
    // DrawText with the canvas's font and a transparent background; returns the height.
    int DrawText(const std::string& text, RECT& rect, UINT format);
    // DrawTextEx with the canvas's font, its colour and a transparent
    // background, with any format flags (DT_CALCRECT measures into `rect`).
    int DrawTextEx(const std::string& text, RECT& rect, UINT format);
    // DrawTextEx in the colour the DC has now (SetTextColor), not the font's.
    int DrawTextExInDCColor(const std::string& text, RECT& rect, UINT format);

    COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }
    void SetPixelColor(int x, int y, TColor color) { SetPixel(dc_, x, y, ColorToRGB(color)); }
    // Colour depth of the surface.
    int BitsPerPixel() const { return GetDeviceCaps(dc_, BITSPIXEL); }

    void Draw(int x, int y, const TBitmap& bitmap);
    // Draws the bitmap leaving out every pixel of `transparent`; clDefault
    // takes the bitmap's bottom-left pixel as the transparent colour.
    void DrawTransparent(int x, int y, const TBitmap& bitmap, TColor transparent = clDefault);
    void StretchDraw(const RECT& dest, const TBitmap& bitmap);
    // Copies (stretching when the sizes differ) a rectangle of another DC.
    void CopyRect(const RECT& dest, HDC source, const RECT& sourceRect);

private:
    HDC dc_ = nullptr;
    POINT pen_position_{};
};

// A canvas on the whole of a window (frame and caption included), from
// GetWindowDC; the DC goes back to the system when the canvas goes, on every
// way out, exceptions included.
class TWindowCanvas : public TCanvas {
public:
    explicit TWindowCanvas(HWND window) : dc_(window) { SetHandle(dc_.Get()); }
    bool Valid() const { return dc_.Get() != nullptr; }

private:
    WholeWindowDC dc_;
};

// A canvas on a window's client area, from GetDC.
class TClientCanvas : public TCanvas {
public:
    explicit TClientCanvas(HWND window) : dc_(window) { SetHandle(dc_.Get()); }
    bool Valid() const { return dc_.Get() != nullptr; }

private:
    WindowDC dc_;
};

// A top-down 32-bit DIB section. Pixel values are 0x00RRGGBB in memory;
// Pixel() answers COLORREF (0x00BBGGRR) like GetPixel.
class TBitmap {
public:
    TBitmap() = default;
    TBitmap(int width, int height) { SetSize(width, height); }
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    void SetSize(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    HBITMAP Handle() const { return bitmap_.Get(); }
    // The bitmap's memory DC, made when the bitmap first gets a picture or
    // is first asked for it: a bitmap that stays empty (the glyph of most
    // buttons) costs no DC.
    HDC DC() const;
    TCanvas& Canvas() { return canvas_; }

    std::uint32_t* ScanLine(int y) { return bits_ + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* ScanLine(int y) const {
        return bits_ + static_cast<std::size_t>(y) * width_;
    }
    COLORREF Pixel(int x, int y) const;

    // Copies the picture of another bitmap (any format) into this one.
    void Assign(const TBitmap& other);
    void AssignHandle(HBITMAP source);
    // A picture resource of the module: a BITMAP, or a PNG kept as RCDATA;
    // false when there is none or it cannot be read.
    bool LoadFromResourceName(HINSTANCE module, const char* name);

private:
    void Deselect();

    mutable std::optional<MemoryDC> dc_;
    BitmapHandle bitmap_;
    HGDIOBJ original_bitmap_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    TCanvas canvas_;
};

}  // namespace quillory::ui
