#include "widgets/shade_utils.h"

#include "ui/gdi.h"

namespace quillory::widgets {

namespace {

// Where the mask is white the brush is painted, where it is black the
// destination is kept (D xor (S and (P xor D))).
constexpr DWORD kRopBrushWhereMaskWhite = 0x00E20746;

void PaintBrushThroughMask(ui::TBitmap& target, int x, int y, HDC mask, int width, int height,
                           ui::TColor brushColor) {
    HDC dc = target.DC();
    ui::BrushHandle brush(CreateSolidBrush(ui::ColorToRGB(brushColor)));
    ui::ScopedSelect selectBrush(dc, brush.Get());
    // Monochrome sources map 0 to the text colour and 1 to the background colour.
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, x, y, width, height, mask, 0, 0, kRopBrushWhereMaskWhite);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

// A 32-bit DIB section that is not selected into any DC, as image lists want.
ui::BitmapHandle CreateLooseBitmap(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return ui::BitmapHandle(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}

}  // namespace

std::unique_ptr<ui::TBitmap> MakeDisabledGlyph(const ui::TBitmap& source, ui::TColor outline,
                                               ui::TColor background, ui::TColor highlight,
                                               ui::TColor shadow, bool drawHighlight) {
    const int width = source.Width();
    const int height = source.Height();
    auto result = std::make_unique<ui::TBitmap>(width, height);
    if (result->Empty()) return result;

    // The mask is white exactly where the source has the outline colour: a
    // colour-to-monochrome copy turns the source's background colour white.
    ui::MemoryDC maskDC(source.DC());
    ui::BitmapHandle mask(CreateBitmap(width, height, 1, 1, nullptr));
    if (!maskDC.Get() || !mask) return result;
    ui::ScopedSelect selectMask(maskDC.Get(), mask.Get());
    const COLORREF oldBack = SetBkColor(source.DC(), ui::ColorToRGB(outline));
    BitBlt(maskDC.Get(), 0, 0, width, height, source.DC(), 0, 0, SRCCOPY);
    SetBkColor(source.DC(), oldBack);

    result->Canvas().FillRect(RECT{0, 0, width, height}, background);
    if (drawHighlight) PaintBrushThroughMask(*result, 1, 1, maskDC.Get(), width, height, highlight);
    PaintBrushThroughMask(*result, 0, 0, maskDC.Get(), width, height, shadow);
    return result;
}

GlyphCaptionLayout CalcLayout(ui::TCanvas& canvas, const RECT& client, POINT offset,
                              TButtonLayout layout, int spacing, int margin,
                              const ui::TBitmap* glyph, int numGlyphs, const std::string& caption) {
    Size glyphSize;
    if (glyph) glyphSize = GlyphCellSize(glyph->Width(), glyph->Height(), numGlyphs);
    Size textSize;
    if (!caption.empty()) {
        RECT measured{0, 0, client.right - client.left, 0};
        canvas.DrawText(caption, measured, DT_CALCRECT | DT_SINGLELINE);
        textSize = {measured.right - measured.left, measured.bottom - measured.top};
    }
    const ButtonLayoutResult placed = quillory::CalcLayout(
        Rect{client.left, client.top, client.right, client.bottom}, Point{offset.x, offset.y},
        layout, spacing, margin, glyphSize, textSize);
    GlyphCaptionLayout out;
    out.GlyphOrigin = POINT{placed.GlyphOrigin.X, placed.GlyphOrigin.Y};
    out.TextRect = RECT{placed.TextRect.Left, placed.TextRect.Top, placed.TextRect.Right,
                        placed.TextRect.Bottom};
    return out;
}

void DrawTransparent(HDC dc, int x, int y, const ui::TBitmap& image, COLORREF transparent) {
    const int width = image.Width();
    const int height = image.Height();
    if (image.Empty()) return;
    ui::BitmapHandle copy = CreateLooseBitmap(width, height);
    if (!copy) return;
    {
        ui::MemoryDC copyDC(image.DC());
        ui::ScopedSelect select(copyDC.Get(), copy.Get());
        BitBlt(copyDC.Get(), 0, 0, width, height, image.DC(), 0, 0, SRCCOPY);
    }
    ui::ImageListHandle list(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 1, 0));
    if (!list) return;
    if (ImageList_AddMasked(list.Get(), copy.Get(), transparent) < 0) return;
    ImageList_Draw(list.Get(), 0, dc, x, y, ILD_TRANSPARENT);
}

}  // namespace quillory::widgets
