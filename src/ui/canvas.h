// TCanvas draws on a device context it does not own; TBitmap is a 32-bit DIB
// section with its own memory DC and canvas, whose pixels can be read directly.
#pragma once

#include <windows.h>

#include <cstdint>
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

    // Each drawing call creates the pen or brush it needs and frees it again:
    // nothing stays selected into a DC the canvas does not own.
    void FillRect(const RECT& rect);
    void FillRect(const RECT& rect, TColor color);
    void FrameRect(const RECT& rect, TColor color);
    void Rectangle(int left, int top, int right, int bottom);
    void Ellipse(int left, int top, int right, int bottom);
    void Polygon(const POINT* points, int count);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Line(int x1, int y1, int x2, int y2);  // both ends drawn
    // Raised or sunken one-pixel frame: top-left in one colour, bottom-right in the other.
    void Frame3D(RECT& rect, TColor topLeft, TColor bottomRight, int width = 1);

    void TextOut(int x, int y, const std::string& text);
    int TextWidth(const std::string& text);
    int TextHeight(const std::string& text);
    // DrawText with the canvas's font and a transparent background; returns the height.
    int DrawText(const std::string& text, RECT& rect, UINT format);

    COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }
    void SetPixelColor(int x, int y, TColor color) { SetPixel(dc_, x, y, ColorToRGB(color)); }

    void Draw(int x, int y, const TBitmap& bitmap);
    void StretchDraw(const RECT& dest, const TBitmap& bitmap);
    void CopyRect(const RECT& dest, HDC source, const RECT& sourceRect);

private:
    HDC dc_ = nullptr;
    POINT pen_position_{};
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
    HDC DC() const { return dc_.Get(); }
    TCanvas& Canvas() { return canvas_; }

    std::uint32_t* ScanLine(int y) { return bits_ + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* ScanLine(int y) const {
        return bits_ + static_cast<std::size_t>(y) * width_;
    }
    COLORREF Pixel(int x, int y) const;

    // Copies the picture of another bitmap (any format) into this one.
    void Assign(const TBitmap& other);
    void AssignHandle(HBITMAP source);
    // A BITMAP resource of the module; false when it is not there.
    bool LoadFromResourceName(HINSTANCE module, const char* name);

private:
    void Deselect();

    MemoryDC dc_;
    BitmapHandle bitmap_;
    HGDIOBJ original_bitmap_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    TCanvas canvas_;
};

}  // namespace quillory::ui
