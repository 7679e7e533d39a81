#include "ui/canvas.h"

#include <algorithm>

#include "ui/picture_decoder.h"

namespace quillory::ui {

void TCanvas::FillRect(const RECT& rect) {
    if (BrushStyle == TBrushStyle::bsClear) return;
    FillRect(rect, BrushColor);
}

void TCanvas::FillRect(const RECT& rect, TColor color) {
    // The DC's own brush: a colour change, no brush to create and free.
    const COLORREF old = SetDCBrushColor(dc_, ColorToRGB(color));
    ::FillRect(dc_, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc_, old);
}

void TCanvas::FrameRect(const RECT& rect, TColor color) {
    const COLORREF old = SetDCBrushColor(dc_, ColorToRGB(color));
    ::FrameRect(dc_, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc_, old);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    ScopedDCPen pen(dc_, PenColor, PenWidth);
    ScopedDCBrush brush(dc_, BrushStyle == TBrushStyle::bsSolid ? BrushColor : clNone);
    ::Rectangle(dc_, left, top, right, bottom);
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth,
                        int cornerHeight) {
    ScopedDCPen pen(dc_, PenColor, PenWidth);
    ScopedDCBrush brush(dc_, BrushStyle == TBrushStyle::bsSolid ? BrushColor : clNone);
    ::RoundRect(dc_, left, top, right, bottom, cornerWidth, cornerHeight);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    ScopedDCPen pen(dc_, PenColor, PenWidth);
    ScopedDCBrush brush(dc_, BrushStyle == TBrushStyle::bsSolid ? BrushColor : clNone);
    ::Ellipse(dc_, left, top, right, bottom);
}

void TCanvas::Polygon(const POINT* points, int count) {
    ScopedDCPen pen(dc_, PenColor, PenWidth);
    ScopedDCBrush brush(dc_, BrushStyle == TBrushStyle::bsSolid ? BrushColor : clNone);
    ::Polygon(dc_, points, count);
}

void TCanvas::Polyline(const POINT* points, int count) {
    if (count < 2) return;
    ScopedDCPen pen(dc_, PenColor, PenWidth);
    ::Polyline(dc_, points, count);
    pen_position_ = points[count - 1];
}

void TCanvas::MoveTo(int x, int y) {
    pen_position_ = POINT{x, y};
}

void TCanvas::LineTo(int x, int y) {
    ScopedDCPen pen(dc_, PenColor, PenWidth);
    MoveToEx(dc_, pen_position_.x, pen_position_.y, nullptr);
    ::LineTo(dc_, x, y);
    pen_position_ = POINT{x, y};
}

void TCanvas::Line(int x1, int y1, int x2, int y2) {
    MoveTo(x1, y1);
    LineTo(x2, y2);
    SetPixel(dc_, x2, y2, ColorToRGB(PenColor));  // LineTo leaves out the last pixel
}

void TCanvas::Frame3D(RECT& rect, TColor topLeft, TColor bottomRight, int width) {
    for (int i = 0; i < width; ++i) {
        const int right = rect.right - 1;
        const int bottom = rect.bottom - 1;
        FillRect(RECT{rect.left, rect.top, right, rect.top + 1}, topLeft);
        FillRect(RECT{rect.left, rect.top, rect.left + 1, bottom}, topLeft);
        FillRect(RECT{right, rect.top, right + 1, bottom + 1}, bottomRight);
        FillRect(RECT{rect.left, bottom, right + 1, bottom + 1}, bottomRight);
        InflateRect(&rect, -1, -1);
    }
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    ScopedSelect selectFont(dc_, Font.Handle());
    SetTextColor(dc_, ColorToRGB(Font.Color()));
    if (BrushStyle == TBrushStyle::bsClear) {
        SetBkMode(dc_, TRANSPARENT);
    } else {
        SetBkMode(dc_, OPAQUE);
        SetBkColor(dc_, ColorToRGB(BrushColor));
    }
    ::TextOutA(dc_, x, y, text.c_str(), static_cast<int>(text.size()));
}

int TCanvas::TextWidth(const std::string& text) {
    ScopedSelect selectFont(dc_, Font.Handle());
    SIZE size{};
    GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

int TCanvas::TextHeight(const std::string& text) {
    ScopedSelect selectFont(dc_, Font.Handle());
    SIZE size{};
    GetTextExtentPoint32A(dc_, text.empty() ? "Wg" : text.c_str(),
                          text.empty() ? 2 : static_cast<int>(text.size()), &size);
    return size.cy;
}

int TCanvas::DrawText(const std::string& text, RECT& rect, UINT format) {
    ScopedSelect selectFont(dc_, Font.Handle());
    SetTextColor(dc_, ColorToRGB(Font.Color()));
    SetBkMode(dc_, TRANSPARENT);
    return ::DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

int TCanvas::DrawTextEx(const std::string& text, RECT& rect, UINT format) {
    SetTextColor(dc_, ColorToRGB(Font.Color()));
    return DrawTextExInDCColor(text, rect, format);
}

int TCanvas::DrawTextExInDCColor(const std::string& text, RECT& rect, UINT format) {
    ScopedSelect selectFont(dc_, Font.Handle());
    SetBkMode(dc_, TRANSPARENT);
    // DrawTextEx may write into the text (DT_MODIFYSTRING); it gets a copy.
    std::string buffer = text;
    buffer.push_back('\0');
    return ::DrawTextExA(dc_, buffer.data(), static_cast<int>(text.size()), &rect, format, nullptr);
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    BitBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), bitmap.DC(), 0, 0, SRCCOPY);
}

void TCanvas::DrawTransparent(int x, int y, const TBitmap& bitmap, TColor transparent) {
    if (bitmap.Empty()) return;
    const COLORREF key =
        transparent == clDefault ? bitmap.Pixel(0, bitmap.Height() - 1) : ColorToRGB(transparent);
    GdiTransparentBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), bitmap.DC(), 0, 0, bitmap.Width(),
                      bitmap.Height(), key);
}

void TCanvas::StretchDraw(const RECT& dest, const TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, dest.left, dest.top, RectWidth(dest), RectHeight(dest), bitmap.DC(), 0, 0,
               bitmap.Width(), bitmap.Height(), SRCCOPY);
}

void TCanvas::CopyRect(const RECT& dest, HDC source, const RECT& sourceRect) {
    if (RectWidth(dest) == RectWidth(sourceRect) && RectHeight(dest) == RectHeight(sourceRect)) {
        BitBlt(dc_, dest.left, dest.top, RectWidth(dest), RectHeight(dest), source, sourceRect.left,
               sourceRect.top, SRCCOPY);
    } else {
        SetStretchBltMode(dc_, COLORONCOLOR);
        StretchBlt(dc_, dest.left, dest.top, RectWidth(dest), RectHeight(dest), source,
                   sourceRect.left, sourceRect.top, RectWidth(sourceRect), RectHeight(sourceRect),
                   SRCCOPY);
    }
}

TBitmap::~TBitmap() {
    Deselect();
}

HDC TBitmap::DC() const {
    if (!dc_) dc_.emplace();
    return dc_->Get();
}

void TBitmap::Deselect() {
    if (original_bitmap_) {
        SelectObject(dc_->Get(), original_bitmap_);
        original_bitmap_ = nullptr;
    }
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_ && bitmap_) return;
    // The old bitmap goes back out of the DC before it is deleted.
    Deselect();
    bitmap_.Reset();
    bits_ = nullptr;
    width_ = width;
    height_ = height;
    if ((width == 0 || height == 0) && !dc_) return;  // still no picture, still no DC
    canvas_.SetHandle(DC());
    if (width == 0 || height == 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_) {
        width_ = height_ = 0;
        return;
    }
    bits_ = static_cast<std::uint32_t*>(bits);
    std::fill(bits_, bits_ + static_cast<std::size_t>(width) * height, 0u);
    original_bitmap_ = SelectObject(DC(), bitmap_.Get());
}

COLORREF TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    GdiFlush();
    const std::uint32_t value = ScanLine(y)[x];
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

void TBitmap::Assign(const TBitmap& other) {
    if (this == &other) return;
    SetSize(other.Width(), other.Height());
    if (!Empty()) BitBlt(DC(), 0, 0, width_, height_, other.DC(), 0, 0, SRCCOPY);
}

void TBitmap::AssignHandle(HBITMAP source) {
    BITMAP info{};
    if (!source || !GetObjectA(source, sizeof(info), &info)) {
        SetSize(0, 0);
        return;
    }
    SetSize(info.bmWidth, info.bmHeight);
    MemoryDC sourceDC(DC());
    ScopedSelect select(sourceDC.Get(), source);
    BitBlt(DC(), 0, 0, width_, height_, sourceDC.Get(), 0, 0, SRCCOPY);
}

bool TBitmap::LoadFromResourceName(HINSTANCE module, const char* name) {
    if (FindResourceA(module, name, RT_BITMAP)) {
        BitmapHandle loaded(static_cast<HBITMAP>(
            LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (!loaded) return false;
        AssignHandle(loaded.Get());
        return true;
    }
    // Resources stay mapped as long as the module: nothing to free here.
    HRSRC info = FindResourceA(module, name, RT_RCDATA);
    HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    return bytes && DecodePicture(bytes, SizeofResource(module, info), *this);
}

}  // namespace quillory::ui
